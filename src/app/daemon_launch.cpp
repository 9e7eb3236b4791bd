#include "app/daemon_launch.h"

#include "platform/launcher.h"

namespace kovrel::app {

void LaunchDaemon(platform::Launcher& launcher, const std::filesystem::path& programFolder) {
    if (programFolder.empty()) {
        return; // never resolved against the current folder
    }
    launcher.StartProgram({(programFolder / kDaemonFileName).string()});
}

} // namespace kovrel::app

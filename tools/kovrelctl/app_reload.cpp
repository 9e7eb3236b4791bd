#include "app_reload.h"

#include "command_line.h"

#include "app/instance_client.h"

#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrel::kovrelctl {
namespace {

// The instance folder as the application prepares it: ours and closed to everyone else. Under
// the /tmp fallback another account could have made it first; its socket is then not asked.
bool InstanceFolderIsOurs() {
    struct stat info {};
    const auto folder = app::instance::InstanceFolder();
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

} // namespace

void NotifyRunningApplication() {
    namespace instance = app::instance;
    if (!InstanceFolderIsOurs()) {
        return; // no instance ever ran in this session
    }
    // The window reads the keyboard before it answers, so allow the reload its full time; a
    // missing instance is found at once (the connection is refused).
    const instance::Answer answer = instance::SendRequest(
        instance::Request::Reload(), instance::InstanceSocketPath(), instance::kReloadTimeout);
    if (answer.status == instance::Answer::Status::Answered &&
        answer.text == instance::kKeptUnappliedChanges) {
        std::cout << "Kovrel kept its unapplied changes; apply or discard them in its window."
                  << std::endl;
    }
}

int NotifiedOnSuccess(int exitCode) {
    if (exitCode == kExitOk) {
        NotifyRunningApplication();
    }
    return exitCode;
}

} // namespace kovrel::kovrelctl

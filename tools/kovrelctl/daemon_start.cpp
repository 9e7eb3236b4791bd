#include "daemon_start.h"

#include "platform/paths.h"
#include "platform/process_launcher.h"
#include "varnolt/protocol/runtime_paths.h"
#include "varnolt/protocol/unix_socket.h"

namespace kovrel::kovrelctl {

bool EnsureDaemon() {
    if (const auto paths = varnolt::ResolveRuntimePaths(false)) {
        if (varnolt::ConnectUnix(paths->socket).Valid()) {
            return true;
        }
    }
    // A second daemon started by a race with another client leaves at once (its lock is
    // taken), so starting one here is always safe.
    const auto program = platform::ProgramFolder() / "Varnolt";
    return platform::SpawnDetached({program.string()}) > 0;
}

} // namespace kovrel::kovrelctl

#include "daemon_start.h"

#include "platform/paths.h"
#include "varnolt/protocol/runtime_paths.h"
#include "varnolt/protocol/unix_socket.h"

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kovrel::kovrelctl {

namespace {

// The daemon outlives kovrelctl: a session of its own, and no descriptor of ours (a caller
// reading kovrelctl's output to its end would otherwise wait for the daemon too).
bool StartDaemon() {
    const std::string program = (platform::ProgramFolder() / "Varnolt").string();
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return false;
    }
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY,
                                         0);
    }
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0;
}

} // namespace

bool EnsureDaemon() {
    if (const auto paths = varnolt::ResolveRuntimePaths(false)) {
        if (varnolt::ConnectUnix(paths->socket).Valid()) {
            return true;
        }
    }
    // A second daemon started by a race with another client leaves at once (its lock is
    // taken), so starting one here is always safe.
    return StartDaemon();
}

} // namespace kovrel::kovrelctl

#include "platform/process_launcher.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kovrel::platform {

namespace {

// Waits for the child in the background: the status is of no interest, only that the process
// table entry goes away. The thread ends with the child.
void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

int SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty())
        return 0;
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
    if (posix_spawnattr_init(&attributes) != 0)
        return 0;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        posix_spawnattr_destroy(&attributes);
        return 0;
    }
    // A session of its own (no terminal hang-up, no signals sent to our process group), default
    // signal handling and an empty signal mask whatever this process set up, and no standard
    // input taken from us.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD, SIGQUIT, SIGUSR1, SIGUSR2})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0 || pid <= 0)
        return 0;
    ReapInBackground(pid);
    return static_cast<int>(pid);
}

bool ProcessLauncher::StartProgram(const std::vector<std::string>& argv) {
    return SpawnDetached(argv) != 0;
}

bool ProcessLauncher::OpenDocument(const std::string& pathOrUrl) {
    if (pathOrUrl.empty())
        return false;
    // A relative name starting with '-' would be taken for an option.
    std::string target = pathOrUrl;
    if (target.front() == '-')
        target = "./" + target;
    return SpawnDetached({"xdg-open", target}) != 0;
}

} // namespace kovrel::platform

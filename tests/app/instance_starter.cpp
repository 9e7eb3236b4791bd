// A second start of the program as far as the instances are concerned, for the tests that run
// two processes: it reads its command line and either ends after talking to the running
// instance (exit code 0) or would run (exit code 3). With "--hold" it takes the lock, leaves a
// socket file behind, says "held" and waits to be killed, as an instance that then crashes.

#include "app/command_line.h"
#include "app/instance_paths.h"
#include "app/instance_start.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

int Hold() {
    using namespace kovrel::app;
    InstanceLock lock(instance::InstanceLockPath());
    if (lock.TryAcquire() != InstanceLock::Result::Acquired) {
        return 2;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = instance::InstanceSocketPath().string();
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0) {
        return 2;
    }
    std::puts("held");
    std::fflush(stdout);
    for (;;) {
        ::pause();
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace kovrel::app;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments == std::vector<std::string>{"--hold"}) {
        return Hold();
    }
    InstanceLock lock(instance::InstanceLockPath());
    const StartDecision decision =
        ClaimInstance(ParseCommandLine(arguments), lock, instance::InstanceSocketPath());
    return decision == StartDecision::Exit ? 0 : 3;
}

// Varnolt: the per-user keyboard daemon. It owns the keyboards (the virtual keyboard when
// enabled) and serves libOndrel.so clients over a Unix socket in the user's runtime folder.
// A second start finds the first one's lock and leaves quietly with exit code 0.

#include "varnolt/daemon/daemon_settings.h"
#include "varnolt/daemon/event_loop.h"
#include "varnolt/daemon/instance_lock.h"
#include "varnolt/daemon/server.h"
#include "varnolt/daemon/virtual_keyboard_host.h"
#include "varnolt/protocol/runtime_paths.h"

#include <csignal>
#include <iostream>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace kovrel::varnolt;

namespace {

// Termination signals arrive through a descriptor of the event loop, so the loop ends between
// two callbacks and the virtual keyboard is saved on the way out.
UniqueFd TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) {
        return {};
    }
    return UniqueFd(signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
}

} // namespace

int main() {
    std::signal(SIGPIPE, SIG_IGN);

    std::string error;
    const auto paths = ResolveRuntimePaths(true, &error);
    if (!paths) {
        std::cerr << "Varnolt: " << error << "; set XDG_RUNTIME_DIR to a folder only you can use\n";
        return 1;
    }
    InstanceLock lock;
    switch (lock.Acquire(paths->lock)) {
    case InstanceLock::Result::Acquired:
        break;
    case InstanceLock::Result::HeldByOther:
        return 0;
    case InstanceLock::Result::Failed:
        std::cerr << "Varnolt: cannot lock " << paths->lock.string()
                  << "; check that folder's permissions\n";
        return 1;
    }
    // Holding the lock, any socket file left here belongs to a daemon that died.
    ::unlink(paths->socket.c_str());
    UniqueFd listener = ListenUnix(paths->socket);
    if (!listener.Valid()) {
        std::cerr << "Varnolt: cannot listen on " << paths->socket.string()
                  << "; check that folder's permissions\n";
        return 1;
    }

    EventLoop loop;
    UniqueFd signals = TerminationSignals();
    if (signals.Valid()) {
        loop.Watch(signals.Get(), POLLIN, [&](short) {
            signalfd_siginfo info{};
            [[maybe_unused]] auto n = ::read(signals.Get(), &info, sizeof info);
            loop.Stop();
        });
    }

    Server server(loop, std::move(listener));
    const DaemonSettings settings = LoadDaemonSettings();
    std::unique_ptr<VirtualKeyboardHost> host;
    if (settings.virtualKeyboard) {
        host = std::make_unique<VirtualKeyboardHost>(
            loop, server, std::make_unique<StateStore>(settings.stateFile));
        host->SetDelay(settings.virtualDelay);
        server.SetVirtualKeyboard(host.get());
        host->Start();
    }

    loop.Run();

    if (host) {
        host->SaveNow();
        server.SetVirtualKeyboard(nullptr);
        host.reset();
    }
    ::unlink(paths->socket.c_str());
    return 0;
}

#pragma once
// Starting Varnolt when none runs: the daemon is the Varnolt program in kovrelctl's own folder.

#include <chrono>

namespace kovrel::kovrelctl {

// How long to wait for a daemon, as the device service's Init does.
inline constexpr std::chrono::milliseconds kDaemonWait{5000};

// True when a daemon answers on the socket, or one was started (it may still be coming up;
// the caller's connection waits for it). False when none runs and none could be started.
bool EnsureDaemon();

} // namespace kovrel::kovrelctl

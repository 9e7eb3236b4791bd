#pragma once
// The daemon's single-threaded loop: poll() over its sockets plus one-shot timers. Everything
// the daemon does runs inside a callback of this loop, so no state needs a lock. Simulated
// transfer times are timers, never sleeps, so one client's wait never holds up another.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace kovrel::varnolt {

class EventLoop {
public:
    using Clock = std::chrono::steady_clock;
    using TimerId = std::uint64_t;
    using FdHandler = std::function<void(short revents)>;

    // Calls `handler` with the poll events whenever `fd` reports one of `events`.
    void Watch(int fd, short events, FdHandler handler);
    void SetEvents(int fd, short events);
    // Safe inside a handler, also for the fd being handled.
    void Unwatch(int fd);

    TimerId AddTimer(Clock::duration after, std::function<void()> callback);
    void CancelTimer(TimerId id);

    // Runs until Stop().
    void Run();
    void Stop() { running_ = false; }

private:
    struct Watched {
        short events;
        std::shared_ptr<FdHandler> handler;
    };
    struct Timer {
        Clock::time_point due;
        std::function<void()> callback;
    };

    // Time until the next timer; nothing when none is armed.
    std::optional<Clock::duration> NextTimeout() const;
    void RunDueTimers();

    std::map<int, Watched> fds_;
    // Ordered by (due time, id) so timers with the same due time fire in the order armed.
    std::map<std::pair<Clock::time_point, TimerId>, std::function<void()>> timers_;
    std::map<TimerId, Clock::time_point> timerDue_;
    TimerId nextTimer_ = 1;
    bool running_ = false;
};

} // namespace kovrel::varnolt

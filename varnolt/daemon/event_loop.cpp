#include "varnolt/daemon/event_loop.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <poll.h>

namespace kovrel::varnolt {

void EventLoop::Watch(int fd, short events, FdHandler handler) {
    fds_[fd] = Watched{events, std::make_shared<FdHandler>(std::move(handler))};
}

void EventLoop::SetEvents(int fd, short events) {
    auto it = fds_.find(fd);
    if (it != fds_.end()) {
        it->second.events = events;
    }
}

void EventLoop::Unwatch(int fd) {
    fds_.erase(fd);
}

EventLoop::TimerId EventLoop::AddTimer(Clock::duration after, std::function<void()> callback) {
    const TimerId id = nextTimer_++;
    const auto due = Clock::now() + after;
    timers_.emplace(std::make_pair(due, id), std::move(callback));
    timerDue_[id] = due;
    return id;
}

void EventLoop::CancelTimer(TimerId id) {
    auto it = timerDue_.find(id);
    if (it == timerDue_.end()) {
        return;
    }
    timers_.erase(std::make_pair(it->second, id));
    timerDue_.erase(it);
}

std::optional<EventLoop::Clock::duration> EventLoop::NextTimeout() const {
    if (timers_.empty()) {
        return std::nullopt;
    }
    return std::max(timers_.begin()->first.first - Clock::now(), Clock::duration::zero());
}

void EventLoop::RunDueTimers() {
    const auto now = Clock::now();
    while (!timers_.empty() && timers_.begin()->first.first <= now) {
        auto node = timers_.extract(timers_.begin());
        timerDue_.erase(node.key().second);
        node.mapped()();
    }
}

void EventLoop::Run() {
    running_ = true;
    std::vector<pollfd> polled;
    while (running_) {
        polled.clear();
        for (const auto& [fd, watched] : fds_) {
            polled.push_back(pollfd{fd, watched.events, 0});
        }
        // ppoll waits to the microsecond, so a simulated 1 ms transfer takes 1 ms, not 2.
        const auto timeout = NextTimeout();
        timespec ts{};
        if (timeout) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(*timeout).count();
            ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        }
        const int rc = ::ppoll(polled.data(), polled.size(), timeout ? &ts : nullptr, nullptr);
        if (rc < 0 && errno != EINTR) {
            break;
        }
        RunDueTimers();
        for (const auto& p : polled) {
            if (p.revents == 0 || !running_) {
                continue;
            }
            // A handler may unwatch this or another fd; look it up afresh and keep the
            // handler alive while it runs.
            auto it = fds_.find(p.fd);
            if (it == fds_.end()) {
                continue;
            }
            auto handler = it->second.handler;
            (*handler)(p.revents);
        }
    }
}

} // namespace kovrel::varnolt

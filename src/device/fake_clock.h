#pragma once
// A clock for tests: pauses return at once and a wait times out at once as soon as no answer
// can come any more; the simulated time is added up so that tests can check exactly which waits
// and pauses happened. A wait whose event does come is ended by it as with the real clock.
//
// "No answer can come any more" is told by the settled probe, which the test wires to its
// transport (for example the service stand-in's "nothing in flight"). Without a probe a wait
// that is not already satisfied times out at once.

#include "device/clock.h"

#include <atomic>
#include <cstdint>

namespace kovrel::device {

class FakeClock final : public Clock {
public:
    using SettledProbe = std::function<bool()>;

    FakeClock() = default;
    explicit FakeClock(SettledProbe settled) : settled_(std::move(settled)) {}

    void Sleep(std::chrono::milliseconds duration) override;
    bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                 std::chrono::milliseconds timeout, const std::function<bool()>& ready) override;

    // Simulated milliseconds spent in pauses and in waits that timed out.
    std::int64_t ElapsedMs() const { return elapsed_.load(); }
    std::int64_t SleptMs() const { return slept_.load(); }
    std::int64_t TimedOutWaits() const { return timeouts_.load(); }

private:
    SettledProbe settled_;
    std::atomic<std::int64_t> elapsed_{0};
    std::atomic<std::int64_t> slept_{0};
    std::atomic<std::int64_t> timeouts_{0};
};

} // namespace kovrel::device

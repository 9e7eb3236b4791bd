#include "device/clock.h"

#include <thread>

namespace kovrel::device {

namespace {

class SteadyClock final : public Clock {
public:
    void Sleep(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }

    bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                 std::chrono::milliseconds timeout, const std::function<bool()>& ready) override {
        return condition.wait_for(lock, timeout, ready);
    }
};

} // namespace

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

} // namespace kovrel::device

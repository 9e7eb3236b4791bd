#include "device/fake_clock.h"

namespace kovrel::device {

void FakeClock::Sleep(std::chrono::milliseconds duration) {
    elapsed_ += duration.count();
    slept_ += duration.count();
}

bool FakeClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                        std::chrono::milliseconds timeout, const std::function<bool()>& ready) {
    // Poll in short real slices: the probe belongs to another component, so it is asked with
    // our lock released by the condition wait in between. The event is checked again after the
    // probe says "settled", because the answer may have landed just before.
    constexpr auto kSlice = std::chrono::milliseconds(1);
    for (;;) {
        if (ready()) {
            return true;
        }
        const bool settled = !settled_ || settled_();
        if (settled) {
            if (ready()) {
                return true;
            }
            elapsed_ += timeout.count();
            ++timeouts_;
            return false;
        }
        condition.wait_for(lock, kSlice);
    }
}

} // namespace kovrel::device

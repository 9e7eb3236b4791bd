#pragma once
// The time source of the command protocol: its reply wait and its pauses. The real clock waits
// and sleeps; tests install a FakeClock (device/fake_clock.h) so that time-outs and pauses cost
// no real time while a reply that does arrive still ends a wait at once.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace kovrel::device {

class Clock {
public:
    virtual ~Clock() = default;

    // Pauses the calling thread.
    virtual void Sleep(std::chrono::milliseconds duration) = 0;

    // With `lock` held on entry: waits on `condition` until `ready()` holds or `timeout` passes.
    // Returns ready(), evaluated with the lock held (true: woken by the event, false: timed out).
    virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                         std::chrono::milliseconds timeout, const std::function<bool()>& ready) = 0;
};

// The steady clock of the machine.
Clock& SystemClock();

} // namespace kovrel::device

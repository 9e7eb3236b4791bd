#include "device/reply_handoff.h"

#include "device/clock.h"

#include <algorithm>

namespace kovrel::device {

void ReplyHandOff::Publish(std::span<std::uint8_t> buffer) {
    std::lock_guard lock(mutex_);
    buffer_ = buffer;
    received_ = 0;
    signalled_ = false;
    filled_ = false;
    waiting_ = true;
}

bool ReplyHandOff::Wait(Clock& clock, std::chrono::milliseconds timeout, std::size_t& received) {
    std::unique_lock lock(mutex_);
    const bool signalled = clock.WaitFor(lock, event_, timeout, [this] { return signalled_; });
    signalled_ = false;
    received = signalled ? received_ : 0;
    return signalled;
}

void ReplyHandOff::Clear() {
    std::lock_guard lock(mutex_);
    waiting_ = false;
    buffer_ = {};
}

bool ReplyHandOff::Waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

bool ReplyHandOff::Deliver(std::span<const std::uint8_t> reply) {
    {
        std::lock_guard lock(mutex_);
        if (!waiting_ || filled_) {
            return false;
        }
        const std::size_t length = std::min(reply.size(), buffer_.size());
        std::copy_n(reply.begin(), length, buffer_.begin());
        received_ = length;
        filled_ = true;
        signalled_ = true;
    }
    event_.notify_all();
    return true;
}

} // namespace kovrel::device

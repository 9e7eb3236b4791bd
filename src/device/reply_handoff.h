#pragma once
// The hand-off of a command's reply from the service's callback thread to the waiting sender:
// a waiting flag, the waiting command's reply buffer with its capacity, the received length and
// an auto-reset reply event.
//
// One mutex covers the callback's copy into the buffer and the sender's clearing of the flag, so
// a reply can never be copied into a buffer whose sender has already timed out and returned. The
// callback only ever holds it for the copy: it never waits for the sender.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

namespace kovrel::device {

class Clock;

class ReplyHandOff {
public:
    // Sender: publishes the buffer and its capacity, resets the reply event and sets the waiting
    // flag, in that order as one step.
    void Publish(std::span<std::uint8_t> buffer);

    // Sender: waits up to `timeout` for the reply event. True: a reply was copied (its length in
    // `received`); false: timed out. The event resets on return.
    bool Wait(Clock& clock, std::chrono::milliseconds timeout, std::size_t& received);

    // Sender: clears the waiting flag and forgets the buffer. After it returns the callback no
    // longer touches the buffer.
    void Clear();

    bool Waiting() const;

    // Callback: a reply arrived. Dropped when nobody waits, or when this wait already has its
    // reply (a second reply would otherwise overwrite bytes the sender is reading). Otherwise
    // copies at most the capacity, records that length and signals. Returns true when copied.
    bool Deliver(std::span<const std::uint8_t> reply);

private:
    mutable std::mutex mutex_;
    std::condition_variable event_;
    bool waiting_ = false;
    bool signalled_ = false;
    bool filled_ = false;
    std::span<std::uint8_t> buffer_;
    std::size_t received_ = 0;
};

} // namespace kovrel::device

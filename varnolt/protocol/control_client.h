#pragma once
// A plain, blocking connection to the daemon for tools and tests: connect, read the welcome,
// send control requests and read their results. (libOndrel.so has its own threaded client.)

#include "varnolt/protocol/messages.h"
#include "varnolt/protocol/runtime_paths.h"
#include "varnolt/protocol/unix_socket.h"

#include <chrono>
#include <optional>
#include <string>

namespace kovrel::varnolt {

class ControlClient {
public:
    // Tries to connect until `wait` has passed (the daemon may be starting) and reads the
    // welcome. False when no daemon answered in time.
    bool Connect(const std::filesystem::path& socket, std::chrono::milliseconds wait);
    bool Connect(std::chrono::milliseconds wait);

    const KeyboardList& Welcome() const { return welcome_; }

    // Sends one control request and waits for its result, skipping other messages on the way.
    std::optional<ControlResultMessage>
    Call(ControlOp op, std::int64_t number = 0, std::string text = {},
         std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // Lower level, for tests that speak the protocol themselves.
    bool Send(const Message& message);
    bool SendRaw(std::span<const std::uint8_t> bytes);
    // The next message, or nothing on time-out, a closed socket or a malformed frame.
    std::optional<Message> Receive(std::chrono::milliseconds timeout);
    int Fd() const { return fd_.Get(); }
    void Close() { fd_.Reset(); }

private:
    UniqueFd fd_;
    FrameReader reader_;
    KeyboardList welcome_;
    std::uint32_t nextSeq_ = 1;
};

} // namespace kovrel::varnolt

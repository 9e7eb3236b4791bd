#pragma once
// One connected client of the daemon: its socket, the bytes read but not yet cut into frames,
// and the bytes waiting to be written. Never blocks: the event loop says when to read or write.

#include "varnolt/daemon/report_queue.h"
#include "varnolt/protocol/messages.h"
#include "varnolt/protocol/unix_socket.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kovrel::varnolt {

class ClientConnection {
public:
    // A client that stops reading is dropped once this much waits for it.
    static constexpr std::size_t kMaxOutbox = 8u << 20;

    ClientConnection(ClientId id, UniqueFd fd) : id_(id), fd_(std::move(fd)) {}

    ClientId Id() const { return id_; }
    int Fd() const { return fd_.Get(); }

    // Reads everything available now. False when the peer closed or the socket failed.
    bool ReadAvailable();

    enum class Next { Message, NeedMore, Malformed };
    // The next complete message read so far.
    Next NextMessage(Message& out);

    // Appends a frame to the outbox and writes what the socket takes. False when the client
    // must be dropped (socket failed, or it lets too much pile up).
    bool Queue(std::span<const std::uint8_t> frame);
    bool Flush();
    bool WantsWrite() const { return sent_ < outbox_.size(); }

private:
    ClientId id_;
    UniqueFd fd_;
    FrameReader reader_;
    std::vector<std::uint8_t> outbox_;
    std::size_t sent_ = 0;
};

} // namespace kovrel::varnolt

#include "varnolt/daemon/client_connection.h"

#include <cerrno>
#include <sys/socket.h>

namespace kovrel::varnolt {

bool ClientConnection::ReadAvailable() {
    std::uint8_t buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(fd_.Get(), buffer, sizeof buffer, 0);
        if (n > 0) {
            reader_.Append(std::span(buffer, static_cast<std::size_t>(n)));
            if (static_cast<std::size_t>(n) < sizeof buffer) {
                return true;
            }
            continue;
        }
        if (n == 0) {
            return false;
        }
        if (errno == EINTR) {
            continue;
        }
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

ClientConnection::Next ClientConnection::NextMessage(Message& out) {
    std::vector<std::uint8_t> body;
    switch (reader_.Next(body)) {
    case FrameReader::Result::NeedMore:
        return Next::NeedMore;
    case FrameReader::Result::Malformed:
        return Next::Malformed;
    case FrameReader::Result::Frame:
        break;
    }
    auto message = DecodeBody(body);
    if (!message) {
        return Next::Malformed;
    }
    out = std::move(*message);
    return Next::Message;
}

bool ClientConnection::Queue(std::span<const std::uint8_t> frame) {
    if (outbox_.size() - sent_ + frame.size() > kMaxOutbox) {
        return false;
    }
    outbox_.insert(outbox_.end(), frame.begin(), frame.end());
    return Flush();
}

bool ClientConnection::Flush() {
    while (sent_ < outbox_.size()) {
        const ssize_t n = ::send(fd_.Get(), outbox_.data() + sent_, outbox_.size() - sent_,
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent_ += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        return false;
    }
    if (sent_ == outbox_.size()) {
        outbox_.clear();
        sent_ = 0;
    } else if (sent_ > (1u << 16)) {
        outbox_.erase(outbox_.begin(), outbox_.begin() + static_cast<std::ptrdiff_t>(sent_));
        sent_ = 0;
    }
    return true;
}

} // namespace kovrel::varnolt

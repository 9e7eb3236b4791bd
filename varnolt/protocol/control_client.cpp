#include "varnolt/protocol/control_client.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <thread>

namespace kovrel::varnolt {

using Clock = std::chrono::steady_clock;

bool ControlClient::Connect(std::chrono::milliseconds wait) {
    const auto paths = ResolveRuntimePaths(false);
    if (!paths) {
        return false;
    }
    return Connect(paths->socket, wait);
}

bool ControlClient::Connect(const std::filesystem::path& socket, std::chrono::milliseconds wait) {
    const auto deadline = Clock::now() + wait;
    for (;;) {
        fd_ = ConnectUnix(socket);
        if (fd_.Valid()) {
            break;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    reader_ = FrameReader{};
    const auto left =
        std::max(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()),
                 std::chrono::milliseconds(1000));
    auto first = Receive(left);
    if (!first) {
        fd_.Reset();
        return false;
    }
    const auto* welcome = std::get_if<WelcomeMessage>(&*first);
    if (!welcome) {
        fd_.Reset();
        return false;
    }
    welcome_ = welcome->list;
    return true;
}

std::optional<ControlResultMessage> ControlClient::Call(ControlOp op, std::int64_t number,
                                                        std::string text,
                                                        std::chrono::milliseconds timeout) {
    const std::uint32_t seq = nextSeq_++;
    if (!Send(ControlRequest{seq, op, number, std::move(text)})) {
        return std::nullopt;
    }
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        auto message =
            Receive(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
        if (!message) {
            return std::nullopt;
        }
        if (auto* result = std::get_if<ControlResultMessage>(&*message);
            result && result->seq == seq) {
            return *result;
        }
    }
    return std::nullopt;
}

bool ControlClient::Send(const Message& message) {
    return SendRaw(EncodeFrame(message));
}

bool ControlClient::SendRaw(std::span<const std::uint8_t> bytes) {
    return fd_.Valid() && SendAll(fd_.Get(), bytes);
}

std::optional<Message> ControlClient::Receive(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<std::uint8_t> body;
    for (;;) {
        switch (reader_.Next(body)) {
        case FrameReader::Result::Frame:
            return DecodeBody(body);
        case FrameReader::Result::Malformed:
            return std::nullopt;
        case FrameReader::Result::NeedMore:
            break;
        }
        if (!fd_.Valid()) {
            return std::nullopt;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd p{fd_.Get(), POLLIN, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(left.count()));
        if (rc < 0 && errno == EINTR) {
            continue;
        }
        if (rc <= 0) {
            return std::nullopt;
        }
        std::uint8_t buffer[16384];
        const ssize_t n = ::recv(fd_.Get(), buffer, sizeof buffer, 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        reader_.Append(std::span(buffer, static_cast<std::size_t>(n)));
    }
}

} // namespace kovrel::varnolt

#include "daemon_link.h"

#include "varnolt/protocol/runtime_paths.h"
#include "varnolt/protocol/unix_socket.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kovrel::ondrel {

using Clock = std::chrono::steady_clock;

bool DaemonLink::Start(std::chrono::milliseconds wait) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        return false;
    }
    stop_ = false;
    {
        std::lock_guard lock(welcomeMutex_);
        welcomed_ = false;
    }
    thread_ = std::thread([this] { Run(); });
    std::unique_lock lock(welcomeMutex_);
    welcomeCv_.wait_for(lock, wait, [this] { return welcomed_; });
    return true;
}

void DaemonLink::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    stop_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
    ::close(wakeFd_);
    wakeFd_ = -1;
    count_ = 0;
}

DaemonLink::SendResult DaemonLink::Send(const varnolt::Message& message) {
    const auto frame = varnolt::EncodeFrame(message);
    std::lock_guard lock(sendMutex_);
    if (fd_ < 0) {
        return SendResult::NoDaemon;
    }
    return varnolt::SendAll(fd_, frame) ? SendResult::Sent : SendResult::Failed;
}

void DaemonLink::Run() {
    threadId_ = std::this_thread::get_id();
    while (!stop_) {
        CheckGrace();
        const auto paths = varnolt::ResolveRuntimePaths(false);
        varnolt::UniqueFd fd = paths ? varnolt::ConnectUnix(paths->socket) : varnolt::UniqueFd{};
        if (!fd.Valid()) {
            Pause(Clock::now() + kReconnectPause);
            continue;
        }
        // A daemon that stops reading must not hang a caller for ever.
        timeval timeout{2, 0};
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        {
            std::lock_guard lock(sendMutex_);
            fd_ = fd.Get();
        }
        connected_ = true;
        Serve(fd.Get());
        Disconnect();
        // fd closes here, after senders can no longer see it.
    }
    threadId_ = std::thread::id{};
}

void DaemonLink::Disconnect() {
    {
        std::lock_guard lock(sendMutex_);
        fd_ = -1;
    }
    connected_ = false;
    if (!graceEnd_ && count_.load() != 0) {
        graceEnd_ = Clock::now() + kCountGrace;
    }
}

void DaemonLink::Serve(int fd) {
    varnolt::FrameReader reader;
    std::vector<std::uint8_t> body;
    std::uint8_t buffer[16384];
    while (!stop_) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        int timeoutMs = -1;
        if (graceEnd_) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*graceEnd_ - Clock::now());
            timeoutMs = static_cast<int>(std::max<long long>(left.count(), 0) + 1);
        }
        const int rc = ::poll(fds, 2, timeoutMs);
        if (rc < 0 && errno != EINTR) {
            return;
        }
        CheckGrace();
        if (rc <= 0 || !(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
            continue;
        }
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        reader.Append(std::span(buffer, static_cast<std::size_t>(n)));
        for (;;) {
            const auto result = reader.Next(body);
            if (result == varnolt::FrameReader::Result::NeedMore) {
                break;
            }
            if (result == varnolt::FrameReader::Result::Malformed) {
                return;
            }
            auto message = varnolt::DecodeBody(body);
            if (!message) {
                return;
            }
            Handle(*message);
        }
    }
}

void DaemonLink::Handle(const varnolt::Message& message) {
    if (const auto* welcome = std::get_if<varnolt::WelcomeMessage>(&message)) {
        graceEnd_.reset();
        SetCount(static_cast<int>(welcome->list.names.size()));
        {
            std::lock_guard lock(welcomeMutex_);
            welcomed_ = true;
        }
        welcomeCv_.notify_all();
    } else if (const auto* changed = std::get_if<varnolt::KeyboardsChangedMessage>(&message)) {
        SetCount(static_cast<int>(changed->list.names.size()));
    } else if (const auto* reply = std::get_if<varnolt::ReplyMessage>(&message)) {
        OndrelNotification n{};
        n.kind = ONDREL_KIND_INPUT;
        n.length = static_cast<std::int32_t>(reply->bytes.size());
        n.data = reply->bytes.data();
        Notify(n, ONDREL_CODE_CTRL);
    } else if (const auto* event = std::get_if<varnolt::EventMessage>(&message)) {
        OndrelNotification n{};
        n.kind = ONDREL_KIND_INPUT;
        n.length = static_cast<std::int32_t>(event->bytes.size());
        n.data = event->bytes.data();
        if (event->bytes.size() >= ONDREL_OFFSET_EVENT + 2) {
            n.event = static_cast<std::uint16_t>(event->bytes[ONDREL_OFFSET_EVENT] |
                                                 (event->bytes[ONDREL_OFFSET_EVENT + 1] << 8));
        }
        Notify(n, ONDREL_CODE_CONS);
    }
    // Control results are for tools with their own connection; nothing else is expected.
}

void DaemonLink::SetCount(int count) {
    if (count_.exchange(count) == count) {
        return;
    }
    OndrelNotification n{};
    n.kind = ONDREL_KIND_COUNT;
    n.length = count;
    Notify(n, ONDREL_CODE_CTRL);
}

void DaemonLink::CheckGrace() {
    if (graceEnd_ && Clock::now() >= *graceEnd_) {
        graceEnd_.reset();
        if (!connected_) {
            SetCount(0);
        }
    }
}

void DaemonLink::Notify(const OndrelNotification& templ, std::uint32_t code) {
    for (const auto& listener : registrations_.ListenersOf(code)) {
        if (!registrations_.Contains(listener.handle)) {
            continue;
        }
        OndrelNotification n = templ;
        n.code = code;
        listener.callback(&n);
    }
}

void DaemonLink::Pause(Clock::time_point until) {
    while (!stop_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) {
            return;
        }
        pollfd p{wakeFd_, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
}

} // namespace kovrel::ondrel

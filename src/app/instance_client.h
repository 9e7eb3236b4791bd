#pragma once
// Sends one request to the running instance and returns its status line: used by a second start
// of the program and by kovrelctl. Plain POSIX sockets, header-only, so kovrelctl needs no Qt.

#include "app/instance_paths.h"
#include "app/instance_protocol.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovrel::app::instance {

struct Answer {
    enum class Status {
        Answered,   // `text` holds the instance's status line
        NoInstance, // nothing listens at the socket
        NotMarked,  // something listens, but it is not a marked main window: not addressed
        Failed,     // the instance did not answer in time or the connection broke
    };
    Status status = Status::NoInstance;
    std::string text;
};

// The request's time limit covers the whole exchange. A reload reads the keyboard, so give it
// tens of seconds; the instance messages are answered at once.
inline constexpr std::chrono::milliseconds kMessageTimeout{5000};
inline constexpr std::chrono::milliseconds kReloadTimeout{60000};

namespace detail {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

inline int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Reads one line (without its '\n'); false on time-out, a closed connection before the '\n', or
// a line longer than the protocol allows.
inline bool ReadLine(int fd, std::chrono::steady_clock::time_point deadline, std::string& line) {
    line.clear();
    for (;;) {
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        char c = 0;
        const ssize_t got = ::recv(fd, &c, 1, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        if (c == '\n') {
            return true;
        }
        if (line.size() >= kMaxLineLength) {
            return false;
        }
        line.push_back(c);
    }
}

inline bool WriteAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace detail

inline Answer SendRequest(const Request& request,
                          const std::filesystem::path& socketPath = InstanceSocketPath(),
                          std::chrono::milliseconds timeout = kMessageTimeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Answer answer;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return answer; // no such socket can exist
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    detail::Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) {
        answer.status = Answer::Status::Failed;
        return answer;
    }
    int connected = 0;
    do {
        connected =
            ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (connected != 0 && errno == EINTR);
    if (connected != 0) {
        return answer; // no file, or a stale one nobody listens at
    }

    std::string line;
    if (!detail::ReadLine(fd.get(), deadline, line) || line != kGreeting) {
        answer.status = Answer::Status::NotMarked;
        return answer;
    }
    if (!detail::WriteAll(fd.get(), FormatRequest(request) + "\n") ||
        !detail::ReadLine(fd.get(), deadline, line)) {
        answer.status = Answer::Status::Failed;
        return answer;
    }
    answer.status = Answer::Status::Answered;
    answer.text = line;
    return answer;
}

} // namespace kovrel::app::instance

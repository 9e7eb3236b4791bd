#pragma once
// Thin helpers over Unix stream sockets, shared by the daemon and its clients.

#include <cstdint>
#include <filesystem>
#include <span>
#include <utility>

namespace kovrel::varnolt {

// Owns one file descriptor.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.fd_, -1));
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset(int fd = -1);
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};

// A connected, close-on-exec stream socket, or an invalid fd when nobody listens.
UniqueFd ConnectUnix(const std::filesystem::path& path);

// A listening socket at `path` with mode 0600 (nobody else may connect), non-blocking.
UniqueFd ListenUnix(const std::filesystem::path& path);

// True when the peer process runs as the same user as we do.
bool PeerIsSameUser(int fd);

bool SetNonBlocking(int fd);

// Writes everything on a blocking socket (retrying on EINTR, never raising SIGPIPE).
bool SendAll(int fd, std::span<const std::uint8_t> bytes);

} // namespace kovrel::varnolt

#include "varnolt/protocol/unix_socket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovrel::varnolt {
namespace {

bool FillAddress(const std::filesystem::path& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    const auto& native = path.native();
    if (native.size() >= sizeof addr.sun_path) {
        return false;
    }
    std::memcpy(addr.sun_path, native.c_str(), native.size() + 1);
    return true;
}

} // namespace

void UniqueFd::Reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

UniqueFd ConnectUnix(const std::filesystem::path& path) {
    sockaddr_un addr{};
    if (!FillAddress(path, addr)) {
        return {};
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        return {};
    }
    int rc;
    do {
        rc = ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        return {};
    }
    return fd;
}

UniqueFd ListenUnix(const std::filesystem::path& path) {
    sockaddr_un addr{};
    if (!FillAddress(path, addr)) {
        return {};
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.Valid()) {
        return {};
    }
    // The socket is created with no access for others at all, then opened to the user only,
    // so there is no moment where another user could connect.
    const mode_t old = ::umask(0177);
    const int rc = ::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    ::umask(old);
    if (rc != 0 || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd.Get(), 64) != 0) {
        return {};
    }
    return fd;
}

bool PeerIsSameUser(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred) {
        return false;
    }
    return cred.uid == ::getuid();
}

bool SetNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool SendAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace kovrel::varnolt

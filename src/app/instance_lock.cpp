#include "app/instance_lock.h"

#include "app/instance_paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kovrel::app {

InstanceLock::InstanceLock(std::filesystem::path lockFile) : lockFile_(std::move(lockFile)) {}

InstanceLock::~InstanceLock() {
    Release();
}

InstanceLock::Result InstanceLock::TryAcquire() {
    if (fd_ >= 0) {
        return Result::Acquired;
    }
    if (!instance::PrepareInstanceFolder(lockFile_.parent_path())) {
        return Result::Unavailable;
    }
    // Close-on-exec: the daemon and every other program started from here must not inherit the
    // lock, or it would outlive this instance.
    const int fd = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return Result::Unavailable;
    }
    int locked = 0;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::HeldByOther : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Acquired;
}

void InstanceLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_); // drops the lock
        fd_ = -1;
    }
}

} // namespace kovrel::app

#include "varnolt/daemon/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace kovrel::varnolt {

InstanceLock::Result InstanceLock::Acquire(const std::filesystem::path& file) {
    UniqueFd fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.Valid()) {
        return Result::Failed;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? Result::HeldByOther : Result::Failed;
    }
    // The holder's pid, for people looking; nothing relies on it.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd.Get(), 0) == 0) {
        [[maybe_unused]] auto n = ::pwrite(fd.Get(), pid.data(), pid.size(), 0);
    }
    fd_ = std::move(fd);
    return Result::Acquired;
}

} // namespace kovrel::varnolt

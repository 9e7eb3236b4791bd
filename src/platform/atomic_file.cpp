#include "platform/atomic_file.h"

#include "platform/file_system_calls.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kovrel::platform {

namespace fs = std::filesystem;

namespace {

class PosixFileSystemCalls final : public FileSystemCalls {
public:
    int Open(const char* path, int flags, mode_t mode) override {
        return ::open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        return ::write(fd, data, size);
    }
    int Fsync(int fd) override { return ::fsync(fd); }
    int Close(int fd) override { return ::close(fd); }
    int Rename(const char* from, const char* to) override { return ::rename(from, to); }
    int Unlink(const char* path) override { return ::unlink(path); }
};

std::atomic<FileSystemCalls*>& InstalledCalls() {
    static std::atomic<FileSystemCalls*> installed{nullptr};
    return installed;
}

// A name in the target's folder that no other writer uses at the same time (process id and a
// process-wide counter), short enough whatever the target's own name is.
std::string TemporaryName(const fs::path& target) {
    static std::atomic<unsigned long> counter{0};
    const std::string name = ".kovrel-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1)) + ".tmp";
    return (target.parent_path() / name).string();
}

bool WriteAll(FileSystemCalls& calls, int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = calls.Write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
            return false; // no progress and no error: give up rather than spin
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

int OpenRetrying(FileSystemCalls& calls, const char* path, int flags, mode_t mode) {
    int fd;
    do {
        fd = calls.Open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool FsyncRetrying(FileSystemCalls& calls, int fd) {
    int rc;
    do {
        rc = calls.Fsync(fd);
    } while (rc < 0 && errno == EINTR);
    return rc == 0;
}

// The rename is on disk only once the folder's entry is: best effort, as some file systems
// refuse fsync on folders.
void SyncFolder(FileSystemCalls& calls, const fs::path& folder) {
    const int fd = OpenRetrying(calls, folder.empty() ? "." : folder.c_str(),
                                O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0)
        return;
    FsyncRetrying(calls, fd);
    calls.Close(fd);
}

} // namespace

FileSystemCalls& SystemFileSystemCalls() {
    static PosixFileSystemCalls calls;
    return calls;
}

FileSystemCalls& CurrentFileSystemCalls() {
    FileSystemCalls* installed = InstalledCalls().load(std::memory_order_acquire);
    return installed ? *installed : SystemFileSystemCalls();
}

ScopedFileSystemCalls::ScopedFileSystemCalls(FileSystemCalls& calls)
    : previous_(InstalledCalls().exchange(&calls, std::memory_order_acq_rel)) {}

ScopedFileSystemCalls::~ScopedFileSystemCalls() {
    InstalledCalls().store(previous_, std::memory_order_release);
}

bool WriteFileAtomically(const fs::path& requestedTarget, std::span<const std::uint8_t> bytes) {
    if (requestedTarget.empty())
        return false;
    FileSystemCalls& calls = CurrentFileSystemCalls();

    // A target that is a symbolic link is written through: the link stays, its file changes.
    fs::path target = requestedTarget;
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }

    // Keep the permissions of a file that is replaced; new files get the usual 0666 & ~umask.
    mode_t mode = 0666;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return false;
        // Renaming over a file needs only the folder's permission, so a file the user made
        // read-only would be replaced all the same; refuse it, as a write into the file would
        // be refused. No write bit at all counts too, since root may write anything.
        if ((existing.st_mode & 0222) == 0 ||
            ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            errno = EACCES;
            return false;
        }
        mode = existing.st_mode & 07777;
    }

    const std::string temporary = TemporaryName(target);
    const int fd = OpenRetrying(calls, temporary.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;

    bool ok = WriteAll(calls, fd, bytes.data(), bytes.size()) && FsyncRetrying(calls, fd);
    // A failing close can report a delayed write error (NFS): the content is then not safe.
    // Not retried on EINTR: on Linux the descriptor is gone either way.
    if (calls.Close(fd) != 0)
        ok = false;
    if (ok && calls.Rename(temporary.c_str(), target.c_str()) != 0)
        ok = false;
    if (!ok) {
        const int saved = errno;
        calls.Unlink(temporary.c_str());
        errno = saved;
        return false;
    }
    SyncFolder(calls, target.parent_path());
    return true;
}

bool WriteFileAtomically(const fs::path& target, std::string_view bytes) {
    return WriteFileAtomically(
        target, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                              bytes.size()));
}

} // namespace kovrel::platform

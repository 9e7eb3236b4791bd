#pragma once
// The few system calls WriteFileAtomically makes, behind an interface so tests can make them fail
// (a short write, EINTR, ENOSPC, a failing rename) and check that nothing is left behind.
// Each call returns what the system call returns and sets errno the same way.

#include <cstddef>
#include <sys/types.h>

namespace kovrel::platform {

class FileSystemCalls {
public:
    virtual ~FileSystemCalls() = default;
    virtual int Open(const char* path, int flags, mode_t mode) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) = 0;
    virtual int Fsync(int fd) = 0;
    virtual int Close(int fd) = 0;
    virtual int Rename(const char* from, const char* to) = 0;
    virtual int Unlink(const char* path) = 0;
};

// The real calls.
FileSystemCalls& SystemFileSystemCalls();

// The calls in use: the real ones unless a test installed others.
FileSystemCalls& CurrentFileSystemCalls();

// Installs `calls` for the lifetime of the guard (tests only; install before the threads that
// write start, remove after they stopped).
class ScopedFileSystemCalls {
public:
    explicit ScopedFileSystemCalls(FileSystemCalls& calls);
    ~ScopedFileSystemCalls();
    ScopedFileSystemCalls(const ScopedFileSystemCalls&) = delete;
    ScopedFileSystemCalls& operator=(const ScopedFileSystemCalls&) = delete;

private:
    FileSystemCalls* previous_;
};

} // namespace kovrel::platform

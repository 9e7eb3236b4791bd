#pragma once
// The single-instance lock: an exclusive flock on a per-user lock file, held by the first
// instance for its whole run. The kernel drops the lock with the process, so a crashed instance
// never blocks the next start; the file itself stays and is reused.

#include <filesystem>

namespace kovrel::app {

class InstanceLock {
public:
    enum class Result {
        Acquired,    // this process is the running instance now
        HeldByOther, // another instance runs
        Unavailable, // the lock file cannot be opened; nothing is known about other instances
    };

    explicit InstanceLock(std::filesystem::path lockFile);
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Creates the lock file's folder when needed (see app/instance_paths.h) and tries the lock
    // without waiting. Again after Acquired: Acquired.
    Result TryAcquire();
    // Gives the lock up (teardown); the next start may take it.
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    std::filesystem::path lockFile_;
    int fd_ = -1;
};

} // namespace kovrel::app

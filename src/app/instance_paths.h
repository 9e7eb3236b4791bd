#pragma once
// Where the running instance can be found: a per-user folder holding the single-instance lock
// file and the local socket. Header-only and free of Qt, so kovrelctl can include it as it is.
//
// The folder is $XDG_RUNTIME_DIR/kovrel when XDG_RUNTIME_DIR names an absolute path (the
// session's private folder, emptied at log-out), else /tmp/kovrel-<uid>. Either way it is
// created with mode 0700 and used only when it is a real folder owned by the user and closed
// to everyone else, so another account can neither take the lock nor listen in our place.

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrel::app::instance {

inline constexpr const char* kLockFileName = "Brennock.lock";
inline constexpr const char* kSocketFileName = "Brennock.socket";

inline std::filesystem::path InstanceFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/') {
        return std::filesystem::path(runtime) / "kovrel";
    }
    return std::filesystem::path("/tmp") / ("kovrel-" + std::to_string(::getuid()));
}

// Creates the folder if needed; true when it is usable (see above).
inline bool PrepareInstanceFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return false;
    }
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

inline std::filesystem::path InstanceLockPath() {
    return InstanceFolder() / kLockFileName;
}

inline std::filesystem::path InstanceSocketPath() {
    return InstanceFolder() / kSocketFileName;
}

} // namespace kovrel::app::instance

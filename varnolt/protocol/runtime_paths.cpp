#include "varnolt/protocol/runtime_paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovrel::varnolt {
namespace {

bool SetError(std::string* error, std::string text) {
    if (error) {
        *error = std::move(text);
    }
    return false;
}

// A folder only we can enter: a real directory (not a link), ours, no access for others.
bool IsPrivateFolder(const std::filesystem::path& folder, bool fixMode, std::string* error) {
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) {
        return SetError(error, "cannot read " + folder.string() + ": " + std::strerror(errno));
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != getuid()) {
        return SetError(error, folder.string() + " is not a directory owned by this user");
    }
    if ((st.st_mode & 077) != 0) {
        if (!fixMode || chmod(folder.c_str(), 0700) != 0) {
            return SetError(error, folder.string() + " is open to other users (want mode 0700)");
        }
    }
    return true;
}

} // namespace

std::optional<RuntimePaths> ResolveRuntimePaths(bool create, std::string* error) {
    std::filesystem::path folder;
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    if (xdg && xdg[0] == '/') {
        struct stat st {};
        if (stat(xdg, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) {
            folder = xdg;
        }
    }
    if (folder.empty()) {
        folder = "/tmp/varnolt-" + std::to_string(getuid());
        if (create && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            SetError(error, "cannot create " + folder.string() + ": " + std::strerror(errno));
            return std::nullopt;
        }
        if (!IsPrivateFolder(folder, create, error)) {
            return std::nullopt;
        }
    }
    RuntimePaths paths{folder, folder / "varnolt.sock", folder / "varnolt.lock"};
    if (paths.socket.native().size() >= sizeof(sockaddr_un{}.sun_path)) {
        SetError(error, "socket path " + paths.socket.string() + " is too long");
        return std::nullopt;
    }
    return paths;
}

} // namespace kovrel::varnolt

#pragma once
// Where the daemon's socket and lock live: $XDG_RUNTIME_DIR, or when that is unset or not the
// user's own, a per-user folder under /tmp (mode 0700, owned by the user). Daemon and clients
// resolve the same way, so they always meet.

#include <filesystem>
#include <optional>
#include <string>

namespace kovrel::varnolt {

struct RuntimePaths {
    std::filesystem::path folder;
    std::filesystem::path socket;
    std::filesystem::path lock;
};

// `create`: make the fallback folder when it is missing (the daemon does; clients only look).
// Nothing, with a one-line reason in `error`, when no safe folder can be had: the fallback
// exists but is not a directory of ours with mode 0700, or the socket path is too long.
std::optional<RuntimePaths> ResolveRuntimePaths(bool create, std::string* error = nullptr);

} // namespace kovrel::varnolt

#pragma once
// One daemon per user: an exclusive flock on the per-user lock file. The kernel releases it
// when the holder dies, however it dies, so a crashed daemon's leftovers never block a start.

#include "varnolt/protocol/unix_socket.h"

#include <filesystem>

namespace kovrel::varnolt {

class InstanceLock {
public:
    enum class Result { Acquired, HeldByOther, Failed };

    Result Acquire(const std::filesystem::path& file);

private:
    UniqueFd fd_;
};

} // namespace kovrel::varnolt

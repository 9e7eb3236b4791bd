#pragma once
// The one way user data reaches the disk: a temporary file in the same folder, written, flushed
// and fsync'd, then renamed over the target, so a crash never leaves half a file.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace kovrel::platform {

// True when the whole content is on disk under `target`. On failure the target is unchanged
// and no temporary file is left behind.
bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace kovrel::platform

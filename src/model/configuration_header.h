#pragma once
// The 64-byte image header that opens every configuration file and the store's header-and-records
// block: format marks, sizes, macro count, text size, a flag and a checksum, then eight values
// carried unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kovrel {

inline constexpr std::size_t kHeaderSize = 64;
// Header and the 2048 key records: the first bytes of every configuration file.
inline constexpr std::size_t kRecordsImageSize = 32832;

using ConfigurationHeader = std::array<std::uint8_t, kHeaderSize>;

struct HeaderFields {
    std::uint16_t mark = 0;    // 0x4446
    std::uint16_t version = 0; // 32
    std::uint16_t kind = 0;    // 3
    std::uint16_t one = 0;     // 1
    std::uint32_t totalSize = 0;
    std::uint16_t recordCount = 0; // 2048
    std::uint16_t macroCount = 0;
    std::uint32_t textSize = 0;
    std::uint8_t flag = 0;
    std::uint8_t checksum = 0;
};

// A new header: the fixed marks, the sizes of an empty configuration and the eight constants.
ConfigurationHeader CreateHeader();

// Rebuilds bytes 0-31 for a macro count and a text size (flag 0, checksum); 32-63 stay.
void RewriteHeader(ConfigurationHeader& header, std::uint16_t macroCount, std::uint32_t textSize);

// 32832 + macro count x 16512 + text size, computed without overflow.
std::uint64_t ConfigurationTotalSize(std::uint64_t macroCount, std::uint64_t textSize);

HeaderFields ReadHeaderFields(std::span<const std::uint8_t, kHeaderSize> header);

// Sum of bytes 0-30 modulo 256.
std::uint8_t HeaderChecksum(std::span<const std::uint8_t, kHeaderSize> header);

// The import test: marks, record count, macro count at most 100, flag 0 or 1, total size at
// least 32832 and equal to what the counts promise, checksum right.
bool HeaderPassesTest(std::span<const std::uint8_t, kHeaderSize> header);

} // namespace kovrel

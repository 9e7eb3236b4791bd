#pragma once
// Little-endian packing for the binary formats (key records, profile blocks, macro records and
// images, configuration files), byte by byte. Writers assume the caller sized the buffer; the
// checked readers answer false instead of reading past the end of what they were given.

#include <cstddef>
#include <cstdint>
#include <span>

namespace kovrel::bytes {

inline void PutU8(std::span<std::uint8_t> out, std::size_t at, std::uint8_t value) {
    out[at] = value;
}
inline void PutU16(std::span<std::uint8_t> out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
inline void PutU32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

inline std::uint16_t GetU16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}
inline std::uint32_t GetU32(std::span<const std::uint8_t> in, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    }
    return value;
}

// True when `length` bytes starting at `at` lie inside a buffer of `size` bytes (no overflow).
constexpr bool Fits(std::size_t size, std::size_t at, std::size_t length) {
    return at <= size && length <= size - at;
}

} // namespace kovrel::bytes

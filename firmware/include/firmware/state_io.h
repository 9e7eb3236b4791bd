#pragma once

// Saving and restoring the virtual keyboard's memories, and readable dumps of them.
//
// Binary format, version 1, all integers little-endian:
//   offset 0   4 bytes  "KVKB"
//   offset 4   u16      version (1)
//   offset 6   u16      flags: bit 0 configuration open, bit 1 boot mode, bit 2 G bank 1
//   then five sections, each u16 length followed by that many bytes, in this order:
//     information block (44), settings memory (256), per-key colours (1536),
//     profile blocks (1134), default layout (378), macro memory (info byte 11 x 128)
//   last       u32      CRC-32 (IEEE, reflected, as zlib) of every byte before it
// A buffer is refused when it is short or long, the mark, version, CRC or any section length is
// wrong, the macro memory length differs from info byte 11 x 128, the current profile is above
// 2, or an unknown flag bit is set.

#include "firmware/keyboard_memory.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovrel::firmware {

inline constexpr std::uint16_t kStateFormatVersion = 1;

std::vector<std::uint8_t> SerializeMemory(const KeyboardMemory& memory);
std::optional<KeyboardMemory> DeserializeMemory(std::span<const std::uint8_t> bytes);

// Readable text: one titled hex dump per memory, 16 bytes a line.
std::string DumpText(const KeyboardMemory& memory);
// JSON object: decoded fields of the information block and lighting records, and every memory
// as a hex string.
std::string DumpJson(const KeyboardMemory& memory);

} // namespace kovrel::firmware

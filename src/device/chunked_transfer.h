#pragma once
// Blocks larger than one report move in chunks of 56 bytes at consecutive addresses.

#include <cstdint>
#include <span>

namespace kovrel::device {

class CommandProtocol;

// Reads `block.size()` bytes with `code` from address `base` on. Stops at the first failing
// chunk and returns its result; 1 when every chunk succeeded (also for an empty block).
int ReadChunked(CommandProtocol& protocol, std::uint8_t code, std::uint16_t base,
                std::span<std::uint8_t> block);

// Writes the block likewise. The report is not cleared between chunks: in a last, shorter chunk
// the data bytes past its length still hold the previous chunk's bytes (and count in the
// checksum), as the keyboard has always received them.
int WriteChunked(CommandProtocol& protocol, std::uint8_t code, std::uint16_t base,
                 std::span<const std::uint8_t> block);

} // namespace kovrel::device

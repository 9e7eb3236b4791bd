#pragma once

// The keyboard's command handling: one report in, one 64-byte reply out.

#include "firmware/keyboard_memory.h"

#include <array>
#include <cstdint>
#include <span>

namespace kovrel::firmware::detail {

using Reply = std::array<std::uint8_t, kReportSize>;

// 04 00 00 EE EE and 59 zero bytes: no checksum, no reply.
bool IsBootModeReport(std::span<const std::uint8_t> report);

// Checks and carries out one command report against the memory and builds its reply: byte 3
// the command code, byte 7 the status, data from byte 8. A report that is malformed, fails its
// checksum, names an unknown command or addresses bytes outside a memory is answered with
// status 0xFF and changes nothing.
Reply RunCommand(KeyboardMemory& memory, std::span<const std::uint8_t> report);

// A reply to `report` carrying only `status`, for a command that is not carried out.
Reply StatusReply(std::span<const std::uint8_t> report, std::uint8_t status);

// Writes bytes 1-2 of a report or reply: the low 16 bits of the sum of bytes 3..63.
void Seal(Reply& reply);
std::uint16_t Checksum(std::span<const std::uint8_t> report);

} // namespace kovrel::firmware::detail

#pragma once
// One operation per keyboard command. Each builds its report, sends it with SendCommand and a
// 64-byte reply buffer, returns any result other than 1 unchanged, and otherwise maps the reply
// status (0xFF -> -102, 0xFE -> -103) or copies the returned data and returns 1.

#include "device/command_report.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kovrel::device {

class CommandProtocol;

namespace command {
inline constexpr std::uint8_t kBeginConfig = 1;
inline constexpr std::uint8_t kEndConfig = 2;
inline constexpr std::uint8_t kReadInfoBlock = 3;
inline constexpr std::uint8_t kWriteInfoBlock = 4;
inline constexpr std::uint8_t kReadMemory = 5;
inline constexpr std::uint8_t kWriteMemory = 6;
inline constexpr std::uint8_t kReadProfileBlock = 7;
inline constexpr std::uint8_t kWriteProfileBlock = 8;
inline constexpr std::uint8_t kReadMacroImage = 9;
inline constexpr std::uint8_t kWriteMacroImage = 10;
inline constexpr std::uint8_t kReadDefaultLayout = 15;
inline constexpr std::uint8_t kWriteKeyColours = 17;
inline constexpr std::uint8_t kBootMode = 0xEE;
} // namespace command

inline constexpr std::size_t kInfoBlockSize = 44;
inline constexpr std::size_t kProfileBlockSize = 378;
inline constexpr int kProfileCount = 3;

using InfoBlock = std::array<std::uint8_t, kInfoBlockSize>;
using ProfileBlockBytes = std::array<std::uint8_t, kProfileBlockSize>;
using MemoryChunk = std::array<std::uint8_t, kReportDataSize>;

// Opens a group of transfers.
int BeginConfig(CommandProtocol& protocol);
// Closes a group of transfers; pauses 10 ms before sending, to let the keyboard finish the last
// transfer of the group.
int EndConfig(CommandProtocol& protocol);

int ReadInfoBlock(CommandProtocol& protocol, InfoBlock& block);
int WriteInfoBlock(CommandProtocol& protocol, const InfoBlock& block);

// Settings memory. A read returns all 56 reply data bytes whatever the length; a write carries
// at most 56 bytes (a longer `data` is cut, the length byte says what was sent).
int ReadMemory(CommandProtocol& protocol, std::uint8_t length, std::uint16_t address,
               MemoryChunk& data);
int WriteMemory(CommandProtocol& protocol, std::span<const std::uint8_t> data,
                std::uint16_t address);

// Key blocks of the three profiles (index 0 to 2; otherwise -201 without sending).
int ReadProfileBlock(CommandProtocol& protocol, int profile, ProfileBlockBytes& block);
int WriteProfileBlock(CommandProtocol& protocol, int profile, const ProfileBlockBytes& block);

// The macro image, `image.size()` bytes from offset 0; length 0 sends nothing and returns 1.
int ReadMacroImage(CommandProtocol& protocol, std::span<std::uint8_t> image);
int WriteMacroImage(CommandProtocol& protocol, std::span<const std::uint8_t> image);

int ReadDefaultLayout(CommandProtocol& protocol, ProfileBlockBytes& layout);

// Per-key colour memory: `data` (at most 56 bytes, cut beyond) at key slot x 3 + profile x 512.
// `profile` is the profile whose colours are written, normally the keyboard's current profile
// as the caller holds it; outside 0 to 2 (for example -1, "not known") it returns -201 without
// sending, rather than writing at a wrapped address.
int WriteKeyColours(CommandProtocol& protocol, std::span<const std::uint8_t> data, int keySlot,
                    int profile);

// The boot-mode report (04 00 00 EE EE, then zeros; no checksum), sent without waiting.
// Returns 1 only when the service returned exactly 1; 0 when it found no keyboard; -1 for any
// other answer.
int EnterBootMode(CommandProtocol& protocol);

} // namespace kovrel::device

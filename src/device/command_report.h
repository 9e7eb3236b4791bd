#pragma once
// The 64-byte command report and the reply, byte by byte.

#include <ondrel/ondrel.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kovrel::device {

inline constexpr std::size_t kReportSize = ONDREL_REPORT_SIZE;
inline constexpr std::size_t kReportDataSize = ONDREL_REPORT_DATA_SIZE;

using Report = std::array<std::uint8_t, kReportSize>;

// Result codes of every command operation.
namespace result {
inline constexpr int kSuccess = 1;
inline constexpr int kNoKeyboard = 0;
inline constexpr int kRefused = -1;
inline constexpr int kNoReply = -2;
inline constexpr int kStatusError = -102; // status 0xFF
inline constexpr int kStatusBusy = -103;  // status 0xFE
inline constexpr int kBadProfile = -201;
} // namespace result

inline constexpr std::uint8_t kStatusErrorByte = 0xFF;
inline constexpr std::uint8_t kStatusBusyByte = 0xFE;

// The low 16 bits of the sum of the bytes.
std::uint16_t SumLow16(std::span<const std::uint8_t> bytes);

// Bytes 1-2, little-endian: the low 16 bits of the sum of bytes 3 to 63. Computed last, after
// every other byte of the report is final.
void StampChecksum(Report& report);

// A report with byte 0 = 0x04, the code, length and address filled in, every other byte 0 (the
// checksum is not stamped).
Report MakeReport(std::uint8_t code, std::uint8_t length, std::uint16_t address);

// The report padded with zeros or cut to 64 bytes.
Report PadReport(std::span<const std::uint8_t> bytes);

// Maps a reply's status byte: 0xFF -> -102, 0xFE -> -103, anything else -> 1.
int StatusResult(std::uint8_t status);

} // namespace kovrel::device

#pragma once

// The virtual keyboard's memories, as plain data: what a real keyboard keeps in its flash and
// RAM. The command handling reads and writes them; tests and the daemon read them back.

#include "ondrel/ondrel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kovrel::firmware {

// Wire constants of the keyboard's side, as the device service's public header defines the wire.
inline constexpr std::size_t kReportSize = ONDREL_REPORT_SIZE;
inline constexpr std::size_t kReportDataOffset = ONDREL_OFFSET_DATA;
inline constexpr std::size_t kReportDataSize = ONDREL_REPORT_DATA_SIZE;
inline constexpr std::uint8_t kCommandReportId = ONDREL_REPORT_ID_COMMAND;
inline constexpr std::uint8_t kEventReportId = ONDREL_REPORT_ID_EVENT;
inline constexpr std::uint8_t kBankReportId = ONDREL_REPORT_ID_BANK;
inline constexpr std::uint8_t kBankBase = ONDREL_BANK_BASE;
inline constexpr std::uint8_t kStatusSuccess = 0x00;
inline constexpr std::uint8_t kStatusError = 0xFF;
inline constexpr std::uint8_t kStatusBusy = 0xFE;

// Command codes (byte 3 of a report).
namespace command {
inline constexpr std::uint8_t kBeginConfig = 1;
inline constexpr std::uint8_t kEndConfig = 2;
inline constexpr std::uint8_t kReadInfoBlock = 3; // with length 44: the pair 0x2C03 / 0x2C04
inline constexpr std::uint8_t kWriteInfoBlock = 4;
inline constexpr std::uint8_t kReadMemory = 5;
inline constexpr std::uint8_t kWriteMemory = 6;
inline constexpr std::uint8_t kReadProfileBlock = 7;
inline constexpr std::uint8_t kWriteProfileBlock = 8;
inline constexpr std::uint8_t kReadMacroImage = 9;
inline constexpr std::uint8_t kWriteMacroImage = 10;
inline constexpr std::uint8_t kReadDefaultLayout = 15;
inline constexpr std::uint8_t kWriteKeyColours = 17;
inline constexpr std::uint8_t kBootMode = 0xEE; // bytes 3 and 4 of the boot-mode report
} // namespace command

// Keyboard event codes (input report 0x06).
namespace event {
inline constexpr std::uint16_t kGBankSwitch = 0x02FF;
inline constexpr std::uint16_t kLightingChanged = 0x0401;
inline constexpr std::uint16_t kProfile1 = 0x1801; // 0x1801..0x1803: profile key, profiles 0..2
inline constexpr std::uint16_t kProfile3 = 0x1803;
inline constexpr std::uint16_t kActivityEnd = 0x1810;
inline constexpr std::uint16_t kActivityBegin = 0x1811;
} // namespace event

// Sizes and offsets of the memories.
inline constexpr std::size_t kInfoBlockSize = 44;
inline constexpr std::size_t kInfoCurrentProfile = 10;
inline constexpr std::size_t kInfoMacroUnits = 11;
inline constexpr std::size_t kInfoEffectList = 12;
inline constexpr std::size_t kEffectListSize = 32;
inline constexpr std::size_t kProfileCount = 3;
inline constexpr std::size_t kProfileBlockSize = 378;
inline constexpr std::size_t kProfileMemorySize = kProfileCount * kProfileBlockSize; // 1134
inline constexpr std::size_t kLightingRecordSize = 42;
inline constexpr std::size_t kDefaultLightingBytes = 35;
inline constexpr std::size_t kSettingsMemorySize = 256; // three records at 0, 42, 84, then spare
inline constexpr std::size_t kKeyColourProfileSize = 512;
inline constexpr std::size_t kKeyColourMemorySize = kProfileCount * kKeyColourProfileSize;
inline constexpr std::size_t kMacroUnit = 128;
inline constexpr std::uint8_t kDefaultMacroUnits = 32; // 4096 bytes

using InfoBlock = std::array<std::uint8_t, kInfoBlockSize>;
using ProfileBlockBytes = std::array<std::uint8_t, kProfileBlockSize>;

// Everything the keyboard holds. Volatile parts (configuration open, boot mode, G bank) sit
// beside the persistent memories; a power cycle (Unplug/Plug) resets them.
struct KeyboardMemory {
    InfoBlock info{};
    std::array<std::uint8_t, kSettingsMemorySize> settings{};
    std::array<std::uint8_t, kKeyColourMemorySize> key_colours{};
    std::array<std::uint8_t, kProfileMemorySize> profiles{}; // profile p at p * 378
    ProfileBlockBytes default_layout{};
    std::vector<std::uint8_t> macro_memory; // always info[11] * 128 bytes
    bool config_open = false;
    bool boot_mode = false;
    std::uint8_t g_bank = 0;

    bool operator==(const KeyboardMemory&) const = default;
};

// The keyboard's factory layout: 126 three-byte key actions in slot order.
const ProfileBlockBytes& FactoryLayout();
// The first 35 bytes of a lighting record as the factory sets them (bytes 35..41 are 0).
const std::array<std::uint8_t, kDefaultLightingBytes>& FactoryLightingRecord();
// Effects this keyboard model offers, in display order: 1 to 18 and 20.
std::vector<std::uint8_t> FactoryEffectList();

// A keyboard fresh from the factory: current profile 0, 32 x 128 bytes of macro memory holding
// an empty macro image, default lighting records, the factory layout in all three profiles.
KeyboardMemory FactoryMemory();

// Sets the macro memory size (info byte 11) and resizes the memory, keeping its start.
void SetMacroUnits(KeyboardMemory& memory, std::uint8_t units);
// Replaces the effect list (info bytes 12..43); at most 32 codes, the rest become 0.
void SetEffectList(KeyboardMemory& memory, std::span<const std::uint8_t> effects);

} // namespace kovrel::firmware

#pragma once
// Conversion between key ids and the HID usages the keyboard firmware works with, and the
// modifier bits of the HID modifier byte.
//
// A slot's usage byte encodes page and usage:
//   0x00, 0xFF        no usage
//   0x81-0x83         Generic Desktop page (1), usage = the byte (power down, sleep, wake up)
//   0xC0-0xDF         Consumer page (12), usage = ConsumerUsages()[byte - 0xC0]
//   any other         Keyboard/Keypad page (7), usage = the byte

#include "model/key_table.h"

#include <cstdint>
#include <span>

namespace kovrel {

inline constexpr std::uint16_t kPageNone = 0;
inline constexpr std::uint16_t kPageGenericDesktop = 1;
inline constexpr std::uint16_t kPageKeyboard = 7;
inline constexpr std::uint16_t kPageConsumer = 12;

struct HidUsage {
    std::uint16_t page = kPageNone;
    std::uint16_t usage = 0;
    friend constexpr bool operator==(const HidUsage&, const HidUsage&) = default;
};

// The 32 consumer usages of usage bytes 0xC0-0xDF (bytes 0xD2-0xDF: consumer usage 0).
std::span<const std::uint16_t, 32> ConsumerUsages();

// Decodes one usage byte; no usage gives page 0, usage 0.
HidUsage DecodeUsageByte(std::uint8_t usageByte);

// The usage of a key; page 0, usage 0 for a key without one.
HidUsage KeyToUsage(KeyId key);

// The key of a usage: the LOWEST slot whose usage byte encodes it, so (7, 0x48) gives 0x045
// "Pause" (not 0x146 "Break"), (7, 0xE5) gives 0x036 and (7, 0x46) gives 0x137. A usage no key
// carries gives 0, including usage 0 of any page, page 1 outside 0x81-0x83, and page-7 values
// that are not keyboard-page encodings (above 0xFF, 0x81-0x83, 0xC0-0xDF).
KeyId UsageToKey(std::uint16_t page, std::uint16_t usage);

// The bit of a modifier key in the HID modifier byte, 0 for any other key:
// Ctrl 0x01, Shift 0x02, Alt 0x04, Win 0x08, Right Ctrl 0x10, Right Shift 0x20,
// Right Alt 0x40, Right Win 0x80.
std::uint8_t ModifierBit(KeyId key);
// The key of the lowest set bit of a modifier byte (bit 0 first); 0 for 0.
KeyId ModifierKey(std::uint8_t modifiers);

} // namespace kovrel

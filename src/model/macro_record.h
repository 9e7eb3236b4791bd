#pragma once
// A macro: a named list of key presses and releases with the pause after each, played by the
// keyboard a given number of times. In memory the actions are a vector of the used ones; the
// 16512-byte record form (the one configuration files hold) has room for 2000.

#include "model/key_table.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kovrel {

inline constexpr int kMaxMacros = 100;
inline constexpr int kMaxMacroActions = 2000;
inline constexpr std::size_t kMaxMacroNameChars = 249;
inline constexpr std::size_t kMacroRecordSize = 16512;
inline constexpr std::size_t kMacroActionSize = 8;

enum class KeyState : std::uint16_t { Press = 0, Release = 1 };

struct MacroAction {
    std::uint32_t delay = 0; // pause after this step, ms
    KeyId key = kNoKey;
    std::uint16_t state = 0; // 0 press, 1 release

    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

struct MacroRecord {
    std::u16string name; // at most 249 characters
    std::uint8_t cycles = 1;
    std::uint16_t newFlag = 0; // created in the open editor and not applied yet
    std::uint16_t macroId = 0; // 1-100, unique in its list
    std::vector<MacroAction> actions;

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

// The name cut to 249 characters.
std::u16string CutMacroName(std::u16string_view name);

// The 16512-byte record form. Packing cuts the name to 249 characters and the actions to 2000.
void PackMacroRecord(const MacroRecord& macro, std::span<std::uint8_t, kMacroRecordSize> out);
// Unpacking a record from a file: the name ends at its terminator or after 249 characters. An
// action count above 2000 cannot be held: false, `out` unspecified.
bool UnpackMacroRecord(std::span<const std::uint8_t, kMacroRecordSize> in, MacroRecord& out);

// The smallest id of 1-100 that no macro of the list uses; 0 when all are taken.
std::uint16_t SmallestFreeMacroId(std::span<const MacroRecord> macros);

} // namespace kovrel

#pragma once
// The main window's keyboard: one button per key (104 key buttons, nine G buttons and Fn), each
// with its control id, key id and per-key lighting position. The lighting grid has 6 rows of
// 21 columns: position = row * 21 + column, 0-125 (G keys share 125, Fn is 110).

#include "model/key_table.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kovrel {

inline constexpr int kKeyButtonCount = 104;
inline constexpr int kGButtonCount = 9;
inline constexpr int kLedColumns = 21;
inline constexpr int kLedRows = 6;
inline constexpr int kLedPositionCount = kLedRows * kLedColumns; // 126
inline constexpr int kGKeyLedPosition = 125;
inline constexpr int kFnLedPosition = 110;
inline constexpr std::uint16_t kFnControl = 1174;

enum class KeyControlKind : std::uint8_t { Key, GKey, Fn };

struct KeyControl {
    std::uint16_t controlId;
    KeyControlKind kind;
    KeyId key;                // key buttons only; 0 for G keys and Fn
    std::uint8_t ledPosition; // 0-125
    std::uint8_t gNumber;     // 1-9 for G buttons, 0 otherwise
    std::u16string_view name; // display name: the key's name, "G1".."G9", "Fn"
};

constexpr int LedRow(int ledPosition) {
    return ledPosition / kLedColumns;
}
constexpr int LedColumn(int ledPosition) {
    return ledPosition % kLedColumns;
}

// The 104 key buttons in key-table order (key index ascending): key button n is element n.
std::span<const KeyControl, kKeyButtonCount> KeyControls();
// The nine G buttons, G1 to G9 (controls 1000-1004, 1140-1143).
std::span<const KeyControl, kGButtonCount> GKeyControls();
// The Fn button (control 1174).
const KeyControl& FnKeyControl();
// All 114 buttons of the keyboard picture: the 104 key buttons, G1-G9, Fn.
std::span<const KeyControl> KeyboardControls();

// The record of a control id, or nullptr for a control that is none of the 114.
const KeyControl* FindKeyControl(int controlId);
// Control id -> key id (0 for G, Fn and unknown controls).
KeyId KeyOfControl(int controlId);
// Control id -> LED position (0 for an unknown control).
int LedPositionOfControl(int controlId);
// G control -> G number 1-9 (0 for any other control).
int GNumberOfControl(int controlId);
// Control id -> key button number n 0-103 (-1 for any other control).
int KeyButtonNumberOfControl(int controlId);
// Key id -> control id of its key button (0 when the key has none; 0x136 has none, the right
// Shift button is 0x036).
int ControlOfKey(KeyId key);

// The skin description key that places the button: "KEY_%03X" of the key index for key
// buttons, "FUNC_G%d" for G buttons, "KEY_FN" for Fn.
std::string SkinKeyOf(const KeyControl& control);

} // namespace kovrel

#pragma once
// Where each button of the keyboard picture sits, in key units, and what its cap says. The key
// buttons are found by control id; their key ids, skin keys and lighting positions come from the
// program's key table.

#include <cstdint>
#include <span>

namespace kovrel::skingen {

struct CapPlace {
    std::uint16_t control; // main-window control id (key, G or Fn button)
    double x;              // left edge in key units; 0 = left edge of the main block
    double y;              // top edge in key units; 0 = function row
    double w;              // width and height in key units
    double h;
    const char16_t* legend;  // main legend
    const char16_t* legend2; // shifted symbol, numeric-pad function, or nullptr
    bool small;              // a word: drawn in the small font, '\n' breaks the line
};

// Every button of the keyboard picture: 104 keys, G1-G9 and Fn.
std::span<const CapPlace> KeyboardCaps();

// Horizontal extent of the keyboard picture in key units: from the G column to the numeric pad.
inline constexpr double kKeyboardLeftUnits = -1.5;
inline constexpr double kKeyboardRightUnits = 23.0;
inline constexpr double kKeyboardHeightUnits = 6.5;

} // namespace kovrel::skingen

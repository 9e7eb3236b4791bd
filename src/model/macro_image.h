#pragma once
// The macro image: all macros of a list as the keyboard's macro memory holds them. A header
// (0x55AA, size, count, names flag), one 16-bit offset per macro, then the entries: action count,
// cycles, name length, four bytes per action (delay in 10 ms units, page class, press bit, key
// usage) and, when names are included, the name without terminator.

#include "model/macro_record.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kovrel {

inline constexpr std::uint16_t kMacroImageMark = 0x55AA;
inline constexpr std::size_t kMacroImageHeaderSize = 16;

struct MacroImageSize {
    std::size_t withoutNames = 0; // S0
    std::size_t withNames = 0;    // S1
};

// S0 = 16 + 2n + sum of (4 + 4 x actions); S1 = S0 + sum of 2 x name length.
MacroImageSize MacroImageSizes(std::span<const MacroRecord> macros);

// The image of a macro list, with or without names. Its size is the matching MacroImageSizes
// value; the header's size field and the offsets keep their low 16 bits.
std::vector<std::uint8_t> EncodeMacroImage(std::span<const MacroRecord> macros, bool names);

// Reads an image that came from the keyboard into macro records (ids 1, 2, ... in image order,
// unnamed macros named by MACRO_NEW_PREFIX and their number). Returns the number of macros, or
// -1 when the image is refused: no 0x55AA mark, more than 100 macros or 2000 actions in one, or
// any offset, count or name that lies beyond the bytes given. A name longer than 249 characters
// is cut.
int DecodeMacroImage(std::span<const std::uint8_t> image, std::vector<MacroRecord>& out);

} // namespace kovrel

#pragma once
// A user lighting file: the ten named user modes (sets of per-key colours) of one on-board
// profile, an INI file read and written key by key. Missing files, sections and keys read as
// their defaults; write failures are returned for callers that report them (the window does not).
//
//   [PRESENTMODE] mode=<selected user mode 0-9>                       default 0
//   [MODENAME]    0..9=<display name>                                 default "0"
//   [Mode<m>]     <LED position>=<r>,<g>,<b>,<F>                      default "255,0,0,1"
//                 tool=<painting tool 0 or 1>                         default 0
//                 jcolor=<base colour r,g,b>                          default "0,0,0"
//                 color=<paint colour r,g,b>                          default "0,0,0"

#include "lighting/core/colour.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace kovrel::lighting {

inline constexpr int kUserModes = 10;

// One LED position's value: its colour and its base-colour mark F (painted with the base colour).
struct LedValue {
    Rgb colour = kRed;
    bool mark = true;

    friend bool operator==(const LedValue&, const LedValue&) = default;
};

// The painting settings of one user mode.
struct ModeSettings {
    int tool = 0; // 0 paints with the paint colour, 1 with the base colour
    Rgb baseColour;
    Rgb paintColour;

    friend bool operator==(const ModeSettings&, const ModeSettings&) = default;
};

// "Mode" + m.
std::u16string ModeSection(int mode);

// The selected user mode; a value outside 0 to 9 reads as 0, so that it never names a section
// or a list entry that does not exist.
int ReadPresentMode(const std::filesystem::path& file);
bool WritePresentMode(const std::filesystem::path& file, int mode);

std::array<std::u16string, kUserModes> ReadModeNames(const std::filesystem::path& file);
// Any text, empty included; a name with a line break cannot be stored and is refused.
bool WriteModeName(const std::filesystem::path& file, int mode, std::u16string_view name);

ModeSettings ReadModeSettings(const std::filesystem::path& file, int mode);
bool WriteModeSettings(const std::filesystem::path& file, int mode, const ModeSettings& settings);

// A non-zero F reads as 1. Numbers outside 0 to 255 are clamped; fields that do not parse keep
// the default's values.
LedValue ReadLedValue(const std::filesystem::path& file, int mode, int ledPosition);
bool WriteLedValue(const std::filesystem::path& file, int mode, int ledPosition,
                   const LedValue& value);

// "r,g,b" and "r,g,b,F" as the file holds them.
std::u16string FormatColour(Rgb colour);
std::u16string FormatLedValue(const LedValue& value);
// Reads up to `count` comma-separated decimal numbers as "%d,%d,..." does: blanks before a
// number are skipped, a comma must follow a number directly; parsing stops at the first field
// that does not match and the fields not reached keep their values in `numbers`.
void ParseNumberList(std::u16string_view text, int* numbers, int count);

} // namespace kovrel::lighting

#pragma once
// The skin description files: one INI file per window in the Skins folder beside the program,
// whose "SCREEN" section names the window's pictures and whose "BUTTONINFO" keys give each
// control a rectangle "x,y,w,h" in pixels of the window's client area.
//
// A key that is missing reads as "1,1,1,1,x": a 1 x 1 control at (1,1). A control whose top-left
// corner is (1,1) counts as absent from the skin, so no real control may sit exactly there.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace kovrel::skin {

struct SkinRect {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;

    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

// What a missing rectangle key reads as.
inline constexpr std::u16string_view kMissingRectValue = u"1,1,1,1,x";
// Rectangle keys are read into 260 characters; "SCREEN" names into 2048 (2047 characters).
inline constexpr std::size_t kRectValueCapacity = 260;
inline constexpr std::size_t kScreenValueCapacity = 2048;

inline constexpr std::u16string_view kScreenSection = u"SCREEN";
inline constexpr std::u16string_view kButtonSection = u"BUTTONINFO";
inline constexpr std::u16string_view kArrowFaceSection = u"BUTTONINFO2";

// The web address the brand link and the About box open when Main.ini names none.
inline constexpr std::u16string_view kDefaultLink = u"https://www.halvorex.com/";

// Parses "x,y,w,h" as "%d,%d,%d,%d" does: blanks before a number are skipped, a comma must
// follow a number directly, anything after the fourth number is ignored. Parsing stops at the
// first field that does not match; the fields not reached keep the missing-key value 1, so a
// value without numbers places the control like a missing key.
SkinRect ParseSkinRect(std::u16string_view value);

// Reads `key` of `section` from the skin file (default "1,1,1,1,x") and parses it. Nothing is
// cached: every call reads the file as it is now.
SkinRect ReadSkinRect(const std::filesystem::path& skinFile, std::u16string_view section,
                      std::u16string_view key);

// True for a rectangle at (1,1): the control is absent from the skin.
constexpr bool IsAbsentFromSkin(const SkinRect& rect) {
    return rect.x == 1 && rect.y == 1;
}

// "SCREEN" of a window's skin file: the background picture ("Main", empty default) and the
// outline picture ("Mask", defaulting to the "Main" value). Names are relative to the Skins
// folder.
struct SkinScreen {
    std::u16string main;
    std::u16string mask;
};
SkinScreen ReadSkinScreen(const std::filesystem::path& skinFile);

// "SCREEN"/"Link" of Main.ini, or the built-in address.
std::u16string ReadSkinLink(const std::filesystem::path& mainSkinFile);

// The Skins folder of a program folder.
std::filesystem::path
SkinsFolder(const std::filesystem::path& programFolder = platform::ProgramFolder());

// `folder` joined with a file name as skin files and the program write them ("Skins\a.jpg":
// back slashes separate folders). An empty name gives the folder itself, which no picture
// loader accepts.
std::filesystem::path ResolveSkinName(const std::filesystem::path& folder,
                                      std::u16string_view name);

// Key names built from numbers: "FUNC_G%d" (G-key button 1 to 9), "KEY_%03X" (key button of a
// key code) and "%s%d" (arrow face keys such as "UP_ARROW_LEFT1").
std::u16string GKeySkinKey(int number);
std::u16string KeyButtonSkinKey(std::uint16_t keyCode);
std::u16string NumberedSkinKey(std::u16string_view word, int number);

} // namespace kovrel::skin

#pragma once
// What each effect code lets the user set besides brightness, and its display name.

#include <filesystem>
#include <string>

namespace kovrel::lighting {

enum class DirectionKind { None, LeftRight, UpDown, SpreadGather };

// Which colour controls the panel shows for an effect.
enum class ColourControls {
    None,
    MainPairA,   // main colour and multicolour flag, first pair of controls
    MainPairB,   // the same fields, second pair of controls
    FixedColour, // offset 17
    UserColours, // the per-key colours of the user lighting files
};

struct EffectFeatures {
    bool handled = false; // false for 19 and codes outside 1 to 20: selecting them writes nothing
    bool speed = false;
    DirectionKind direction = DirectionKind::None;
    ColourControls colours = ColourControls::None;
    // Selecting the effect writes the multicolour flag along with the code.
    bool selectionWritesMulticolour = false;

    // The effect has a main colour with its multicolour flag.
    bool HasMainColour() const {
        return colours == ColourControls::MainPairA || colours == ColourControls::MainPairB;
    }
};

EffectFeatures FeaturesOf(int code);

// The effect's display name from the main window's skin description file: section "Mode" for
// language 0, "Mode1" for language 1, key = the code in decimal, default "1".
std::u16string EffectDisplayName(const std::filesystem::path& mainSkinFile, int language, int code);

} // namespace kovrel::lighting

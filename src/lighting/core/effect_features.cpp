#include "lighting/core/effect_features.h"

#include "platform/ini.h"
#include "platform/text.h"

#include <string>

namespace kovrel::lighting {

EffectFeatures FeaturesOf(int code) {
    EffectFeatures f;
    switch (code) {
    case 1:
    case 2:
    case 3:
        f = {true, true, DirectionKind::LeftRight, ColourControls::MainPairA, true};
        break;
    case 4:
    case 11:
        f = {true, true, DirectionKind::None, ColourControls::None, false};
        break;
    case 5:
    case 7:
    case 8:
    case 9:
    case 13:
    case 14:
    case 15:
        f = {true, true, DirectionKind::None, ColourControls::MainPairA, true};
        break;
    case 10:
        f = {true, true, DirectionKind::None, ColourControls::MainPairA, false};
        break;
    case 6:
    case 16:
        f = {true, false, DirectionKind::None, ColourControls::MainPairB, false};
        break;
    case 12:
        f = {true, true, DirectionKind::UpDown, ColourControls::None, false};
        break;
    case 17:
        f = {true, false, DirectionKind::None, ColourControls::FixedColour, false};
        break;
    case 18:
        f = {true, false, DirectionKind::SpreadGather, ColourControls::None, false};
        break;
    case 20:
        f = {true, false, DirectionKind::None, ColourControls::UserColours, false};
        break;
    default:
        break;
    }
    return f;
}

std::u16string EffectDisplayName(const std::filesystem::path& mainSkinFile, int language,
                                 int code) {
    const std::u16string_view section = language == 1 ? u"Mode1" : u"Mode";
    return platform::ReadIniString(section, platform::FromUtf8(std::to_string(code)), u"1",
                                   mainSkinFile);
}

} // namespace kovrel::lighting

#pragma once
// The main window's buttons around the keyboard picture: their control ids and skin keys, their
// placing from Main.ini, and the texts the window reads straight from the language file (the
// captions of the profile, macro, default, OK, Cancel and Apply buttons, the tool tips of the
// minimise, menu and close buttons) or from the language table (the mode switch, the version).

#include "skin/widgets/skin_placing.h"

#include <QString>

#include <filesystem>
#include <span>
#include <string_view>

class QImage;

namespace kovrel::skin {
class CPngButton;
class WindowTemplate;
} // namespace kovrel::skin

namespace kovrel::app {

struct FunctionButton {
    int id;
    std::u16string_view skinKey;
};

// Every image button of the main window other than the keyboard picture, in placing order.
std::span<const FunctionButton> FunctionButtons();

// The two hint arrows beside the key-layout switch; their faces come from Arrow.jpg.
struct HintArrow {
    int id;
    std::u16string_view skinKey;
    std::u16string_view faceKey; // in "BUTTONINFO2"
};
std::span<const HintArrow> HintArrows();

// Places the function buttons with the window's faces and the hint arrows with Arrow.jpg (which
// start hidden), and gives the captioned buttons their caption font.
void PlaceFunctionButtons(skin::WindowTemplate& controls, const std::filesystem::path& skinFile,
                          const skin::SkinFaces& faces, const QImage* arrowPicture);

// Reads the captions and tool tips of the language file's chosen section and shows them.
void ApplyFunctionTexts(skin::WindowTemplate& controls);

// The caption of the mode switch: "Switch to the function keys mode" while the colour-keys mode
// is on, "Switch to the color keys mode" while it is off.
void ShowSwitchCaption(skin::WindowTemplate& controls, bool colourMode);

// Gives a captioned image button the window's caption font: Tahoma 9, white, centred, one line.
void SetCaptionLook(skin::CPngButton& button);

} // namespace kovrel::app

#include "app/main_window/function_buttons.h"

#include "app/main_window/main_window_ids.h"
#include "skin/core/language_file.h"
#include "skin/core/language_table.h"
#include "skin/core/skin_file.h"
#include "skin/widgets/png_button.h"
#include "skin/widgets/window_template.h"

#include <array>
#include <string>

namespace kovrel::app {

namespace {

constexpr std::array kFunctionButtons{
    FunctionButton{ids::kWebLink, u"TESKAL_LINK"},
    FunctionButton{ids::kVersion, u"TESKAL_VER"},
    FunctionButton{ids::kHelp, u"CONTROL_HELP"},
    FunctionButton{ids::kMinimize, u"CONTROL_MINIMIZE"},
    FunctionButton{ids::kClose, u"CONTROL_CLOSE"},
    FunctionButton{ids::kMainMenu, u"CONTROL_MENU"},
    FunctionButton{ids::kProfile1, u"FUNC_PROFILE1"},
    FunctionButton{ids::kProfile1 + 1, u"FUNC_PROFILE2"},
    FunctionButton{ids::kProfile1 + 2, u"FUNC_PROFILE3"},
    FunctionButton{ids::kProfiles, u"FUNC_PROFILES"},
    FunctionButton{ids::kDefault, u"FUNC_DEFAULT"},
    FunctionButton{ids::kMacro, u"FUNC_MACRO"},
    FunctionButton{ids::kLockCaps, u"LOCK_CAPS"},
    FunctionButton{ids::kLockNum, u"LOCK_NUM"},
    FunctionButton{ids::kLockScroll, u"LOCK_SCROLL"},
    FunctionButton{ids::kLockAB, u"LOCK_AB"},
    FunctionButton{ids::kFlip0, u"FLIP_0"},
    FunctionButton{ids::kFlip1, u"FLIP_1"},
    FunctionButton{ids::kFlip2, u"FLIP_2"},
    FunctionButton{ids::kSwitch, u"FUNC_SWITCH"},
    FunctionButton{ids::kCancel, u"CONTROL_CANCEL"},
    FunctionButton{ids::kOk, u"CONTROL_OK"},
    FunctionButton{ids::kApply, u"CONTROL2_APPLY"},
    FunctionButton{ids::kReport1, u"FUNC_REPORT1"},
    FunctionButton{1168, u"FUNC_REPORT2"},
    FunctionButton{1169, u"FUNC_REPORT3"},
    FunctionButton{1170, u"FUNC_REPORT4"},
};

constexpr std::array kHintArrows{
    HintArrow{ids::kLeftArrow, u"LEFT_ARROW", u"UP_ARROW_LEFT1"},
    HintArrow{ids::kRightArrow, u"RIGHT_ARROW", u"UP_ARROW_RIGHT1"},
};

// Captions read straight from the language file.
struct CaptionKey {
    int id;
    const char* key;
};
constexpr std::array kCaptionKeys{
    CaptionKey{ids::kProfile1, "PROFILE_1"},      CaptionKey{ids::kProfile1 + 1, "PROFILE_2"},
    CaptionKey{ids::kProfile1 + 2, "PROFILE_3"},  CaptionKey{ids::kMacro, "PROFILE_MACRO"},
    CaptionKey{ids::kDefault, "PROFILE_DEFAULT"}, CaptionKey{ids::kOk, "PROFILE_OK"},
    CaptionKey{ids::kCancel, "PROFILE_CANCLE"},   CaptionKey{ids::kApply, "PROFILE_APPLY"},
};
constexpr std::array kToolTipKeys{
    CaptionKey{ids::kMinimize, "MAIN_MINIMIZE_PROMPT"},
    CaptionKey{ids::kMainMenu, "MAIN_MENU_PROMPT"},
    CaptionKey{ids::kClose, "MAIN_CLOSE_PROMPT"},
};
// Buttons whose caption the program draws.
constexpr std::array kCaptioned{ids::kProfile1, ids::kProfile1 + 1, ids::kProfile1 + 2,
                                ids::kProfiles, ids::kMacro,        ids::kDefault,
                                ids::kOk,       ids::kCancel,       ids::kApply,
                                ids::kSwitch,   ids::kVersion};

} // namespace

std::span<const FunctionButton> FunctionButtons() {
    return kFunctionButtons;
}

std::span<const HintArrow> HintArrows() {
    return kHintArrows;
}

void SetCaptionLook(skin::CPngButton& button) {
    button.SetCaptionFont(true, 9, QStringLiteral("Tahoma"), skin::MakeColorRef(255, 255, 255),
                          skin::caption_format::kDefault);
}

void PlaceFunctionButtons(skin::WindowTemplate& controls, const std::filesystem::path& skinFile,
                          const skin::SkinFaces& faces, const QImage* arrowPicture) {
    for (const FunctionButton& entry : kFunctionButtons) {
        if (auto* button = controls.ControlAs<skin::CPngButton>(entry.id)) {
            skin::PlaceImageButton(*button, skinFile, skin::kButtonSection, entry.skinKey, faces);
        }
    }
    for (int id : kCaptioned) {
        if (auto* button = controls.ControlAs<skin::CPngButton>(id)) {
            SetCaptionLook(*button);
        }
    }
    for (const HintArrow& arrow : kHintArrows) {
        if (auto* button = controls.ControlAs<skin::CPngButton>(arrow.id)) {
            skin::PlaceArrowButton(*button, skinFile, skin::kButtonSection, arrow.skinKey,
                                   skin::kArrowFaceSection, arrow.faceKey, arrowPicture);
            button->hide();
        }
    }
}

void ApplyFunctionTexts(skin::WindowTemplate& controls) {
    const std::u16string_view section = LanguageSection();
    for (const CaptionKey& entry : kCaptionKeys) {
        if (auto* button = controls.ControlAs<skin::CPngButton>(entry.id)) {
            button->setText(QString::fromStdU16String(ReadLanguageString(section, entry.key)));
            SetCaptionLook(*button);
            button->Repaint();
        }
    }
    for (const CaptionKey& entry : kToolTipKeys) {
        if (auto* button = controls.ControlAs<skin::CPngButton>(entry.id)) {
            button->SetTooltipText(
                QString::fromStdU16String(ReadLanguageString(section, entry.key)), true);
        }
    }
    if (auto* version = controls.ControlAs<skin::CPngButton>(ids::kVersion)) {
        version->setText(QString::fromStdU16String(LanguageText("MAIN_BUTTON_TESKAL_VER")));
        version->Repaint();
    }
}

void ShowSwitchCaption(skin::WindowTemplate& controls, bool colourMode) {
    if (auto* button = controls.ControlAs<skin::CPngButton>(ids::kSwitch)) {
        button->setText(QString::fromStdU16String(
            LanguageText(colourMode ? "MAIN_SWITCH_COLOR_TEXT" : "MAIN_SWITCH_FUNCTION_TEXT")));
        button->Repaint();
    }
}

} // namespace kovrel::app

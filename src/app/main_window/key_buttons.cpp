#include "app/main_window/key_buttons.h"

#include "model/assignment_description.h"
#include "model/key_controls.h"
#include "skin/core/skin_file.h"
#include "skin/widgets/png_button.h"
#include "skin/widgets/window_template.h"

namespace kovrel::app {

namespace {

constexpr int kCaptionSize = 9;
constexpr skin::ColorRef kCaptionColour = skin::MakeColorRef(255, 255, 255);
constexpr int kBankCaptionButtons = 5; // G1 to G5 carry the bank caption

int GSlotOfControl(int controlId) {
    const int g = GNumberOfControl(controlId);
    return g > 0 ? g - 1 : -1;
}

std::u16string SkinKeyUtf16(const KeyControl& control) {
    const std::string key = SkinKeyOf(control);
    return std::u16string(key.begin(), key.end());
}

} // namespace

QString BankCaption(int bank, int gNumber) {
    return QStringLiteral("%1%2").arg((bank & 1) ? QChar('B') : QChar('A')).arg(gNumber);
}

int MarkRecordOfControl(int controlId, int gBank) {
    if (const int n = KeyButtonNumberOfControl(controlId); n >= 0) {
        return n;
    }
    if (const int slot = GSlotOfControl(controlId); slot >= 0) {
        return slot + ((gBank & 1) ? kGKeysPerBank : 0);
    }
    return -1;
}

int KeyIndexOfControl(int controlId, int gBank) {
    if (KeyButtonNumberOfControl(controlId) >= 0) {
        return KeyIndexOf(KeyOfControl(controlId));
    }
    if (const int slot = GSlotOfControl(controlId); slot >= 0) {
        return kGRecordFirst + slot + ((gBank & 1) ? kGKeysPerBank : 0);
    }
    return -1;
}

skin::CPngButton* KeyButtons::Button(int controlId) const {
    return controls_.ControlAs<skin::CPngButton>(controlId);
}

void KeyButtons::Place(const std::filesystem::path& skinFile, const Pictures& pictures, int gBank) {
    pictures_ = pictures;
    for (const KeyControl& control : KeyboardControls()) {
        skin::CPngButton* button = Button(control.controlId);
        if (!button) {
            continue;
        }
        skin::PlaceImageButton(*button, skinFile, skin::kButtonSection, SkinKeyUtf16(control),
                               pictures.faces);
        if (control.kind == KeyControlKind::GKey && control.gNumber <= kBankCaptionButtons) {
            button->SetCaptionFont(true, kCaptionSize, QStringLiteral("Tahoma"), kCaptionColour);
            button->setText(BankCaption(gBank, control.gNumber));
        }
    }
}

void KeyButtons::Refresh(const Configuration& configuration, int area, int gBank) {
    const auto& macros = configuration.macros;
    for (const KeyControl& control : KeyControls()) {
        skin::CPngButton* button = Button(control.controlId);
        if (!button) {
            continue;
        }
        const KeyRecord& record = configuration.Record(area, KeyIndexOf(control.key));
        const AssignmentDescription description =
            DescribeKeyAssignment(control.key, record, macros);
        button->SetChecked(description.assigned, true);
        button->SetTooltipText(QString::fromStdU16String(description.toolTip), true);
    }
    RefreshGButtons(configuration, area, gBank);
}

void KeyButtons::RefreshGButtons(const Configuration& configuration, int area, int gBank) {
    for (const KeyControl& control : GKeyControls()) {
        skin::CPngButton* button = Button(control.controlId);
        if (!button) {
            continue;
        }
        const KeyRecord& record = configuration.Record(area, GRecordNumber(gBank, control.gNumber));
        const AssignmentDescription description =
            DescribeGAssignment(control.gNumber, record, configuration.macros);
        if (control.gNumber <= kBankCaptionButtons) {
            button->setText(BankCaption(gBank, control.gNumber));
        }
        button->SetChecked(description.assigned, true);
        button->SetTooltipText(QString::fromStdU16String(description.toolTip), true);
    }
}

void KeyButtons::ShowMarks(const Configuration& configuration, int area, int gBank,
                           bool colourMode) {
    for (const KeyControl& control : KeyboardControls()) {
        if (control.kind == KeyControlKind::Fn) {
            continue;
        }
        const int record = MarkRecordOfControl(control.controlId, gBank);
        ShowMark(control.controlId, record >= 0 && configuration.Record(area, record).mark != 0,
                 colourMode);
    }
}

void KeyButtons::ShowMark(int controlId, bool marked, bool colourMode) {
    if (skin::CPngButton* button = Button(controlId)) {
        button->SetColorModeImages(pictures_.colourA, pictures_.colourB, colourMode, marked);
        button->Repaint();
    }
}

} // namespace kovrel::app

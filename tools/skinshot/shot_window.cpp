#include "shot_window.h"

#include "button_keys.h"

#include <QString>

#include <string_view>

#include "skin/core/skin_file.h"
#include "skin/widgets/png_button.h"
#include "skin/widgets/skin_pictures.h"
#include "skin/widgets/skin_placing.h"

namespace kovrel::skinshot {

namespace {

// The captions the program draws over its caption buttons, in English.
struct Caption {
    const char* key;
    const char* text;
};
constexpr Caption kCaptions[] = {
    {"FUNC_PROFILE1", "Profile 1"},
    {"FUNC_PROFILE2", "Profile 2"},
    {"FUNC_PROFILE3", "Profile 3"},
    {"FUNC_PROFILES", "<Default Profile>"},
    {"FUNC_MACRO", "Macros"},
    {"FUNC_DEFAULT", "Default"},
    {"FUNC_SWITCH", "Switch to the color keys mode"},
    {"CONTROL2_APPLY", "Apply"},
    {"CONTROL_OK", "OK"},
    {"CONTROL_CANCEL", "Cancel"},
    // G1 to G5 show their bank's name; bank A is the one at rest.
    {"FUNC_G1", "A1"},
    {"FUNC_G2", "A2"},
    {"FUNC_G3", "A3"},
    {"FUNC_G4", "A4"},
    {"FUNC_G5", "A5"},
};
constexpr int kCaptionSize = 9;

// Selected at rest: the active profile and the report rate.
constexpr const char* kCheckedKeys[] = {"FUNC_PROFILE1", "FUNC_REPORT4"};

// The profile arrows take all their faces from Arrow.jpg, at the corner of their resting face.
struct Arrow {
    const char* key;
    const char16_t* faceKey;
};
constexpr Arrow kArrows[] = {
    {"LEFT_ARROW", u"UP_ARROW_LEFT1"},
    {"RIGHT_ARROW", u"UP_ARROW_RIGHT1"},
};

bool SameKey(const QString& key, const char* name) {
    return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

ShotWindow::ShotWindow(const std::filesystem::path& skinsFolder)
    : CBaseDialog(0, nullptr, skinsFolder / "Main.ini", skinsFolder) {}

bool ShotWindow::OnInitDialog() {
    if (!CBaseDialog::OnInitDialog()) {
        m_problems << QStringLiteral("the background or outline picture of Main.ini is missing");
        return false;
    }
    PlaceButtons();
    return true;
}

const QImage* ShotWindow::StatePicture(const char16_t* name) {
    // A missing picture renders black; say so rather than show a window of black buttons.
    if (skin::LoadSkinPicture(name, PictureFolder()).isNull()) {
        m_problems << QStringLiteral("cannot read %1").arg(QString::fromStdU16String(name));
    }
    return skin::RenderStatePicture(name, *this, PictureFolder());
}

void ShotWindow::PlaceButtons() {
    const QImage* disabled = StatePicture(u"main_disable.jpg");
    const skin::SkinFaces faces{StatePicture(u"main_normal.jpg"), StatePicture(u"main_over.jpg"),
                                StatePicture(u"main_down.jpg"), disabled, disabled};
    const QImage* arrowPicture = StatePicture(u"Arrow.jpg");

    const QStringList keys =
        SectionKeys(QString::fromStdString(SkinFile().string()),
                    QString::fromStdU16String(std::u16string(skin::kButtonSection)));
    if (keys.isEmpty()) {
        m_problems << QStringLiteral("Main.ini places no controls");
    }
    for (const QString& key : keys) {
        const std::u16string skinKey = key.toStdU16String();
        auto* button = new skin::CPngButton(this);
        const Arrow* arrow = nullptr;
        for (const Arrow& candidate : kArrows) {
            if (SameKey(key, candidate.key)) {
                arrow = &candidate;
            }
        }
        if (arrow) {
            skin::PlaceArrowButton(*button, SkinFile(), skin::kButtonSection, skinKey,
                                   skin::kArrowFaceSection, arrow->faceKey, arrowPicture);
        } else {
            skin::PlaceImageButton(*button, SkinFile(), skin::kButtonSection, skinKey, faces);
        }
        for (const Caption& caption : kCaptions) {
            if (SameKey(key, caption.key)) {
                button->SetCaptionFont(true, kCaptionSize, QStringLiteral("Tahoma"),
                                       skin::MakeColorRef(255, 255, 255));
                button->setText(QString::fromLatin1(caption.text));
            }
        }
        for (const char* checked : kCheckedKeys) {
            if (SameKey(key, checked)) {
                button->SetChecked(true, false);
            }
        }
        button->show();
        ++m_buttonCount;
    }
}

} // namespace kovrel::skinshot

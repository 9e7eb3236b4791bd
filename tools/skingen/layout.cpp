#include "layout.h"

#include "keyboard_geometry.h"
#include "model/key_controls.h"

#include <cmath>
#include <map>
#include <stdexcept>

namespace kovrel::skingen {
namespace {

// Key pitch in pixels and the gap between two caps.
constexpr int kUnit = 38;
constexpr int kCapGap = 4;

constexpr int kMargin = 18;
constexpr int kCasePadding = 14;
constexpr int kBezelHeight = 34;
constexpr int kPanelWidth = 300;
constexpr int kPanelGap = 16;
constexpr int kButtonHeight = 36;

int Px(double units) {
    return static_cast<int>(std::lround(units * kUnit));
}

class Builder {
public:
    Layout Build() {
        BuildFrame();
        BuildTitleBar();
        BuildToolbar();
        BuildKeyboard();
        BuildBezel();
        BuildBottomBar();
        BuildPanel();
        BuildArrowFaces();
        return std::move(layout_);
    }

private:
    void Add(std::string key, QRect rect, ControlKind kind, Look look, QString legend = {},
             QString legend2 = {}, bool small = false) {
        layout_.controls.push_back(Control{std::move(key), rect, kind, look, std::move(legend),
                                           std::move(legend2), small});
    }
    void Placed(std::string key, QRect rect) {
        Add(std::move(key), rect, ControlKind::Placed, Look::None);
    }

    void BuildFrame() {
        const int keyboardWidth = Px(kKeyboardRightUnits - kKeyboardLeftUnits);
        const int caseWidth = keyboardWidth + 2 * kCasePadding;
        const int caseHeight = kBezelHeight + Px(kKeyboardHeightUnits) + kCasePadding;
        layout_.titleBar = QRect(0, 0, 0, 56);
        layout_.toolbar = QRect(kMargin, 62, caseWidth, kButtonHeight + 4);
        layout_.keyboardCase = QRect(kMargin, 112, caseWidth, caseHeight);
        layout_.keyboardBezel =
            QRect(layout_.keyboardCase.left(), layout_.keyboardCase.top(), caseWidth, kBezelHeight);
        const int bottomTop = layout_.keyboardCase.bottom() + 1 + 12;
        layout_.bottomBar = QRect(kMargin, bottomTop, caseWidth, kButtonHeight + 4);
        const int width = layout_.keyboardCase.right() + 1 + kPanelGap + kPanelWidth + kMargin;
        const int height = layout_.bottomBar.bottom() + 1 + kMargin - 2;
        layout_.window = QSize(width, height);
        layout_.titleBar.setWidth(width);
        const int panelLeft = layout_.keyboardCase.right() + 1 + kPanelGap;
        layout_.panel = QRect(panelLeft, layout_.toolbar.top(), kPanelWidth,
                              layout_.bottomBar.bottom() - layout_.toolbar.top() + 1);
        keyboardOrigin_ =
            QPoint(layout_.keyboardCase.left() + kCasePadding - Px(kKeyboardLeftUnits),
                   layout_.keyboardCase.top() + kBezelHeight);
    }

    void BuildTitleBar() {
        Add("TESKAL_LINK", QRect(kMargin + 2, 14, 156, 30), ControlKind::Button, Look::Brand);
        Add("TESKAL_VER", QRect(kMargin + 166, 21, 104, 18), ControlKind::Button, Look::Version);
        const int size = 32;
        const int spacing = 6;
        int x = layout_.window.width() - kMargin - size;
        const int y = 13;
        for (auto [key, look] : {std::pair{"CONTROL_CLOSE", Look::TitleClose},
                                 std::pair{"CONTROL_MINIMIZE", Look::TitleMinimize},
                                 std::pair{"CONTROL_MENU", Look::TitleMenu},
                                 std::pair{"CONTROL_HELP", Look::TitleHelp}}) {
            Add(key, QRect(x, y, size, 30), ControlKind::Button, look);
            x -= size + spacing;
        }
    }

    void BuildToolbar() {
        const int y = layout_.toolbar.top() + 2;
        int x = layout_.toolbar.left();
        Add("LEFT_ARROW", QRect(x, y, 26, kButtonHeight), ControlKind::ArrowButton,
            Look::ArrowLeft);
        x += 30;
        for (int n = 1; n <= 3; ++n) {
            Add("FUNC_PROFILE" + std::to_string(n), QRect(x, y, 104, kButtonHeight),
                ControlKind::Button, Look::ProfileTab);
            x += 108;
        }
        Add("RIGHT_ARROW", QRect(x, y, 26, kButtonHeight), ControlKind::ArrowButton,
            Look::ArrowRight);
        x += 26 + 16;
        Add("FUNC_PROFILES", QRect(x, y, 250, kButtonHeight), ControlKind::Button,
            Look::ProfilesMenu);
        int right = layout_.toolbar.right() + 1;
        right -= 120;
        Add("FUNC_DEFAULT", QRect(right, y, 120, kButtonHeight), ControlKind::Button,
            Look::Caption);
        right -= 8 + 120;
        Add("FUNC_MACRO", QRect(right, y, 120, kButtonHeight), ControlKind::Button, Look::Caption);
    }

    void BuildKeyboard() {
        std::map<int, const CapPlace*> places;
        for (const CapPlace& place : KeyboardCaps()) {
            places.emplace(place.control, &place);
        }
        for (const KeyControl& control : KeyboardControls()) {
            const auto found = places.find(control.controlId);
            if (found == places.end()) {
                throw std::runtime_error("no place on the keyboard picture for control " +
                                         std::to_string(control.controlId));
            }
            const CapPlace& place = *found->second;
            const int left = keyboardOrigin_.x() + Px(place.x);
            const int top = keyboardOrigin_.y() + Px(place.y);
            const QRect rect(left + kCapGap / 2, top + kCapGap / 2,
                             Px(place.x + place.w) - Px(place.x) - kCapGap,
                             Px(place.y + place.h) - Px(place.y) - kCapGap);
            const Look look = control.kind == KeyControlKind::GKey ? Look::GKey : Look::KeyCap;
            Add(SkinKeyOf(control), rect, ControlKind::KeyCap, look,
                QString::fromStdU16String(place.legend),
                place.legend2 ? QString::fromStdU16String(place.legend2) : QString(), place.small);
            places.erase(found);
        }
        if (!places.empty()) {
            throw std::runtime_error("keyboard picture places control " +
                                     std::to_string(places.begin()->first) +
                                     ", which the key table does not know");
        }
    }

    // Column x of the keyboard picture in pixels.
    int ColumnX(double units) const { return keyboardOrigin_.x() + Px(units); }

    void BuildBezel() {
        const QRect bezel = layout_.keyboardBezel;
        const int y = bezel.top() + 9;
        const int h = 20;
        // The F-row layout switch above F1-F4.
        const int flipLeft = ColumnX(2) + kCapGap / 2;
        const int flipRight = ColumnX(6) - kCapGap / 2;
        Add("FLIP_1", QRect(flipLeft, y, 24, h), ControlKind::Button, Look::FlipLeft);
        Add("FLIP_2", QRect(flipRight - 24, y, 24, h), ControlKind::Button, Look::FlipRight);
        Add("FLIP_0", QRect(flipLeft + 28, y, flipRight - flipLeft - 56, h), ControlKind::Button,
            Look::FlipIndicator, QStringLiteral("F1-F4 \u21C4 D1-D6"));
        // The G bank lamp above the navigation cluster, the lock lamps above the numeric pad.
        const int navLeft = ColumnX(15.5) + kCapGap / 2;
        const int navRight = ColumnX(18.5) - kCapGap / 2;
        Add("LOCK_AB", QRect((navLeft + navRight) / 2 - 36, y, 72, h), ControlKind::Button,
            Look::BankLed);
        const int padLeft = ColumnX(19) + kCapGap / 2;
        const int padRight = ColumnX(23) - kCapGap / 2;
        const int lampWidth = (padRight - padLeft - 2 * 6) / 3;
        int x = padLeft;
        for (auto [key, name] : {std::pair{"LOCK_NUM", "NUM"}, std::pair{"LOCK_CAPS", "CAPS"},
                                 std::pair{"LOCK_SCROLL", "SCRL"}}) {
            Add(key, QRect(x, y, lampWidth, h), ControlKind::Button, Look::LockLed,
                QString::fromLatin1(name));
            x += lampWidth + 6;
        }
    }

    void BuildBottomBar() {
        const int y = layout_.bottomBar.top() + 2;
        Add("FUNC_SWITCH", QRect(layout_.bottomBar.left(), y, 270, kButtonHeight),
            ControlKind::Button, Look::SwitchMode);
        int right = layout_.bottomBar.right() + 1;
        for (const char* key : {"CONTROL_CANCEL", "CONTROL_OK", "CONTROL2_APPLY"}) {
            right -= 112;
            Add(key, QRect(right, y, 112, kButtonHeight), ControlKind::Button, Look::Caption);
            right -= 8;
        }
        // The busy animation turns beside Apply while a configuration is written.
        Placed("CONTROL_JDTStatic", QRect(right - 32, y + 4, 28, 28));
    }

    void BuildPanel() {
        const QRect panel = layout_.panel;
        const int x = panel.left() + 14;
        const int w = panel.width() - 28;
        const int captionW = 86;
        const int fieldX = x + 92;

        layout_.panelHeader = QRect(panel.left(), panel.top(), panel.width(), 46);
        Placed("CONTROL_DengStatic", QRect(x, panel.top() + 12, 180, 22));
        Placed("CONTROL_DengStaPic", QRect(x + w - 58, panel.top() + 9, 58, 28));

        int y = layout_.panelHeader.bottom() + 1 + 10;
        layout_.panelEffectArea = QRect(panel.left(), y - 6, panel.width(), 0);
        Placed("CONTROL_XGcombox", QRect(x, y, w, 28));
        y += 38;
        Placed("CONTROL_LightStatic", QRect(x, y + 3, captionW, 22));
        Placed("CONTROL_LightSlider", QRect(fieldX, y, w - 92, 28));
        y += 38;

        // Four rows whose contents change with the effect: the groups of different effects are
        // never shown together, so they share these places.
        const int r0 = y, r1 = y + 36, r2 = y + 72, r3 = y + 108;
        Placed("CONTROL_SpeedStatic", QRect(x, r0 + 3, captionW, 22));
        Placed("CONTROL_SpeedSlider", QRect(fieldX, r0, w - 92, 28));
        Placed("CONTROL_USERysStatic", QRect(x, r0 + 3, captionW, 22));
        Placed("CONTROL_USERysButton", QRect(fieldX, r0 + 2, 84, 24));

        const QRect fxCaption(x, r1 + 3, captionW, 22);
        const QRect fxFirst(fieldX, r1 + 1, 44, 26);
        const QRect fxSecond(fieldX + 52, r1 + 1, 44, 26);
        Placed("CONTROL_BLFXStatic", fxCaption);
        Placed("CONTROL_BLFXLStaPic", fxFirst);
        Placed("CONTROL_BLFXRStaPic", fxSecond);
        for (const char* suffix : {"2", "3"}) {
            Placed(std::string("CONTROL_BLFXStatic") + suffix, fxCaption);
            Placed(std::string("CONTROL_BLFXLStaPic") + suffix, fxFirst);
            Placed(std::string("CONTROL_BLFXRStaPic") + suffix, fxSecond);
        }
        Placed("CONTROL_USERjsStatic", QRect(x, r1 + 3, captionW, 22));
        Placed("CONTROL_USERjsButton", QRect(fieldX, r1 + 2, 84, 24));

        for (const char* pair : {"HX", "FY"}) {
            const std::string p(pair);
            Placed("CONTROL_" + p + (p == "HX" ? "ysStatic" : "YSStatic"),
                   QRect(x, r2 + 3, captionW, 22));
            Placed("CONTROL_" + p + (p == "HX" ? "ysButton" : "YSButton"),
                   QRect(fieldX, r2 + 2, 84, 24));
            Placed("CONTROL_" + p + (p == "HX" ? "sjsStatic" : "SJSStatic"),
                   QRect(x, r3 + 3, captionW, 22));
            Placed("CONTROL_" + p + (p == "HX" ? "sjsStaPic" : "SJSStaPic"),
                   QRect(fieldX, r3 + 1, 60, 26));
        }
        int fx = x;
        const int swatchW = (w - 3 * 8) / 4;
        for (const char* key :
             {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"}) {
            Placed(key, QRect(fx, r2 + 1, swatchW, 26));
            fx += swatchW + 8;
        }
        Placed("CONTROL_USERgjStatic", QRect(x, r2 + 3, captionW, 22));
        Placed("CONTROL_USERgjStaPic1", QRect(fieldX, r2 + 1, 44, 26));
        Placed("CONTROL_USERgjStaPic2", QRect(fieldX + 52, r2 + 1, 44, 26));
        Placed("CONTROL_umCombo", QRect(x, r3, w, 28));

        // Controls of the window that the lighting panel keeps hidden: they still need a real
        // place, so they share the colour rows.
        Placed("CONTROL_JTysStatic", QRect(x, r2 + 3, captionW, 22));
        Placed("CONTROL_JTysButton", QRect(fieldX, r2 + 2, 84, 24));
        Placed("CONTROL_FYCFStatic", QRect(x, r2 + 3, captionW, 22));
        Placed("CONTROL_FYdjcfStatic", QRect(x, r3 + 3, captionW, 22));
        Placed("CONTROL_FYdjcfStaPic", QRect(fieldX, r3 + 1, 44, 26));
        Placed("CONTROL_FYggcfStatc", QRect(x, r3 + 3, captionW, 22));
        Placed("CONTROL_FYggcfStaPic", QRect(fieldX + 52, r3 + 1, 44, 26));
        Placed("CONTROL_TSysStatic", QRect(x, r2 + 3, captionW, 22));
        Placed("CONTROL_TSysButton", QRect(fieldX, r2 + 2, 84, 24));
        Placed("CONTROL_TSsjsStatic", QRect(x, r3 + 3, captionW, 22));
        Placed("CONTROL_TSsjsStaPic", QRect(fieldX, r3 + 1, 60, 26));
        Placed("CONTROL_CDysStatic", QRect(x, r2 + 3, captionW, 22));
        Placed("CONTROL_CDysButton", QRect(fieldX, r2 + 2, 84, 24));
        Placed("CONTROL_CDsjsStatic", QRect(x, r3 + 3, captionW, 22));
        Placed("CONTROL_CDsjsStaPic", QRect(fieldX, r3 + 1, 60, 26));

        y = r3 + 36;
        layout_.panelEffectArea.setBottom(y + 2);
        y += 10;
        layout_.panelColourRow = QRect(panel.left(), y - 6, panel.width(), 40);
        const int fieldW = (w - 3 * 20 - 2 * 12) / 3;
        int cx = x;
        for (const char* c : {"r", "g", "b"}) {
            Placed(std::string("m_rgb") + c + "_static", QRect(cx, y + 3, 18, 22));
            Placed(std::string("m_edit_rgb") + c, QRect(cx + 20, y + 1, fieldW, 26));
            cx += 20 + fieldW + 12;
        }

        layout_.panelReportArea =
            QRect(panel.left(), layout_.panelColourRow.bottom() + 1, panel.width(),
                  panel.bottom() - layout_.panelColourRow.bottom());
        const int reportButtonsY = panel.bottom() + 1 - 14 - 32;
        Placed("CONTROL_UsbStatic", QRect(x, reportButtonsY - 28, w, 22));
        const int reportW = (w - 3 * 8) / 4;
        int rx = x;
        int n = 1;
        for (const char* rate : {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"}) {
            Add("FUNC_REPORT" + std::to_string(n++), QRect(rx, reportButtonsY, reportW, 32),
                ControlKind::Button, Look::ReportRate, QString::fromLatin1(rate));
            rx += reportW + 8;
        }
    }

    // Arrow.jpg: one column per arrow, rows "UP" (resting) and "DOWN" (pressed) for face sets 1
    // (active) and 2 (dimmed). The program copies a face from one pixel above and left of the
    // origin it reads, so each origin is written one pixel right of and below its face.
    void BuildArrowFaces() {
        const QSize face = layout_.Get("LEFT_ARROW").rect.size();
        const int spacing = 4;
        layout_.arrowPicture =
            QSize(2 * face.width() + 3 * spacing, 4 * face.height() + 5 * spacing);
        int row = 0;
        for (int set = 1; set <= 2; ++set) {
            for (const char* word : {"UP", "DOWN"}) {
                int column = 0;
                for (auto [side, look] :
                     {std::pair{"LEFT", Look::ArrowLeft}, std::pair{"RIGHT", Look::ArrowRight}}) {
                    const QRect rect(spacing + column * (face.width() + spacing),
                                     spacing + row * (face.height() + spacing), face.width(),
                                     face.height());
                    layout_.arrowFaces.push_back(
                        ArrowFace{std::string(word) + "_ARROW_" + side + std::to_string(set), rect,
                                  look, std::string(word) == "DOWN", set == 2});
                    ++column;
                }
                ++row;
            }
        }
    }

    Layout layout_;
    QPoint keyboardOrigin_;
};

} // namespace

const Control* Layout::Find(std::string_view key) const {
    for (const Control& control : controls) {
        if (control.key == key) {
            return &control;
        }
    }
    return nullptr;
}

const Control& Layout::Get(std::string_view key) const {
    if (const Control* control = Find(key)) {
        return *control;
    }
    throw std::out_of_range("layout has no control " + std::string(key));
}

Layout BuildMainLayout() {
    return Builder().Build();
}

} // namespace kovrel::skingen

#include "skin_texts.h"

#include "model/key_controls.h"

#include <QColor>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace kovrel::skingen {
namespace {

// Colour of one key in a mode, and whether it was painted with the mode's base colour.
struct KeyPaint {
    QColor colour;
    bool base = false;
};

struct KeySpot {
    KeyId key;       // 0 for Fn and G
    int row, column; // lighting grid
    std::u16string_view name;
};

using Painter = std::function<KeyPaint(const KeySpot&)>;

struct UserMode {
    const char* name;
    QColor base;  // "jcolor"
    QColor paint; // "color"
    int tool;     // 0 paint colour, 1 base colour
    Painter paintKey;
};

bool IsLetter(const KeySpot& k) {
    return k.name.size() == 1 && k.name[0] >= u'A' && k.name[0] <= u'Z';
}
bool IsDigitRow(const KeySpot& k) {
    return k.key >= 0x002 && k.key <= 0x00B;
}

QColor Hue(double degrees, double saturation = 1.0, double value = 1.0) {
    double h = std::fmod(degrees, 360.0);
    if (h < 0) {
        h += 360.0;
    }
    return QColor::fromHsvF(static_cast<float>(h / 360.0), static_cast<float>(saturation),
                            static_cast<float>(value));
}

// Blend a into b by t (0 gives a).
QColor Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor(static_cast<int>(a.red() + (b.red() - a.red()) * t + 0.5),
                  static_cast<int>(a.green() + (b.green() - a.green()) * t + 0.5),
                  static_cast<int>(a.blue() + (b.blue() - a.blue()) * t + 0.5));
}

std::vector<UserMode> Modes() {
    const std::set<KeyId> gaming = {0x011, 0x01E, 0x01F, 0x020, 0x148, 0x14B, 0x14D,
                                    0x150, 0x001, 0x039, 0x02A, 0x01D, 0x012, 0x013};
    const QColor navy(12, 34, 96);
    const QColor red(255, 32, 24);
    const QColor white(255, 255, 255);
    return {
        {"Aurora", QColor(0, 60, 80), QColor(0, 210, 255), 0,
         [](const KeySpot& k) {
             return KeyPaint{Hue(165 + k.column * 6.0 + k.row * 4.0, 0.85), false};
         }},
        {"Gaming", navy, red, 0,
         [=](const KeySpot& k) {
             return gaming.count(k.key) ? KeyPaint{red, false} : KeyPaint{navy, true};
         }},
        {"Ocean", QColor(0, 40, 120), QColor(0, 200, 255), 0,
         [](const KeySpot& k) {
             return KeyPaint{Mix(QColor(90, 230, 255), QColor(0, 40, 200), k.row / 5.0), false};
         }},
        {"Sunset", QColor(120, 20, 60), QColor(255, 140, 0), 0,
         [](const KeySpot& k) {
             return KeyPaint{Mix(QColor(255, 150, 0), QColor(220, 0, 140), k.column / 20.0), false};
         }},
        {"Rainbow", white, QColor(255, 0, 0), 0,
         [](const KeySpot& k) {
             return KeyPaint{Hue(k.column * 17.0), false};
         }},
        {"Ice", QColor(150, 220, 255), white, 0,
         [](const KeySpot& k) {
             return IsLetter(k) ? KeyPaint{QColor(255, 255, 255), false}
                                : KeyPaint{QColor(150, 220, 255), true};
         }},
        {"Fire", QColor(255, 20, 0), QColor(255, 200, 0), 0,
         [](const KeySpot& k) {
             return KeyPaint{Mix(QColor(255, 210, 0), QColor(255, 20, 0), k.row / 5.0), false};
         }},
        {"Forest", QColor(0, 90, 20), QColor(120, 255, 60), 0,
         [](const KeySpot& k) {
             return KeyPaint{Mix(QColor(150, 255, 80), QColor(0, 110, 30),
                                 (k.row + (k.column % 3) * 0.5) / 6.0),
                             false};
         }},
        {"Neon", QColor(255, 0, 170), QColor(0, 255, 230), 0,
         [](const KeySpot& k) {
             return IsLetter(k) || IsDigitRow(k) ? KeyPaint{QColor(0, 255, 230), false}
                                                 : KeyPaint{QColor(255, 0, 170), true};
         }},
        {"White", white, white, 1,
         [=](const KeySpot&) {
             return KeyPaint{white, true};
         }},
    };
}

QString ColourText(const QColor& c) {
    return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

QString UserLightingTemplateText() {
    // The key buttons, then Fn, then the one position the nine G keys share: the order in which
    // the program reads and writes them.
    std::vector<KeySpot> spots;
    auto add = [&](const KeyControl& control) {
        spots.push_back(KeySpot{control.key, LedRow(control.ledPosition),
                                LedColumn(control.ledPosition), control.name});
    };
    for (const KeyControl& control : KeyControls()) {
        add(control);
    }
    add(FnKeyControl());
    add(GKeyControls()[0]);

    const std::vector<UserMode> modes = Modes();
    QStringList lines;
    lines << QStringLiteral("; Template of the user lighting modes: ten named sets of key colours.")
          << QStringLiteral("; Each key is \"red,green,blue,F\" by lighting position; F = 1 when "
                            "the key shows the base colour.")
          << QString();
    lines << QStringLiteral("[PRESENTMODE]") << QStringLiteral("mode=0") << QString();
    lines << QStringLiteral("[MODENAME]");
    for (std::size_t m = 0; m < modes.size(); ++m) {
        lines << QStringLiteral("%1=%2").arg(m).arg(QString::fromLatin1(modes[m].name));
    }
    for (std::size_t m = 0; m < modes.size(); ++m) {
        const UserMode& mode = modes[m];
        lines << QString() << QStringLiteral("[Mode%1]").arg(m);
        lines << QStringLiteral("tool=%1").arg(mode.tool);
        lines << QStringLiteral("jcolor=%1").arg(ColourText(mode.base));
        lines << QStringLiteral("color=%1").arg(ColourText(mode.paint));
        for (const KeySpot& spot : spots) {
            KeyPaint paint = mode.paintKey(spot);
            if (paint.base) {
                paint.colour = mode.base;
            }
            lines << QStringLiteral("%1=%2,%3")
                         .arg(spot.row * kLedColumns + spot.column)
                         .arg(ColourText(paint.colour))
                         .arg(paint.base ? 1 : 0);
        }
    }
    return lines.join('\n') + '\n';
}

} // namespace kovrel::skingen

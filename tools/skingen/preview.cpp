#include "preview.h"

#include "theme.h"
#include "window_pictures.h"

#include <QDir>
#include <QPainter>

namespace kovrel::skingen {
namespace {

using namespace theme;

const QImage* Bitmap(const std::vector<NamedBitmap>& bitmaps, const char* name) {
    for (const NamedBitmap& b : bitmaps) {
        if (b.fileName == QLatin1String(name)) {
            return &b.image;
        }
    }
    return nullptr;
}

// Stand-ins for the controls the program draws itself, close enough to judge the layout.
void Label(QPainter& p, const Layout& l, const char* key, const QString& text) {
    p.setFont(Font(12));
    p.setPen(QColor(0xd0, 0xd5, 0xdd));
    p.drawText(l.Get(key).rect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void Field(QPainter& p, const Layout& l, const char* key, const QString& text, bool dropDown) {
    const QRectF r = QRectF(l.Get(key).rect).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QColor(0x3a, 0x3f, 0x49));
    p.setBrush(QColor(0x14, 0x16, 0x1a));
    p.drawRoundedRect(r, 4, 4);
    p.setFont(Font(12));
    p.setPen(QColor(0xe6, 0xe9, 0xee));
    p.drawText(r.adjusted(8, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    if (dropDown) {
        p.drawText(r.adjusted(8, 0, -8, 0), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("\u25BE"));
    }
}

void ColourButton(QPainter& p, const Layout& l, const char* key, const QColor& colour) {
    const QRectF r(l.Get(key).rect);
    p.setPen(QColor(0x3a, 0x3f, 0x49));
    p.setBrush(QColor(0x22, 0x25, 0x2b));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setBrush(colour);
    p.drawRect(r.adjusted(4, 4, -r.width() / 2, -4));
}

void Place(QPainter& p, const Layout& l, const std::vector<NamedBitmap>& bitmaps, const char* key,
           const char* file) {
    if (const QImage* image = Bitmap(bitmaps, file)) {
        p.drawImage(l.Get(key).rect.topLeft(), *image);
    }
}

void Caption(QPainter& p, const Layout& l, const char* key, const QString& text) {
    p.setFont(Font(12));
    p.setPen(Qt::white);
    p.drawText(l.Get(key).rect, Qt::AlignCenter, text);
}

QImage ComposeLighting(const Layout& l, const std::vector<NamedBitmap>& bitmaps) {
    QImage image = RenderWindow(l, FaceState::Normal);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Window captions the program sets from the language file.
    Caption(p, l, "FUNC_PROFILE1", QStringLiteral("Profile 1"));
    Caption(p, l, "FUNC_PROFILE2", QStringLiteral("Profile 2"));
    Caption(p, l, "FUNC_PROFILE3", QStringLiteral("Profile 3"));
    Caption(p, l, "FUNC_PROFILES", QStringLiteral("<Default Profile>"));
    Caption(p, l, "FUNC_MACRO", QStringLiteral("Macros"));
    Caption(p, l, "FUNC_DEFAULT", QStringLiteral("Default"));
    Caption(p, l, "FUNC_SWITCH", QStringLiteral("Switch to the color keys mode"));
    Caption(p, l, "CONTROL2_APPLY", QStringLiteral("Apply"));
    Caption(p, l, "CONTROL_OK", QStringLiteral("OK"));
    Caption(p, l, "CONTROL_CANCEL", QStringLiteral("Cancel"));
    for (int g = 1; g <= 5; ++g) {
        p.setFont(Font(12));
        p.setPen(Qt::white);
        p.drawText(l.Get("FUNC_G" + std::to_string(g)).rect.adjusted(0, 4, 0, 0), Qt::AlignCenter,
                   QStringLiteral("A%1").arg(g));
    }
    // The lighting panel with effect 1 chosen.
    Label(p, l, "CONTROL_DengStatic", QStringLiteral("Lighting"));
    Place(p, l, bitmaps, "CONTROL_DengStaPic", "dengdown.bmp");
    Field(p, l, "CONTROL_XGcombox", QStringLiteral("Wave"), true);
    Label(p, l, "CONTROL_LightStatic", QStringLiteral("Brightness"));
    Place(p, l, bitmaps, "CONTROL_LightSlider", "3.bmp");
    Label(p, l, "CONTROL_SpeedStatic", QStringLiteral("Speed"));
    Place(p, l, bitmaps, "CONTROL_SpeedSlider", "8.bmp");
    Label(p, l, "CONTROL_BLFXStatic2", QStringLiteral("Direction"));
    Place(p, l, bitmaps, "CONTROL_BLFXLStaPic2", "leftdown.bmp");
    Place(p, l, bitmaps, "CONTROL_BLFXRStaPic2", "rightup.bmp");
    Label(p, l, "CONTROL_HXysStatic", QStringLiteral("Color"));
    ColourButton(p, l, "CONTROL_HXysButton", QColor(255, 0, 0));
    Label(p, l, "CONTROL_HXsjsStatic", QStringLiteral("Multicolor"));
    Place(p, l, bitmaps, "CONTROL_HXsjsStaPic", "sjsdown.bmp");
    for (const char* c : {"r", "g", "b"}) {
        Label(p, l, (std::string("m_rgb") + c + "_static").c_str(),
              QString(QChar(c[0])).toUpper() + ':');
        Field(p, l, (std::string("m_edit_rgb") + c).c_str(), c[0] == 'r' ? "255" : "0", false);
    }
    Label(p, l, "CONTROL_UsbStatic", QStringLiteral("Report rate"));
    Place(p, l, bitmaps, "CONTROL_JDTStatic", "jdt4.bmp");
    // Lighting overlays: the frame the program draws over each key in the lighting view.
    int n = 0;
    for (const Control& c : l.controls) {
        if (c.kind == ControlKind::KeyCap) {
            const QRect r = c.rect;
            p.setPen(QPen(QColor::fromHsv((r.left() / 3 + 200) % 360, 255, 255), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(r.left() + 1, r.top() + 1, r.width() - 2, r.height() - 2));
            ++n;
        }
    }
    return image;
}

// The panel with the custom effect: paint and base colours, the tools and the user mode list.
QImage ComposeCustom(const Layout& l, const std::vector<NamedBitmap>& bitmaps) {
    QImage image = RenderWindow(l, FaceState::Normal);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Label(p, l, "CONTROL_DengStatic", QStringLiteral("Lighting"));
    Place(p, l, bitmaps, "CONTROL_DengStaPic", "dengdown.bmp");
    Field(p, l, "CONTROL_XGcombox", QStringLiteral("Custom"), true);
    Label(p, l, "CONTROL_LightStatic", QStringLiteral("Brightness"));
    Place(p, l, bitmaps, "CONTROL_LightSlider", "4.bmp");
    Label(p, l, "CONTROL_USERysStatic", QStringLiteral("Color"));
    ColourButton(p, l, "CONTROL_USERysButton", QColor(0, 210, 255));
    Label(p, l, "CONTROL_USERjsStatic", QStringLiteral("Base color"));
    ColourButton(p, l, "CONTROL_USERjsButton", QColor(0, 60, 80));
    Label(p, l, "CONTROL_USERgjStatic", QStringLiteral("Tool"));
    Place(p, l, bitmaps, "CONTROL_USERgjStaPic1", "user1down.bmp");
    Place(p, l, bitmaps, "CONTROL_USERgjStaPic2", "user2up.bmp");
    Field(p, l, "CONTROL_umCombo", QStringLiteral("Aurora"), true);
    for (const char* c : {"r", "g", "b"}) {
        Label(p, l, (std::string("m_rgb") + c + "_static").c_str(),
              QString(QChar(c[0])).toUpper() + ':');
        Field(p, l, (std::string("m_edit_rgb") + c).c_str(), QStringLiteral("0"), false);
    }
    Label(p, l, "CONTROL_UsbStatic", QStringLiteral("Report rate"));
    return image;
}

QImage StatesSheet(const Layout& l) {
    // The upper left of the keyboard and the toolbar in each state picture, one above the other.
    const QRect crop(0, 56, 620, 200);
    const FaceState states[] = {FaceState::Normal,  FaceState::Over,    FaceState::Down,
                                FaceState::Disable, FaceState::Colour0, FaceState::Colour1};
    const char* names[] = {"main_normal",  "main_over",   "main_down",
                           "main_disable", "main_color0", "main_color1"};
    QImage sheet(crop.width(), (crop.height() + 20) * 6, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter p(&sheet);
    for (int i = 0; i < 6; ++i) {
        const QImage picture = RenderStatePicture(l, states[i]);
        const int y = i * (crop.height() + 20);
        p.setFont(Font(12, QFont::Bold));
        p.setPen(Qt::white);
        p.drawText(QRect(6, y, crop.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(names[i]));
        p.drawImage(QPoint(0, y + 20), picture.copy(crop.translated(-1, -1)));
    }
    return sheet;
}

} // namespace

bool WritePreviews(const Layout& layout, const std::vector<NamedBitmap>& bitmaps,
                   const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    const QDir dir(folder);
    const std::pair<const char*, QImage> sheets[] = {
        {"preview_normal.png", RenderWindow(layout, FaceState::Normal)},
        {"preview_lighting.png", ComposeLighting(layout, bitmaps)},
        {"preview_custom.png", ComposeCustom(layout, bitmaps)},
        {"preview_states.png", StatesSheet(layout)},
    };
    for (const auto& [name, image] : sheets) {
        if (!image.save(dir.filePath(QString::fromLatin1(name)), "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(dir.filePath(QString::fromLatin1(name)));
            return false;
        }
    }
    return true;
}

} // namespace kovrel::skingen

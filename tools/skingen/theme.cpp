#include "theme.h"

#include <QFontDatabase>
#include <QStringList>

namespace kovrel::skingen::theme {
namespace {

QStringList g_families;

} // namespace

bool LoadPinnedFonts(QString* error) {
    const char* files[] = {
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
        "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    };
    QStringList families;
    for (const char* file : files) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        if (id < 0) {
            *error = QStringLiteral("cannot load font %1").arg(QString::fromLatin1(file));
            return false;
        }
        for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
            if (!families.contains(family)) {
                families.append(family);
            }
        }
    }
    if (!families.contains(QStringLiteral("DejaVu Sans"))) {
        *error = QStringLiteral("the DejaVu Sans files do not name the family DejaVu Sans");
        return false;
    }
    families.removeAll(QStringLiteral("DejaVu Sans"));
    families.prepend(QStringLiteral("DejaVu Sans"));
    g_families = families;
    return true;
}

QFont Font(int pixels, QFont::Weight weight, double letterSpacing) {
    QFont font;
    font.setFamilies(g_families);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (letterSpacing != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    }
    return font;
}

} // namespace kovrel::skingen::theme

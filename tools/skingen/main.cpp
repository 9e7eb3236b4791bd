// skingen: draws the default skin of the main window and writes its description.
//
//   skingen --skins <folder> [--preview <folder>]
//
// Writes into the Skins folder: Main.ini, the background and outline pictures, the state
// pictures main_*.jpg and Arrow.jpg, the lighting panel's bitmaps and the template user lighting
// file UserDengColor_3.userd. With --preview it also writes preview sheets (PNG) for checking the
// look by eye. Needs a QGuiApplication for fonts; runs on the offscreen platform.

#include "layout.h"
#include "panel_bitmaps.h"
#include "preview.h"
#include "skin_texts.h"
#include "theme.h"
#include "window_pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

using namespace kovrel::skingen;

// JPEG quality of the state pictures: high enough that thin legends stay crisp.
constexpr int kJpegQuality = 95;

bool Fail(const QString& message) {
    std::fprintf(stderr, "skingen: %s\n", qPrintable(message));
    return false;
}

bool SaveImage(const QImage& image, const QDir& dir, const QString& name, const char* format,
               int quality = -1) {
    const QString path = dir.filePath(name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, format, quality) || !file.commit()) {
        return Fail(QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

bool SaveText(const QString& text, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        return Fail(QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

// No real control may sit at (1,1): the program treats that place as "absent from the skin".
bool CheckLayout(const Layout& layout) {
    const QRect window(QPoint(0, 0), layout.window);
    for (const Control& c : layout.controls) {
        if (c.rect.topLeft() == QPoint(1, 1) || !window.contains(c.rect)) {
            return Fail(
                QStringLiteral("control %1 is misplaced").arg(QString::fromStdString(c.key)));
        }
    }
    return true;
}

bool Generate(const QString& skinsFolder, const QString& previewFolder) {
    QString error;
    if (!theme::LoadPinnedFonts(&error)) {
        return Fail(error);
    }
    const Layout layout = BuildMainLayout();
    if (!CheckLayout(layout)) {
        return false;
    }
    if (!QDir().mkpath(skinsFolder)) {
        return Fail(QStringLiteral("cannot create %1").arg(skinsFolder));
    }
    const QDir dir(skinsFolder);

    const QImage background = RenderBackground(layout);
    if (!SaveImage(background, dir, QString::fromLatin1(kBackgroundFile), "BMP") ||
        !SaveImage(RenderMask(layout), dir, QString::fromLatin1(kMaskFile), "BMP")) {
        return false;
    }
    const std::pair<FaceState, const char*> states[] = {
        {FaceState::Normal, "main_normal.jpg"},  {FaceState::Over, "main_over.jpg"},
        {FaceState::Down, "main_down.jpg"},      {FaceState::Disable, "main_disable.jpg"},
        {FaceState::Colour0, "main_color0.jpg"}, {FaceState::Colour1, "main_color1.jpg"},
    };
    for (const auto& [state, name] : states) {
        if (!SaveImage(RenderStatePicture(layout, state), dir, QString::fromLatin1(name), "JPEG",
                       kJpegQuality)) {
            return false;
        }
    }
    if (!SaveImage(RenderArrowPicture(layout), dir, QStringLiteral("Arrow.jpg"), "JPEG",
                   kJpegQuality)) {
        return false;
    }
    const std::vector<NamedBitmap> bitmaps = RenderPanelBitmaps(layout, background);
    for (const NamedBitmap& bitmap : bitmaps) {
        if (!SaveImage(bitmap.image, dir, bitmap.fileName, "BMP")) {
            return false;
        }
    }
    if (!SaveText(MainIniText(layout), dir, QStringLiteral("Main.ini")) ||
        !SaveText(UserLightingTemplateText(), dir, QStringLiteral("UserDengColor_3.userd"))) {
        return false;
    }
    if (!previewFolder.isEmpty() && !WritePreviews(layout, bitmaps, previewFolder, &error)) {
        return Fail(error);
    }
    return true;
}

// Qt warns that it has no per-user runtime folder on build machines; the generator never uses one.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QLatin1String("XDG_RUNTIME_DIR"))) {
        return;
    }
    std::fprintf(stderr, "%s%s\n", type >= QtWarningMsg ? "skingen: " : "", qPrintable(message));
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietMessages);
    // Fonts need a GUI application but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QString skins;
    QString preview;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--skins") && i + 1 < args.size()) {
            skins = args[++i];
        } else if (args[i] == QLatin1String("--preview") && i + 1 < args.size()) {
            preview = args[++i];
        } else {
            std::fprintf(stderr, "usage: skingen --skins <folder> [--preview <folder>]\n");
            return 2;
        }
    }
    if (skins.isEmpty()) {
        std::fprintf(stderr, "usage: skingen --skins <folder> [--preview <folder>]\n");
        return 2;
    }
    try {
        return Generate(skins, preview) ? 0 : 1;
    } catch (const std::exception& e) {
        Fail(QString::fromUtf8(e.what()));
        return 1;
    }
}

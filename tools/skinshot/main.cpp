// skinshot: a picture of the main window drawn from a Skins folder through the skin layer.
//
//   kovrel_skinshot SKINS_FOLDER OUT.png
//
// Builds the skinned main window from SKINS_FOLDER/Main.ini with an image button for every key
// of its "BUTTONINFO" section, shows it off screen and saves what it shows as a PNG; the pixels
// outside the window's outline are transparent. Exit code 0 when the picture was written.

#include "shot_window.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>

#include <cstdio>
#include <filesystem>

#include "skin/widgets/silent_exit.h"

namespace {

using kovrel::skinshot::ShotWindow;

constexpr const char* kUsage = "usage: kovrel_skinshot SKINS_FOLDER OUT.png\n";

int Fail(const QString& message) {
    std::fprintf(stderr, "skinshot: %s\n", qPrintable(message));
    return 1;
}

// Qt warns that it has no per-user runtime folder on build machines, which the tool never uses,
// and that the off-screen platform neither raises windows nor shapes them (the outline is cut
// into the picture instead).
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QLatin1String("XDG_RUNTIME_DIR")) ||
        message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    std::fprintf(stderr, "%s%s\n", type >= QtWarningMsg ? "skinshot: " : "", qPrintable(message));
}

// What the window shows, cut to its outline: the corners outside it become transparent.
QImage CutToOutline(const QImage& shown, const QRegion& outline) {
    QImage image = shown.convertToFormat(QImage::Format_ARGB32);
    if (outline.isEmpty()) {
        return image;
    }
    QImage alpha(image.size(), QImage::Format_ARGB32);
    alpha.fill(Qt::transparent);
    {
        QPainter painter(&alpha);
        painter.setClipRegion(outline);
        painter.fillRect(alpha.rect(), Qt::black);
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, alpha);
    return image;
}

bool SavePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietMessages);
    // Nothing is shown on a screen: the window is drawn off screen and grabbed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::filesystem::path skins = args[1].toStdString();
    const QString out = args[2];

    // A window whose pictures cannot be read ends the program silently; here that is an error.
    bool skinFailed = false;
    kovrel::skin::SetSilentExitHook([&skinFailed](int) { skinFailed = true; });

    ShotWindow window(skins);
    window.show();
    QCoreApplication::processEvents();
    if (skinFailed || !window.Problems().isEmpty()) {
        QStringList problems = window.Problems();
        if (problems.isEmpty()) {
            problems << QStringLiteral("the window could not be skinned");
        }
        return Fail(problems.join(QStringLiteral("; ")));
    }

    const QImage image = CutToOutline(window.grab().toImage(), window.OutlineRegion());
    if (!SavePng(image, out)) {
        return Fail(QStringLiteral("cannot write %1").arg(out));
    }
    std::printf("skinshot: %d controls, %dx%d, written to %s\n", window.ButtonCount(),
                image.width(), image.height(), qPrintable(out));
    return 0;
}

#include "window_pictures.h"

#include "theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace kovrel::skingen {
namespace {

using namespace theme;

QColor WithAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

void DrawWindowFrame(QPainter& p, const Layout& layout) {
    const QRectF window(QPointF(0, 0), QSizeF(layout.window));
    QLinearGradient base(window.topLeft(), window.bottomLeft());
    base.setColorAt(0, kWindowTop);
    base.setColorAt(1, kWindowBottom);
    p.fillRect(window, base);

    // Title bar with a faint azure sheen from the left.
    const QRectF title(layout.titleBar);
    QLinearGradient titleFill(title.topLeft(), title.bottomLeft());
    titleFill.setColorAt(0, kTitleTop);
    titleFill.setColorAt(1, kTitleBottom);
    p.fillRect(title, titleFill);
    QLinearGradient sheen(title.topLeft(), title.topRight());
    sheen.setColorAt(0, WithAlpha(kAccent, 34));
    sheen.setColorAt(0.45, WithAlpha(kAccent, 0));
    p.fillRect(title, sheen);
    p.setPen(QPen(kSeparator, 1));
    p.drawLine(QPointF(0, title.bottom() + 0.5), QPointF(window.right(), title.bottom() + 0.5));
    QLinearGradient topLine(title.topLeft(), title.topRight());
    topLine.setColorAt(0, WithAlpha(kAccent, 220));
    topLine.setColorAt(0.35, WithAlpha(kAccent, 40));
    topLine.setColorAt(1, WithAlpha(kAccent, 0));
    p.fillRect(QRectF(layout.cornerRadius, 0, window.width() - 2 * layout.cornerRadius, 2),
               topLine);
}

void DrawKeyboardCase(QPainter& p, const Layout& layout, const std::vector<QRectF>& caps) {
    const QRectF body(layout.keyboardCase);
    // Under-glow: light spilling from under the case onto the desk.
    QRadialGradient glow(QPointF(body.center().x(), body.bottom()), body.width() * 0.55);
    glow.setColorAt(0, WithAlpha(kAccent, 46));
    glow.setColorAt(0.6, WithAlpha(kAccent, 10));
    glow.setColorAt(1, WithAlpha(kAccent, 0));
    p.save();
    p.translate(body.center().x(), body.bottom());
    p.scale(1.0, 0.09);
    p.translate(-body.center().x(), -body.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(body.center().x(), body.bottom()), body.width() * 0.55,
                  body.width() * 0.55);
    p.restore();

    // Drop shadow, then the case.
    for (int i = 6; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(body.adjusted(-i, -i + 3, i, i + 3), 14 + i, 14 + i);
    }
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, kCaseTop);
    fill.setColorAt(1, kCaseBottom);
    p.setBrush(fill);
    p.setPen(QPen(kCaseBorder, 1));
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
    // A brighter chamfer along the top edge.
    p.setPen(QPen(QColor(0x45, 0x4a, 0x55), 1));
    p.drawLine(QPointF(body.left() + 14, body.top() + 1.5),
               QPointF(body.right() - 14, body.top() + 1.5));

    // Recessed plate under each block of keys.
    p.setPen(Qt::NoPen);
    for (const QRectF& cap : caps) {
        p.setBrush(kPlate);
        p.drawRoundedRect(cap.adjusted(-2, -2, 2, 2), 6, 6);
    }

    // Word mark printed on the bezel above the G column.
    const QRectF bezel(layout.keyboardBezel);
    p.setFont(Font(10, QFont::Bold, 3.0));
    p.setPen(QColor(0x5d, 0x64, 0x71));
    p.drawText(QRectF(bezel.left() + 16, bezel.top() + 6, 200, bezel.height() - 10),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("HALVOREX"));
}

// Blocks of keys for the recessed plates: caps merged into the rectangles of the key blocks.
std::vector<QRectF> KeyBlocks(const Layout& layout) {
    std::vector<QRectF> blocks;
    for (const Control& c : layout.controls) {
        if (c.kind != ControlKind::KeyCap) {
            continue;
        }
        const QRectF cap(c.rect);
        bool merged = false;
        for (QRectF& block : blocks) {
            // Caps closer than a gap and a half belong to the same block.
            if (block.adjusted(-8, -8, 8, 8).intersects(cap)) {
                block = block.united(cap);
                merged = true;
                break;
            }
        }
        if (!merged) {
            blocks.push_back(cap);
        }
    }
    // Merging can make blocks touch blocks formed earlier; repeat until stable.
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::size_t i = 0; i < blocks.size() && !changed; ++i) {
            for (std::size_t j = i + 1; j < blocks.size(); ++j) {
                if (blocks[i].adjusted(-8, -8, 8, 8).intersects(blocks[j])) {
                    blocks[i] = blocks[i].united(blocks[j]);
                    blocks.erase(blocks.begin() + static_cast<long>(j));
                    changed = true;
                    break;
                }
            }
        }
    }
    return blocks;
}

void DrawPanel(QPainter& p, const Layout& layout) {
    const QRectF panel(layout.panel);
    for (int i = 5; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(panel.adjusted(-i, -i + 3, i, i + 3), 12 + i, 12 + i);
    }
    QLinearGradient fill(panel.topLeft(), panel.bottomLeft());
    fill.setColorAt(0, kPanelTop);
    fill.setColorAt(1, kPanelBottom);
    p.setBrush(fill);
    p.setPen(QPen(kCaseBorder, 1));
    p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);

    // Header strip with an accent edge.
    const QRectF header(layout.panelHeader);
    QPainterPath headerPath;
    headerPath.addRoundedRect(panel.adjusted(1, 1, -1, -1), 11, 11);
    p.save();
    p.setClipPath(headerPath);
    QLinearGradient headerFill(header.topLeft(), header.bottomLeft());
    headerFill.setColorAt(0, QColor(0x26, 0x2a, 0x31));
    headerFill.setColorAt(1, QColor(0x1f, 0x22, 0x28));
    p.fillRect(header, headerFill);
    QLinearGradient edge(header.topLeft(), header.topRight());
    edge.setColorAt(0, WithAlpha(kAccent, 0));
    edge.setColorAt(0.5, WithAlpha(kAccent, 200));
    edge.setColorAt(1, WithAlpha(kAccent, 0));
    p.fillRect(QRectF(header.left(), header.top() + 1, header.width(), 2), edge);
    p.restore();

    auto divider = [&](double y) {
        QLinearGradient line(QPointF(panel.left(), y), QPointF(panel.right(), y));
        line.setColorAt(0, WithAlpha(kSeparator, 0));
        line.setColorAt(0.1, kSeparator);
        line.setColorAt(0.9, kSeparator);
        line.setColorAt(1, WithAlpha(kSeparator, 0));
        p.fillRect(QRectF(panel.left() + 8, y, panel.width() - 16, 1), line);
    };
    divider(header.bottom() + 0.5);
    divider(layout.panelEffectArea.bottom() + 0.5);
    divider(layout.panelColourRow.bottom() + 0.5);

    // The effect area is a slightly sunk well, so it reads as one group whichever effect shows.
    const QRectF well = QRectF(layout.panelEffectArea).adjusted(8, 4, -8, -4);
    p.setPen(QPen(QColor(0x22, 0x25, 0x2b), 1));
    p.setBrush(QColor(0x15, 0x17, 0x1b, 120));
    p.drawRoundedRect(well.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

void DrawBottomBar(QPainter& p, const Layout& layout) {
    const QRectF bar(layout.bottomBar);
    p.setPen(QPen(kSeparator, 1));
    p.drawLine(QPointF(bar.left(), bar.top() - 6.5), QPointF(bar.right(), bar.top() - 6.5));
}

void DrawWindowBorder(QPainter& p, const Layout& layout) {
    const QRectF window(QPointF(0, 0), QSizeF(layout.window));
    p.setPen(QPen(kWindowBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(window.adjusted(0.5, 0.5, -0.5, -0.5), layout.cornerRadius,
                      layout.cornerRadius);
}

void PaintWindow(QPainter& p, const Layout& layout, FaceState state) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawWindowFrame(p, layout);
    DrawKeyboardCase(p, layout, KeyBlocks(layout));
    DrawPanel(p, layout);
    DrawBottomBar(p, layout);
    for (const Control& control : layout.controls) {
        DrawControl(p, control, state);
    }
    // The arrows take their faces from Arrow.jpg; the window pictures show their resting face so
    // that the background under them matches.
    for (const ArrowFace& face : layout.arrowFaces) {
        if (face.pressed || face.dimmed) {
            continue;
        }
        const Control& arrow =
            layout.Get(face.arrow == Look::ArrowLeft ? "LEFT_ARROW" : "RIGHT_ARROW");
        p.save();
        p.translate(arrow.rect.topLeft() - face.rect.topLeft());
        DrawArrowFace(p, face);
        p.restore();
    }
    DrawWindowBorder(p, layout);
}

} // namespace

QImage RenderWindow(const Layout& layout, FaceState state) {
    QImage image(layout.window, QImage::Format_RGB32);
    image.fill(kWindowBottom);
    QPainter p(&image);
    PaintWindow(p, layout, state);
    return image;
}

QImage RenderBackground(const Layout& layout) {
    return RenderWindow(layout, FaceState::Normal);
}

QImage RenderMask(const Layout& layout) {
    QImage image(layout.window, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // No antialiasing: every pixel is either pure white (outside) or black (inside).
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(layout.window)), layout.cornerRadius,
                      layout.cornerRadius);
    return image;
}

QImage RenderStatePicture(const Layout& layout, FaceState state) {
    QImage image(layout.window, QImage::Format_RGB32);
    image.fill(kWindowBottom);
    QPainter p(&image);
    p.translate(-1, -1);
    PaintWindow(p, layout, state);
    return image;
}

QImage RenderArrowPicture(const Layout& layout) {
    // The corners around each rounded face show the window colour where the arrows sit.
    const QImage background = RenderBackground(layout);
    const QPoint corner = layout.Get("LEFT_ARROW").rect.topLeft();
    QImage image(layout.arrowPicture, QImage::Format_RGB32);
    image.fill(background.pixelColor(corner));
    QPainter p(&image);
    for (const ArrowFace& face : layout.arrowFaces) {
        DrawArrowFace(p, face);
    }
    return image;
}

} // namespace kovrel::skingen

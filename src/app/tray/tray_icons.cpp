#include "app/tray/tray_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kovrel::app {

namespace {

// A key cap on a dark tile, with a status lamp in the corner.
QPixmap DrawIcon(int size, const QColor& lamp, bool lit) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s * 0.18, s * 0.18);
    p.fillPath(tile, QColor(0x1c, 0x20, 0x27));
    p.setPen(QPen(QColor(0x4a, 0x52, 0x60), s / 32.0));
    p.drawPath(tile);
    // Three rows of keys.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd0, 0xd5, 0xdd));
    const qreal key = s * 0.14;
    const qreal gap = s * 0.05;
    const qreal left = s * 0.14;
    for (int row = 0; row < 3; ++row) {
        const qreal y = s * 0.26 + row * (key + gap);
        const int keys = row == 2 ? 1 : 4;
        for (int k = 0; k < keys; ++k) {
            const qreal width = row == 2 ? 4 * key + 3 * gap : key;
            p.drawRoundedRect(QRectF(left + k * (key + gap), y, width, key), key * 0.2, key * 0.2);
        }
    }
    const QRectF lampRect(s * 0.66, s * 0.08, s * 0.26, s * 0.26);
    p.setBrush(lit ? lamp : QColor(0x55, 0x5b, 0x66));
    p.setPen(QPen(QColor(0x10, 0x12, 0x16), s / 32.0));
    p.drawEllipse(lampRect);
    return pixmap;
}

QIcon DrawStatusIcon(const QColor& lamp, bool lit) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(DrawIcon(size, lamp, lit));
    }
    return icon;
}

} // namespace

QIcon StatusIcon(int resourceId) {
    switch (resourceId) {
    case kIconProgram:
        return DrawStatusIcon(QColor(0x88, 0x90, 0x9c), false);
    case kIconConnected:
        return DrawStatusIcon(QColor(0x3c, 0xd0, 0x70), true);
    case kIconActivity:
        return DrawStatusIcon(QColor(0xff, 0xb0, 0x20), true);
    default:
        return {};
    }
}

} // namespace kovrel::app

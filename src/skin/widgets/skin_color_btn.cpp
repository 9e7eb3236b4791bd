#include "skin/widgets/skin_color_btn.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPolygon>
#include <qdrawutil.h>

namespace kovrel::skin {

namespace {

// The platform's default palette: the twenty fixed colours of the system palette.
std::vector<ColorRef> DefaultPalette() {
    return {
        MakeColorRef(0, 0, 0),       MakeColorRef(128, 0, 0),     MakeColorRef(0, 128, 0),
        MakeColorRef(128, 128, 0),   MakeColorRef(0, 0, 128),     MakeColorRef(128, 0, 128),
        MakeColorRef(0, 128, 128),   MakeColorRef(192, 192, 192), MakeColorRef(192, 220, 192),
        MakeColorRef(166, 202, 240), MakeColorRef(255, 251, 240), MakeColorRef(160, 160, 164),
        MakeColorRef(128, 128, 128), MakeColorRef(255, 0, 0),     MakeColorRef(0, 255, 0),
        MakeColorRef(255, 255, 0),   MakeColorRef(0, 0, 255),     MakeColorRef(255, 0, 255),
        MakeColorRef(0, 255, 255),   MakeColorRef(255, 255, 255),
    };
}

// Rectangles with exclusive right and bottom edges, as the drawing is described.
QRect FromEdges(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

CSkinColorBtn::CSkinColorBtn(QWidget* parent)
    : QAbstractButton(parent), m_paletteColors(DefaultPalette()) {
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, &CSkinColorBtn::ShowPopup);
}

void CSkinColorBtn::SetColor(ColorRef color) {
    m_color = color;
    update();
}

void CSkinColorBtn::SetAutomaticColor(ColorRef color) {
    m_automatic = color;
    update();
}

void CSkinColorBtn::ShowPopup() {
    if (m_popup) {
        return;
    }
    ColorPalettePopup::Options options;
    options.colors = m_paletteColors;
    options.columns = m_columns;
    options.otherLabel = m_otherLabel;
    options.chooser = m_chooser;
    options.current = ShownColor();
    m_popup = new ColorPalettePopup(options, this);
    connect(m_popup, &ColorPalettePopup::colorChosen, this, &CSkinColorBtn::OnColorChosen);
    // The button repaints once the palette has gone.
    connect(m_popup, &QObject::destroyed, this, [this] { update(); });
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
}

void CSkinColorBtn::OnColorChosen(ColorRef color) {
    m_color = color;
    repaint();
    emit colorChanged(color);
}

void CSkinColorBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), palette().button());

    const ColorRef shown = ShownColor();
    const bool automatic = m_color == kAutomatic;

    // Swatch: the client area grown by one pixel each way, its right edge moved to half of
    // itself plus 5, framed in the shadow colour and filled inside the frame.
    const int swatchRight = (w + 1) / 2 + 5;
    const QRect swatch = FromEdges(-1, -1, swatchRight, h + 1);
    const QColor shadow = palette().color(QPalette::Dark);
    qDrawPlainRect(&painter, swatch, shadow, 1);
    if (isEnabled() && !automatic) {
        painter.fillRect(swatch.adjusted(1, 1, -1, -1), ToQColor(shown));
    }

    // Drop-down box: the client area grown by one pixel across and two down and up, from its
    // middle plus 3 to its right edge, outlined and filled grey.
    const int boxLeft = (-1 + (w + 1)) / 2 + 3;
    const QRect box = FromEdges(boxLeft, -2, w + 1, h + 2);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(kDropDownGrey));
    painter.drawRect(box.adjusted(0, 0, -1, -1));

    // Arrow.
    const int right = w + 1;
    const int middle = h / 2;
    const QPolygon arrow{QPoint(right - 11, middle - 2), QPoint(right - 5, middle - 2),
                         QPoint(right - 8, middle + 1)};
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);

    // The plain button border. (The focus rectangle lies 3 pixels outside the client area, so
    // nothing of it shows inside the button.)
    qDrawShadePanel(&painter, rect(), palette(), isDown(), 1);
}

void CSkinColorBtn::mouseMoveEvent(QMouseEvent* event) {
    m_hover = true;
    QAbstractButton::mouseMoveEvent(event);
}

void CSkinColorBtn::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CSkinColorBtn::focusOutEvent(QFocusEvent* event) {
    if (mouseGrabber() == this) {
        releaseMouse();
    }
    setDown(false);
    m_hover = false;
    QAbstractButton::focusOutEvent(event);
    repaint();
}

} // namespace kovrel::skin

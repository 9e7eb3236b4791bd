#include "draw_controls.h"

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

QLinearGradient Vertical(const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

void FillRounded(QPainter& p, const QRectF& rect, double radius, const QBrush& brush) {
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawRoundedRect(rect, radius, radius);
}

void StrokeRounded(QPainter& p, const QRectF& rect, double radius, const QColor& color,
                   double width = 1.0) {
    p.setPen(QPen(color, width));
    p.setBrush(Qt::NoBrush);
    const double inset = width / 2;
    p.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius, radius);
}

// A soft halo around a rectangle, drawn as a few widening translucent outlines.
void Glow(QPainter& p, const QRectF& rect, double radius, const QColor& color, int strength) {
    for (int i = 3; i >= 1; --i) {
        p.setPen(QPen(WithAlpha(color, strength / (i + 1)), 2.0 * i));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(rect, radius + i, radius + i);
    }
}

void DrawText(QPainter& p, const QRectF& rect, const QString& text, const QFont& font,
              const QColor& color, int flags = Qt::AlignCenter) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(rect, flags, text);
}

// ---- Key caps -------------------------------------------------------------------------------

struct CapColours {
    QColor side, sideEdge, faceTop, faceBottom, highlight, legend, legend2;
};

CapColours CapColoursFor(FaceState state) {
    switch (state) {
    case FaceState::Normal:
        return {QColor(0x1a, 0x1c, 0x21),
                QColor(0x0a, 0x0b, 0x0d),
                QColor(0x33, 0x37, 0x40),
                QColor(0x27, 0x2a, 0x31),
                QColor(0x44, 0x49, 0x54),
                kText,
                kTextMuted};
    case FaceState::Over:
        return {QColor(0x19, 0x2b, 0x36), QColor(0x0a, 0x0b, 0x0d), QColor(0x41, 0x48, 0x54),
                QColor(0x33, 0x38, 0x42), QColor(0x58, 0x60, 0x6d), QColor(0xff, 0xff, 0xff),
                QColor(0xc4, 0xcb, 0xd6)};
    case FaceState::Down:
        return {QColor(0x12, 0x14, 0x18), QColor(0x08, 0x09, 0x0b), QColor(0x1c, 0x1f, 0x24),
                QColor(0x24, 0x27, 0x2d), QColor(0x22, 0x25, 0x2b), kAccent,
                WithAlpha(kAccent, 190)};
    case FaceState::Disable:
        return {QColor(0x14, 0x24, 0x2d), QColor(0x09, 0x0b, 0x0d), QColor(0x22, 0x3a, 0x48),
                QColor(0x1a, 0x2d, 0x38), QColor(0x2f, 0x4d, 0x5d), QColor(0xc8, 0xf1, 0xff),
                QColor(0x8c, 0xc4, 0xd8)};
    case FaceState::Colour0:
        return {QColor(0x17, 0x18, 0x1c), QColor(0x09, 0x0a, 0x0c), QColor(0x24, 0x27, 0x2d),
                QColor(0x1f, 0x22, 0x27), QColor(0x2e, 0x32, 0x39), QColor(0x9a, 0xa1, 0xad),
                QColor(0x6b, 0x72, 0x7e)};
    case FaceState::Colour1:
        return {
            QColor(0x8a, 0x3a, 0x0e), QColor(0x3a, 0x18, 0x05), QColor(0xff, 0x9b, 0x55), kMarkDeep,
            QColor(0xff, 0xc0, 0x8a), QColor(0xff, 0xff, 0xff), QColor(0xff, 0xe4, 0xcc)};
    }
    return {};
}

bool IsArrowGlyph(const QString& text) {
    return text.size() == 1 && text[0].unicode() >= 0x2190 && text[0].unicode() <= 0x21FF;
}

// The largest font from `pixels` down to 7 in which every line of `text` fits `width`.
QFont FittingFont(const QString& text, double width, int pixels, QFont::Weight weight) {
    for (int size = pixels; size > 7; --size) {
        const QFontMetricsF metrics(Font(size, weight));
        bool fits = true;
        for (const QString& line : text.split('\n')) {
            fits = fits && metrics.horizontalAdvance(line) <= width;
        }
        if (fits) {
            return Font(size, weight);
        }
    }
    return Font(7, weight);
}

void DrawCapLegend(QPainter& p, const Control& c, const QRectF& face, const CapColours& colours,
                   FaceState state) {
    const QRectF inner = face.adjusted(2, 1, -2, -1);
    if (c.look == Look::GKey) {
        // G1-G5 carry the program's bank label in their centre, so their tag goes to the corner;
        // G6-G9 have no label and show the tag in the middle.
        const bool bankKey = c.key < "FUNC_G6";
        const QColor tag = state == FaceState::Colour1   ? QColor(0xff, 0xff, 0xff)
                           : state == FaceState::Colour0 ? QColor(0x8a, 0x74, 0xb8)
                           : state == FaceState::Down    ? kAccent
                                                         : QColor(0xb9, 0x9c, 0xff);
        if (bankKey) {
            DrawText(p, inner.adjusted(1, 0, 0, 0), c.legend, Font(9, QFont::Bold), tag,
                     Qt::AlignLeft | Qt::AlignTop);
        } else {
            DrawText(p, inner, c.legend, Font(12, QFont::Bold), tag);
        }
        return;
    }
    const QColor legendColour =
        c.legend == QStringLiteral("Fn") && state != FaceState::Colour1 ? kAccent : colours.legend;
    if (c.smallLegend) {
        DrawText(p, inner, c.legend, FittingFont(c.legend, inner.width(), 9, QFont::Normal),
                 legendColour, Qt::AlignCenter);
        return;
    }
    if (c.legend2.isEmpty()) {
        // Single characters: letters large, thin symbols larger still so they read as well.
        const bool symbol = c.legend.size() == 1 && !c.legend[0].isLetterOrNumber();
        const int size = c.legend.size() == 1 ? (symbol ? 17 : 14) : 12;
        DrawText(p, inner, c.legend, FittingFont(c.legend, inner.width(), size, QFont::Bold),
                 legendColour);
        return;
    }
    if (c.legend2.size() > 1 || IsArrowGlyph(c.legend2)) {
        // Numeric pad: the digit, and below it the key's function with Num Lock off.
        DrawText(p, QRectF(inner.left(), inner.top(), inner.width(), inner.height() * 0.62),
                 c.legend, Font(13, QFont::Bold), legendColour);
        DrawText(p,
                 QRectF(inner.left(), inner.top() + inner.height() * 0.58, inner.width(),
                        inner.height() * 0.42),
                 c.legend2, Font(IsArrowGlyph(c.legend2) ? 10 : 8), colours.legend2);
        return;
    }
    // Symbol keys: the shifted symbol small above, the plain one below.
    DrawText(p, QRectF(inner.left(), inner.top(), inner.width(), inner.height() * 0.45), c.legend2,
             Font(10), colours.legend2);
    DrawText(p,
             QRectF(inner.left(), inner.top() + inner.height() * 0.38, inner.width(),
                    inner.height() * 0.62),
             c.legend, Font(13, QFont::Bold), legendColour);
}

void DrawKeyCap(QPainter& p, const Control& c, FaceState state) {
    const QRectF r(c.rect);
    const CapColours colours = CapColoursFor(state);
    const bool gkey = c.look == Look::GKey;

    if (state == FaceState::Over) {
        Glow(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 5, kAccent, 150);
    }
    if (state == FaceState::Colour1) {
        Glow(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 5, kMark, 130);
    }
    // Side walls, then the top face: raised, or sunk for the pressed look.
    FillRounded(p, r, 5, colours.sideEdge);
    FillRounded(p, r.adjusted(1, 1, -1, -1), 4.5, Vertical(r, colours.side, colours.sideEdge));
    const QRectF face =
        state == FaceState::Down ? r.adjusted(3, 4, -3, -3) : r.adjusted(3, 2, -3, -5);
    QColor faceTop = colours.faceTop;
    QColor faceBottom = colours.faceBottom;
    if (gkey && (state == FaceState::Normal || state == FaceState::Over)) {
        // G keys: a violet cast sets the macro keys apart from the ordinary ones.
        faceTop = faceTop.lighter(102);
        faceTop.setBlue(std::min(255, faceTop.blue() + 14));
        faceTop.setRed(std::min(255, faceTop.red() + 6));
        faceBottom.setBlue(std::min(255, faceBottom.blue() + 12));
        faceBottom.setRed(std::min(255, faceBottom.red() + 4));
    }
    FillRounded(p, face, 4, Vertical(face, faceTop, faceBottom));
    // A thin highlight along the top edge of the face.
    p.setPen(QPen(colours.highlight, 1));
    p.drawLine(QPointF(face.left() + 4, face.top() + 0.5),
               QPointF(face.right() - 4, face.top() + 0.5));

    if (state == FaceState::Over || state == FaceState::Down) {
        StrokeRounded(p, r, 5, WithAlpha(kAccent, state == FaceState::Down ? 255 : 200), 1.2);
    }
    if (state == FaceState::Disable) {
        // Assigned or selected: an azure bar lit along the front edge of the cap.
        const QRectF bar(r.left() + 6, r.bottom() - 4.5, r.width() - 12, 2.5);
        FillRounded(p, bar, 1.2, kAccent);
        StrokeRounded(p, r, 5, WithAlpha(kAccent, 110), 1);
    }
    if (state == FaceState::Colour0 || state == FaceState::Colour1) {
        // The mark sits in the cap's top right corner, clear of the legend: an empty ring on an
        // unmarked key, a filled dot on a marked one.
        const QPointF centre(r.right() - 4.5, r.top() + 4.5);
        p.setBrush(state == FaceState::Colour1 ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
        p.setPen(
            QPen(state == FaceState::Colour1 ? QColor(Qt::white) : QColor(0x7b, 0x83, 0x90), 1.2));
        p.drawEllipse(centre, 2.2, 2.2);
    }
    DrawCapLegend(p, c, face, colours, state);
}

// ---- Buttons --------------------------------------------------------------------------------

void DrawButtonBody(QPainter& p, const QRectF& r, FaceState state, bool selectable) {
    const double radius = 7;
    switch (state) {
    case FaceState::Over:
        Glow(p, r.adjusted(0.5, 0.5, -0.5, -0.5), radius, kAccent, 110);
        FillRounded(p, r, radius, Vertical(r, QColor(0x3a, 0x40, 0x4b), QColor(0x2c, 0x31, 0x39)));
        StrokeRounded(p, r, radius, WithAlpha(kAccent, 210), 1.2);
        break;
    case FaceState::Down:
        FillRounded(p, r, radius, Vertical(r, QColor(0x17, 0x19, 0x1d), QColor(0x20, 0x23, 0x29)));
        StrokeRounded(p, r, radius, kAccent, 1.2);
        break;
    case FaceState::Disable:
        if (selectable) {
            Glow(p, r.adjusted(0.5, 0.5, -0.5, -0.5), radius, kAccent, 120);
            FillRounded(p, r, radius, Vertical(r, QColor(0x22, 0x9c, 0xd2), kAccentDeep));
            StrokeRounded(p, r, radius, QColor(0x6a, 0xdc, 0xff), 1);
        } else {
            FillRounded(p, r, radius, QColor(0x1a, 0x1c, 0x20));
            StrokeRounded(p, r, radius, QColor(0x25, 0x28, 0x2e), 1);
        }
        break;
    default:
        FillRounded(p, r, radius, Vertical(r, QColor(0x30, 0x34, 0x3d), QColor(0x24, 0x27, 0x2e)));
        StrokeRounded(p, r, radius, QColor(0x3e, 0x43, 0x4e), 1);
        p.setPen(QPen(QColor(0x4a, 0x50, 0x5c), 1));
        p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
                   QPointF(r.right() - radius, r.top() + 1.5));
        break;
    }
}

QColor IconColour(FaceState state, bool selectable = false) {
    switch (state) {
    case FaceState::Over:
        return QColor(0xff, 0xff, 0xff);
    case FaceState::Down:
        return kAccent;
    case FaceState::Disable:
        return selectable ? QColor(0xff, 0xff, 0xff) : kTextDim;
    default:
        return QColor(0xb4, 0xbb, 0xc7);
    }
}

void DrawListIcon(QPainter& p, const QRectF& box, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < 3; ++i) {
        const double y = box.top() + 2 + i * 5;
        p.drawEllipse(QPointF(box.left() + 2, y + 1), 1.6, 1.6);
        p.drawRoundedRect(QRectF(box.left() + 6, y, box.width() - 6, 2), 1, 1);
    }
}

void DrawSwitchIcon(QPainter& p, const QRectF& box, FaceState state) {
    // A key cap half in the function colour, half in the mark colour.
    const QRectF cap = box.adjusted(0, 0, 0, 0);
    p.save();
    QPainterPath path;
    path.addRoundedRect(cap, 3, 3);
    p.setClipPath(path);
    p.fillRect(QRectF(cap.left(), cap.top(), cap.width() / 2, cap.height()),
               state == FaceState::Disable ? kTextDim : kAccent);
    p.fillRect(QRectF(cap.center().x(), cap.top(), cap.width() / 2, cap.height()),
               state == FaceState::Disable ? QColor(0x3a, 0x3d, 0x44) : kMark);
    p.restore();
    StrokeRounded(p, cap, 3, WithAlpha(Qt::white, state == FaceState::Disable ? 40 : 120), 1);
}

void DrawCaptionButton(QPainter& p, const Control& c, FaceState state) {
    const QRectF r = QRectF(c.rect).adjusted(1, 1, -1, -1);
    const bool selectable = c.look == Look::ProfileTab;
    DrawButtonBody(p, r, state, selectable);
    const QRectF iconBox(r.left() + 12, r.center().y() - 6.5, 14, 13);
    if (c.look == Look::ProfilesMenu) {
        DrawListIcon(p, iconBox, IconColour(state));
        // A small chevron at the right end says this button opens a list.
        const QColor colour = IconColour(state);
        p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tip(r.right() - 14, r.center().y() + 2);
        p.drawPolyline(QList<QPointF>{tip + QPointF(-4, -4), tip, tip + QPointF(4, -4)});
    } else if (c.look == Look::SwitchMode) {
        DrawSwitchIcon(p, iconBox, state);
    }
}

void DrawReportRate(QPainter& p, const Control& c, FaceState state) {
    const QRectF r = QRectF(c.rect).adjusted(1, 1, -1, -1);
    DrawButtonBody(p, r, state, true);
    const QColor text = state == FaceState::Disable ? QColor(0xff, 0xff, 0xff)
                        : state == FaceState::Down  ? kAccent
                        : state == FaceState::Over  ? QColor(0xff, 0xff, 0xff)
                                                    : QColor(0xb4, 0xbb, 0xc7);
    const QStringList parts = c.legend.split(' ');
    // The number carries the weight; the unit stays small.
    const QFont numberFont = Font(12, QFont::Bold);
    const QFont unitFont = Font(9);
    const double numberWidth = QFontMetricsF(numberFont).horizontalAdvance(parts[0]);
    const double unitWidth = QFontMetricsF(unitFont).horizontalAdvance(parts.value(1));
    const double left = r.center().x() - (numberWidth + 2 + unitWidth) / 2;
    DrawText(p, QRectF(left, r.top(), numberWidth + 1, r.height()), parts[0], numberFont, text,
             Qt::AlignLeft | Qt::AlignVCenter);
    DrawText(p, QRectF(left + numberWidth + 2, r.top() + 1, unitWidth + 1, r.height()),
             parts.value(1), unitFont, WithAlpha(text, 200), Qt::AlignLeft | Qt::AlignVCenter);
}

void DrawTitleIcon(QPainter& p, const Control& c, FaceState state) {
    const QRectF r = QRectF(c.rect).adjusted(1, 1, -1, -1);
    const bool close = c.look == Look::TitleClose;
    if (state == FaceState::Over) {
        FillRounded(p, r, 7, close ? kDanger : QColor(0x2e, 0x33, 0x3c));
    } else if (state == FaceState::Down) {
        FillRounded(p, r, 7, close ? QColor(0xa3, 0x24, 0x2b) : QColor(0x1a, 0x1c, 0x21));
        if (!close) {
            StrokeRounded(p, r, 7, kAccent, 1);
        }
    } else if (state == FaceState::Normal || state == FaceState::Colour0 ||
               state == FaceState::Colour1) {
        StrokeRounded(p, r, 7, QColor(0x2a, 0x2e, 0x36), 1);
    }
    QColor colour = IconColour(state);
    if (close && state == FaceState::Down) {
        colour = Qt::white;
    }
    const QPointF m = r.center();
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (c.look) {
    case Look::TitleClose:
        p.drawLine(m + QPointF(-5, -5), m + QPointF(5, 5));
        p.drawLine(m + QPointF(-5, 5), m + QPointF(5, -5));
        break;
    case Look::TitleMinimize:
        p.drawLine(m + QPointF(-6, 4), m + QPointF(6, 4));
        break;
    case Look::TitleMenu:
        for (int dy : {-5, 0, 5}) {
            p.drawLine(m + QPointF(-6.5, dy), m + QPointF(6.5, dy));
        }
        break;
    case Look::TitleHelp:
        p.setPen(QPen(colour, 1.5));
        p.drawEllipse(m, 8.5, 8.5);
        DrawText(p, QRectF(m.x() - 8, m.y() - 8.5, 16, 17), QStringLiteral("?"),
                 Font(12, QFont::Bold), colour);
        break;
    default:
        break;
    }
}

void DrawBrand(QPainter& p, const Control& c, FaceState state) {
    const QRectF r(c.rect);
    const QColor word = state == FaceState::Over      ? QColor(0xff, 0xff, 0xff)
                        : state == FaceState::Down    ? kAccent
                        : state == FaceState::Disable ? kTextDim
                                                      : kText;
    const QColor mark = state == FaceState::Disable ? kTextDim : kAccent;
    // The emblem: two chevrons forming an H-like notch.
    const QRectF emblem(r.left() + 2, r.top() + 4, 22, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    QPainterPath left;
    left.moveTo(emblem.left(), emblem.top());
    left.lineTo(emblem.left() + 8, emblem.top());
    left.lineTo(emblem.left() + 12, emblem.center().y());
    left.lineTo(emblem.left() + 8, emblem.bottom());
    left.lineTo(emblem.left(), emblem.bottom());
    left.lineTo(emblem.left() + 4, emblem.center().y());
    left.closeSubpath();
    p.drawPath(left);
    p.setBrush(WithAlpha(mark, 150));
    p.drawPath(left.translated(10, 0));
    DrawText(p, QRectF(r.left() + 32, r.top(), r.width() - 32, r.height() - 1),
             QStringLiteral("HALVOREX"), Font(16, QFont::Bold, 1.6), word,
             Qt::AlignLeft | Qt::AlignVCenter);
    if (state == FaceState::Over || state == FaceState::Down) {
        FillRounded(p, QRectF(r.left() + 32, r.bottom() - 2, r.width() - 40, 2), 1,
                    WithAlpha(kAccent, state == FaceState::Over ? 200 : 255));
    }
}

void DrawVersion(QPainter& p, const Control& c, FaceState state) {
    const QRectF r = QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = r.height() / 2;
    switch (state) {
    case FaceState::Over:
        FillRounded(p, r, radius, QColor(0x26, 0x2a, 0x31));
        StrokeRounded(p, r, radius, WithAlpha(kAccent, 180), 1);
        break;
    case FaceState::Down:
        FillRounded(p, r, radius, QColor(0x14, 0x16, 0x1a));
        StrokeRounded(p, r, radius, kAccent, 1);
        break;
    case FaceState::Disable:
        FillRounded(p, r, radius, QColor(0x1a, 0x33, 0x40));
        StrokeRounded(p, r, radius, WithAlpha(kAccent, 120), 1);
        break;
    default:
        StrokeRounded(p, r, radius, QColor(0x30, 0x35, 0x3d), 1);
        break;
    }
}

void DrawLamp(QPainter& p, const QPointF& centre, bool lit, const QColor& colour) {
    if (lit) {
        QRadialGradient halo(centre, 7);
        halo.setColorAt(0, WithAlpha(colour, 170));
        halo.setColorAt(1, WithAlpha(colour, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(centre, 7, 7);
        p.setBrush(colour.lighter(125));
        p.drawEllipse(centre, 3, 3);
    } else {
        p.setPen(QPen(QColor(0x3a, 0x3f, 0x48), 1));
        p.setBrush(QColor(0x15, 0x17, 0x1b));
        p.drawEllipse(centre, 3, 3);
    }
}

void DrawLockLamp(QPainter& p, const Control& c, FaceState state) {
    const QRectF r(c.rect);
    const bool lit = state == FaceState::Disable || state == FaceState::Down;
    if (state == FaceState::Over) {
        FillRounded(p, r, 4, QColor(0x2a, 0x2e, 0x36));
    }
    DrawLamp(p, QPointF(r.left() + 7.5, r.center().y()), lit,
             state == FaceState::Down ? kAccent.darker(130) : kAccent);
    const QColor text = lit                        ? QColor(0xd8, 0xf6, 0xff)
                        : state == FaceState::Over ? QColor(0xc4, 0xcb, 0xd6)
                                                   : QColor(0x70, 0x78, 0x86);
    DrawText(p, r.adjusted(14, 0, 0, 0), c.legend, Font(8, QFont::Bold, 0.3), text,
             Qt::AlignLeft | Qt::AlignVCenter);
}

void DrawBankLamp(QPainter& p, const Control& c, FaceState state) {
    const QRectF r(c.rect);
    StrokeRounded(p, r, 4,
                  state == FaceState::Disable ? QColor(0x22, 0x25, 0x2b) : QColor(0x2e, 0x33, 0x3b),
                  1);
    const bool aLit =
        state == FaceState::Normal || state == FaceState::Colour0 || state == FaceState::Colour1;
    const bool bLit = state == FaceState::Over;
    const QColor pressed = state == FaceState::Down ? kAccent.darker(140) : kAccent;
    const double half = r.width() / 2;
    for (int i = 0; i < 2; ++i) {
        const bool lit = i == 0 ? aLit : bLit;
        const QRectF cell(r.left() + i * half, r.top(), half, r.height());
        DrawLamp(p, QPointF(cell.left() + 10, cell.center().y()), lit || state == FaceState::Down,
                 pressed);
        const QColor text = lit                           ? QColor(0xd8, 0xf6, 0xff)
                            : state == FaceState::Disable ? kTextDim
                                                          : QColor(0x70, 0x78, 0x86);
        DrawText(p, cell.adjusted(17, 0, 0, 0), i == 0 ? QStringLiteral("A") : QStringLiteral("B"),
                 Font(10, QFont::Bold), text, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void DrawFlip(QPainter& p, const Control& c, FaceState state) {
    const QRectF r = QRectF(c.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = 5;
    switch (state) {
    case FaceState::Over:
        FillRounded(p, r, radius, QColor(0x2e, 0x33, 0x3c));
        StrokeRounded(p, r, radius, WithAlpha(kAccent, 190), 1);
        break;
    case FaceState::Down:
        FillRounded(p, r, radius, QColor(0x14, 0x16, 0x1a));
        StrokeRounded(p, r, radius, kAccent, 1);
        break;
    case FaceState::Disable:
        if (c.look == Look::FlipIndicator) {
            FillRounded(p, r, radius, QColor(0x1a, 0x33, 0x40));
            StrokeRounded(p, r, radius, WithAlpha(kAccent, 150), 1);
        } else {
            StrokeRounded(p, r, radius, QColor(0x22, 0x25, 0x2b), 1);
        }
        break;
    default:
        FillRounded(p, r, radius, QColor(0x1b, 0x1e, 0x23));
        StrokeRounded(p, r, radius, QColor(0x33, 0x37, 0x40), 1);
        break;
    }
    const bool selected = state == FaceState::Disable && c.look == Look::FlipIndicator;
    const QColor colour = selected ? QColor(0xd8, 0xf6, 0xff) : IconColour(state);
    if (c.look == Look::FlipIndicator) {
        DrawText(p, r, c.legend, Font(9, QFont::Bold), colour);
        return;
    }
    const QPointF m = r.center();
    const double dir = c.look == Look::FlipLeft ? -1 : 1;
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QList<QPointF>{m + QPointF(-2 * dir, -4), m + QPointF(2 * dir, 0),
                                  m + QPointF(-2 * dir, 4)});
}

} // namespace

void DrawControl(QPainter& painter, const Control& control, FaceState state) {
    if (control.kind == ControlKind::Placed || control.kind == ControlKind::ArrowButton) {
        return;
    }
    if (control.kind != ControlKind::KeyCap &&
        (state == FaceState::Colour0 || state == FaceState::Colour1)) {
        state = FaceState::Normal;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    switch (control.look) {
    case Look::KeyCap:
    case Look::GKey:
        DrawKeyCap(painter, control, state);
        break;
    case Look::Caption:
    case Look::ProfileTab:
    case Look::ProfilesMenu:
    case Look::SwitchMode:
        DrawCaptionButton(painter, control, state);
        break;
    case Look::ReportRate:
        DrawReportRate(painter, control, state);
        break;
    case Look::TitleHelp:
    case Look::TitleMenu:
    case Look::TitleMinimize:
    case Look::TitleClose:
        DrawTitleIcon(painter, control, state);
        break;
    case Look::Brand:
        DrawBrand(painter, control, state);
        break;
    case Look::Version:
        DrawVersion(painter, control, state);
        break;
    case Look::LockLed:
        DrawLockLamp(painter, control, state);
        break;
    case Look::BankLed:
        DrawBankLamp(painter, control, state);
        break;
    case Look::FlipIndicator:
    case Look::FlipLeft:
    case Look::FlipRight:
        DrawFlip(painter, control, state);
        break;
    default:
        break;
    }
    painter.restore();
}

void DrawArrowFace(QPainter& painter, const ArrowFace& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(face.rect).adjusted(1, 1, -1, -1);
    const FaceState state = face.pressed ? FaceState::Down : FaceState::Normal;
    if (face.dimmed) {
        FillRounded(painter, r, 7,
                    face.pressed ? QColor(0x12, 0x13, 0x16) : QColor(0x1c, 0x1e, 0x22));
        StrokeRounded(painter, r, 7,
                      face.pressed ? QColor(0x1f, 0x5a, 0x73) : QColor(0x28, 0x2b, 0x31), 1);
    } else {
        DrawButtonBody(painter, r, state, false);
    }
    const QColor colour = face.dimmed    ? kTextDim
                          : face.pressed ? kAccent
                                         : QColor(0xc4, 0xcb, 0xd6);
    const QPointF m = r.center() + QPointF(0, face.pressed ? 1 : 0);
    const double dir = face.arrow == Look::ArrowLeft ? -1 : 1;
    painter.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QList<QPointF>{m + QPointF(-2.5 * dir, -6), m + QPointF(3 * dir, 0),
                                        m + QPointF(-2.5 * dir, 6)});
    painter.restore();
}

} // namespace kovrel::skingen

#include "panel_bitmaps.h"

#include "theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>
#include <numbers>

namespace kovrel::skingen {
namespace {

using namespace theme;

QColor WithAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

using Drawing = std::function<void(QPainter&, const QRectF&)>;

// A bitmap of the size of `key`'s control, drawn over the background under that control.
QImage Draw(const Layout& layout, const QImage& background, std::string_view key,
            const Drawing& drawing) {
    const QRect rect = layout.Get(key).rect;
    QImage image = background.copy(rect).convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawing(p, QRectF(0, 0, rect.width(), rect.height()));
    return image;
}

// ---- Sliders --------------------------------------------------------------------------------

void DrawSlider(QPainter& p, const QRectF& r, int position, const QColor& from, const QColor& to) {
    const double left = r.left() + 10;
    const double right = r.right() - 10;
    const double y = r.center().y();
    const double step = (right - left) / 4;
    // Track.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0f, 0x10, 0x13));
    p.drawRoundedRect(QRectF(left - 1, y - 3, right - left + 2, 6), 3, 3);
    p.setBrush(QColor(0x2c, 0x30, 0x38));
    p.drawRoundedRect(QRectF(left, y - 2, right - left, 4), 2, 2);
    // Ticks.
    for (int i = 0; i <= 4; ++i) {
        const double x = left + i * step;
        p.setBrush(i <= position && position >= 0 ? QColor(0xe6, 0xf8, 0xff)
                                                  : QColor(0x4a, 0x50, 0x5c));
        p.drawEllipse(QPointF(x, y + 8.5), 1.3, 1.3);
    }
    if (position < 0) {
        return;
    }
    const double knob = left + position * step;
    if (position > 0) {
        QLinearGradient fill(QPointF(left, y), QPointF(right, y));
        fill.setColorAt(0, from);
        fill.setColorAt(1, to);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(left, y - 2, knob - left, 4), 2, 2);
    }
    // Knob with a soft glow in the accent colour.
    QRadialGradient halo(QPointF(knob, y), 12);
    halo.setColorAt(0, WithAlpha(to, 90));
    halo.setColorAt(1, WithAlpha(to, 0));
    p.setBrush(halo);
    p.drawEllipse(QPointF(knob, y), 12, 12);
    QLinearGradient body(QPointF(knob, y - 7), QPointF(knob, y + 7));
    body.setColorAt(0, QColor(0xff, 0xff, 0xff));
    body.setColorAt(1, QColor(0xc9, 0xd3, 0xdf));
    p.setBrush(body);
    p.setPen(QPen(to, 2));
    p.drawEllipse(QPointF(knob, y), 6.5, 6.5);
}

// ---- Switches -------------------------------------------------------------------------------

void DrawBulb(QPainter& p, const QPointF& centre, const QColor& colour) {
    p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre + QPointF(0, -1.5), 3.6, 3.6);
    p.drawLine(centre + QPointF(-1.8, 3.2), centre + QPointF(1.8, 3.2));
    p.drawLine(centre + QPointF(-1.2, 5), centre + QPointF(1.2, 5));
}

void DrawToggle(QPainter& p, const QRectF& r, bool on, const QBrush& onTrack) {
    const QRectF track =
        QRectF(0, 0, std::min(r.width() - 4, 48.0), 22)
            .translated(r.center() - QPointF(std::min(r.width() - 4, 48.0) / 2, 11));
    const double radius = track.height() / 2;
    if (on) {
        p.setPen(Qt::NoPen);
        for (int i = 3; i >= 1; --i) {
            p.setBrush(WithAlpha(kAccent, 18));
            p.drawRoundedRect(track.adjusted(-i, -i, i, i), radius + i, radius + i);
        }
        p.setBrush(onTrack);
        p.drawRoundedRect(track, radius, radius);
    } else {
        p.setPen(QPen(QColor(0x3a, 0x3f, 0x49), 1));
        p.setBrush(QColor(0x22, 0x25, 0x2b));
        p.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }
    const QPointF knob(on ? track.right() - radius : track.left() + radius, track.center().y());
    QLinearGradient body(knob - QPointF(0, 8), knob + QPointF(0, 8));
    body.setColorAt(0, on ? QColor(0xff, 0xff, 0xff) : QColor(0x8d, 0x95, 0xa3));
    body.setColorAt(1, on ? QColor(0xd5, 0xde, 0xe8) : QColor(0x6a, 0x71, 0x7d));
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.setBrush(body);
    p.drawEllipse(knob, radius - 3, radius - 3);
}

QLinearGradient Rainbow(const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.topRight());
    const QColor stops[] = {QColor(0xff, 0x3b, 0x30), QColor(0xff, 0x9f, 0x0a),
                            QColor(0xff, 0xd6, 0x0a), QColor(0x34, 0xc7, 0x59),
                            QColor(0x0a, 0x84, 0xff), QColor(0xbf, 0x5a, 0xf2)};
    for (int i = 0; i < 6; ++i) {
        g.setColorAt(i / 5.0, stops[i]);
    }
    return g;
}

// ---- Picture buttons ------------------------------------------------------------------------

// A small square-ish button: resting ("up") or chosen ("down").
void DrawPictureButton(QPainter& p, const QRectF& r, bool chosen) {
    const QRectF body = r.adjusted(1, 1, -1, -1);
    if (chosen) {
        QLinearGradient fill(body.topLeft(), body.bottomLeft());
        fill.setColorAt(0, QColor(0x22, 0x9c, 0xd2));
        fill.setColorAt(1, kAccentDeep);
        p.setPen(QPen(QColor(0x6a, 0xdc, 0xff), 1));
        p.setBrush(fill);
    } else {
        QLinearGradient fill(body.topLeft(), body.bottomLeft());
        fill.setColorAt(0, QColor(0x2c, 0x30, 0x38));
        fill.setColorAt(1, QColor(0x22, 0x25, 0x2b));
        p.setPen(QPen(QColor(0x3a, 0x3f, 0x49), 1));
        p.setBrush(fill);
    }
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

QColor GlyphColour(bool chosen) {
    return chosen ? QColor(0xff, 0xff, 0xff) : QColor(0xa7, 0xae, 0xbb);
}

// An arrow from `from` to `to` with an open head.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double head = 4.5;
    for (double side : {-1.0, 1.0}) {
        const double a = angle + std::numbers::pi + side * 0.6;
        p.drawLine(to, to + QPointF(std::cos(a) * head, std::sin(a) * head));
    }
}

enum class Glyph { Left, Right, Up, Down, Spread, Gather, Brush, Bucket };

void DrawGlyph(QPainter& p, const QRectF& r, Glyph glyph, bool chosen) {
    const QColor c = GlyphColour(chosen);
    const QPointF m = r.center();
    switch (glyph) {
    case Glyph::Left:
        Arrow(p, m + QPointF(7, 0), m + QPointF(-7, 0), c);
        break;
    case Glyph::Right:
        Arrow(p, m + QPointF(-7, 0), m + QPointF(7, 0), c);
        break;
    case Glyph::Up:
        Arrow(p, m + QPointF(0, 6), m + QPointF(0, -6), c);
        break;
    case Glyph::Down:
        Arrow(p, m + QPointF(0, -6), m + QPointF(0, 6), c);
        break;
    case Glyph::Spread:
        Arrow(p, m + QPointF(-3, 0), m + QPointF(-11, 0), c);
        Arrow(p, m + QPointF(3, 0), m + QPointF(11, 0), c);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(m, 1.8, 1.8);
        break;
    case Glyph::Gather:
        Arrow(p, m + QPointF(-12, 0), m + QPointF(-4, 0), c);
        Arrow(p, m + QPointF(12, 0), m + QPointF(4, 0), c);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(m, 1.8, 1.8);
        break;
    case Glyph::Brush: {
        // A brush: handle, ferrule and a painted tip.
        p.save();
        p.translate(m);
        p.rotate(-40);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(-1.5, -9, 3, 9), 1.5, 1.5);
        p.setBrush(c.darker(chosen ? 110 : 130));
        p.drawRect(QRectF(-2.5, 0, 5, 2.5));
        p.setBrush(chosen ? QColor(0xff, 0xd6, 0x0a) : kMark);
        QPainterPath tip;
        tip.moveTo(-2.5, 2.5);
        tip.lineTo(2.5, 2.5);
        tip.quadTo(2.5, 7, 0, 9);
        tip.quadTo(-2.5, 7, -2.5, 2.5);
        p.drawPath(tip);
        p.restore();
        break;
    }
    case Glyph::Bucket: {
        // A bucket pouring the base colour.
        p.save();
        p.translate(m + QPointF(-1, 0));
        p.rotate(-20);
        p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath body;
        body.moveTo(-6, -4);
        body.lineTo(-4.5, 6);
        body.lineTo(4.5, 6);
        body.lineTo(6, -4);
        p.drawPath(body);
        p.drawArc(QRectF(-6, -9, 12, 10), 0, 180 * 16);
        p.restore();
        p.setPen(Qt::NoPen);
        p.setBrush(chosen ? QColor(0x5a, 0xd8, 0xff).lighter(130) : kAccent);
        p.drawEllipse(m + QPointF(8.5, 4.5), 2.4, 2.4);
        break;
    }
    }
}

// ---- Fixed colours --------------------------------------------------------------------------

void DrawSwatch(QPainter& p, const QRectF& r, const QColor& colour, bool chosen) {
    const QRectF body = r.adjusted(2, 2, -2, -2);
    if (chosen) {
        p.setPen(Qt::NoPen);
        for (int i = 2; i >= 1; --i) {
            p.setBrush(WithAlpha(colour, 40));
            p.drawRoundedRect(body.adjusted(-i, -i, i, i), 6 + i, 6 + i);
        }
    }
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, chosen ? colour.lighter(115) : colour.darker(150));
    fill.setColorAt(1, chosen ? colour : colour.darker(190));
    p.setBrush(fill);
    p.setPen(chosen ? QPen(QColor(0xff, 0xff, 0xff), 1.6) : QPen(QColor(0, 0, 0, 120), 1));
    p.drawRoundedRect(body.adjusted(0.8, 0.8, -0.8, -0.8), 6, 6);
    if (chosen) {
        const QPointF m = body.center();
        p.setPen(QPen(colour.lightness() > 150 ? QColor(0x1a, 0x1a, 0x1a) : QColor(Qt::white), 2.2,
                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(
            QList<QPointF>{m + QPointF(-5, 0), m + QPointF(-1.5, 3.5), m + QPointF(5, -4)});
    }
}

// ---- Busy animation -------------------------------------------------------------------------

void DrawSpinnerFrame(QPainter& p, const QRectF& r, int frame) {
    const QPointF m = r.center();
    const int dots = 10;
    const double radius = std::min(r.width(), r.height()) / 2 - 4;
    for (int i = 0; i < dots; ++i) {
        // The head dot moves one place per frame; the dots behind it fade out.
        const int age = (frame - i + dots) % dots;
        const double angle = 2 * std::numbers::pi * i / dots - std::numbers::pi / 2;
        const QPointF centre = m + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
        const int alpha = std::max(35, 255 - age * 40);
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(kAccent, alpha));
        p.drawEllipse(centre, age == 0 ? 2.6 : 2.1, age == 0 ? 2.6 : 2.1);
    }
}

} // namespace

std::vector<NamedBitmap> RenderPanelBitmaps(const Layout& layout, const QImage& background) {
    std::vector<NamedBitmap> out;
    auto add = [&](QString name, std::string_view key, const Drawing& drawing) {
        out.push_back({std::move(name), Draw(layout, background, key, drawing)});
    };

    // Lighting view switch.
    add("dengup.bmp", "CONTROL_DengStaPic", [](QPainter& p, const QRectF& r) {
        DrawToggle(p, r, false, QBrush());
        DrawBulb(p, QPointF(r.center().x() + 8, r.center().y()), QColor(0x6a, 0x71, 0x7d));
    });
    add("dengdown.bmp", "CONTROL_DengStaPic", [](QPainter& p, const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, kAccentDeep);
        g.setColorAt(1, kAccent);
        DrawToggle(p, r, true, g);
        DrawBulb(p, QPointF(r.center().x() - 8, r.center().y()), QColor(0xff, 0xff, 0xff));
    });

    // Brightness slider: 0-4; speed slider: 6-10. The rest of 0-25 are loaded but never shown:
    // plain tracks of the same size.
    for (int k = 0; k <= 4; ++k) {
        add(QString::number(k) + ".bmp", "CONTROL_LightSlider",
            [k](QPainter& p, const QRectF& r) { DrawSlider(p, r, k, kAccentDeep, kAccent); });
        add(QString::number(6 + k) + ".bmp", "CONTROL_SpeedSlider",
            [k](QPainter& p, const QRectF& r) {
                DrawSlider(p, r, k, QColor(0x5b, 0x3f, 0xc4), QColor(0xb9, 0x9c, 0xff));
            });
    }
    for (int n : {5, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25}) {
        add(QString::number(n) + ".bmp", n == 5 ? "CONTROL_LightSlider" : "CONTROL_SpeedSlider",
            [](QPainter& p, const QRectF& r) { DrawSlider(p, r, -1, kAccent, kAccent); });
    }

    // Direction pictures: "up" resting, "down" chosen.
    const std::pair<const char*, Glyph> directions[] = {
        {"left", Glyph::Left}, {"right", Glyph::Right},   {"up", Glyph::Up},
        {"down", Glyph::Down}, {"kuosan", Glyph::Spread}, {"julong", Glyph::Gather},
    };
    for (const auto& [name, glyph] : directions) {
        for (bool chosen : {false, true}) {
            QString file = QString::fromLatin1(name);
            if (file == "kuosan" || file == "julong") {
                file += chosen ? "down" : "";
            } else {
                file += chosen ? "down" : "up";
            }
            const Glyph g = glyph;
            add(file + ".bmp", "CONTROL_BLFXLStaPic", [g, chosen](QPainter& p, const QRectF& r) {
                DrawPictureButton(p, r, chosen);
                DrawGlyph(p, r, g, chosen);
            });
        }
    }

    // Multicolour switch.
    add("sjsup.bmp", "CONTROL_HXsjsStaPic",
        [](QPainter& p, const QRectF& r) { DrawToggle(p, r, false, QBrush()); });
    add("sjsdown.bmp", "CONTROL_HXsjsStaPic", [](QPainter& p, const QRectF& r) {
        DrawToggle(p, r, true, Rainbow(r.adjusted(8, 0, -8, 0)));
    });

    // Fixed colours: plain and chosen.
    const std::tuple<const char*, const char*, QColor> swatches[] = {
        {"hong", "CONTROL_HONGPIC", QColor(0xff, 0x3b, 0x30)},
        {"huang", "CONTROL_HUANGPIC", QColor(0xff, 0xd6, 0x0a)},
        {"lv", "CONTROL_LVPIC", QColor(0x34, 0xc7, 0x59)},
        {"lan", "CONTROL_LANPIC", QColor(0x0a, 0x84, 0xff)},
    };
    for (const auto& [name, key, colour] : swatches) {
        const QColor c = colour;
        add(QString::fromLatin1(name) + ".bmp", key,
            [c](QPainter& p, const QRectF& r) { DrawSwatch(p, r, c, false); });
        add(QString::fromLatin1(name) + "ok.bmp", key,
            [c](QPainter& p, const QRectF& r) { DrawSwatch(p, r, c, true); });
    }

    // Painting tools: 1 paints with the paint colour, 2 with the base colour.
    for (auto [n, glyph, key] : {std::tuple{1, Glyph::Brush, "CONTROL_USERgjStaPic1"},
                                 std::tuple{2, Glyph::Bucket, "CONTROL_USERgjStaPic2"}}) {
        for (bool chosen : {false, true}) {
            const Glyph g = glyph;
            add(QStringLiteral("user%1%2.bmp").arg(n).arg(chosen ? "down" : "up"), key,
                [g, chosen](QPainter& p, const QRectF& r) {
                    DrawPictureButton(p, r, chosen);
                    DrawGlyph(p, r, g, chosen);
                });
        }
    }

    // Busy animation.
    for (int frame = 1; frame <= 10; ++frame) {
        add(QStringLiteral("jdt%1.bmp").arg(frame), "CONTROL_JDTStatic",
            [frame](QPainter& p, const QRectF& r) { DrawSpinnerFrame(p, r, frame - 1); });
    }
    return out;
}

} // namespace kovrel::skingen

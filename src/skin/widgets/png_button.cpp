#include "skin/widgets/png_button.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "skin/widgets/skin_tool_tip.h"

namespace kovrel::skin {

namespace {

// The caption is the window text, at most 259 characters.
constexpr int kMaxCaptionLength = 259;

constexpr int kNormalWeight = 400;
constexpr int kRotatedWeight = 956;

} // namespace

CPngButton::CPngButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(kHoverTime);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CPngButton::OnMouseHover);
}

CPngButton::~CPngButton() = default;

void CPngButton::SetSkinImages(int x, int y, const QImage* normal, const QImage* hover,
                               const QImage* pressed, const QImage* disabled,
                               const QImage* checked) {
    m_origin = QPoint(x, y);
    SetStateImages(normal, hover, pressed, disabled, checked);
}

void CPngButton::SetStateImages(const QImage* normal, const QImage* hover, const QImage* pressed,
                                const QImage* disabled, const QImage* checked) {
    m_faces[0] = normal;
    m_faces[1] = hover;
    m_faces[2] = pressed;
    m_faces[3] = disabled;
    m_faces[4] = checked;
    ClearMouseState();
    Repaint();
}

void CPngButton::SetColorModeImages(const QImage* pictureA, const QImage* pictureB, bool on,
                                    bool selectorB) {
    m_colorA = pictureA;
    m_colorB = pictureB;
    m_colorMode = on;
    m_colorSelectorB = selectorB;
    ClearMouseState();
    Repaint();
}

void CPngButton::SetChecked(bool checked, bool repaintNow) {
    m_checked = checked;
    if (repaintNow) {
        Repaint();
    }
}

void CPngButton::SetCaptionFont(bool shown, int size, const QString& fontName, ColorRef color,
                                unsigned format) {
    m_captionShown = shown;
    m_captionSize = size;
    m_captionFontName = fontName;
    m_captionColor = color;
    m_captionFormat = format;
    update();
}

void CPngButton::SetCaptionMargins(int left, int right, int top, int bottom) {
    m_marginLeft = left;
    m_marginRight = right;
    m_marginTop = top;
    m_marginBottom = bottom;
    update();
}

void CPngButton::SetCaptionAngle(int escapement, bool rotated) {
    m_escapement = escapement;
    m_rotated = rotated;
    update();
}

void CPngButton::SetFrameMode(ColorRef color, int amount, bool on) {
    m_frameColor = color;
    m_frameAmount = (on && amount > kMaxFrameAmount) ? kMaxFrameAmount : amount;
    m_frameOn = on;
    Repaint();
}

void CPngButton::SetPaintCallback(PaintCallback callback) {
    m_paintCallback = std::move(callback);
}

void CPngButton::SetTooltipText(const QString& text, bool active) {
    if (text.isEmpty()) {
        return;
    }
    if (!m_toolTip) {
        m_toolTip = new CSkinToolTip(this);
        m_toolTip->Activate(true);
    }
    m_toolTipText = text;
    if (!m_toolTip->HasTool()) {
        m_toolTip->AddTool(rect());
    }
    m_toolTip->SetText(text);
    m_toolTip->SetAutomaticDelay(kToolTipDelay);
    m_toolTip->Activate(active);
}

void CPngButton::Repaint() {
    repaint();
}

CPngButton::Face CPngButton::ChosenFace() const {
    if (!isEnabled()) {
        return Face::Disabled;
    }
    if (m_colorMode) {
        return m_colorSelectorB ? Face::ColorB : Face::ColorA;
    }
    if (isDown()) {
        return Face::Pressed;
    }
    if (m_hover) {
        return Face::Hover;
    }
    if (m_checked) {
        return Face::Checked;
    }
    return Face::Normal;
}

const QImage* CPngButton::FaceImage(Face face) const {
    switch (face) {
    case Face::ColorA:
        return m_colorA;
    case Face::ColorB:
        return m_colorB;
    default:
        return m_faces[static_cast<int>(face)];
    }
}

QFont CPngButton::CaptionFont() const {
    QFont font(m_captionFontName);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, m_captionSize * logicalDpiY() / 72));
    font.setWeight(static_cast<QFont::Weight>(m_rotated ? kRotatedWeight : kNormalWeight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

CaptionRect CPngButton::CaptionTextRect() const {
    CaptionRect rect{m_marginLeft, m_marginTop, width() + m_marginRight, height() + m_marginBottom};
    if (m_rotated) {
        const QFontMetrics metrics(CaptionFont());
        const QString caption = text().left(kMaxCaptionLength);
        rect = RotatedCaptionRect(rect, metrics.horizontalAdvance(caption), metrics.height(),
                                  m_escapement);
    }
    return rect;
}

void CPngButton::ClearMouseState() {
    m_hover = false;
    m_tracking = false;
    m_hoverTimer.stop();
    setDown(false);
}

void CPngButton::OnMouseHover() {
    m_hover = true;
    update();
    delete m_toolTip;
    m_toolTip = nullptr;
    if (!m_toolTipText.isEmpty()) {
        m_toolTip = new CSkinToolTip(this);
        m_toolTip->AddTool(rect());
        m_toolTip->SetText(m_toolTipText);
        m_toolTip->SetAutomaticDelay(kToolTipDelay);
        m_toolTip->Activate(true);
        m_toolTip->Popup();
    }
}

bool CPngButton::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip:
        // The button's own tool tip shows on hover; the framework's would come late.
        return true;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Leave:
        if (m_toolTip) {
            m_toolTip->RelayEvent(event);
        }
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

void CPngButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_tracking) {
        m_tracking = true;
        m_hoverTimer.start();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CPngButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // Two quick clicks are two clicks: the second press arrives as a double-click.
    QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->scenePosition(),
                      event->globalPosition(), event->button(), event->buttons(),
                      event->modifiers(), event->pointingDevice());
    mousePressEvent(&press);
    event->setAccepted(press.isAccepted());
}

void CPngButton::leaveEvent(QEvent* event) {
    m_tracking = false;
    m_hover = false;
    m_hoverTimer.stop();
    update();
    QAbstractButton::leaveEvent(event);
}

void CPngButton::paintEvent(QPaintEvent*) {
    const Face face = ChosenFace();
    PaintSurface(face);
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_surface);
    }
    if (m_paintCallback) {
        m_paintCallback(this, face == Face::Normal);
    }
}

void CPngButton::PaintSurface(Face face) {
    if (m_surface.size() != size()) {
        QImage resized(size(), QImage::Format_ARGB32_Premultiplied);
        resized.fill(Qt::transparent);
        if (!m_surface.isNull()) {
            QPainter keep(&resized);
            keep.drawImage(0, 0, m_surface);
        }
        m_surface = std::move(resized);
    }
    if (m_surface.isNull()) {
        return;
    }
    QPainter painter(&m_surface);
    if (m_frameOn) {
        QPen pen(ToQColor(m_frameColor));
        pen.setWidth(2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(1, 1, width() - 3, height() - 3));
    } else if (const QImage* picture = FaceImage(face)) {
        // The face sits one pixel up and to the left of the origin in the window pictures.
        const QRect wanted(m_origin.x() - 1, m_origin.y() - 1, width(), height());
        const QRect source = wanted.intersected(picture->rect());
        if (!source.isEmpty()) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(source.topLeft() - wanted.topLeft(), *picture, source);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
    if (m_captionShown) {
        DrawCaption(painter);
    }
}

void CPngButton::DrawCaption(QPainter& painter) {
    const QString caption = text().left(kMaxCaptionLength);
    if (caption.isEmpty()) {
        return;
    }
    const QFont font = CaptionFont();
    painter.setFont(font);
    painter.setPen(ToQColor(m_captionColor));
    const CaptionRect rect = CaptionTextRect();
    if (m_escapement == 0) {
        painter.drawText(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                         QtTextFlags(m_captionFormat), caption);
        return;
    }
    // A turned text starts where the unturned one would and turns about that point.
    const QFontMetrics metrics(font);
    const CaptionOrigin origin = CaptionTextOrigin(rect, metrics.horizontalAdvance(caption),
                                                   metrics.height(), m_captionFormat);
    painter.save();
    painter.translate(origin.x, origin.y);
    painter.rotate(-m_escapement / 10.0);
    painter.drawText(0, metrics.ascent(), caption);
    painter.restore();
}

} // namespace kovrel::skin

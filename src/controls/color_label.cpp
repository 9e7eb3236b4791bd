#include "controls/color_label.h"

#include <QFontMetrics>
#include <QPainter>

namespace kovrel::controls {

CColorLabel::CColorLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void CColorLabel::SetWindowText(const QString& text) {
    m_text = text;
    updateGeometry();
    update();
}

void CColorLabel::SetTextColor(const QColor& color) {
    m_color = color;
    update();
}

void CColorLabel::SetAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

QSize CColorLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return metrics.size(0, m_text);
}

void CColorLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(m_color);
    painter.drawText(rect(), static_cast<int>(m_alignment) | Qt::TextWordWrap, m_text);
}

} // namespace kovrel::controls

#include "skin/widgets/skin_tool_tip.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>

namespace kovrel::skin {

CSkinToolTip::CSkinToolTip(QWidget* owner) : QObject(owner), m_owner(owner) {
    m_initialTimer.setSingleShot(true);
    m_autoPopTimer.setSingleShot(true);
    connect(&m_initialTimer, &QTimer::timeout, this, &CSkinToolTip::Popup);
    connect(&m_autoPopTimer, &QTimer::timeout, this, &CSkinToolTip::Hide);
}

CSkinToolTip::~CSkinToolTip() {
    Hide();
}

void CSkinToolTip::AddTool(const QRect& rect) {
    m_tool = rect;
    m_hasTool = true;
}

void CSkinToolTip::SetAutomaticDelay(int milliseconds) {
    m_initialDelay = milliseconds;
    m_autoPopDelay = milliseconds * 10;
    m_reshowDelay = milliseconds / 5;
}

void CSkinToolTip::Activate(bool active) {
    m_active = active;
    if (!active) {
        Hide();
    }
}

void CSkinToolTip::Popup() {
    m_initialTimer.stop();
    if (!m_active || m_text.isEmpty() || !m_owner) {
        return;
    }
    const QRect tool = m_hasTool ? m_tool : m_owner->rect();
    QToolTip::showText(QCursor::pos(), m_text, m_owner, tool, m_autoPopDelay);
    m_shown = true;
    m_autoPopTimer.start(m_autoPopDelay);
}

void CSkinToolTip::Hide() {
    m_initialTimer.stop();
    m_autoPopTimer.stop();
    if (m_shown) {
        m_shown = false;
        QToolTip::hideText();
    }
}

void CSkinToolTip::RelayEvent(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!m_shown && m_active) {
            const auto* move = static_cast<const QMouseEvent*>(event);
            const QRect tool = m_hasTool ? m_tool : m_owner->rect();
            if (tool.contains(move->position().toPoint()) && !m_initialTimer.isActive()) {
                m_initialTimer.start(m_initialDelay);
            }
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Leave:
        Hide();
        break;
    default:
        break;
    }
}

} // namespace kovrel::skin

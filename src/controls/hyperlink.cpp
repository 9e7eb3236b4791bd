#include "controls/hyperlink.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

#include "platform/launcher.h"
#include "platform/services.h"

namespace kovrel::controls {

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(colours);
}

void CHyperLink::SetWindowText(const QString& text) {
    setText(text);
}

bool CHyperLink::OpenURL() const {
    if (m_url.isEmpty()) {
        return false;
    }
    if (platform::Launcher* launcher = platform::CurrentServices().launcher) {
        return launcher->OpenDocument(m_url.toStdString());
    }
    return QDesktopServices::openUrl(QUrl(m_url));
}

void CHyperLink::mousePressEvent(QMouseEvent* event) {
    // The link takes its own clicks; the window behind must not start moving.
    event->accept();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        if (OpenURL()) {
            emit opened(m_url);
        }
    }
}

} // namespace kovrel::controls

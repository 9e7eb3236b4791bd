#pragma once
// Small helpers of the widget tests.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWidget>

#include <functional>

namespace kovrel::skin::test {

// Runs the event loop until `done` holds; false when it did not within a generous limit (this
// waits for something to happen, it does not measure how long it takes).
inline bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > 10000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::LeftButton,
                      Qt::MouseButtons buttons = Qt::NoButton) {
    const QPointF local(at);
    const QPointF global(widget.mapToGlobal(at));
    QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// A left click: press and release.
inline void Click(QWidget& widget, QPoint at = {2, 2}) {
    SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

inline QColor PixelOf(QWidget& widget, QPoint at) {
    return widget.grab().toImage().pixelColor(at);
}

} // namespace kovrel::skin::test

#include "app/tray_status_relay.h"

namespace kovrel::app {

TrayStatusRelay::TrayStatusRelay(QObject* parent) : QObject(parent) {}

void TrayStatusRelay::SetSink(TrayIconSink* sink) {
    sink_ = sink;
}

void TrayStatusRelay::SetCurrentIcon(int iconId) {
    std::lock_guard lock(mutex_);
    current_ = iconId;
}

int TrayStatusRelay::CurrentIcon() const {
    std::lock_guard lock(mutex_);
    return current_;
}

int TrayStatusRelay::RememberedIcon() const {
    std::lock_guard lock(mutex_);
    return remembered_;
}

void TrayStatusRelay::SetTrayStatus(int activity, int icon) {
    std::lock_guard lock(mutex_);
    int show = 0;
    if (activity == 1) {
        show = kTrayIconActive;
    } else if (icon != 0) {
        show = icon;
        remembered_ = icon;
    } else {
        show = remembered_;
    }
    if (show == current_) {
        return;
    }
    current_ = show;
    // Queued under the lock: the interface thread receives the changes in the order they were
    // decided here, whichever threads decided them.
    QMetaObject::invokeMethod(
        this, [this, show] { Forward(show); }, Qt::QueuedConnection);
}

void TrayStatusRelay::Forward(int iconId) {
    if (sink_ != nullptr) {
        sink_->ShowStatusIcon(iconId);
    }
}

} // namespace kovrel::app

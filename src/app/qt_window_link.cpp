#include "app/qt_window_link.h"

#include <QThread>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace kovrel::app {

namespace {
constexpr std::uint32_t kShortestTimerPeriod = 10;
}

struct QtWindowLink::PendingSend {
    bool done = false;
    std::intptr_t result = 0;
};

QtWindowLink::QtWindowLink(QObject* parent) : QObject(parent) {}

QtWindowLink::~QtWindowLink() {
    Close();
}

bool QtWindowLink::OnInterfaceThread() const {
    return QThread::currentThread() == thread();
}

void QtWindowLink::SetHandler(WindowMessageHandler* handler) {
    handler_ = handler;
    std::lock_guard lock(mutex_);
    hasHandler_ = handler != nullptr && !closed_;
}

void QtWindowLink::Close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        hasHandler_ = false;
        wishes_.clear();
    }
    answered_.notify_all();
    handler_ = nullptr;
    for (auto& [id, entry] : timers_) {
        entry.timer->stop();
    }
}

std::intptr_t QtWindowLink::Deliver(std::uint32_t message, platform::WParam wParam,
                                    platform::LParam lParam) {
    return handler_ != nullptr ? handler_->HandleWindowMessage(message, wParam, lParam) : 0;
}

std::intptr_t QtWindowLink::SendMessage(std::uint32_t message, platform::WParam wParam,
                                        platform::LParam lParam) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return 0;
        }
    }
    if (OnInterfaceThread()) {
        return Deliver(message, wParam, lParam);
    }
    auto pending = std::make_shared<PendingSend>();
    QMetaObject::invokeMethod(
        this,
        [this, pending, message, wParam, lParam] {
            const std::intptr_t result = Deliver(message, wParam, lParam);
            {
                std::lock_guard lock(mutex_);
                pending->done = true;
                pending->result = result;
            }
            answered_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending->done || closed_; });
    return pending->done ? pending->result : 0;
}

bool QtWindowLink::PostMessage(std::uint32_t message, platform::WParam wParam,
                               platform::LParam lParam) {
    {
        std::lock_guard lock(mutex_);
        if (!hasHandler_) {
            return false;
        }
    }
    QMetaObject::invokeMethod(
        this, [this, message, wParam, lParam] { Deliver(message, wParam, lParam); },
        Qt::QueuedConnection);
    return true;
}

void QtWindowLink::SetTimer(std::uint32_t id, std::uint32_t milliseconds) {
    Wish(id, true, milliseconds);
}

void QtWindowLink::KillTimer(std::uint32_t id) {
    Wish(id, false, 0);
}

bool QtWindowLink::IsTimerArmed(std::uint32_t id) const {
    std::lock_guard lock(mutex_);
    const auto wish = wishes_.find(id);
    return wish != wishes_.end() && wish->second.armed;
}

void QtWindowLink::Wish(std::uint32_t id, bool armed, std::uint32_t milliseconds) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return;
        }
        wishes_[id] = TimerWish{armed, milliseconds, ++generation_};
    }
    if (OnInterfaceThread()) {
        ApplyTimer(id);
    } else {
        QMetaObject::invokeMethod(
            this, [this, id] { ApplyTimer(id); }, Qt::QueuedConnection);
    }
}

void QtWindowLink::ApplyTimer(std::uint32_t id) {
    TimerWish wish;
    {
        std::lock_guard lock(mutex_);
        const auto found = wishes_.find(id);
        if (found == wishes_.end()) {
            return; // closed meanwhile
        }
        wish = found->second;
    }
    Timer& entry = timers_[id];
    if (entry.appliedGeneration == wish.generation) {
        return; // a later call already brought it in line
    }
    entry.appliedGeneration = wish.generation;
    if (entry.timer == nullptr) {
        entry.timer = new QTimer(this);
        connect(entry.timer, &QTimer::timeout, this, [this, id] { TimerFired(id); });
    }
    if (wish.armed) {
        // Arming again restarts the period, as re-setting a window timer does.
        entry.timer->start(static_cast<int>(std::max(wish.milliseconds, kShortestTimerPeriod)));
    } else {
        entry.timer->stop();
    }
}

void QtWindowLink::TimerFired(std::uint32_t id) {
    if (!IsTimerArmed(id)) {
        return; // killed from another thread; the stop is on its way
    }
    if (handler_ != nullptr) {
        handler_->HandleTimer(id);
    }
}

} // namespace kovrel::app

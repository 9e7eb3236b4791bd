#pragma once
// The window link on the interface thread. Messages and timers reach the main window's handler
// there: SendMessage from another thread queues the message and waits for the handler's result,
// on the interface thread it calls the handler at once; PostMessage queues; timers are QTimers
// keyed by id, armed and killed from any thread.
//
// Shutdown: Close() drops the handler, stops every timer and releases every sender still
// waiting (they get 0), so a worker blocked in SendMessage can be joined from the interface
// thread without waiting for itself.

#include "app/window_message_handler.h"
#include "platform/window_link.h"

#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>

class QTimer;

namespace kovrel::app {

class QtWindowLink final : public QObject, public platform::WindowLink {
    Q_OBJECT
public:
    // Created on the interface thread; that thread's event loop delivers everything.
    explicit QtWindowLink(QObject* parent = nullptr);
    ~QtWindowLink() override;

    // The main window registers itself (interface thread); nullptr means no window.
    void SetHandler(WindowMessageHandler* handler);
    // See above; interface thread. Afterwards every call answers 0 or false and does nothing.
    void Close();

    std::intptr_t SendMessage(std::uint32_t message, platform::WParam wParam,
                              platform::LParam lParam) override;
    bool PostMessage(std::uint32_t message, platform::WParam wParam,
                     platform::LParam lParam) override;
    // A period below 10 ms runs at 10 ms, as window timers do, so that a zero-delay timer whose
    // handler does not kill it at once cannot keep the interface thread busy.
    void SetTimer(std::uint32_t id, std::uint32_t milliseconds) override;
    void KillTimer(std::uint32_t id) override;

    // Whether timer `id` is armed now (interface thread; for tests).
    bool IsTimerArmed(std::uint32_t id) const;

private:
    struct PendingSend;

    // What the callers last asked of a timer. Calls from any thread change it under the lock
    // in the order they happen; the interface thread then brings the QTimer in line, so a kill
    // never loses against an earlier arm still on its way.
    struct TimerWish {
        bool armed = false;
        std::uint32_t milliseconds = 0;
        std::uint64_t generation = 0;
    };
    struct Timer {
        QTimer* timer = nullptr;
        std::uint64_t appliedGeneration = 0;
    };

    bool OnInterfaceThread() const;
    std::intptr_t Deliver(std::uint32_t message, platform::WParam wParam, platform::LParam lParam);
    void Wish(std::uint32_t id, bool armed, std::uint32_t milliseconds);
    void ApplyTimer(std::uint32_t id);
    void TimerFired(std::uint32_t id);

    // Interface thread only.
    WindowMessageHandler* handler_ = nullptr;
    std::map<std::uint32_t, Timer> timers_;

    // Shared with the senders on other threads.
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    bool closed_ = false;
    bool hasHandler_ = false;
    std::map<std::uint32_t, TimerWish> wishes_;
    std::uint64_t generation_ = 0;
};

} // namespace kovrel::app

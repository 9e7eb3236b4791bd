#pragma once
// The library's connection to Varnolt, run by one thread of the library's own. The thread
// connects (and reconnects whenever the daemon goes away), reads the daemon's messages, keeps
// the keyboard count the daemon pushes and calls the registered callbacks, one notification at
// a time. Callers on other threads send through Send().
//
// A daemon that goes away is given a grace period: the count stays as it was for
// kCountGrace and only then drops to 0 (with a count notification), so a daemon restart is not
// seen as an unplug.

#include "registrations.h"

#include "varnolt/protocol/messages.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kovrel::ondrel {

inline constexpr std::chrono::milliseconds kCountGrace{2000};
inline constexpr std::chrono::milliseconds kReconnectPause{50};

class DaemonLink {
public:
    explicit DaemonLink(Registrations& registrations) : registrations_(registrations) {}
    ~DaemonLink() { Stop(); }
    DaemonLink(const DaemonLink&) = delete;
    DaemonLink& operator=(const DaemonLink&) = delete;

    // Starts the thread and waits up to `wait` for the daemon's first message. False when the
    // thread could not be started (the wait itself may end without a daemon).
    bool Start(std::chrono::milliseconds wait);
    // Ends the thread and the connection. Not from the link's own thread.
    void Stop();
    bool OnLinkThread() const { return std::this_thread::get_id() == threadId_.load(); }

    // The keyboard count as last pushed by the daemon (held through the grace period).
    int Count() const { return count_.load(); }
    bool Connected() const { return connected_.load(); }

    enum class SendResult { Sent, NoDaemon, Failed };
    SendResult Send(const varnolt::Message& message);

private:
    void Run();
    // One connection's life; returns when it broke or the link stops.
    void Serve(int fd);
    void Handle(const varnolt::Message& message);
    void SetCount(int count);
    void Notify(const OndrelNotification& templ, std::uint32_t code);
    void Disconnect();
    // Sleeps until `until` or a stop request.
    void Pause(std::chrono::steady_clock::time_point until);
    void CheckGrace();

    Registrations& registrations_;
    std::thread thread_;
    std::atomic<std::thread::id> threadId_{};
    int wakeFd_ = -1; // eventfd that interrupts the thread's waits on Stop()
    std::atomic<bool> stop_{false};

    // The socket, replaced only by the link thread and only under sendMutex_, so a sender
    // never writes into a descriptor being closed.
    std::mutex sendMutex_;
    int fd_ = -1;
    std::atomic<bool> connected_{false};

    std::atomic<int> count_{0};
    // Link thread only.
    std::optional<std::chrono::steady_clock::time_point> graceEnd_;

    std::mutex welcomeMutex_;
    std::condition_variable welcomeCv_;
    bool welcomed_ = false;
};

} // namespace kovrel::ondrel

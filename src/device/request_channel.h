#pragma once
// The request channel: the thin layer between the program and the device service. It computes
// the check value of every call, registers the two standing requests (keyboard events, command
// replies), keeps the bank buffer and sends the bank request, and dispatches each notification
// of the service.
//
// Threads. The service calls back on a thread of its own. Nothing on that thread waits for the
// interface thread: the interface thread may itself be waiting for a command's reply, which only
// that thread can deliver. So the bank toggle posts its window message (0x5045) instead of
// sending it, the lighting change arms a timer, and tray-icon work runs on workers.

#include "device/check_value.h"
#include "device/reply_handoff.h"
#include "device/worker_threads.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

namespace kovrel::device {

class ServiceBinding;

// Window messages, timers and tray icons the dispatch uses.
inline constexpr std::uint32_t kBankMessage = 0x5045;          // wParam kBankMessageCode, lParam 0
inline constexpr std::uintptr_t kBankMessageCode = 0x004C4544; // "LED"
inline constexpr std::uint32_t kLightingTimer = 1051;          // armed with 0 ms
inline constexpr int kTrayIconActivity = 142;

// Keyboard event codes the dispatch acts on.
inline constexpr std::uint16_t kEventBankSwitch = 0x02FF;
inline constexpr std::uint16_t kEventLightingChanged = 0x0401;
inline constexpr std::uint16_t kEventActivityEnd = 0x1810;
inline constexpr std::uint16_t kEventActivityBegin = 0x1811;

class RequestChannel {
public:
    // Called on the service's thread with each new keyboard count; it must not block (the
    // presence code starts its device-change worker from it).
    using CountChangedHook = std::function<void(int count)>;

    explicit RequestChannel(const ServiceBinding& service);
    RequestChannel(const RequestChannel&) = delete;
    RequestChannel& operator=(const RequestChannel&) = delete;
    // Stops the dispatch to this channel, cancels its requests and joins its workers.
    ~RequestChannel();

    // The start-up sequence right after Init: bank buffer 0x05, 0x02; register events; clear the
    // waiting flag; register replies. Once per run. Only one channel receives notifications at a
    // time: the last one opened.
    void Open();

    void SetCountChangedHook(CountChangedHook hook);

    // The number of keyboards present; 0 for none, and also when the service refuses the query.
    int QueryDeviceCount();
    // Hands a 64-byte report to RequestWriteOne with the control identifier; the service's result.
    int WriteReport(std::span<const std::uint8_t, ONDREL_REPORT_SIZE> report);
    // DeleteRequestFromUnitId with the LED handle, then RequestStatusWrite with the bank buffer.
    void SendBank();

    ReplyHandOff& Replies() { return replies_; }

    // The G-key bank (0 or 1): bit 0 of the bank buffer's second byte, the only place it is kept.
    int GBank() const { return bank_.load() & 1; }
    std::array<std::uint8_t, ONDREL_BANK_SIZE> BankBuffer() const;

    // What the service's thread runs for one notification.
    void Dispatch(const OndrelNotification& notification);

    // The callback registered with the service (its address counts in check values).
    static OndrelCallback Callback();

private:
    void RegisterEvents();
    void RegisterReplies();
    void DispatchEvent(std::uint16_t event);
    void ToggleBank();
    void StartTrayWorker(std::uint16_t event);

    const ServiceBinding& service_;
    ReplyHandOff replies_;
    // Second byte of the bank buffer; written by the service's thread, read anywhere.
    std::atomic<std::uint8_t> bank_{ONDREL_BANK_BASE};
    // Handles written by the service. Events and replies: at Open; LED: by the bank toggle on
    // the service's thread, under bankMutex_.
    std::uint32_t eventsHandle_ = 0;
    std::uint32_t repliesHandle_ = 0;
    std::mutex bankMutex_;
    std::uint32_t bankHandle_ = 0;
    std::mutex hookMutex_;
    CountChangedHook countChanged_;
    // Serialises the tray-icon workers.
    std::atomic<bool> trayBusy_{false};
    WorkerThreads trayWorkers_;
};

} // namespace kovrel::device

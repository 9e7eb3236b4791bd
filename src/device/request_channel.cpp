#include "device/request_channel.h"

#include "device/service_binding.h"
#include "platform/services.h"
#include "platform/tray_status.h"
#include "platform/window_link.h"

#include <chrono>
#include <thread>

namespace kovrel::device {

namespace {

// The service knows one callback address; it reaches the open channel through this gate. A
// dispatch runs with the gate held, so a channel that detaches (its destructor) waits for a
// dispatch in progress and is never called afterwards.
std::mutex gateMutex;
RequestChannel* openChannel = nullptr;

int NotificationCallback(const OndrelNotification* notification) {
    if (notification == nullptr) {
        return 1;
    }
    std::lock_guard lock(gateMutex);
    if (openChannel != nullptr) {
        openChannel->Dispatch(*notification);
    }
    return 1;
}

} // namespace

OndrelCallback RequestChannel::Callback() {
    return &NotificationCallback;
}

RequestChannel::RequestChannel(const ServiceBinding& service) : service_(service) {}

RequestChannel::~RequestChannel() {
    {
        std::lock_guard lock(gateMutex);
        if (openChannel == this) {
            openChannel = nullptr;
        }
    }
    if (service_.Ready()) {
        const auto& ondrel = service_.Exports();
        ondrel.DeleteRequestFromUnitId(eventsHandle_);
        ondrel.DeleteRequestFromUnitId(repliesHandle_);
        std::lock_guard lock(bankMutex_);
        ondrel.DeleteRequestFromUnitId(bankHandle_);
    }
    trayWorkers_.JoinAll();
}

void RequestChannel::Open() {
    bank_.store(ONDREL_BANK_BASE);
    {
        std::lock_guard lock(gateMutex);
        openChannel = this;
    }
    RegisterEvents();
    replies_.Clear();
    RegisterReplies();
}

void RequestChannel::SetCountChangedHook(CountChangedHook hook) {
    std::lock_guard lock(hookMutex_);
    countChanged_ = std::move(hook);
}

void RequestChannel::RegisterEvents() {
    if (!service_.Ready()) {
        return;
    }
    const auto& ondrel = service_.Exports();
    ondrel.DeleteRequestFromUnitId(eventsHandle_);
    ondrel.RequestAsyncRead(EventId().data(), Callback(), ONDREL_CODE_CONS,
                            ComputeCheckValue(EventId(), Callback(), ONDREL_CODE_CONS),
                            &eventsHandle_);
}

void RequestChannel::RegisterReplies() {
    if (!service_.Ready()) {
        return;
    }
    const auto& ondrel = service_.Exports();
    ondrel.DeleteRequestFromUnitId(repliesHandle_);
    ondrel.RequestAsyncRead(ControlId().data(), Callback(), ONDREL_CODE_CTRL,
                            ComputeCheckValue(ControlId(), Callback(), ONDREL_CODE_CTRL),
                            &repliesHandle_);
}

int RequestChannel::QueryDeviceCount() {
    if (!service_.Ready()) {
        return 0;
    }
    const int count = service_.Exports().RequestGetDeviceCount(
        ControlId().data(), nullptr, 0, ComputeCheckValue(ControlId(), nullptr, 0), nullptr);
    return count > 0 ? count : 0;
}

int RequestChannel::WriteReport(std::span<const std::uint8_t, ONDREL_REPORT_SIZE> report) {
    if (!service_.Ready()) {
        return ONDREL_ERROR_NOT_READY;
    }
    return service_.Exports().RequestWriteOne(
        ControlId().data(), nullptr, 0, report.data(), ONDREL_REPORT_SIZE,
        ComputeCheckValue(ControlId(), nullptr, 0, report), nullptr);
}

std::array<std::uint8_t, ONDREL_BANK_SIZE> RequestChannel::BankBuffer() const {
    return {ONDREL_REPORT_ID_BANK, bank_.load()};
}

void RequestChannel::SendBank() {
    if (!service_.Ready()) {
        return;
    }
    const auto buffer = BankBuffer();
    const auto& ondrel = service_.Exports();
    // Not under the command lock: this runs on the service's thread, which must never wait for
    // a command that is itself waiting for this thread to deliver its reply.
    std::lock_guard lock(bankMutex_);
    ondrel.DeleteRequestFromUnitId(bankHandle_);
    ondrel.RequestStatusWrite(
        BankId().data(), Callback(), ONDREL_CODE_LED, buffer.data(), ONDREL_BANK_SIZE,
        ComputeCheckValue(BankId(), Callback(), ONDREL_CODE_LED, buffer), &bankHandle_);
}

void RequestChannel::Dispatch(const OndrelNotification& notification) {
    if (notification.kind == ONDREL_KIND_INPUT && notification.code == ONDREL_CODE_CONS) {
        DispatchEvent(notification.event);
    } else if (notification.kind == ONDREL_KIND_INPUT && notification.code == ONDREL_CODE_CTRL) {
        if (notification.data != nullptr && notification.length > 0) {
            replies_.Deliver(std::span<const std::uint8_t>(
                notification.data, static_cast<std::size_t>(notification.length)));
        }
    } else if (notification.kind == ONDREL_KIND_COUNT && notification.code == ONDREL_CODE_CTRL) {
        CountChangedHook hook;
        {
            std::lock_guard lock(hookMutex_);
            hook = countChanged_;
        }
        if (hook) {
            hook(notification.length);
        }
    }
}

void RequestChannel::DispatchEvent(std::uint16_t event) {
    switch (event) {
    case kEventBankSwitch:
        ToggleBank();
        break;
    case kEventLightingChanged:
        if (auto* window = platform::CurrentServices().window) {
            window->SetTimer(kLightingTimer, 0);
        }
        break;
    case kEventActivityEnd:
    case kEventActivityBegin:
        StartTrayWorker(event);
        break;
    default: // 0x1801 to 0x1804 and every other code: no effect
        break;
    }
}

void RequestChannel::ToggleBank() {
    bank_.fetch_xor(1);
    SendBank();
    // Posted, not sent: this thread delivers command replies, and the interface thread may be
    // waiting for one right now. The window's handler redraws the bank indicator and relabels
    // the G buttons from GBank() on the interface thread.
    if (auto* window = platform::CurrentServices().window) {
        window->PostMessage(kBankMessage, kBankMessageCode, 0);
    }
}

void RequestChannel::StartTrayWorker(std::uint16_t event) {
    trayWorkers_.Start([this, event] {
        bool expected = false;
        while (!trayBusy_.compare_exchange_weak(expected, true)) {
            expected = false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (auto* tray = platform::CurrentServices().tray) {
            if (event == kEventActivityBegin) {
                tray->SetTrayStatus(1, kTrayIconActivity);
            } else {
                tray->SetTrayStatus(0, 0);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        trayBusy_.store(false);
    });
}

} // namespace kovrel::device

#include "device/device_presence.h"

#include "device/arrival.h"
#include "device/command_report.h"
#include "device/current_profile.h"
#include "device/device_link.h"
#include "device/request_channel.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/tray_status.h"
#include "platform/window_link.h"

namespace kovrel::device {

DevicePresence::DevicePresence(CommandProtocol& protocol, ConnectedKeyboard& keyboard,
                               CurrentProfile& currentProfile)
    : protocol_(protocol), keyboard_(keyboard), currentProfile_(currentProfile),
      hookGate_(std::make_shared<HookGate>()) {
    hookGate_->presence = this;
    worker_ = std::thread([this] { Run(); });
}

DevicePresence::DevicePresence(DeviceLink& link)
    : DevicePresence(link.protocol, link.keyboard, link.currentProfile) {}

DevicePresence::~DevicePresence() {
    Stop();
}

void DevicePresence::SetLayoutFailureText(TextSource source) {
    std::lock_guard lock(mutex_);
    layoutFailureText_ = std::move(source);
}

void DevicePresence::SetHideWindow(HideWindow hide) {
    std::lock_guard lock(mutex_);
    hideWindow_ = std::move(hide);
}

void DevicePresence::Attach(RequestChannel& channel) {
    {
        std::lock_guard lock(mutex_);
        channel_ = &channel;
    }
    // The channel calls a copy of its hook outside its own lock, so a hook may still be running
    // when it is replaced; it reaches this object only through the gate, which Stop closes.
    channel.SetCountChangedHook([gate = hookGate_](int count) {
        std::lock_guard lock(gate->mutex);
        if (gate->presence != nullptr) {
            gate->presence->CountChanged(count);
        }
    });
}

void DevicePresence::CountChanged(int n) {
    if (n < 0) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        queue_.push_back(n);
    }
    wake_.notify_all();
}

void DevicePresence::SetWindowInitialised(bool initialised) {
    {
        // Under the lock, so that a worker between its check and its wait cannot miss it.
        std::lock_guard lock(mutex_);
        initialised_.store(initialised);
    }
    wake_.notify_all();
}

void DevicePresence::SetFirstConnection(bool done) {
    firstConnection_.store(done);
}

void DevicePresence::Stop() {
    RequestChannel* channel = nullptr;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
        channel = channel_;
        channel_ = nullptr;
    }
    if (channel != nullptr) {
        channel->SetCountChangedHook(nullptr);
    }
    {
        // Waits for a hook call in progress; none reaches this object afterwards.
        std::lock_guard lock(hookGate_->mutex);
        hookGate_->presence = nullptr;
    }
    wake_.notify_all();
    idle_.notify_all();
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) {
        worker_.join();
    }
}

bool DevicePresence::WaitIdle(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, limit, [this] { return stopping_ || (queue_.empty() && !busy_); });
}

void DevicePresence::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) {
            break;
        }
        const int n = queue_.front();
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        Handle(n);
        lock.lock();
        busy_ = false;
        if (queue_.empty()) {
            idle_.notify_all();
        }
    }
    busy_ = false;
    idle_.notify_all();
}

void DevicePresence::Handle(int n) {
    if (n == lastKnownCount_.load()) {
        return;
    }
    if (n == 0) {
        KeyboardLeft();
    } else {
        KeyboardArrived();
    }
    // The tray icon and the window exist only once the main window has initialised. A stop
    // while waiting abandons the count: nothing is left to show it to.
    if (!WaitForWindowInitialised()) {
        return;
    }
    if (auto* tray = platform::CurrentServices().tray) {
        tray->SetTrayStatus(0, n != 0 ? kTrayIconKeyboard : kTrayIconNoKeyboard);
    }
    lastKnownCount_.store(n);
    if (!firstConnection_.load()) {
        if (n != 0) {
            if (auto* window = platform::CurrentServices().window) {
                window->PostMessage(kShowWindowMessage, kShowWindowCode, 0);
            }
        }
        firstConnection_.store(true);
    }
}

void DevicePresence::KeyboardLeft() {
    currentProfile_.Forget();
    if (auto* window = platform::CurrentServices().window) {
        window->SendMessage(kKeyboardLeftMessage, 0, 0);
    }
    HideWindow hide;
    {
        std::lock_guard lock(mutex_);
        hide = hideWindow_;
    }
    if (hide) {
        hide();
    }
}

void DevicePresence::KeyboardArrived() {
    const ArrivalResult read = ReadArrivalData(protocol_, keyboard_);
    if (read.layout != result::kSuccess) {
        if (auto* box = platform::CurrentServices().messageBox) {
            box->Show(LayoutFailureText(), u"", platform::MessageButtons::Ok);
        }
    }
    if (auto* window = platform::CurrentServices().window) {
        window->SendMessage(kKeyboardArrivedMessage, kKeyboardArrivedCode, 0);
    }
}

bool DevicePresence::WaitForWindowInitialised() {
    std::unique_lock lock(mutex_);
    while (!initialised_.load()) {
        if (stopping_) {
            return false;
        }
        // Woken at once when the flag is set or on a stop; otherwise looks again every 50 ms.
        wake_.wait_for(lock, kInitialisedPoll);
    }
    return !stopping_;
}

std::u16string DevicePresence::LayoutFailureText() const {
    TextSource source;
    {
        std::lock_guard lock(mutex_);
        source = layoutFailureText_;
    }
    std::u16string text = source ? source() : std::u16string();
    return text.empty() ? std::u16string(kLayoutFailureText) : text;
}

} // namespace kovrel::device

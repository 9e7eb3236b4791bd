#include "varnolt/daemon/virtual_keyboard_host.h"

#include <iostream>

namespace kovrel::varnolt {
namespace {

// At most one save per interval while commands keep coming; the file is fsync'd, which is far
// slower than a command.
constexpr std::chrono::milliseconds kSaveInterval{100};

} // namespace

VirtualKeyboardHost::VirtualKeyboardHost(EventLoop& loop, KeyboardSink& sink,
                                         std::unique_ptr<StateStore> store)
    : loop_(loop), sink_(sink), store_(std::move(store)) {
    if (store_) {
        if (auto bytes = store_->Load()) {
            if (!keyboard_.Deserialize(*bytes)) {
                std::cerr << "Varnolt: " << store_->File().string()
                          << " is damaged; the virtual keyboard starts from factory memory\n";
            }
        }
    }
    // A keyboard that comes back powers up: boot mode and open configurations do not survive.
    keyboard_.Plug();
    // The keyboard calls back on our own thread from inside its calls; only note what happened
    // and act once the call has returned.
    keyboard_.SetNotifier([this](firmware::VirtualKeyboard::Notice notice) {
        if (notice == firmware::VirtualKeyboard::Notice::EventQueued) {
            eventsQueued_ = true;
        } else {
            plugChanged_ = true;
        }
    });
}

VirtualKeyboardHost::~VirtualKeyboardHost() {
    keyboard_.SetNotifier({});
    for (auto id : inFlight_) {
        loop_.CancelTimer(id);
    }
    if (saveTimer_ != 0) {
        loop_.CancelTimer(saveTimer_);
    }
}

void VirtualKeyboardHost::Start() {
    SyncAttached();
}

void VirtualKeyboardHost::SaveNow() {
    if (store_ && !store_->Save(keyboard_.Serialize())) {
        std::cerr << "Varnolt: cannot save the virtual keyboard to " << store_->File().string()
                  << "\n";
    }
}

void VirtualKeyboardHost::SendReport(std::span<const std::uint8_t> report) {
    std::vector<std::uint8_t> bytes(report.begin(), report.end());
    // The report travels to the keyboard, is handled there, and each answer travels back.
    auto id = std::make_shared<EventLoop::TimerId>(0);
    *id = loop_.AddTimer(Delay(), [this, id, bytes = std::move(bytes)] {
        std::erase(inFlight_, *id);
        if (!bytes.empty() && bytes[0] == firmware::kBankReportId) {
            keyboard_.HandleBankWrite(bytes);
        } else {
            for (auto& reply : keyboard_.HandleReport(bytes)) {
                Deliver(std::move(reply));
            }
        }
        MarkDirty();
        AfterKeyboardCall();
    });
    inFlight_.push_back(*id);
}

void VirtualKeyboardHost::Deliver(std::vector<std::uint8_t> report) {
    auto id = std::make_shared<EventLoop::TimerId>(0);
    *id = loop_.AddTimer(Delay(), [this, id, report = std::move(report)] {
        std::erase(inFlight_, *id);
        // A keyboard that went away in the meantime delivers nothing.
        if (attached_) {
            sink_.OnInput(*this, report);
        }
    });
    inFlight_.push_back(*id);
}

void VirtualKeyboardHost::AfterKeyboardCall() {
    if (eventsQueued_) {
        eventsQueued_ = false;
        for (auto& report : keyboard_.TakeEventReports()) {
            Deliver(std::move(report));
        }
    }
    if (plugChanged_) {
        plugChanged_ = false;
        // Behind the replies already on their way, so a keyboard unplugged right after
        // answering still delivers that answer.
        auto id = std::make_shared<EventLoop::TimerId>(0);
        *id = loop_.AddTimer(Delay(), [this, id] {
            std::erase(inFlight_, *id);
            SyncAttached();
        });
        inFlight_.push_back(*id);
    }
}

void VirtualKeyboardHost::SyncAttached() {
    const bool plugged = keyboard_.IsPlugged();
    if (plugged == attached_) {
        return;
    }
    attached_ = plugged;
    if (plugged) {
        sink_.OnAttached(*this);
    } else {
        sink_.OnDetached(*this);
    }
}

void VirtualKeyboardHost::Plug() {
    keyboard_.Plug();
    plugChanged_ = false;
    SyncAttached();
    AfterKeyboardCall();
}

void VirtualKeyboardHost::Unplug() {
    keyboard_.Unplug();
    plugChanged_ = false;
    SyncAttached();
    AfterKeyboardCall();
}

bool VirtualKeyboardHost::RaiseEvent(std::uint16_t code) {
    const bool raised = keyboard_.RaiseEvent(code);
    if (raised) {
        // Profile keys and the lighting key change the keyboard's memory.
        MarkDirty();
    }
    AfterKeyboardCall();
    return raised;
}

void VirtualKeyboardHost::SetDelay(std::chrono::microseconds delay) {
    keyboard_.SetRoundTripDelay(delay);
}

void VirtualKeyboardHost::MarkDirty() {
    if (!store_ || saveTimer_ != 0) {
        return;
    }
    saveTimer_ = loop_.AddTimer(kSaveInterval, [this] {
        saveTimer_ = 0;
        SaveNow();
    });
}

} // namespace kovrel::varnolt

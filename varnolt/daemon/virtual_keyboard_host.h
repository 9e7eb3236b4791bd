#pragma once
// The virtual keyboard as one of the daemon's keyboards. Reports reach it and its answers come
// back after the simulated transfer time per report each way, on timers of the event loop, so a
// slow virtual keyboard never holds up other clients. Its memories are saved (throttled) to the
// state file whenever they may have changed, and once more when the daemon stops.

#include "varnolt/daemon/event_loop.h"
#include "varnolt/daemon/keyboard.h"
#include "varnolt/daemon/state_store.h"

#include "firmware/virtual_keyboard.h"

#include <chrono>
#include <memory>

namespace kovrel::varnolt {

class VirtualKeyboardHost : public Keyboard {
public:
    // Loads the saved memories (a fresh keyboard when there are none or they are damaged) and
    // powers the keyboard up, which leaves boot mode and closes any open configuration.
    VirtualKeyboardHost(EventLoop& loop, KeyboardSink& sink, std::unique_ptr<StateStore> store);
    ~VirtualKeyboardHost() override;

    // Announces the keyboard to the sink when it is plugged in.
    void Start();
    // Writes the memories now if they changed since the last save.
    void SaveNow();

    std::string Name() const override { return "Virtual keyboard"; }
    void SendReport(std::span<const std::uint8_t> report) override;

    // Test controls. False when the keyboard cannot do it (e.g. an event while unplugged).
    void Plug();
    void Unplug();
    bool RaiseEvent(std::uint16_t code);
    void SetDelay(std::chrono::microseconds delay);
    bool IsAttached() const { return attached_; }
    firmware::VirtualKeyboard& Device() { return keyboard_; }

private:
    // Runs after every call into the keyboard: sends queued event reports and follows plug
    // changes, both after the transfer time, so they keep their order behind earlier replies.
    void AfterKeyboardCall();
    void Deliver(std::vector<std::uint8_t> report);
    void SyncAttached();
    void MarkDirty();
    std::chrono::microseconds Delay() const { return keyboard_.RoundTripDelay(); }

    EventLoop& loop_;
    KeyboardSink& sink_;
    std::unique_ptr<StateStore> store_;
    firmware::VirtualKeyboard keyboard_;
    bool attached_ = false;
    bool eventsQueued_ = false;
    bool plugChanged_ = false;
    EventLoop::TimerId saveTimer_ = 0;
    // Timers of reports in flight; cancelled when the host goes, so none fires into it.
    std::vector<EventLoop::TimerId> inFlight_;
};

} // namespace kovrel::varnolt

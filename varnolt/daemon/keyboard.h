#pragma once
// One keyboard as the daemon sees it, whatever carries its reports: the virtual keyboard now,
// hidraw devices later. A keyboard takes output reports (commands, the boot-mode report, bank
// writes) and answers with input reports (replies with id 0x04, events with id 0x06) through its
// KeyboardSink, later, from the event loop; never from inside SendReport.

#include <cstdint>
#include <span>
#include <string>

namespace kovrel::varnolt {

class Keyboard;

class KeyboardSink {
public:
    virtual ~KeyboardSink() = default;
    // An input report of an attached keyboard.
    virtual void OnInput(Keyboard& keyboard, std::span<const std::uint8_t> report) = 0;
    // The keyboard came (plugged in, found) or went; only attached keyboards take reports.
    virtual void OnAttached(Keyboard& keyboard) = 0;
    virtual void OnDetached(Keyboard& keyboard) = 0;
};

class Keyboard {
public:
    virtual ~Keyboard() = default;
    // Shown to clients in the keyboard list.
    virtual std::string Name() const = 0;
    // Hands one output report to the keyboard.
    virtual void SendReport(std::span<const std::uint8_t> report) = 0;
};

} // namespace kovrel::varnolt

#pragma once

// The virtual keyboard: the keyboard's side of the command protocol, with its memories, its
// events, a power switch (Plug/Unplug), fault injection and a log of what it received.
//
// It does no I/O and runs no thread of its own: whoever carries reports (the daemon, or a test's
// transport) calls HandleReport / HandleBankWrite and delivers the replies and event reports
// itself, applying RoundTripDelay() per report each way if it simulates USB timing. Every member
// function is safe to call from any thread; one mutex guards the whole keyboard.

#include "firmware/faults.h"
#include "firmware/keyboard_memory.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace kovrel::firmware {

// One entry of the receive log.
struct LogEntry {
    enum class Kind { Report, BankWrite };
    Kind kind = Kind::Report;
    std::uint64_t sequence = 0; // counts from 0 over the keyboard's life, survives ClearLog()
    std::vector<std::uint8_t> bytes;
};

inline constexpr std::size_t kLogCapacity = 4096;

class VirtualKeyboard {
public:
    using Report = std::vector<std::uint8_t>;
    enum class Notice { EventQueued, Plugged, Unplugged };
    using Notifier = std::function<void(Notice)>;

    VirtualKeyboard(); // factory memory, plugged in
    explicit VirtualKeyboard(KeyboardMemory memory);
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    // --- The wire ---------------------------------------------------------------------------
    // A command report from the host. Returns the replies to send back: normally one 64-byte
    // reply; none for the boot-mode report, a dropped reply, or while unplugged; one longer
    // than 64 bytes under fault injection.
    std::vector<Report> HandleReport(std::span<const std::uint8_t> report);
    // The bank output report (0x05, 0x02 | bank). Anything else is logged and ignored.
    void HandleBankWrite(std::span<const std::uint8_t> data);

    // --- Events from the keyboard itself ------------------------------------------------------
    // Applies the event's effect and queues its report: 0x1801..0x1803 set the current profile
    // to 0..2, 0x02FF toggles the G bank, 0x0401 steps the current profile's lighting effect to
    // the next one of the effect list; others (0x1804, 0x1810, 0x1811, ...) only queue.
    // Returns false (and does nothing) while unplugged.
    bool RaiseEvent(std::uint16_t code);
    // Drains the queued events as 64-byte input reports: 0x06, then the code little-endian.
    std::vector<Report> TakeEventReports();
    // Called after an event is queued and after every plug change (also after the unplug of
    // UnplugAfter), on the thread that caused it, with no lock held. May call back into the
    // keyboard.
    void SetNotifier(Notifier notifier);

    // --- Power --------------------------------------------------------------------------------
    // Plug() powers the keyboard up: configuration closed, boot mode left, G bank 0, event queue
    // empty; the memories are kept. Unplug() makes it answer nothing and raise no events.
    void Plug();
    void Unplug();
    bool IsPlugged() const;

    // The simulated USB delay per report each way; applied by the transport, not here.
    std::chrono::microseconds RoundTripDelay() const;
    void SetRoundTripDelay(std::chrono::microseconds delay);

    // --- Fault injection (each applies to the next `count` commands) --------------------------
    void DropReplies(int count);
    void AnswerWrongCode(int count);
    void AnswerStatus(std::uint8_t status, int count); // 0xFF or 0xFE; the command is not run
    void AnswerLong(int count, std::size_t size = 80);
    void UnplugAfter(int count); // answers `count` more commands, then unplugs
    void ClearFaults();

    // --- Receive log ----------------------------------------------------------------------------
    std::vector<LogEntry> Log() const; // oldest first, at most kLogCapacity entries
    void ClearLog();
    std::uint64_t ReportsReceived() const; // command reports received since construction

    // --- State for tests and the daemon ---------------------------------------------------------
    KeyboardMemory Memory() const;
    void SetMemory(KeyboardMemory memory); // macro memory is resized to info byte 11 x 128
    InfoBlock Info() const;
    std::uint8_t CurrentProfile() const;
    std::vector<std::uint8_t> Settings() const;
    std::vector<std::uint8_t> LightingRecord(std::size_t profile) const; // 42 bytes
    std::vector<std::uint8_t> KeyColours() const;                        // 1536 bytes
    ProfileBlockBytes ProfileBlock(std::size_t profile) const;
    ProfileBlockBytes DefaultLayout() const;
    std::vector<std::uint8_t> MacroMemory() const;
    bool ConfigOpen() const;
    bool BootMode() const;
    std::uint8_t GBank() const;
    void SetMacroUnits(std::uint8_t units);
    void SetEffectList(std::span<const std::uint8_t> effects);

    // Persistence and dumps (format in firmware/state_io.h).
    std::vector<std::uint8_t> Serialize() const;
    bool Deserialize(std::span<const std::uint8_t> bytes); // false: nothing changed
    std::string DumpText() const;
    std::string DumpJson() const;

private:
    void LogLocked(LogEntry::Kind kind, std::span<const std::uint8_t> bytes);
    void Notify(Notice notice);

    mutable std::mutex mutex_;
    KeyboardMemory memory_;
    bool plugged_ = true;
    std::chrono::microseconds delay_{0};
    FaultInjector faults_;
    std::deque<std::uint16_t> events_;
    std::deque<LogEntry> log_;
    std::uint64_t log_sequence_ = 0;
    std::uint64_t reports_received_ = 0;
    Notifier notifier_;
};

} // namespace kovrel::firmware

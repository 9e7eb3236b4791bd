#pragma once
// The device service stand-in for tests: libOndrelStandin.so exports the twelve functions of
// ondrel/ondrel.h with the real library's contract, but instead of reaching a daemon it hosts a
// virtual keyboard in the process. Like the real service it calls the registered callbacks from
// a thread of its own: command replies as kind 1 CTRL, keyboard events as kind 1 CONS, keyboard
// count changes as kind 0 CTRL. It applies the keyboard's RoundTripDelay on each way of a
// report and verifies every check value.
//
// Tests load it through the host's real binding by its bare name (kStandinLibraryName) and
// drive the keyboard through the controls below.

#include "firmware/virtual_keyboard.h"

#include <cstdint>
#include <vector>

namespace kovrel::standin {

inline constexpr const char* kStandinLibraryName = "libOndrelStandin.so";

// The hosted keyboard (factory memory, plugged in, after Reset). Plug changes and events made
// directly on it reach the callbacks too.
firmware::VirtualKeyboard& Keyboard();

// Back to a fresh start: waits until nothing is in flight, drops every registration, puts a
// factory keyboard in (plugged in, no faults, empty log, no delay), zeroes the statistics and
// the Init result; Init must be called again.
void Reset();

// Plugs the keyboard in or out; the count change reaches the CTRL callbacks.
void Plug();
void Unplug();
// Has the keyboard raise an event; false while unplugged.
bool RaiseEvent(std::uint16_t code);

// True when no report, bank write or notification is queued or being delivered. Lock-free: a
// fake clock may ask it while holding its own locks.
bool Idle();
// Waits until Idle().
void WaitIdle();

// What Init answers from now on (1 by default).
void SetInitResult(int result);

struct Stats {
    int init = 0;
    int deviceCountQueries = 0;
    int writeOne = 0;         // RequestWriteOne calls, accepted or not
    int writeOneAccepted = 0; // ... that handed a report on
    int statusWrite = 0;
    int asyncRead = 0;
    int deletes = 0;
    int checkFailures = 0; // calls refused for a wrong check value
    int registrations = 0; // standing requests alive now
};
Stats GetStats();

// What the keyboard received of one kind (command reports or bank writes), oldest first.
inline std::vector<std::vector<std::uint8_t>> Received(firmware::LogEntry::Kind kind) {
    std::vector<std::vector<std::uint8_t>> received;
    for (const auto& entry : Keyboard().Log()) {
        if (entry.kind == kind) {
            received.push_back(entry.bytes);
        }
    }
    return received;
}

} // namespace kovrel::standin

#pragma once

// Fault injection for the virtual keyboard: each armed fault applies to the next N commands the
// keyboard receives (the boot-mode report and reports while unplugged do not count).

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kovrel::firmware {

// What the keyboard does with one command, decided before it runs.
struct FaultOutcome {
    std::optional<std::uint8_t> status; // answer with this status and do not carry the command out
    bool drop = false;                  // carry the command out, send no reply
    bool wrong_code = false;            // carry it out, answer with another command code
    std::size_t long_reply = 0;         // carry it out, answer with this many bytes (> 64)
    bool unplug = false;                // unplug right after answering this command
};

class FaultInjector {
public:
    void DropReplies(int count) { drop_ = count; }
    void AnswerWrongCode(int count) { wrong_code_ = count; }
    // status 0xFF (error) or 0xFE (busy), or any other status byte the test wants to see.
    void AnswerStatus(std::uint8_t status, int count);
    void AnswerLong(int count, std::size_t size);
    // The keyboard answers `count` more commands, then goes away; 0 or less disarms.
    void UnplugAfter(int count) { unplug_after_ = count; }
    void Clear() { *this = FaultInjector{}; }

    bool Armed() const;

    // Consumes one command's worth of every armed fault.
    FaultOutcome Next();

private:
    int drop_ = 0;
    int wrong_code_ = 0;
    int status_count_ = 0;
    std::uint8_t status_ = 0xFF;
    int long_count_ = 0;
    std::size_t long_size_ = 80;
    int unplug_after_ = -1;
};

} // namespace kovrel::firmware

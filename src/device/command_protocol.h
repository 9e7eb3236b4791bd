#pragma once
// Send-and-wait of one command report: the device-count check, the hand-off of the reply, three
// tries with 10 ms pauses, and the result codes.
//
// Commands go one at a time: a command lock covers each SendCommand, so the interface thread and
// the device-change worker can both send without taking each other's reply. The lock is only
// ever held while waiting for the service's thread (which never waits for anyone), never while
// waiting for the interface thread, so it cannot close a cycle.

#include "device/command_report.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>

namespace kovrel::device {

class Clock;
class RequestChannel;

inline constexpr std::chrono::milliseconds kReplyWait{1000};
inline constexpr std::chrono::milliseconds kRetryPause{10};
inline constexpr std::chrono::milliseconds kInFlightPause{1001};
inline constexpr int kMaxTries = 3;

class CommandProtocol {
public:
    CommandProtocol(RequestChannel& channel, Clock& clock) : channel_(channel), clock_(clock) {}

    // Sends the report (padded with zeros or cut to 64 bytes) and waits for its reply, copying at
    // most `reply.size()` bytes of it into `reply` and their number into `received` (0 unless
    // the result is 1). Returns 1, or 0 (no keyboard), -1 (the service refused the report),
    // -2 (no matching reply after three tries). A reply with status 0xFF or 0xFE is retried; the
    // third one is accepted and returned with result 1 (the command operations map its status).
    int SendCommand(std::span<const std::uint8_t> report, std::span<std::uint8_t> reply,
                    std::size_t& received);

    // Hands the report (padded or cut to 64 bytes) to the service and returns its result; no
    // reply is awaited.
    int SendReportNoWait(std::span<const std::uint8_t> report);

    Clock& TimeSource() { return clock_; }

private:
    int SendLocked(const Report& report, std::span<std::uint8_t> reply, std::size_t& received);

    RequestChannel& channel_;
    Clock& clock_;
    std::mutex commandMutex_;
};

} // namespace kovrel::device

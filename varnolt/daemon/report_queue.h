#pragma once
// The output reports waiting for one keyboard. A keyboard works on one command at a time, so
// one command is outstanding and the rest wait in arrival order. The outstanding slot is freed
// by the keyboard's next reply (a keyboard event does not free it), after kReplyWait without
// one, and at once for reports the keyboard never answers (the boot-mode report, bank writes).
// A client has at most one report of each kind waiting: a newer one replaces it in place.

#include "varnolt/daemon/event_loop.h"
#include "varnolt/daemon/keyboard.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace kovrel::varnolt {

using ClientId = std::uint64_t;

// Shorter than the client's 1000 ms reply wait, so a client's retry after a lost reply is not
// queued behind the slot the lost reply still holds.
inline constexpr std::chrono::milliseconds kReplyWait{900};

// Byte 0 0x04, bytes 3 and 4 0xEE: the report that restarts the keyboard into its updater.
bool IsBootModeReport(std::span<const std::uint8_t> report);

class ReportQueue {
public:
    enum class Kind { Command, BankWrite };

    struct Status {
        std::size_t queued = 0;
        bool outstanding = false;
        std::uint64_t sent = 0;
        std::uint64_t timedOut = 0;
    };

    ReportQueue(EventLoop& loop, Keyboard& keyboard,
                std::chrono::milliseconds replyWait = kReplyWait);
    ~ReportQueue();
    ReportQueue(const ReportQueue&) = delete;
    ReportQueue& operator=(const ReportQueue&) = delete;

    void Submit(ClientId client, Kind kind, std::vector<std::uint8_t> report);

    // The keyboard replied: frees the slot and names the client the reply belongs to, if any
    // (none for a stray reply or when that client has gone).
    std::optional<ClientId> TakeReply();

    // The client went away: its waiting reports are dropped; a reply to its outstanding report
    // is discarded when it comes.
    void ForgetClient(ClientId client);

    Status GetStatus() const;

private:
    struct Pending {
        ClientId client;
        Kind kind;
        std::vector<std::uint8_t> report;
    };

    void Pump();
    void FreeSlot();

    EventLoop& loop_;
    Keyboard& keyboard_;
    std::chrono::milliseconds replyWait_;
    std::deque<Pending> waiting_;
    bool busy_ = false;
    std::optional<ClientId> owner_;
    EventLoop::TimerId timer_ = 0;
    std::uint64_t sent_ = 0;
    std::uint64_t timedOut_ = 0;
};

} // namespace kovrel::varnolt

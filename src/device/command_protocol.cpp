#include "device/command_protocol.h"

#include "device/clock.h"
#include "device/request_channel.h"

#include <algorithm>

namespace kovrel::device {

int CommandProtocol::SendCommand(std::span<const std::uint8_t> report,
                                 std::span<std::uint8_t> reply, std::size_t& received) {
    received = 0;
    std::lock_guard lock(commandMutex_);
    if (channel_.QueryDeviceCount() == 0) {
        return result::kNoKeyboard;
    }
    return SendLocked(PadReport(report), reply, received);
}

int CommandProtocol::SendLocked(const Report& report, std::span<std::uint8_t> reply,
                                std::size_t& received) {
    ReplyHandOff& replies = channel_.Replies();
    // The reply lands in a full-size buffer of our own, cleared before every try, so that the
    // code and status bytes are always there to examine whatever the caller's capacity and
    // however short the reply; the caller gets at most its capacity.
    Report answer{};
    std::size_t length = 0;
    int tries = 0;
    for (;;) {
        if (replies.Waiting()) {
            // Another command in flight. The command lock makes this unreachable from our own
            // senders; kept for whoever else may have left the flag set.
            clock_.Sleep(kInFlightPause);
            replies.Clear();
        }
        answer.fill(0);
        replies.Publish(answer);
        if (channel_.WriteReport(report) <= 0) {
            replies.Clear();
            return result::kRefused;
        }
        const bool signalled = replies.Wait(clock_, kReplyWait, length);
        bool retry = false;
        bool accept = false;
        if (!signalled) {
            retry = true;
        } else if (answer[ONDREL_OFFSET_COMMAND] != report[ONDREL_OFFSET_COMMAND]) {
            retry = true;
        } else if (answer[ONDREL_OFFSET_STATUS] == kStatusErrorByte ||
                   answer[ONDREL_OFFSET_STATUS] == kStatusBusyByte) {
            // A failure status is tried again; the third such reply stands.
            if (tries + 1 >= kMaxTries) {
                accept = true;
            } else {
                retry = true;
            }
        } else {
            accept = true;
        }
        replies.Clear();
        if (accept) {
            const std::size_t kept = std::min(length, reply.size());
            std::copy_n(answer.begin(), kept, reply.begin());
            received = kept;
            return result::kSuccess;
        }
        if (retry && ++tries >= kMaxTries) {
            return result::kNoReply;
        }
        clock_.Sleep(kRetryPause);
    }
}

int CommandProtocol::SendReportNoWait(std::span<const std::uint8_t> report) {
    std::lock_guard lock(commandMutex_);
    return channel_.WriteReport(PadReport(report));
}

} // namespace kovrel::device

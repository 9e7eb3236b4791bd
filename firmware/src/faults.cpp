#include "firmware/faults.h"

#include "firmware/keyboard_memory.h"

#include <algorithm>

namespace kovrel::firmware {

namespace {

// Takes one from a pending count; true while the fault still applied to this command.
bool Consume(int& count) {
    if (count <= 0) {
        return false;
    }
    --count;
    return true;
}

} // namespace

void FaultInjector::AnswerStatus(std::uint8_t status, int count) {
    status_ = status;
    status_count_ = count;
}

void FaultInjector::AnswerLong(int count, std::size_t size) {
    long_count_ = count;
    long_size_ = std::max(size, kReportSize + 1);
}

bool FaultInjector::Armed() const {
    return drop_ > 0 || wrong_code_ > 0 || status_count_ > 0 || long_count_ > 0 ||
           unplug_after_ > 0;
}

FaultOutcome FaultInjector::Next() {
    FaultOutcome outcome;
    if (Consume(status_count_)) {
        outcome.status = status_;
    }
    outcome.drop = Consume(drop_);
    outcome.wrong_code = Consume(wrong_code_);
    if (Consume(long_count_)) {
        outcome.long_reply = long_size_;
    }
    if (unplug_after_ > 0 && --unplug_after_ == 0) {
        outcome.unplug = true;
        unplug_after_ = -1;
    }
    return outcome;
}

} // namespace kovrel::firmware

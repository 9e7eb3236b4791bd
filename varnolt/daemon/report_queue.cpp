#include "varnolt/daemon/report_queue.h"

#include <algorithm>

namespace kovrel::varnolt {

bool IsBootModeReport(std::span<const std::uint8_t> report) {
    return report.size() >= 5 && report[0] == 0x04 && report[3] == 0xEE && report[4] == 0xEE;
}

ReportQueue::ReportQueue(EventLoop& loop, Keyboard& keyboard, std::chrono::milliseconds replyWait)
    : loop_(loop), keyboard_(keyboard), replyWait_(replyWait) {}

ReportQueue::~ReportQueue() {
    if (timer_ != 0) {
        loop_.CancelTimer(timer_);
    }
}

void ReportQueue::Submit(ClientId client, Kind kind, std::vector<std::uint8_t> report) {
    auto same = std::find_if(waiting_.begin(), waiting_.end(), [&](const Pending& p) {
        return p.client == client && p.kind == kind;
    });
    if (same != waiting_.end()) {
        same->report = std::move(report);
    } else {
        waiting_.push_back(Pending{client, kind, std::move(report)});
    }
    Pump();
}

std::optional<ClientId> ReportQueue::TakeReply() {
    if (!busy_) {
        return std::nullopt;
    }
    const auto owner = owner_;
    FreeSlot();
    Pump();
    return owner;
}

void ReportQueue::ForgetClient(ClientId client) {
    std::erase_if(waiting_, [&](const Pending& p) { return p.client == client; });
    if (owner_ == client) {
        owner_.reset();
    }
}

ReportQueue::Status ReportQueue::GetStatus() const {
    return Status{waiting_.size(), busy_, sent_, timedOut_};
}

void ReportQueue::FreeSlot() {
    busy_ = false;
    owner_.reset();
    if (timer_ != 0) {
        loop_.CancelTimer(timer_);
        timer_ = 0;
    }
}

void ReportQueue::Pump() {
    while (!busy_ && !waiting_.empty()) {
        Pending next = std::move(waiting_.front());
        waiting_.pop_front();
        ++sent_;
        if (next.kind == Kind::BankWrite || IsBootModeReport(next.report)) {
            keyboard_.SendReport(next.report);
            continue;
        }
        busy_ = true;
        owner_ = next.client;
        timer_ = loop_.AddTimer(replyWait_, [this] {
            timer_ = 0;
            ++timedOut_;
            FreeSlot();
            Pump();
        });
        keyboard_.SendReport(next.report);
    }
}

} // namespace kovrel::varnolt

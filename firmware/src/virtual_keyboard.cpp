#include "firmware/virtual_keyboard.h"

#include "commands.h"
#include "firmware/state_io.h"

#include <algorithm>

namespace kovrel::firmware {

namespace {

constexpr std::size_t kEventQueueCapacity = 1024;
constexpr std::uint8_t kWrongCodeFlip = 0x80; // a code no command of this keyboard uses

VirtualKeyboard::Report EventReport(std::uint16_t code) {
    VirtualKeyboard::Report report(kReportSize, 0);
    report[0] = kEventReportId;
    report[ONDREL_OFFSET_EVENT] = static_cast<std::uint8_t>(code & 0xFF);
    report[ONDREL_OFFSET_EVENT + 1] = static_cast<std::uint8_t>(code >> 8);
    return report;
}

// The lighting key on the keyboard steps the current profile's effect through the effect list.
void StepEffect(KeyboardMemory& memory) {
    std::vector<std::uint8_t> offered;
    for (std::size_t i = kInfoEffectList; i < kInfoBlockSize; ++i) {
        if (memory.info[i] != 0) {
            offered.push_back(memory.info[i]);
        }
    }
    const std::size_t profile = memory.info[kInfoCurrentProfile];
    if (offered.empty() || profile >= kProfileCount) {
        return;
    }
    std::uint8_t& effect = memory.settings[profile * kLightingRecordSize];
    auto it = std::find(offered.begin(), offered.end(), effect);
    effect = (it == offered.end() || it + 1 == offered.end()) ? offered.front() : *(it + 1);
}

} // namespace

VirtualKeyboard::VirtualKeyboard() : VirtualKeyboard(FactoryMemory()) {}

VirtualKeyboard::VirtualKeyboard(KeyboardMemory memory) : memory_(std::move(memory)) {
    firmware::SetMacroUnits(memory_, memory_.info[kInfoMacroUnits]);
}

std::vector<VirtualKeyboard::Report>
VirtualKeyboard::HandleReport(std::span<const std::uint8_t> report) {
    std::vector<Report> replies;
    bool unplugged = false;
    {
        std::lock_guard lock(mutex_);
        if (!plugged_) {
            return replies;
        }
        ++reports_received_;
        LogLocked(LogEntry::Kind::Report, report);
        if (detail::IsBootModeReport(report)) {
            memory_.boot_mode = true;
            return replies;
        }
        const FaultOutcome fault = faults_.Next();
        detail::Reply reply;
        if (fault.status) {
            reply = detail::StatusReply(report, *fault.status);
        } else if (memory_.boot_mode) {
            // The update loader runs now; it takes no configuration commands.
            reply = detail::StatusReply(report, kStatusError);
        } else {
            reply = detail::RunCommand(memory_, report);
        }
        if (fault.wrong_code) {
            reply[ONDREL_OFFSET_COMMAND] ^= kWrongCodeFlip;
            detail::Seal(reply);
        }
        Report out(reply.begin(), reply.end());
        if (fault.long_reply > kReportSize) {
            out.resize(fault.long_reply, 0xA5);
        }
        if (!fault.drop) {
            replies.push_back(std::move(out));
        }
        if (fault.unplug) {
            plugged_ = false;
            events_.clear();
            unplugged = true;
        }
    }
    if (unplugged) {
        Notify(Notice::Unplugged);
    }
    return replies;
}

void VirtualKeyboard::HandleBankWrite(std::span<const std::uint8_t> data) {
    std::lock_guard lock(mutex_);
    if (!plugged_) {
        return;
    }
    LogLocked(LogEntry::Kind::BankWrite, data);
    if (data.size() == ONDREL_BANK_SIZE && data[0] == kBankReportId &&
        (data[1] & 0xFE) == kBankBase) {
        memory_.g_bank = data[1] & 1;
    }
}

bool VirtualKeyboard::RaiseEvent(std::uint16_t code) {
    {
        std::lock_guard lock(mutex_);
        if (!plugged_) {
            return false;
        }
        if (code >= event::kProfile1 && code <= event::kProfile3) {
            memory_.info[kInfoCurrentProfile] = static_cast<std::uint8_t>(code - event::kProfile1);
        } else if (code == event::kGBankSwitch) {
            memory_.g_bank ^= 1;
        } else if (code == event::kLightingChanged) {
            StepEffect(memory_);
        }
        if (events_.size() == kEventQueueCapacity) {
            events_.pop_front();
        }
        events_.push_back(code);
    }
    Notify(Notice::EventQueued);
    return true;
}

std::vector<VirtualKeyboard::Report> VirtualKeyboard::TakeEventReports() {
    std::lock_guard lock(mutex_);
    std::vector<Report> reports;
    for (std::uint16_t code : events_) {
        reports.push_back(EventReport(code));
    }
    events_.clear();
    return reports;
}

void VirtualKeyboard::SetNotifier(Notifier notifier) {
    std::lock_guard lock(mutex_);
    notifier_ = std::move(notifier);
}

void VirtualKeyboard::Notify(Notice notice) {
    Notifier notifier;
    {
        std::lock_guard lock(mutex_);
        notifier = notifier_;
    }
    if (notifier) {
        notifier(notice);
    }
}

void VirtualKeyboard::Plug() {
    {
        std::lock_guard lock(mutex_);
        if (plugged_) {
            return;
        }
        plugged_ = true;
        memory_.config_open = false;
        memory_.boot_mode = false;
        memory_.g_bank = 0;
        events_.clear();
    }
    Notify(Notice::Plugged);
}

void VirtualKeyboard::Unplug() {
    {
        std::lock_guard lock(mutex_);
        if (!plugged_) {
            return;
        }
        plugged_ = false;
        events_.clear();
    }
    Notify(Notice::Unplugged);
}

bool VirtualKeyboard::IsPlugged() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

std::chrono::microseconds VirtualKeyboard::RoundTripDelay() const {
    std::lock_guard lock(mutex_);
    return delay_;
}

void VirtualKeyboard::SetRoundTripDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

void VirtualKeyboard::DropReplies(int count) {
    std::lock_guard lock(mutex_);
    faults_.DropReplies(count);
}

void VirtualKeyboard::AnswerWrongCode(int count) {
    std::lock_guard lock(mutex_);
    faults_.AnswerWrongCode(count);
}

void VirtualKeyboard::AnswerStatus(std::uint8_t status, int count) {
    std::lock_guard lock(mutex_);
    faults_.AnswerStatus(status, count);
}

void VirtualKeyboard::AnswerLong(int count, std::size_t size) {
    std::lock_guard lock(mutex_);
    faults_.AnswerLong(count, size);
}

void VirtualKeyboard::UnplugAfter(int count) {
    if (count == 0) {
        Unplug();
        return;
    }
    std::lock_guard lock(mutex_);
    faults_.UnplugAfter(count);
}

void VirtualKeyboard::ClearFaults() {
    std::lock_guard lock(mutex_);
    faults_.Clear();
}

void VirtualKeyboard::LogLocked(LogEntry::Kind kind, std::span<const std::uint8_t> bytes) {
    if (log_.size() == kLogCapacity) {
        log_.pop_front();
    }
    log_.push_back(LogEntry{kind, log_sequence_++, {bytes.begin(), bytes.end()}});
}

std::vector<LogEntry> VirtualKeyboard::Log() const {
    std::lock_guard lock(mutex_);
    return {log_.begin(), log_.end()};
}

void VirtualKeyboard::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

std::uint64_t VirtualKeyboard::ReportsReceived() const {
    std::lock_guard lock(mutex_);
    return reports_received_;
}

KeyboardMemory VirtualKeyboard::Memory() const {
    std::lock_guard lock(mutex_);
    return memory_;
}

void VirtualKeyboard::SetMemory(KeyboardMemory memory) {
    std::lock_guard lock(mutex_);
    memory_ = std::move(memory);
    firmware::SetMacroUnits(memory_, memory_.info[kInfoMacroUnits]);
}

InfoBlock VirtualKeyboard::Info() const {
    std::lock_guard lock(mutex_);
    return memory_.info;
}

std::uint8_t VirtualKeyboard::CurrentProfile() const {
    std::lock_guard lock(mutex_);
    return memory_.info[kInfoCurrentProfile];
}

std::vector<std::uint8_t> VirtualKeyboard::Settings() const {
    std::lock_guard lock(mutex_);
    return {memory_.settings.begin(), memory_.settings.end()};
}

std::vector<std::uint8_t> VirtualKeyboard::LightingRecord(std::size_t profile) const {
    std::lock_guard lock(mutex_);
    if (profile >= kProfileCount) {
        return {};
    }
    const auto start = memory_.settings.begin() + profile * kLightingRecordSize;
    return {start, start + kLightingRecordSize};
}

std::vector<std::uint8_t> VirtualKeyboard::KeyColours() const {
    std::lock_guard lock(mutex_);
    return {memory_.key_colours.begin(), memory_.key_colours.end()};
}

ProfileBlockBytes VirtualKeyboard::ProfileBlock(std::size_t profile) const {
    std::lock_guard lock(mutex_);
    ProfileBlockBytes block{};
    if (profile < kProfileCount) {
        std::copy_n(memory_.profiles.begin() + profile * kProfileBlockSize, kProfileBlockSize,
                    block.begin());
    }
    return block;
}

ProfileBlockBytes VirtualKeyboard::DefaultLayout() const {
    std::lock_guard lock(mutex_);
    return memory_.default_layout;
}

std::vector<std::uint8_t> VirtualKeyboard::MacroMemory() const {
    std::lock_guard lock(mutex_);
    return memory_.macro_memory;
}

bool VirtualKeyboard::ConfigOpen() const {
    std::lock_guard lock(mutex_);
    return memory_.config_open;
}

bool VirtualKeyboard::BootMode() const {
    std::lock_guard lock(mutex_);
    return memory_.boot_mode;
}

std::uint8_t VirtualKeyboard::GBank() const {
    std::lock_guard lock(mutex_);
    return memory_.g_bank;
}

void VirtualKeyboard::SetMacroUnits(std::uint8_t units) {
    std::lock_guard lock(mutex_);
    firmware::SetMacroUnits(memory_, units);
}

void VirtualKeyboard::SetEffectList(std::span<const std::uint8_t> effects) {
    std::lock_guard lock(mutex_);
    firmware::SetEffectList(memory_, effects);
}

std::vector<std::uint8_t> VirtualKeyboard::Serialize() const {
    std::lock_guard lock(mutex_);
    return SerializeMemory(memory_);
}

bool VirtualKeyboard::Deserialize(std::span<const std::uint8_t> bytes) {
    auto memory = DeserializeMemory(bytes);
    if (!memory) {
        return false;
    }
    std::lock_guard lock(mutex_);
    memory_ = std::move(*memory);
    return true;
}

std::string VirtualKeyboard::DumpText() const {
    std::lock_guard lock(mutex_);
    return firmware::DumpText(memory_);
}

std::string VirtualKeyboard::DumpJson() const {
    std::lock_guard lock(mutex_);
    return firmware::DumpJson(memory_);
}

} // namespace kovrel::firmware

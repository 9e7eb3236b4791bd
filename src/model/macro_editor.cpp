#include "model/macro_editor.h"

#include "model/media_keys.h"
#include "model/user_messages.h"
#include "model/virtual_keys.h"
#include "skin/core/language_table.h"

#include <algorithm>
#include <limits>

namespace kovrel {
namespace {

constexpr std::uint32_t kPreviousStateBit = 1u << 30;
constexpr std::uint32_t kReleaseBit = 1u << 31;
constexpr std::uint32_t kSyntheticPressDelay = 2;

std::u16string Decimal(std::int64_t number) {
    std::u16string text;
    for (char c : std::to_string(number)) {
        text.push_back(static_cast<char16_t>(c));
    }
    return text;
}

char16_t FoldCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldCase(text[i]) != FoldCase(prefix[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::int64_t ReadDecimal(std::u16string_view text) {
    constexpr std::int64_t kLimit = 1'000'000'000'000;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(kLimit, value * 10 + (text[i] - u'0'));
    }
    return negative ? -value : value;
}

std::u16string MacroEditor::StateText(std::uint16_t state) {
    return state == 0 ? u"\u2193" : u"  \u2191";
}

std::u16string MacroEditor::DelayText(std::uint32_t delay) {
    return Decimal(delay);
}

void MacroEditor::Open(bool recordDelay) {
    Close();
    recordDelay_ = recordDelay;
    const auto lock = working_.Acquire();
    for (const MacroRecord& macro : working_.Data().macros) {
        Entry entry{macro.name, macro};
        entry.record.newFlag = 0;
        entries_.push_back(std::move(entry));
    }
}

void MacroEditor::Close() {
    StopRecording();
    entries_.clear();
    rows_.clear();
    selected_ = -1;
    current_ = -1;
    cycleField_.clear();
    modified_ = false;
}

MacroRecord MacroEditor::NewRecord(std::u16string_view name) const {
    MacroRecord record;
    record.name = CutMacroName(name);
    record.cycles = 1;
    record.newFlag = 1;
    std::vector<MacroRecord> records;
    for (const Entry& entry : entries_) {
        records.push_back(entry.record);
    }
    record.macroId = SmallestFreeMacroId(records);
    return record;
}

void MacroEditor::AddMacro() {
    std::u16string proposed;
    for (;;) {
        if (entries_.size() >= static_cast<std::size_t>(kMaxMacros)) {
            ShowMessageText(FormatWithNumber(LanguageText("MACRO_ERR_MAX"), kMaxMacros));
            return;
        }
        if (entries_.empty()) {
            nameCounter_ = 0;
        }
        ++nameCounter_;
        proposed = LanguageText("MACRO_NEW_PREFIX") + Decimal(nameCounter_);
        const bool taken = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) {
            return StartsWithIgnoringCase(entry.record.name, proposed);
        });
        if (!taken) {
            break;
        }
    }
    MacroRecord record = NewRecord(proposed);
    StoreCurrentMacro();
    entries_.push_back(Entry{record.name, std::move(record)});
    current_ = static_cast<int>(entries_.size()) - 1;
    LoadCurrentMacro();
    modified_ = true;
}

void MacroEditor::RenameMacro(std::u16string_view text) {
    const std::u16string name = CutMacroName(text);
    if (entries_.empty()) {
        MacroRecord record = NewRecord(name);
        entries_.push_back(Entry{name, std::move(record)});
        current_ = 0;
        LoadCurrentMacro();
    } else if (HasCurrent()) {
        entries_[current_].displayName = name;
        entries_[current_].record.name = name;
    } else {
        return;
    }
    modified_ = true;
}

void MacroEditor::SelectMacro(int position) {
    StoreCurrentMacro();
    if (position >= 0 && position < static_cast<int>(entries_.size())) {
        current_ = position;
    }
    LoadCurrentMacro();
    modified_ = true;
}

void MacroEditor::MakeCurrent(int position) {
    current_ = (position >= 0 && position < static_cast<int>(entries_.size())) ? position : -1;
    LoadCurrentMacro();
}

void MacroEditor::DeleteMacro() {
    if (!HasCurrent()) {
        return;
    }
    const MacroRecord& record = entries_[current_].record;
    if (record.newFlag == 0) {
        bool used = false;
        {
            const auto lock = working_.Acquire();
            for (const KeyRecord& key : working_.Data().records) {
                if (key.Is(AssignmentKind::Macro) && key.value == record.macroId) {
                    used = true;
                    break;
                }
            }
        }
        if (used && !AskLanguageQuestion("MACRO_DELETE_CONFIRM_OF_KEYS", false)) {
            return;
        }
    }
    entries_.erase(entries_.begin() + current_);
    current_ = entries_.empty() ? -1 : std::max(0, current_ - 1);
    LoadCurrentMacro();
    modified_ = true;
}

void MacroEditor::StoreCurrentMacro() {
    if (!HasCurrent()) {
        return;
    }
    MacroRecord& record = entries_[current_].record;
    record.cycles = static_cast<std::uint8_t>(ReadDecimal(cycleField_) & 0xFF);
    record.actions = rows_;
}

void MacroEditor::LoadCurrentMacro() {
    rows_.clear();
    selected_ = -1;
    if (!HasCurrent()) {
        return;
    }
    const MacroRecord& record = entries_[current_].record;
    cycleField_ = Decimal(record.cycles);
    for (const MacroAction& action : record.actions) {
        AddAction(action, false, false, true);
    }
}

void MacroEditor::EditCycles(std::u16string_view text) {
    const std::int64_t n = ReadDecimal(text);
    cycleField_ = Decimal(std::clamp<std::int64_t>(n, 1, 255));
    modified_ = true;
}

void MacroEditor::SetRecordDelay(bool on) {
    recordDelay_ = on;
    modified_ = true;
}

void MacroEditor::CommitMacros() {
    StopRecording();
    StoreCurrentMacro();
    const auto lock = working_.Acquire();
    Configuration& data = working_.Data();
    for (KeyRecord& key : data.records) {
        if (!key.Is(AssignmentKind::Macro)) {
            continue;
        }
        if (key.value == 0) {
            if (!entries_.empty()) {
                key.value = entries_.front().record.macroId;
                modified_ = true;
            }
            continue;
        }
        const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
            return e.record.macroId == key.value;
        });
        // No macro has the id, or it went to a new macro after its owner was deleted.
        if (entry == entries_.end() || entry->record.newFlag != 0) {
            key = KeyRecord{0, key.aux, 0, key.mark, key.reserved};
            modified_ = true;
        }
    }
    std::vector<MacroRecord> macros;
    macros.reserve(entries_.size());
    for (Entry& entry : entries_) {
        // Committed macros are no longer new: a second Apply in the same editor session must not
        // take their keys away.
        entry.record.newFlag = 0;
        macros.push_back(entry.record);
    }
    data.macros = std::move(macros);
}

void MacroEditor::AddAction(MacroAction action, bool recorded, bool afterSelection, bool direct) {
    if (rows_.size() >= static_cast<std::size_t>(kMaxMacroActions)) {
        return;
    }
    if (recorded) {
        action.delay = recordDelay_ ? std::min(action.delay, kMaxRecordedDelay) : kFixedRecordDelay;
    }
    if (action.state > 1) {
        action.state = 0;
    }
    std::size_t position = rows_.size();
    if (afterSelection && selected_ >= 0 && selected_ < static_cast<int>(rows_.size())) {
        position = static_cast<std::size_t>(selected_) + 1;
    }
    if (!direct) {
        // A row's delay is the pause after it: the pause measured before this event belongs to
        // the row before it, and the new row inherits that row's old pause.
        if (position == 0) {
            action.delay = 0;
        } else {
            std::swap(rows_[position - 1].delay, action.delay);
        }
    }
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), action);
    if (recorded) {
        selected_ = static_cast<int>(position);
    }
}

void MacroEditor::SelectRow(int row) {
    selected_ = (row >= 0 && row < static_cast<int>(rows_.size())) ? row : -1;
}

void MacroEditor::DeleteSelectedAction() {
    if (selected_ < 0 || selected_ >= static_cast<int>(rows_.size())) {
        return;
    }
    rows_.erase(rows_.begin() + selected_);
    selected_ = -1;
    modified_ = true;
}

void MacroEditor::ClearActions() {
    if (rows_.empty() || !AskLanguageQuestion("MACRO_ACTION_CLEAR_CONFIRM", false)) {
        return;
    }
    rows_.clear();
    selected_ = -1;
    modified_ = true;
}

void MacroEditor::MoveSelected(int to) {
    if (selected_ < 0 || selected_ >= static_cast<int>(rows_.size())) {
        return;
    }
    to = std::clamp(to, 0, static_cast<int>(rows_.size()) - 1);
    const MacroAction row = rows_[selected_];
    rows_.erase(rows_.begin() + selected_);
    rows_.insert(rows_.begin() + to, row);
    selected_ = to;
    modified_ = true;
}

void MacroEditor::MoveSelectedToTop() {
    MoveSelected(0);
}
void MacroEditor::MoveSelectedUp() {
    MoveSelected(selected_ - 1);
}
void MacroEditor::MoveSelectedDown() {
    MoveSelected(selected_ + 1);
}
void MacroEditor::MoveSelectedToBottom() {
    MoveSelected(static_cast<int>(rows_.size()) - 1);
}

void MacroEditor::EditKeyCell(int listPosition) {
    if (selected_ < 0 || selected_ >= static_cast<int>(rows_.size()) || listPosition < 0 ||
        listPosition >= kKeyListSize) {
        return;
    }
    MacroAction& row = rows_[selected_];
    if (KeyListPosition(row.key) == listPosition) {
        return;
    }
    row.key = KeyListKey(listPosition);
    modified_ = true;
}

void MacroEditor::EditStateCell(std::uint16_t state) {
    if (selected_ < 0 || selected_ >= static_cast<int>(rows_.size()) || state > 1) {
        return;
    }
    if (rows_[selected_].state != state) {
        rows_[selected_].state = state;
        modified_ = true;
    }
}

void MacroEditor::EditDelayCell(std::u16string_view text) {
    StopRecording();
    if (selected_ < 0 || selected_ >= static_cast<int>(rows_.size())) {
        return;
    }
    std::int64_t delay = std::max<std::int64_t>(0, ReadDecimal(text));
    if (delay > kMaxTypedDelay) {
        ShowMessageText(
            FormatWithNumber(LanguageText("MACRO_ACTION_ERR_DELAY_MAX"), kMaxTypedDelay));
        delay = kMaxTypedDelay;
    }
    const auto rounded = static_cast<std::uint32_t>(delay - delay % 10);
    if (rows_[selected_].delay != rounded) {
        rows_[selected_].delay = rounded;
        modified_ = true;
    }
}

void MacroEditor::EditOtherCell() {
    ShowLanguageMessage("MACRO_ACTION_ERR_MODIFY");
}

void MacroEditor::StartRecording(std::uint64_t nowMs) {
    recording_ = true;
    lastEventTime_ = nowMs;
    lastWindowsKey_ = kNoKey;
}

void MacroEditor::StopRecording() {
    recording_ = false;
    lastWindowsKey_ = kNoKey;
}

void MacroEditor::RecordEvent(KeyId key, std::uint16_t state, std::uint64_t nowMs) {
    if (NeedsSyntheticPress(key)) {
        AddAction(MacroAction{kSyntheticPressDelay, key, 0}, true, true, false);
    }
    const std::uint64_t pause = nowMs > lastEventTime_ ? nowMs - lastEventTime_ : 0;
    const auto delay = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(pause, std::numeric_limits<std::uint32_t>::max()));
    AddAction(MacroAction{delay, key, state}, true, true, false);
    lastEventTime_ = nowMs;
    modified_ = true;
}

bool MacroEditor::OnKeyEvent(std::uint32_t virtualKey, std::uint32_t flags, std::uint64_t nowMs) {
    if (!recording_) {
        return false;
    }
    const KeyId key = KeyFromHookEvent(virtualKey, flags);
    if (key == kNoKey || IsMediaKey(key)) {
        return false;
    }
    const bool release = (flags & kReleaseBit) != 0;
    if (!release && (flags & kPreviousStateBit) != 0) {
        return true; // a key repeat
    }
    RecordEvent(key, release ? 1 : 0, nowMs);
    return true;
}

bool MacroEditor::OnLowLevelKeyEvent(std::uint32_t virtualKey, bool keyDown, std::uint64_t nowMs) {
    if (!recording_ || (virtualKey != 0x5B && virtualKey != 0x5C)) {
        return false;
    }
    const auto key = static_cast<KeyId>(0x100 + virtualKey);
    if (keyDown) {
        if (key == lastWindowsKey_) {
            return true; // a repeat
        }
        lastWindowsKey_ = key;
        RecordEvent(key, 0, nowMs);
    } else {
        lastWindowsKey_ = kNoKey;
        RecordEvent(key, 1, nowMs);
    }
    return true;
}

} // namespace kovrel

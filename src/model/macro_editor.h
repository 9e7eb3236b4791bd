#pragma once
// The macro editor without its window: the editor's own copy of the macro list, the current
// macro and its action rows, recording from key events, the limits with their messages, and the
// commit back into the working store. The editor window wires its controls to these operations
// and shows the state they leave; tests feed recorded events as (virtual key, flags, time).

#include "model/configuration_store.h"
#include "model/macro_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kovrel {

// The longest pause recording keeps: the image holds 4095 units of 10 ms.
inline constexpr std::uint32_t kMaxRecordedDelay = 40950;
// The longest pause a user may type.
inline constexpr std::uint32_t kMaxTypedDelay = 40000;
// The pause every recorded action gets while the record-delay switch is off.
inline constexpr std::uint32_t kFixedRecordDelay = 50;

class MacroEditor {
public:
    struct Entry {
        std::u16string displayName;
        MacroRecord record;
    };

    explicit MacroEditor(ConfigurationStore& working) : working_(working) {}

    // Builds the editor list from the working store (records copied, new flags cleared); no
    // macro is current yet.
    void Open(bool recordDelay);
    // Stops recording and empties everything.
    void Close();

    // --- Macro operations ------------------------------------------------------------------
    void AddMacro();
    void RenameMacro(std::u16string_view text);
    void SelectMacro(int position);
    void DeleteMacro();
    void StoreCurrentMacro();
    void LoadCurrentMacro();
    // Makes a position current and loads it (the editor window's page switch).
    void MakeCurrent(int position);
    void EditCycles(std::u16string_view text);
    void SetRecordDelay(bool on);
    void CommitMacros();

    // --- Action rows -----------------------------------------------------------------------
    void AddAction(MacroAction action, bool recorded, bool afterSelection, bool direct);
    void SelectRow(int row); // -1: no selection
    void DeleteSelectedAction();
    void ClearActions(); // asks first
    void MoveSelectedToTop();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void MoveSelectedToBottom();
    // In-place edits of the selected row.
    void EditKeyCell(int listPosition);
    void EditStateCell(std::uint16_t state);
    void EditDelayCell(std::u16string_view text);
    void EditOtherCell();

    // --- Recording -------------------------------------------------------------------------
    void StartRecording(std::uint64_t nowMs);
    void StopRecording();
    // A thread-hook key event: virtual key and flags word (bits 16-24 scan code and extended
    // bit, bit 30 previous state, bit 31 release). True when the event is swallowed.
    bool OnKeyEvent(std::uint32_t virtualKey, std::uint32_t flags, std::uint64_t nowMs);
    // A low-level hook event; only the Windows keys (0x5B, 0x5C) are handled.
    bool OnLowLevelKeyEvent(std::uint32_t virtualKey, bool keyDown, std::uint64_t nowMs);

    // --- State the window shows ------------------------------------------------------------
    const std::vector<Entry>& Entries() const { return entries_; }
    int Current() const { return current_; }
    const std::vector<MacroAction>& Rows() const { return rows_; }
    int SelectedRow() const { return selected_; }
    const std::u16string& CycleField() const { return cycleField_; }
    int NameCounter() const { return nameCounter_; }
    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }
    bool Recording() const { return recording_; }
    bool RecordDelay() const { return recordDelay_; }
    // Record, delete-action, clear and move buttons.
    bool ActionButtonsEnabled() const { return current_ >= 0; }
    // Add and delete macro, name field: not while recording.
    bool MacroControlsEnabled() const { return !recording_; }

    // The texts of a row's three columns: key name, state ("↓" press, "  ↑" release), delay.
    static std::u16string StateText(std::uint16_t state);
    static std::u16string DelayText(std::uint32_t delay);

private:
    bool HasCurrent() const {
        return current_ >= 0 && current_ < static_cast<int>(entries_.size());
    }
    MacroRecord NewRecord(std::u16string_view name) const;
    void RecordEvent(KeyId key, std::uint16_t state, std::uint64_t nowMs);
    void MoveSelected(int to);

    ConfigurationStore& working_;
    std::vector<Entry> entries_;
    int current_ = -1;
    int nameCounter_ = 0;
    std::vector<MacroAction> rows_;
    int selected_ = -1;
    std::u16string cycleField_;
    bool recordDelay_ = false;
    bool recording_ = false;
    std::uint64_t lastEventTime_ = 0;
    KeyId lastWindowsKey_ = kNoKey;
    bool modified_ = false;
};

// A text read as a decimal number the way the editor's fields are read: leading blanks, an
// optional sign, then digits (none: 0); saturates instead of overflowing.
std::int64_t ReadDecimal(std::u16string_view text);

} // namespace kovrel

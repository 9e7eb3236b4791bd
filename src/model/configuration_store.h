#pragma once
// The configuration in memory: the image header, the 2048 key records of four areas (area n
// belongs to profile n), the macro list and the text table (one text per key record, for the
// program paths and typed texts of kinds LaunchProgram and TextBlock).
//
// `Configuration` is the plain value, so a new configuration can be built aside (from a file,
// from the keyboard) and swapped in only once it is complete. `ConfigurationStore` is one of the
// program's two instances of it, each guarded by its own re-entrant lock:
//   - the working store: what editors change, windows show and files are saved from and loaded
//     into;
//   - the applied store: the snapshot ApplyConfiguration builds the keyboard's images from.
// Whenever both locks are held, the working store's is taken first.

#include "model/configuration_header.h"
#include "model/key_record.h"
#include "model/macro_record.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace kovrel {

struct TextEntry {
    std::u16string text;
    std::uint32_t size = 0; // bytes including the terminator; 0 = no text
    friend bool operator==(const TextEntry&, const TextEntry&) = default;
};

struct Configuration {
    ConfigurationHeader header = CreateHeader();
    std::array<KeyRecord, kRecordCount> records{};
    std::vector<MacroRecord> macros;
    std::array<TextEntry, kRecordCount> texts{};
    std::uint32_t textTotal = 0; // sum of all text sizes
    // The text area laid out by ApplyConfiguration (applied store only).
    std::vector<std::uint8_t> textArea;
    // Set when reading the keyboard failed and this empty configuration stands in for what the
    // keyboard holds: it must not be downloaded over it.
    bool notRead = false;

    AreaRecords Area(int area) {
        return AreaRecords(records.data() + area * kAreaRecords, kAreaRecords);
    }
    ConstAreaRecords Area(int area) const {
        return ConstAreaRecords(records.data() + area * kAreaRecords, kAreaRecords);
    }
    KeyRecord& Record(int area, int number) { return records[area * kAreaRecords + number]; }
    const KeyRecord& Record(int area, int number) const {
        return records[area * kAreaRecords + number];
    }
    // Sets a record's text (cut at its first NUL) with its size, keeping the total in step.
    void SetText(int recordIndex, std::u16string_view text);
};

// An empty configuration: every record Default, the G codes in area 0, no macros, no texts.
Configuration EmptyConfiguration();

// Position of the macro with this id in a macro list, or 0 when none has it.
int MacroPositionIn(std::span<const MacroRecord> macros, std::uint32_t macroId);

class ConfigurationStore {
public:
    using Lock = std::unique_lock<std::recursive_mutex>;

    ConfigurationStore() = default;
    ConfigurationStore(const ConfigurationStore&) = delete;
    ConfigurationStore& operator=(const ConfigurationStore&) = delete;

    // Every reader and writer of the data holds this lock.
    [[nodiscard]] Lock Acquire() { return Lock(mutex_); }
    std::recursive_mutex& Mutex() { return mutex_; }

    // The data; only touched with the lock held.
    Configuration& Data() { return data_; }
    const Configuration& Data() const { return data_; }

    // Puts a configuration in place of the current one (under the lock).
    void Replace(Configuration configuration);

private:
    std::recursive_mutex mutex_;
    Configuration data_ = EmptyConfiguration();
};

// The program's two instances.
ConfigurationStore& WorkingStore();
ConfigurationStore& AppliedStore();

// MacroPosition: the position of the macro with that id in the working store's macro list, or 0
// (under the working store's lock).
int MacroPosition(std::uint32_t macroId);
// MacroIdAt: the id of the working list's macro at a position; 0 for a position outside it.
std::uint16_t MacroIdAt(int position);

} // namespace kovrel

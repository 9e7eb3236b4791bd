#pragma once
// The key records of the configuration store: one 16-byte record per key and G key of each
// profile's area, and the assignment kinds they carry.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kovrel {

enum class AssignmentKind : std::uint16_t {
    Default = 0,
    Disabled = 1,
    Key = 2,
    LaunchProgram = 3,
    Macro = 4,
    StopMacro = 5,
    TextBlock = 6,
    Media = 7,
    Function = 8,
};

inline constexpr std::size_t kKeyRecordSize = 16;
inline constexpr int kAreaCount = 4;
inline constexpr int kAreaRecords = 512;
inline constexpr int kRecordCount = kAreaCount * kAreaRecords; // 2048
// Areas 0-2 belong to the keyboard's three profiles; area 3 is carried but never used.
inline constexpr int kUsedAreas = 3;
// Records 0-255 are keys by key index; then G1-G9 of G-key bank 0 and of bank 1.
inline constexpr int kKeyRecords = 256;
inline constexpr int kGRecordFirst = 256;
inline constexpr int kGKeysPerBank = 9;
inline constexpr int kGRecordEnd = kGRecordFirst + 2 * kGKeysPerBank; // 274

struct KeyRecord {
    // Kept as stored: a file may carry kinds this program does not know, which are saved and
    // encoded (as "leave the slot") like the others.
    std::uint16_t kind = 0;
    std::uint16_t aux = 0; // macro cycles for kind Macro, the G code in G-key records
    std::uint32_t value = 0;
    std::uint32_t mark = 0; // the main window's colour-keys mark; never sent to the keyboard
    std::uint32_t reserved = 0;

    bool Is(AssignmentKind k) const { return kind == static_cast<std::uint16_t>(k); }
    void Set(AssignmentKind k, std::uint32_t v = 0) {
        kind = static_cast<std::uint16_t>(k);
        value = v;
    }
    friend bool operator==(const KeyRecord&, const KeyRecord&) = default;
};

using AreaRecords = std::span<KeyRecord, kAreaRecords>;
using ConstAreaRecords = std::span<const KeyRecord, kAreaRecords>;

void PackKeyRecord(const KeyRecord& record, std::span<std::uint8_t, kKeyRecordSize> out);
KeyRecord UnpackKeyRecord(std::span<const std::uint8_t, kKeyRecordSize> in);

// Record number of G key g (1-9) of bank 0 or 1.
constexpr int GRecordNumber(int bank, int gNumber) {
    return kGRecordFirst + (bank & 1) * kGKeysPerBank + (gNumber - 1);
}
// The G code a G-key record carries: 0x0301-0x0309 for bank 0, 0x1301-0x1309 for bank 1; 0 for
// any record that is no G-key record.
std::uint16_t GCodeOfRecord(int recordNumber);
// Writes the G codes into records 256-273 of an area.
void SetGCodes(AreaRecords area);

} // namespace kovrel

#pragma once
// The lighting record: 42 bytes per on-board profile in the keyboard's settings memory (record p
// at p x 42), its field offsets, the default record and its unpacking into named fields.

#include "lighting/core/colour.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kovrel::lighting {

inline constexpr std::size_t kRecordSize = 42;
inline constexpr std::size_t kDefaultRecordLength = 35;
// What one read of the settings memory returns; the first 42 bytes are the record.
inline constexpr std::uint8_t kRecordReadLength = 56;

using LightingRecord = std::array<std::uint8_t, kRecordSize>;

// Field offsets within a record.
namespace field {
inline constexpr std::size_t kEffect = 0;
inline constexpr std::size_t kBrightness = 1;
inline constexpr std::size_t kSpeed = 2;
inline constexpr std::size_t kDirection = 3;
inline constexpr std::size_t kMulticolour = 4;
inline constexpr std::size_t kMainColour = 5; // 3 bytes
inline constexpr std::size_t kReportRate = 15;
inline constexpr std::size_t kFixedColour = 17;
inline constexpr std::size_t kEffect7Option = 18;
inline constexpr std::size_t kTriggerKind = 19;
inline constexpr std::size_t kSecondColour = 25; // 3 bytes
inline constexpr std::size_t kSecondMulticolour = 28;
inline constexpr std::size_t kThirdColour = 30; // 3 bytes
inline constexpr std::size_t kThirdMulticolour = 33;
} // namespace field

inline constexpr int kMaxBrightness = 4;
inline constexpr int kMaxSpeed = 4;
inline constexpr int kMaxReportRate = 3;
inline constexpr int kMaxFixedColour = 3;
// Direction byte: 255 is the first direction (left, up or spread); the panel writes 0 for the
// second, and any value but 255 reads as the second.
inline constexpr std::uint8_t kFirstDirection = 255;
inline constexpr std::uint8_t kSecondDirection = 0;

enum class FixedColour : int { Red = 0, Yellow = 1, Green = 2, Blue = 3 };

// The first 35 bytes of a factory record: effect 1, brightness 4, speed 1, direction 0,
// multicolour on, main colour red, report-rate byte 255, second and third colours white.
extern const std::array<std::uint8_t, kDefaultRecordLength> kDefaultRecord;

// The fields of the selected profile's record that the program works with.
struct LightingFields {
    int effect = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    bool multicolour = false;
    Rgb mainColour;
    int reportRate = 0;  // 0 to 3
    int fixedColour = 0; // 0 to 3
    int effect7Option = 0;
    int triggerKind = 0; // 0 single key, 1 grid
    Rgb secondColour;
    bool secondMulticolour = false;
    Rgb thirdColour;
    bool thirdMulticolour = false;

    friend bool operator==(const LightingFields&, const LightingFields&) = default;
};

// Copies the record into `fields` with the reading rules: report-rate above 3 reads as 3, fixed
// colour above 3 as 0 (red), a multicolour flag is on when not zero; offset 18 is taken only for
// effect 7 and only when 0 or 1, and offset 19 only when 0 or 1 (otherwise the field keeps its
// value).
void UnpackRecord(const LightingRecord& record, LightingFields& fields);

// One field to write: bytes at an offset within the record.
struct FieldWrite {
    std::size_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

FieldWrite ByteField(std::size_t offset, int value);
FieldWrite ColourField(std::size_t offset, Rgb colour);

} // namespace kovrel::lighting

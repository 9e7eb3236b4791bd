#include "lighting/core/lighting_record.h"

namespace kovrel::lighting {

const std::array<std::uint8_t, kDefaultRecordLength> kDefaultRecord = {
    1, 4, 1, 0,   255, 255, 0, 0,   8,   255, 255, 255, 255, 0,   0,   255, 255, 0,
    0, 0, 0, 255, 255, 0,   0, 255, 255, 255, 0,   0,   255, 255, 255, 0,   0};

namespace {

Rgb ColourAt(const LightingRecord& record, std::size_t offset) {
    return Rgb{record[offset], record[offset + 1], record[offset + 2]};
}

} // namespace

void UnpackRecord(const LightingRecord& record, LightingFields& fields) {
    fields.effect = record[field::kEffect];
    fields.brightness = record[field::kBrightness];
    fields.speed = record[field::kSpeed];
    fields.direction = record[field::kDirection];
    fields.multicolour = record[field::kMulticolour] != 0;
    fields.mainColour = ColourAt(record, field::kMainColour);
    const int reportRate = record[field::kReportRate];
    fields.reportRate = reportRate > kMaxReportRate ? kMaxReportRate : reportRate;
    const int fixed = record[field::kFixedColour];
    fields.fixedColour = fixed > kMaxFixedColour ? 0 : fixed;
    const int option = record[field::kEffect7Option];
    if (fields.effect == 7 && (option == 0 || option == 1)) {
        fields.effect7Option = option;
    }
    const int trigger = record[field::kTriggerKind];
    if (trigger == 0 || trigger == 1) {
        fields.triggerKind = trigger;
    }
    fields.secondColour = ColourAt(record, field::kSecondColour);
    fields.secondMulticolour = record[field::kSecondMulticolour] != 0;
    fields.thirdColour = ColourAt(record, field::kThirdColour);
    fields.thirdMulticolour = record[field::kThirdMulticolour] != 0;
}

FieldWrite ByteField(std::size_t offset, int value) {
    return FieldWrite{offset, {static_cast<std::uint8_t>(value)}};
}

FieldWrite ColourField(std::size_t offset, Rgb colour) {
    return FieldWrite{offset, {colour.r, colour.g, colour.b}};
}

} // namespace kovrel::lighting

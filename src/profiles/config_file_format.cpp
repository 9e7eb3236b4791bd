#include "profiles/config_file_format.h"

#include "model/byte_order.h"

#include <algorithm>

namespace kovrel::profiles {
namespace {

bool HoldsText(const KeyRecord& record) {
    return record.Is(AssignmentKind::LaunchProgram) || record.Is(AssignmentKind::TextBlock);
}

} // namespace

std::vector<std::uint8_t> SerializeConfiguration(Configuration& configuration) {
    const std::size_t macroCount =
        std::min(configuration.macros.size(), static_cast<std::size_t>(kMaxMacros));
    RewriteHeader(configuration.header, static_cast<std::uint16_t>(macroCount),
                  configuration.textTotal);

    std::vector<std::uint8_t> text(configuration.textTotal, 0);
    std::size_t offset = 0;
    for (int i = 0; i < kRecordCount; ++i) {
        KeyRecord& record = configuration.records[i];
        const TextEntry& entry = configuration.texts[i];
        if (!HoldsText(record) || entry.size == 0) {
            continue;
        }
        offset &= ~static_cast<std::size_t>(1);
        if (!bytes::Fits(text.size(), offset, entry.size)) {
            continue;
        }
        for (std::size_t c = 0; c < entry.text.size() && 2 * c + 1 < entry.size; ++c) {
            bytes::PutU16(text, offset + 2 * c, entry.text[c]);
        }
        record.value = static_cast<std::uint32_t>(offset);
        offset += entry.size;
    }

    std::vector<std::uint8_t> file(kRecordsImageSize + macroCount * kMacroRecordSize + text.size());
    std::copy(configuration.header.begin(), configuration.header.end(), file.begin());
    for (int i = 0; i < kRecordCount; ++i) {
        PackKeyRecord(configuration.records[i],
                      std::span<std::uint8_t, kKeyRecordSize>(
                          file.data() + kHeaderSize + i * kKeyRecordSize, kKeyRecordSize));
    }
    for (std::size_t m = 0; m < macroCount; ++m) {
        PackMacroRecord(configuration.macros[m],
                        std::span<std::uint8_t, kMacroRecordSize>(file.data() + kRecordsImageSize +
                                                                      m * kMacroRecordSize,
                                                                  kMacroRecordSize));
    }
    std::copy(text.begin(), text.end(),
              file.begin() + kRecordsImageSize + macroCount * kMacroRecordSize);
    return file;
}

ParseResult ParseConfiguration(std::span<const std::uint8_t> file, Configuration& out) {
    if (file.size() < kRecordsImageSize) {
        return ParseResult::Truncated;
    }
    Configuration configuration;
    std::copy_n(file.begin(), kHeaderSize, configuration.header.begin());
    const HeaderFields fields = ReadHeaderFields(configuration.header);
    if (fields.macroCount > kMaxMacros) {
        return ParseResult::TooManyMacros;
    }
    const std::size_t macrosAt = kRecordsImageSize;
    const std::size_t textAt = macrosAt + fields.macroCount * kMacroRecordSize;
    if (!bytes::Fits(file.size(), textAt, fields.textSize)) {
        return ParseResult::Truncated;
    }
    for (int i = 0; i < kRecordCount; ++i) {
        configuration.records[i] = UnpackKeyRecord(std::span<const std::uint8_t, kKeyRecordSize>(
            file.data() + kHeaderSize + i * kKeyRecordSize, kKeyRecordSize));
    }
    configuration.macros.resize(fields.macroCount);
    for (std::size_t m = 0; m < fields.macroCount; ++m) {
        if (!UnpackMacroRecord(std::span<const std::uint8_t, kMacroRecordSize>(
                                   file.data() + macrosAt + m * kMacroRecordSize, kMacroRecordSize),
                               configuration.macros[m])) {
            return ParseResult::TooManyMacros;
        }
    }
    const std::span<const std::uint8_t> text = file.subspan(textAt, fields.textSize);
    for (int i = 0; i < kRecordCount; ++i) {
        const KeyRecord& record = configuration.records[i];
        if (!HoldsText(record)) {
            continue;
        }
        std::u16string string;
        std::size_t at = record.value;
        for (;;) {
            if (!bytes::Fits(text.size(), at, 2)) {
                return ParseResult::BadText;
            }
            const char16_t c = bytes::GetU16(text, at);
            if (c == 0) {
                break;
            }
            string.push_back(c);
            at += 2;
        }
        configuration.SetText(i, string);
    }
    out = std::move(configuration);
    return ParseResult::Ok;
}

} // namespace kovrel::profiles

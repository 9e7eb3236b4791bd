#include "model/configuration_header.h"

#include "model/byte_order.h"
#include "model/key_record.h"
#include "model/macro_record.h"

namespace kovrel {
namespace {

constexpr std::uint16_t kMark = 0x4446;
constexpr std::uint16_t kVersion = 32;
constexpr std::uint16_t kKind = 3;
constexpr std::uint16_t kOne = 1;
constexpr std::array<std::uint32_t, 8> kConstants = {0x0020484B, 0x00008020, 0x02000004, 0,
                                                     0x75110C45, 0x000E1C4F, 0,          0};

} // namespace

ConfigurationHeader CreateHeader() {
    ConfigurationHeader header{};
    for (std::size_t i = 0; i < kConstants.size(); ++i) {
        bytes::PutU32(header, 32 + 4 * i, kConstants[i]);
    }
    RewriteHeader(header, 0, 0);
    return header;
}

std::uint64_t ConfigurationTotalSize(std::uint64_t macroCount, std::uint64_t textSize) {
    return kRecordsImageSize + macroCount * kMacroRecordSize + textSize;
}

void RewriteHeader(ConfigurationHeader& header, std::uint16_t macroCount, std::uint32_t textSize) {
    bytes::PutU16(header, 0, kMark);
    bytes::PutU16(header, 2, kVersion);
    bytes::PutU16(header, 4, kKind);
    bytes::PutU16(header, 6, kOne);
    // The field is 32 bits wide; a store never comes near 4 GiB (100 macros and 2048 texts).
    bytes::PutU32(header, 8,
                  static_cast<std::uint32_t>(ConfigurationTotalSize(macroCount, textSize)));
    bytes::PutU16(header, 12, static_cast<std::uint16_t>(kRecordCount));
    bytes::PutU16(header, 14, macroCount);
    bytes::PutU32(header, 16, textSize);
    bytes::PutU32(header, 20, 0);
    bytes::PutU32(header, 24, 0);
    bytes::PutU16(header, 28, 0);
    header[30] = 0;
    header[31] = HeaderChecksum(header);
}

HeaderFields ReadHeaderFields(std::span<const std::uint8_t, kHeaderSize> header) {
    HeaderFields f;
    f.mark = bytes::GetU16(header, 0);
    f.version = bytes::GetU16(header, 2);
    f.kind = bytes::GetU16(header, 4);
    f.one = bytes::GetU16(header, 6);
    f.totalSize = bytes::GetU32(header, 8);
    f.recordCount = bytes::GetU16(header, 12);
    f.macroCount = bytes::GetU16(header, 14);
    f.textSize = bytes::GetU32(header, 16);
    f.flag = header[30];
    f.checksum = header[31];
    return f;
}

std::uint8_t HeaderChecksum(std::span<const std::uint8_t, kHeaderSize> header) {
    unsigned sum = 0;
    for (std::size_t i = 0; i <= 30; ++i) {
        sum += header[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

bool HeaderPassesTest(std::span<const std::uint8_t, kHeaderSize> header) {
    const HeaderFields f = ReadHeaderFields(header);
    return f.mark == kMark && f.version == kVersion && f.kind == kKind && f.one == kOne &&
           f.totalSize >= kRecordsImageSize && f.recordCount == kRecordCount &&
           f.macroCount <= kMaxMacros && f.flag <= 1 &&
           f.totalSize == ConfigurationTotalSize(f.macroCount, f.textSize) &&
           f.checksum == HeaderChecksum(header);
}

} // namespace kovrel

#include "model/macro_record.h"

#include "model/byte_order.h"

#include <algorithm>
#include <array>

namespace kovrel {
namespace {

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kNameUnits = 250; // 249 characters and the terminator
constexpr std::size_t kCyclesOffset = 500;
constexpr std::size_t kNewFlagOffset = 502;
constexpr std::size_t kIdOffset = 506;
constexpr std::size_t kCountOffset = 508;
constexpr std::size_t kActionsOffset = 512;

} // namespace

std::u16string CutMacroName(std::u16string_view name) {
    return std::u16string(name.substr(0, kMaxMacroNameChars));
}

void PackMacroRecord(const MacroRecord& macro, std::span<std::uint8_t, kMacroRecordSize> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    const std::size_t nameLength = std::min(macro.name.size(), kMaxMacroNameChars);
    for (std::size_t i = 0; i < nameLength; ++i) {
        bytes::PutU16(out, kNameOffset + 2 * i, macro.name[i]);
    }
    bytes::PutU8(out, kCyclesOffset, macro.cycles);
    bytes::PutU16(out, kNewFlagOffset, macro.newFlag);
    bytes::PutU16(out, kIdOffset, macro.macroId);
    const std::size_t count =
        std::min(macro.actions.size(), static_cast<std::size_t>(kMaxMacroActions));
    bytes::PutU16(out, kCountOffset, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kActionsOffset + i * kMacroActionSize;
        bytes::PutU32(out, at, macro.actions[i].delay);
        bytes::PutU16(out, at + 4, macro.actions[i].key);
        bytes::PutU16(out, at + 6, macro.actions[i].state);
    }
}

bool UnpackMacroRecord(std::span<const std::uint8_t, kMacroRecordSize> in, MacroRecord& out) {
    const std::uint16_t count = bytes::GetU16(in, kCountOffset);
    if (count > kMaxMacroActions) {
        return false;
    }
    out = MacroRecord{};
    for (std::size_t i = 0; i < kMaxMacroNameChars; ++i) {
        const char16_t c = bytes::GetU16(in, kNameOffset + 2 * i);
        if (c == 0) {
            break;
        }
        out.name.push_back(c);
    }
    static_assert(kNameUnits * 2 <= kCyclesOffset);
    out.cycles = in[kCyclesOffset];
    out.newFlag = bytes::GetU16(in, kNewFlagOffset);
    out.macroId = bytes::GetU16(in, kIdOffset);
    out.actions.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kActionsOffset + i * kMacroActionSize;
        out.actions[i].delay = bytes::GetU32(in, at);
        out.actions[i].key = bytes::GetU16(in, at + 4);
        out.actions[i].state = bytes::GetU16(in, at + 6);
    }
    return true;
}

std::uint16_t SmallestFreeMacroId(std::span<const MacroRecord> macros) {
    std::array<bool, kMaxMacros + 1> used{};
    for (const MacroRecord& macro : macros) {
        if (macro.macroId >= 1 && macro.macroId <= kMaxMacros) {
            used[macro.macroId] = true;
        }
    }
    for (int id = 1; id <= kMaxMacros; ++id) {
        if (!used[id]) {
            return static_cast<std::uint16_t>(id);
        }
    }
    return 0;
}

} // namespace kovrel

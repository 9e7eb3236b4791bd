#include "model/key_usage.h"

#include "model/key_table_data.h"

#include <algorithm>

namespace kovrel {
namespace {

using key_data::kKeyTable;

constexpr bool IsDesktopByte(unsigned byte) {
    return byte >= 0x81 && byte <= 0x83;
}
constexpr bool IsConsumerByte(unsigned byte) {
    return byte >= 0xC0 && byte <= 0xDF;
}

// For each usage byte the key of the lowest slot that carries it (0 where none does).
constexpr std::array<KeyId, 256> BuildUsageByteKeys() {
    std::array<KeyId, 256> keys{};
    for (int index = kKeyTableSize - 1; index > 0; --index)
        keys[kKeyTable[index].usageByte] = KeyOfIndex(index);
    keys[0x00] = kNoKey;
    keys[0xFF] = kNoKey;
    return keys;
}

constexpr std::array<KeyId, 256> kUsageByteKeys = BuildUsageByteKeys();

static_assert(kUsageByteKeys[0x48] == 0x045, "Pause, not Break");
static_assert(kUsageByteKeys[0xE5] == 0x036, "Right Shift, not its twin 0x136");
static_assert(kUsageByteKeys[0x46] == 0x137);

constexpr bool MediaKeysAgreeWithConsumerUsages() {
    for (const auto& row : key_data::kMediaRows) {
        if (!IsConsumerByte(row.usageByte) ||
            key_data::kConsumerUsages[row.usageByte - 0xC0] != row.consumerUsage)
            return false;
    }
    return true;
}
static_assert(MediaKeysAgreeWithConsumerUsages());

} // namespace

std::span<const std::uint16_t, 32> ConsumerUsages() {
    return key_data::kConsumerUsages;
}

HidUsage DecodeUsageByte(std::uint8_t usageByte) {
    if (usageByte == 0x00 || usageByte == 0xFF)
        return {};
    if (IsDesktopByte(usageByte))
        return {kPageGenericDesktop, usageByte};
    if (IsConsumerByte(usageByte))
        return {kPageConsumer, key_data::kConsumerUsages[usageByte - 0xC0]};
    return {kPageKeyboard, usageByte};
}

HidUsage KeyToUsage(KeyId key) {
    return DecodeUsageByte(KeySlotOf(key).usageByte);
}

KeyId UsageToKey(std::uint16_t page, std::uint16_t usage) {
    // Usage 0 is "no usage" on every page; consumer usage 0 in particular is what the unused
    // consumer bytes decode to, and no key may be found by it.
    if (usage == 0)
        return kNoKey;
    switch (page) {
    case kPageKeyboard:
        // Only bytes that decode back to the keyboard page are keyboard usages; the others
        // encode desktop and consumer usages.
        if (usage > 0xFF || IsDesktopByte(usage) || IsConsumerByte(usage))
            return kNoKey;
        return kUsageByteKeys[usage];
    case kPageGenericDesktop:
        return IsDesktopByte(usage) ? kUsageByteKeys[usage] : kNoKey;
    case kPageConsumer: {
        const auto& usages = key_data::kConsumerUsages;
        const auto found = std::find(usages.begin(), usages.end(), usage);
        if (found == usages.end())
            return kNoKey;
        return kUsageByteKeys[0xC0 + (found - usages.begin())];
    }
    default:
        return kNoKey;
    }
}

std::uint8_t ModifierBit(KeyId key) {
    if (key == kNoKey)
        return 0;
    for (std::size_t bit = 0; bit < key_data::kModifierKeys.size(); ++bit) {
        if (key_data::kModifierKeys[bit] == key)
            return static_cast<std::uint8_t>(1u << bit);
    }
    return 0;
}

KeyId ModifierKey(std::uint8_t modifiers) {
    for (std::size_t bit = 0; bit < key_data::kModifierKeys.size(); ++bit) {
        if (modifiers & (1u << bit))
            return key_data::kModifierKeys[bit];
    }
    return kNoKey;
}

} // namespace kovrel

#include "model/media_keys.h"

#include "model/key_table_data.h"
#include "skin/core/language_table.h"

namespace kovrel {
namespace {

constexpr std::array<MediaKey, kMediaKeyCount> BuildMediaKeys() {
    std::array<MediaKey, kMediaKeyCount> keys{};
    for (int i = 0; i < kMediaKeyCount; ++i) {
        const auto& row = key_data::kMediaRows[i];
        keys[i] = {row.id, row.languageEntry, row.vk, row.usageByte, row.consumerUsage};
    }
    return keys;
}

constexpr std::array<MediaKey, kMediaKeyCount> kMediaKeys = BuildMediaKeys();

} // namespace

std::span<const MediaKey, kMediaKeyCount> MediaKeys() {
    return kMediaKeys;
}

bool IsMediaKey(KeyId key) {
    return MediaIndexOfKey(key) >= 0;
}

int MediaIndexOfKey(KeyId key) {
    if (key == kNoKey)
        return -1;
    for (int i = 0; i < kMediaKeyCount; ++i) {
        if (kMediaKeys[i].key == key)
            return i;
    }
    return -1;
}

int MediaIndexOfConsumerUsage(std::uint16_t usage) {
    if (usage == 0)
        return -1;
    for (int i = 0; i < kMediaKeyCount; ++i) {
        if (kMediaKeys[i].consumerUsage == usage)
            return i;
    }
    return -1;
}

KeyId MediaKeyOf(int mediaIndex) {
    if (mediaIndex < 0 || mediaIndex >= kMediaKeyCount)
        return kNoKey;
    return kMediaKeys[mediaIndex].key;
}

std::uint16_t MediaConsumerUsage(int mediaIndex) {
    if (mediaIndex < 0 || mediaIndex >= kMediaKeyCount)
        return 0;
    return kMediaKeys[mediaIndex].consumerUsage;
}

std::u16string MediaKeyName(int mediaIndex) {
    if (mediaIndex < 0 || mediaIndex >= kMediaKeyCount)
        return {};
    return LanguageText(kMediaKeys[mediaIndex].languageEntry);
}

} // namespace kovrel

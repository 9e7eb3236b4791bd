#pragma once
// The 18 media keys. A "media" assignment stores the media index; the keyboard receives the
// consumer usage; the name is a language text.

#include "model/key_table.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kovrel {

inline constexpr int kMediaKeyCount = 18;

struct MediaKey {
    KeyId key;
    std::string_view languageEntry; // e.g. "MEDIA_MUTE_8"
    std::uint8_t virtualKey;
    std::uint8_t usageByte;
    std::uint16_t consumerUsage;
};

// In media index order 0-17.
std::span<const MediaKey, kMediaKeyCount> MediaKeys();

// True for the 18 key ids of MediaKeys().
bool IsMediaKey(KeyId key);
// Media index 0-17 of a key id, or -1.
int MediaIndexOfKey(KeyId key);
// Media index 0-17 whose consumer usage is `usage`, or -1 (usage 0 is no media key).
int MediaIndexOfConsumerUsage(std::uint16_t usage);
// By media index; an index outside 0-17 (a damaged file) gives key 0, usage 0, empty name.
KeyId MediaKeyOf(int mediaIndex);
std::uint16_t MediaConsumerUsage(int mediaIndex);
// The current language text of the media key's entry.
std::u16string MediaKeyName(int mediaIndex);

} // namespace kovrel

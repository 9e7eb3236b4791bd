#pragma once
// Every key the program knows, by key id: its display name, its place in the pick list of
// ordinary keys, its virtual-key codes and its HID usage byte. One fixed table of 256 slots,
// addressed by key index.
//
// All lookups accept any 16-bit key id. Key ids in use lie in 0x001-0x07F and 0x100-0x17F;
// an id above 0x17F (a hook event's 9-bit scan field, a damaged file) has no slot of its own and
// answers like an empty slot: no name, no list position, no usage.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kovrel {

// PC/AT scan code set 1 make code, plus 0x100 for keys sent with the 0xE0 prefix; 0 = no key.
using KeyId = std::uint16_t;

inline constexpr KeyId kNoKey = 0;
inline constexpr KeyId kLastKeyId = 0x17F;
inline constexpr int kKeyTableSize = 256;
inline constexpr int kKeyListSize = 106;
// List position of a key that is not in the key list; any value above 105 means "no selection"
// to the list controls.
inline constexpr int kNoListPosition = 255;

struct KeySlot {
    // Display text; empty for slots without a key and for media keys, whose name is the
    // language entry below.
    std::u16string_view name;
    // For the 18 media keys: the language entry that names the key; empty otherwise.
    std::string_view languageEntry;
    std::uint8_t listPosition = kNoListPosition; // 0-105, or kNoListPosition
    std::uint8_t virtualKey = 0;                 // Windows virtual-key code
    std::uint8_t virtualKeyNumLockOff = 0;       // differs only on the numeric-pad digits and point
    std::uint8_t usageByte = 0;                  // HID usage in one byte (see key_usage.h)
};

// The whole table, one slot per key index.
std::span<const KeySlot, kKeyTableSize> KeyTable();

// Key index 0-255 of a key id: the id itself below 0x100, low byte + 128 for 0x100-0x17F.
// Ids above 0x17F have no index of their own and give 0, the always empty slot of "no key".
// (Ids 0x080-0x0FF are not in use; by the rule above they share the index of 0x100-0x17F.)
constexpr int KeyIndexOf(KeyId key) {
    if (key < 0x100)
        return key;
    if (key <= kLastKeyId)
        return (key & 0xFF) + 128;
    return 0;
}
// Key id of a key index: below 128 the index itself, 128-255 index + 128; anything else 0.
constexpr KeyId KeyOfIndex(int index) {
    if (index < 0 || index >= kKeyTableSize)
        return kNoKey;
    return static_cast<KeyId>(index < 128 ? index : index + 128);
}
// The slot of a key id (the empty slot for ids above 0x17F).
const KeySlot& KeySlotOf(KeyId key);

// The display name: the slot's name, the media key's language text, or, when that is empty, the
// language entry UNKNOWN_KEY formatted with the key id as three lower-case hex digits.
std::u16string KeyName(KeyId key);
// The same name written into a fixed buffer of buffer.size() characters with a terminator: cut
// to size - 1 characters when it does not fit. Returns the characters written, terminator not
// counted (0 and nothing written for an empty buffer).
std::size_t KeyName(KeyId key, std::span<char16_t> buffer);
// UNKNOWN_KEY's pattern filled in with the key id. The pattern is language text and so is
// treated as data: the first integer conversion (%x, %03x, %X, %d, %u, %i with flags '-' and
// '0', width and precision; other flags are ignored, widths are cut to 259) takes the key id,
// "%%" gives "%", every other '%' sequence, a second conversion included, stays as written.
std::u16string FormatUnknownKeyName(std::u16string_view pattern, KeyId key);

// The key list: the 106 keys a user can pick as an ordinary key, in list order (the chosen row
// number is the list position). Positions outside 0-105 give an empty name and key 0.
std::span<const KeyId, kKeyListSize> KeyList();
std::u16string_view KeyListName(int position);
KeyId KeyListKey(int position);
// The list position of a key, or kNoListPosition.
int KeyListPosition(KeyId key);

// Keys whose press never reaches a keyboard hook on its own, so recording adds the press
// itself: 0x054 "Sys Req", 0x071 "KL", 0x072 "KR", 0x137 "Print Screen".
bool NeedsSyntheticPress(KeyId key);

// The skin description key of a key button: "KEY_%03X" of the key's KEY INDEX (Home, key id
// 0x147, is "KEY_0C7"). Used by the window that places the buttons and by the skin generator.
std::string SkinKeyOf(KeyId key);

} // namespace kovrel

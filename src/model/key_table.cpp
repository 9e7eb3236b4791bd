#include "model/key_table.h"

#include "model/key_table_data.h"
#include "skin/core/language_table.h"

#include <algorithm>
#include <cstdio>

namespace kovrel {
namespace {

using key_data::kKeyTable;

// The key list: for each position the key of the first slot (in index order) that holds it.
constexpr std::array<KeyId, kKeyListSize> BuildKeyList() {
    std::array<KeyId, kKeyListSize> list{};
    for (int index = kKeyTableSize - 1; index >= 0; --index) {
        const int position = kKeyTable[index].listPosition;
        if (position < kKeyListSize)
            list[position] = KeyOfIndex(index);
    }
    for (KeyId key : list) {
        if (key == kNoKey)
            key_data::DataError("a key list position without a key");
    }
    return list;
}

constexpr std::array<KeyId, kKeyListSize> kKeyList = BuildKeyList();

static_assert(kKeyList[0] == 0x01E && kKeyList[25] == 0x02C && kKeyList[105] == 0x15C);
static_assert(kKeyList[103] == 0x036, "the first of the two Right Shift slots holds the position");

const KeySlot kEmptySlot{};

// Width and precision of a conversion are cut so that a damaged language text cannot ask for a
// huge string; a language entry is at most 259 characters anyway.
constexpr int kMaxFieldWidth = 259;

std::u16string FormatInteger(unsigned value, char conversion, bool leftAlign, bool zeroPad,
                             int width, int precision) {
    char digits[16];
    const char* format = conversion == 'x' ? "%x" : conversion == 'X' ? "%X" : "%u";
    std::snprintf(digits, sizeof digits, format, value);
    std::u16string body;
    const int count = static_cast<int>(std::char_traits<char>::length(digits));
    if (precision > count)
        body.append(precision - count, u'0');
    body.append(digits, digits + count);
    const int bodyLength = static_cast<int>(body.size());
    if (width <= bodyLength)
        return body;
    if (leftAlign)
        return body + std::u16string(width - bodyLength, u' ');
    const char16_t pad = zeroPad && precision < 0 ? u'0' : u' ';
    return std::u16string(width - bodyLength, pad) + body;
}

} // namespace

std::span<const KeySlot, kKeyTableSize> KeyTable() {
    return kKeyTable;
}

const KeySlot& KeySlotOf(KeyId key) {
    if (key > kLastKeyId)
        return kEmptySlot;
    return kKeyTable[KeyIndexOf(key)];
}

std::u16string FormatUnknownKeyName(std::u16string_view pattern, KeyId key) {
    std::u16string out;
    bool used = false;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char16_t c = pattern[i];
        if (c != u'%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == u'%') {
            out += u'%';
            i += 2;
            continue;
        }
        // %[flags][width][.precision][length]conversion
        std::size_t j = i + 1;
        bool leftAlign = false;
        bool zeroPad = false;
        while (j < pattern.size() &&
               std::u16string_view(u"-+ #0").find(pattern[j]) != std::u16string_view::npos) {
            leftAlign = leftAlign || pattern[j] == u'-';
            zeroPad = zeroPad || pattern[j] == u'0';
            ++j;
        }
        int width = 0;
        while (j < pattern.size() && pattern[j] >= u'0' && pattern[j] <= u'9') {
            width = std::min(width * 10 + (pattern[j] - u'0'), kMaxFieldWidth);
            ++j;
        }
        int precision = -1;
        if (j < pattern.size() && pattern[j] == u'.') {
            precision = 0;
            ++j;
            while (j < pattern.size() && pattern[j] >= u'0' && pattern[j] <= u'9') {
                precision = std::min(precision * 10 + (pattern[j] - u'0'), kMaxFieldWidth);
                ++j;
            }
        }
        while (j < pattern.size() &&
               std::u16string_view(u"hlLjzt").find(pattern[j]) != std::u16string_view::npos)
            ++j;
        const char16_t conversion = j < pattern.size() ? pattern[j] : u'\0';
        const bool integer = conversion == u'x' || conversion == u'X' || conversion == u'd' ||
                             conversion == u'i' || conversion == u'u';
        if (!integer || used) {
            // Not a conversion the key id can fill: keep the text as written.
            const std::size_t end = std::min(j + 1, pattern.size());
            out.append(pattern.substr(i, end - i));
            i = end;
            continue;
        }
        used = true;
        const char narrow = conversion == u'x' ? 'x' : conversion == u'X' ? 'X' : 'u';
        out += FormatInteger(key, narrow, leftAlign, zeroPad, width, precision);
        i = j + 1;
    }
    return out;
}

std::u16string KeyName(KeyId key) {
    const KeySlot& slot = KeySlotOf(key);
    std::u16string name =
        slot.languageEntry.empty() ? std::u16string(slot.name) : LanguageText(slot.languageEntry);
    if (name.empty())
        name = FormatUnknownKeyName(LanguageText("UNKNOWN_KEY"), key);
    return name;
}

std::size_t KeyName(KeyId key, std::span<char16_t> buffer) {
    if (buffer.empty())
        return 0;
    const std::u16string name = KeyName(key);
    const std::size_t count = std::min(name.size(), buffer.size() - 1);
    std::copy_n(name.begin(), count, buffer.begin());
    buffer[count] = u'\0';
    return count;
}

std::u16string_view KeyListName(int position) {
    const KeyId key = KeyListKey(position);
    return key == kNoKey ? std::u16string_view() : kKeyTable[KeyIndexOf(key)].name;
}

std::span<const KeyId, kKeyListSize> KeyList() {
    return kKeyList;
}

KeyId KeyListKey(int position) {
    if (position < 0 || position >= kKeyListSize)
        return kNoKey;
    return kKeyList[position];
}

int KeyListPosition(KeyId key) {
    return KeySlotOf(key).listPosition;
}

bool NeedsSyntheticPress(KeyId key) {
    const auto& keys = key_data::kSyntheticPressKeys;
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::string SkinKeyOf(KeyId key) {
    char text[16];
    std::snprintf(text, sizeof text, "KEY_%03X", static_cast<unsigned>(KeyIndexOf(key)));
    return text;
}

} // namespace kovrel

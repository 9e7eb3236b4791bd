#include "skin/core/skin_file.h"

#include <climits>

#include "platform/ini.h"
#include "platform/text.h"

namespace kovrel::skin {

namespace {

bool IsScanfBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// One "%d": blanks, an optional sign, at least one digit. Values beyond the int range are
// clamped rather than left undefined.
bool ScanInt(std::u16string_view text, std::size_t& pos, int& out) {
    std::size_t i = pos;
    while (i < text.size() && IsScanfBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const std::size_t digitsStart = i;
    long long value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (text[i] - u'0');
        }
        ++i;
    }
    if (i == digitsStart) {
        return false;
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        value = INT_MAX;
    } else if (value < INT_MIN) {
        value = INT_MIN;
    }
    out = static_cast<int>(value);
    pos = i;
    return true;
}

std::filesystem::path PathFromText(std::u16string_view text) {
    return std::filesystem::path(platform::ToUtf8(text));
}

std::u16string AsciiText(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

SkinRect ParseSkinRect(std::u16string_view value) {
    SkinRect rect;
    int* fields[] = {&rect.x, &rect.y, &rect.w, &rect.h};
    std::size_t pos = 0;
    for (std::size_t n = 0; n < 4; ++n) {
        if (n > 0) {
            if (pos >= value.size() || value[pos] != u',') {
                break;
            }
            ++pos;
        }
        if (!ScanInt(value, pos, *fields[n])) {
            break;
        }
    }
    return rect;
}

SkinRect ReadSkinRect(const std::filesystem::path& skinFile, std::u16string_view section,
                      std::u16string_view key) {
    return ParseSkinRect(
        platform::ReadIniString(section, key, kMissingRectValue, skinFile, kRectValueCapacity));
}

SkinScreen ReadSkinScreen(const std::filesystem::path& skinFile) {
    SkinScreen screen;
    screen.main =
        platform::ReadIniString(kScreenSection, u"Main", u"", skinFile, kScreenValueCapacity);
    screen.mask = platform::ReadIniString(kScreenSection, u"Mask", screen.main, skinFile,
                                          kScreenValueCapacity);
    return screen;
}

std::u16string ReadSkinLink(const std::filesystem::path& mainSkinFile) {
    return platform::ReadIniString(kScreenSection, u"Link", kDefaultLink, mainSkinFile,
                                   kScreenValueCapacity);
}

std::filesystem::path SkinsFolder(const std::filesystem::path& programFolder) {
    return programFolder / "Skins";
}

std::filesystem::path ResolveSkinName(const std::filesystem::path& folder,
                                      std::u16string_view name) {
    std::u16string portable(name);
    for (char16_t& c : portable) {
        if (c == u'\\') {
            c = u'/';
        }
    }
    std::filesystem::path relative = PathFromText(portable).relative_path();
    if (relative.empty()) {
        return folder;
    }
    return folder / relative;
}

std::u16string GKeySkinKey(int number) {
    return AsciiText("FUNC_G" + std::to_string(number));
}

std::u16string KeyButtonSkinKey(std::uint16_t keyCode) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const int digit = (keyCode >> shift) & 0xF;
        if (!digits.empty() || digit != 0 || shift < 12) {
            digits.push_back(kHex[digit]);
        }
    }
    return AsciiText("KEY_" + digits);
}

std::u16string NumberedSkinKey(std::u16string_view word, int number) {
    std::u16string key(word);
    key += AsciiText(std::to_string(number));
    return key;
}

} // namespace kovrel::skin

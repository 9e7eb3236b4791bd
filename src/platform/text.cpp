#include "platform/text.h"

#include <cstdint>

namespace kovrel::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool IsContinuation(std::uint8_t b) {
    return (b & 0xC0) == 0x80;
}

} // namespace

std::u16string FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const auto b0 = static_cast<std::uint8_t>(utf8[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        // Lead byte: length and the allowed range of the second byte (which rules out overlong
        // forms, surrogates and values past U+10FFFF). A broken sequence becomes one U+FFFD for
        // its longest valid prefix, the usual practice.
        int length = 0;
        std::uint8_t lo = 0x80, hi = 0xBF;
        char32_t c = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2;
            c = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            c = b0 & 0x0F;
            if (b0 == 0xE0)
                lo = 0xA0;
            if (b0 == 0xED)
                hi = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            c = b0 & 0x07;
            if (b0 == 0xF0)
                lo = 0x90;
            if (b0 == 0xF4)
                hi = 0x8F;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool ok = true;
        for (int k = 1; k < length; ++k, ++j) {
            if (j >= n) {
                ok = false;
                break;
            }
            const auto b = static_cast<std::uint8_t>(utf8[j]);
            if (k == 1 ? (b < lo || b > hi) : !IsContinuation(b)) {
                ok = false;
                break;
            }
            c = (c << 6) | (b & 0x3F);
        }
        if (!ok) {
            out.push_back(kReplacement);
            i = j;
            continue;
        }
        AppendUtf16(out, c);
        i = j;
    }
    return out;
}

std::string ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    const std::size_t n = utf16.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < n && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
                const char32_t c =
                    0x10000 + ((char32_t(u) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
                AppendUtf8(out, c);
                ++i;
            } else {
                AppendUtf8(out, kReplacement);
            }
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

} // namespace kovrel::platform

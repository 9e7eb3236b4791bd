#include "platform/ini_document.h"

#include "platform/text.h"

#include <cstdint>

namespace kovrel::platform::ini_detail {

namespace {

char16_t FoldChar(char16_t c) {
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) // Latin-1 letters
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        // Latin Extended-A: pairs of capital and small letters; the pairs start at an even
        // code point up to U+0137 and at an odd one from U+0139 to U+0148 and U+014A onwards.
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool isSmall = oddPairs ? (c % 2 == 0) : (c % 2 == 1);
        return isSmall ? static_cast<char16_t>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) // Greek
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F) // Cyrillic
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    if (c >= 0xFF41 && c <= 0xFF5A) // full-width Latin
        return static_cast<char16_t>(c - 0x20);
    return c;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct Classified {
    LineKind kind = LineKind::Other;
    std::u16string_view name;    // section or key name, trimmed
    std::u16string_view value;   // key value, trimmed, quotes not yet removed
    std::size_t valueOffset = 0; // start of the value in the line (after '=' and blanks)
};

Classified Classify(std::u16string_view line) {
    Classified result;
    const std::u16string_view trimmed = TrimBlanks(line);
    if (trimmed.empty()) {
        result.kind = LineKind::Blank;
        return result;
    }
    if (trimmed.front() == u';') {
        result.kind = LineKind::Comment;
        return result;
    }
    if (trimmed.front() == u'[') {
        const std::size_t close = trimmed.rfind(u']');
        if (close != std::u16string_view::npos) {
            result.kind = LineKind::Section;
            result.name = TrimBlanks(trimmed.substr(1, close - 1));
            return result;
        }
    }
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos)
        return result;
    const std::u16string_view name = TrimBlanks(line.substr(0, equals));
    if (name.empty())
        return result;
    std::size_t valueStart = equals + 1;
    while (valueStart < line.size() && IsBlank(line[valueStart]))
        ++valueStart;
    result.kind = LineKind::Key;
    result.name = name;
    result.value = TrimBlanks(line.substr(valueStart));
    result.valueOffset = valueStart;
    return result;
}

std::u16string Unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::u16string(value);
}

void AppendUtf16Bytes(std::string& out, std::u16string_view text, bool bigEndian) {
    for (char16_t u : text) {
        const auto lo = static_cast<char>(u & 0xFF);
        const auto hi = static_cast<char>(u >> 8);
        if (bigEndian) {
            out.push_back(hi);
            out.push_back(lo);
        } else {
            out.push_back(lo);
            out.push_back(hi);
        }
    }
}

} // namespace

std::u16string FoldName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded)
        c = FoldChar(c);
    return folded;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

IniDocument::IniDocument() = default;

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    bool newlineSeen = false;
    auto noteEnding = [&](const std::u16string& ending) {
        if (!newlineSeen && !ending.empty()) {
            doc.newline_ = ending;
            newlineSeen = true;
        }
    };

    const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    if (bytes.size() >= 2 && ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF))) {
        const bool bigEndian = b(0) == 0xFE;
        doc.encoding_ = bigEndian ? IniEncoding::Utf16BeBom : IniEncoding::Utf16LeBom;
        std::u16string units;
        units.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const std::uint16_t first = b(i), second = b(i + 1);
            units.push_back(
                static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
        }
        std::size_t start = 0;
        while (start < units.size()) {
            std::size_t nl = units.find(u'\n', start);
            Line line;
            if (nl == std::u16string::npos) {
                line.text = units.substr(start);
                start = units.size();
            } else {
                std::size_t textEnd = nl;
                if (textEnd > start && units[textEnd - 1] == u'\r') {
                    --textEnd;
                    line.ending = u"\r\n";
                } else {
                    line.ending = u"\n";
                }
                line.text = units.substr(start, textEnd - start);
                start = nl + 1;
            }
            noteEnding(line.ending);
            doc.lines_.push_back(std::move(line));
        }
    } else {
        std::size_t start = 0;
        if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) {
            doc.encoding_ = IniEncoding::Utf8Bom;
            start = 3;
        }
        while (start < bytes.size()) {
            const std::size_t lineStart = start;
            const std::size_t nl = bytes.find('\n', lineStart);
            Line line;
            line.hasRaw = true;
            std::size_t textEnd = bytes.size();
            if (nl == std::string_view::npos) {
                start = bytes.size();
            } else {
                textEnd = nl;
                if (textEnd > lineStart && bytes[textEnd - 1] == '\r') {
                    --textEnd;
                    line.ending = u"\r\n";
                } else {
                    line.ending = u"\n";
                }
                start = nl + 1;
            }
            line.raw = std::string(bytes.substr(lineStart, start - lineStart));
            line.text = FromUtf8(bytes.substr(lineStart, textEnd - lineStart));
            noteEnding(line.ending);
            doc.lines_.push_back(std::move(line));
        }
    }
    doc.Reindex();
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    const bool utf16 = encoding_ == IniEncoding::Utf16LeBom || encoding_ == IniEncoding::Utf16BeBom;
    const bool bigEndian = encoding_ == IniEncoding::Utf16BeBom;
    switch (encoding_) {
    case IniEncoding::Utf8:
        break;
    case IniEncoding::Utf8Bom:
        out += "\xEF\xBB\xBF";
        break;
    case IniEncoding::Utf16LeBom:
        out += "\xFF\xFE";
        break;
    case IniEncoding::Utf16BeBom:
        out += "\xFE\xFF";
        break;
    }
    for (const Line& line : lines_) {
        if (utf16) {
            AppendUtf16Bytes(out, line.text, bigEndian);
            AppendUtf16Bytes(out, line.ending, bigEndian);
        } else if (line.hasRaw) {
            out += line.raw;
        } else {
            out += ToUtf8(line.text);
            out += ToUtf8(line.ending);
        }
    }
    return out;
}

void IniDocument::Reindex() {
    sections_.clear();
    firstSection_.clear();
    Section* current = nullptr;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Classified c = Classify(lines_[i].text);
        if (c.kind == LineKind::Section) {
            if (current)
                current->end = i;
            Section section;
            section.header = i;
            sections_.push_back(std::move(section));
            current = &sections_.back();
            firstSection_.try_emplace(FoldName(c.name), sections_.size() - 1);
        } else if (c.kind == LineKind::Key && current) {
            // try_emplace keeps the first of duplicate keys.
            current->keys.try_emplace(FoldName(c.name), Key{Unquote(c.value), i, c.valueOffset});
        }
    }
    if (current)
        current->end = lines_.size();
}

const std::u16string* IniDocument::Find(std::u16string_view section,
                                        std::u16string_view key) const {
    const auto s = firstSection_.find(FoldName(section));
    if (s == firstSection_.end())
        return nullptr;
    const auto& keys = sections_[s->second].keys;
    const auto k = keys.find(FoldName(key));
    return k == keys.end() ? nullptr : &k->second.value;
}

void IniDocument::InsertLine(std::size_t at, std::u16string text) {
    // A last line without a line ending gets one before anything follows it.
    if (at > 0 && lines_[at - 1].ending.empty()) {
        Line& previous = lines_[at - 1];
        previous.ending = newline_;
        if (previous.hasRaw)
            previous.raw += ToUtf8(newline_);
    }
    Line line;
    line.text = std::move(text);
    line.ending = newline_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

bool IniDocument::Set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
    std::u16string keyLine(key);
    keyLine += u'=';
    keyLine += value;

    const auto s = firstSection_.find(FoldName(section));
    if (s == firstSection_.end()) {
        // A new section goes at the end, after a blank line when the file has content.
        if (!lines_.empty() && !TrimBlanks(lines_.back().text).empty())
            InsertLine(lines_.size(), u"");
        std::u16string header = u"[";
        header += section;
        header += u']';
        InsertLine(lines_.size(), std::move(header));
        InsertLine(lines_.size(), std::move(keyLine));
        Reindex();
        return true;
    }

    const Section& found = sections_[s->second];
    const auto k = found.keys.find(FoldName(key));
    if (k != found.keys.end()) {
        // In place: the line keeps its name and spacing up to the value.
        Line& line = lines_[k->second.line];
        std::u16string text = line.text.substr(0, k->second.valueOffset);
        text += value;
        if (text == line.text)
            return false;
        line.text = std::move(text);
        line.hasRaw = false;
        line.raw.clear();
        Reindex();
        return true;
    }

    // A new key goes after the section's last line with content (blank lines and comments that
    // follow it stay between this section and the next).
    std::size_t at = found.header + 1;
    for (std::size_t i = found.header + 1; i < found.end; ++i) {
        const LineKind kind = Classify(lines_[i].text).kind;
        if (kind == LineKind::Key || kind == LineKind::Other)
            at = i + 1;
    }
    InsertLine(at, std::move(keyLine));
    Reindex();
    return true;
}

} // namespace kovrel::platform::ini_detail

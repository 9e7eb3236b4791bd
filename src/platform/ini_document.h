#pragma once
// One INI file in memory, line by line, as the private-profile functions see it. Lines that a
// change does not touch are written back byte for byte, so comments, odd spacing, blank lines and
// even bytes that are not valid UTF-8 survive a write. Used by ini.cpp; not a public interface.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kovrel::platform::ini_detail {

enum class IniEncoding { Utf8, Utf8Bom, Utf16LeBom, Utf16BeBom };

// Section and key names compare after this folding (simple case folding of the Latin, Greek and
// Cyrillic letters; other characters compare as they are).
std::u16string FoldName(std::u16string_view name);

// Blanks as the INI functions trim them around names and values.
bool IsBlank(char16_t c);
std::u16string_view TrimBlanks(std::u16string_view text);

class IniDocument {
public:
    // A new, empty file: UTF-8 without BOM, LF line endings.
    IniDocument();
    static IniDocument Parse(std::string_view bytes);

    std::string Serialize() const;
    IniEncoding Encoding() const { return encoding_; }

    // The value of `key` in the first section named `section` (names already trimmed), without
    // its surrounding blanks and one pair of matching quotes; null when there is none.
    const std::u16string* Find(std::u16string_view section, std::u16string_view key) const;

    // Sets the value (names already trimmed and valid). False when the file already held exactly
    // this line, so there is nothing to write.
    bool Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

private:
    struct Line {
        std::u16string text;   // without the line ending
        std::u16string ending; // u"\r\n", u"\n", or empty for a last line without one
        std::string raw;       // the original bytes of text + ending (UTF-8 files), when unchanged
        bool hasRaw = false;
    };
    struct Key {
        std::u16string value;
        std::size_t line = 0;
        std::size_t valueOffset = 0; // where the value starts in the line's text
    };
    struct Section {
        std::size_t header = 0;
        std::size_t end = 0; // one past the section's last line
        std::unordered_map<std::u16string, Key> keys;
    };

    void Reindex();
    void InsertLine(std::size_t at, std::u16string text);

    IniEncoding encoding_ = IniEncoding::Utf8;
    std::u16string newline_ = u"\n";
    std::vector<Line> lines_;
    std::vector<Section> sections_;
    std::unordered_map<std::u16string, std::size_t> firstSection_; // folded name -> sections_
};

} // namespace kovrel::platform::ini_detail

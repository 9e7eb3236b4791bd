#pragma once
// Private-profile INI files with the behaviour the program's files rely on:
// - section and key names match without regard to case; the first of duplicate keys wins;
// - a value is trimmed of surrounding blanks and of one pair of matching surrounding quotes;
// - a missing file, section or key yields the default with its trailing blanks removed (so a
//   default of one blank gives an empty text);
// - results are cut to capacity - 1 characters (capacity 0 gives an empty text);
// - lines beginning with ';' are comments;
// - files are UTF-8 (with or without BOM) or UTF-16LE with BOM; writing keeps the file's
//   encoding and its other lines, creates a missing file (UTF-8) when its folder exists and
//   fails when it does not, adds a missing section at the end, replaces a key's value in place
//   and appends a new key at the end of its section. Writes go through WriteFileAtomically.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kovrel::platform {

inline constexpr std::size_t kDefaultTextCapacity = 260;

std::u16string ReadIniString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue, const std::filesystem::path& file,
                             std::size_t capacity = kDefaultTextCapacity);

// The value's leading decimal digits (optionally signed) as an integer; the default when the
// key is missing or its value does not start with a number.
int ReadIniInt(std::u16string_view section, std::u16string_view key, int defaultValue,
               const std::filesystem::path& file);

// The value as ReadIniString finds it (trimmed, one pair of quotes removed, not cut), or nothing
// when the file, the section or the key is missing: for callers that must tell "absent" apart.
std::optional<std::u16string> FindIniValue(std::u16string_view section, std::u16string_view key,
                                           const std::filesystem::path& file);

// True when the file was written (or already held exactly this value). Section and key names are
// trimmed; a name or value that would break the line structure (a line break, a section name with
// ']', a key name with '=' or starting with ';' or '[', an empty name) is refused.
bool WriteIniString(std::u16string_view section, std::u16string_view key, std::u16string_view value,
                    const std::filesystem::path& file);

} // namespace kovrel::platform

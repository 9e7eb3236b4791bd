#pragma once
// CIniFile: a reader bound to one INI file, used by the skinned windows for their "SCREEN"
// section. Reads and writes go through the platform's private-profile functions, so every read
// sees the file as it is now.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kovrel::skin {

class CIniFile {
public:
    // A value read through the bound file holds at most this many characters (2047).
    static constexpr std::size_t kValueCapacity = 2048;

    CIniFile() = default;
    explicit CIniFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // Binds the reader to another file. The whole path is kept: a cut path would name another
    // file, and the platform has no short path limit.
    void SetPath(std::filesystem::path path) { m_path = std::move(path); }
    const std::filesystem::path& Path() const { return m_path; }

    // The value of `key` in `section` (or `defaultValue`), at most 2047 characters; nothing when
    // that text is empty.
    std::optional<std::u16string> ReadString(std::u16string_view section, std::u16string_view key,
                                             std::u16string_view defaultValue = {}) const;

    // True when the file was written.
    bool WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) const;

private:
    std::filesystem::path m_path;
};

} // namespace kovrel::skin

#include "skin/core/ini_file.h"

#include "platform/ini.h"

namespace kovrel::skin {

std::optional<std::u16string> CIniFile::ReadString(std::u16string_view section,
                                                   std::u16string_view key,
                                                   std::u16string_view defaultValue) const {
    if (m_path.empty()) {
        return std::nullopt;
    }
    std::u16string value =
        platform::ReadIniString(section, key, defaultValue, m_path, kValueCapacity);
    if (value.empty()) {
        return std::nullopt;
    }
    return value;
}

bool CIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) const {
    if (m_path.empty()) {
        return false;
    }
    return platform::WriteIniString(section, key, value, m_path);
}

} // namespace kovrel::skin

#include "platform/user_settings.h"

#include "platform/ini.h"
#include "platform/ini_document.h"
#include "platform/paths.h"

#include <filesystem>
#include <system_error>

namespace kovrel::platform {

namespace {

// The INI reader trims blanks and strips one pair of matching quotes; a value that would lose
// something that way is stored in double quotes, so every value reads back as it was written.
std::u16string Protect(std::u16string_view value) {
    if (value.empty())
        return {};
    const bool blankAtEdge =
        ini_detail::IsBlank(value.front()) || ini_detail::IsBlank(value.back());
    const bool quotedLooking = value.size() >= 2 &&
                               (value.front() == u'"' || value.front() == u'\'') &&
                               value.back() == value.front();
    if (!blankAtEdge && !quotedLooking)
        return std::u16string(value);
    std::u16string quoted = u"\"";
    quoted += value;
    quoted += u'"';
    return quoted;
}

} // namespace

std::u16string ReadUserSetting(std::u16string_view section, std::u16string_view name,
                               std::u16string_view defaultValue) {
    if (std::optional<std::u16string> value = FindIniValue(section, name, UserSettingsFile()))
        return std::move(*value);
    return std::u16string(defaultValue);
}

bool WriteUserSetting(std::u16string_view section, std::u16string_view name,
                      std::u16string_view value) {
    const std::filesystem::path file = UserSettingsFile();
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return WriteIniString(section, name, Protect(value), file);
}

} // namespace kovrel::platform

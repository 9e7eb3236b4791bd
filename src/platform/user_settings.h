#pragma once
// The per-user settings store that takes the place of the application's registry branch: named
// string values in sections of UserSettingsFile() (paths.h). Values come back exactly as they
// were written (blanks and quotes included), a missing value gives the default unchanged, and the
// file's folder is created with the first write.

#include <string>
#include <string_view>

namespace kovrel::platform {

std::u16string ReadUserSetting(std::u16string_view section, std::u16string_view name,
                               std::u16string_view defaultValue);

// True when the value is stored.
bool WriteUserSetting(std::u16string_view section, std::u16string_view name,
                      std::u16string_view value);

} // namespace kovrel::platform

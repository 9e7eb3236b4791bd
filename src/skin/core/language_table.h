#pragma once
// The program-wide language table: every text the program shows, by its key in language.ini.

#include <string>
#include <string_view>

namespace kovrel {

// The current text of the language entry named `key` (for example "MACRO_ERR_MAX"), as a copy:
// a language switch may replace entries while a worker thread reads them. Empty for an unknown
// key.
std::u16string LanguageText(std::string_view key);

} // namespace kovrel

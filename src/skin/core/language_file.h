#pragma once
// language.ini: where it is, which of its two text sections is in use, and reading one text from
// it. Windows that read their labels straight from the file use ReadLanguageString; the language
// table (language_table.h) is loaded through the same rules.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kovrel {

inline constexpr std::u16string_view kLanguageChoiceSection = u"LANGUAGE";
inline constexpr std::u16string_view kLanguageChoiceKey = u"language";
inline constexpr std::u16string_view kChineseSection = u"CHINESE";
inline constexpr std::u16string_view kEnglishSection = u"ENGINSH";

inline constexpr int kLanguageChinese = 0;
inline constexpr int kLanguageEnglish = 1;

// A language text holds at most 259 characters (a 260-character buffer with its terminator).
inline constexpr std::size_t kLanguageTextCapacity = 260;

struct LanguageFiles {
    // Skins/language.ini in the program folder: the texts and the shipped language choice.
    std::filesystem::path languageFile;
    // The per-user settings file: the user's own language choice, which wins over the shipped
    // one because the program folder is usually not writable once installed.
    std::filesystem::path userSettingsFile;
};

// The files in use: the override when one is set, else the real locations.
LanguageFiles CurrentLanguageFiles();

// Points every reader and writer of the language at other files (tests use their own
// temporary folder); std::nullopt returns to the real locations.
void OverrideLanguageFiles(std::optional<LanguageFiles> files);

// The stored choice as a decimal integer: leading white space skipped, an optional sign, digits
// up to the first non-digit; no digits gives 0.
int ParseLanguageChoice(std::u16string_view text);

// The stored language choice: the per-user value of "LANGUAGE"/"language" when it is set (not
// empty), else the one in language.ini; 0 when neither is there. 1 means English, anything
// else Chinese.
int ReadLanguageChoice();

// The switch flag: 0 or 1, initially 0, set by a language switch for the rest of the run.
int LanguageSwitchFlag();
void SetLanguageSwitchFlag(int language);

// English when the stored choice is 1 or the switch flag is 1, Chinese otherwise.
bool LanguageIsEnglish();

// "ENGINSH" or "CHINESE" by the rule above, decided from the files at the moment of the call.
std::u16string_view LanguageSection();

// The literal escapes "\r\n" and "\n" of a file value (an INI value cannot hold a line break)
// turned into line breaks ('\n'). Every other backslash stays as it is.
std::u16string ExpandLineBreakEscapes(std::u16string_view text);

// One text of the chosen section of language.ini: at most 259 characters, empty when the key or
// the file is missing (never the other section's text nor a built-in wording), escapes turned
// into line breaks. The first form decides the section itself; a window that reads many keys
// may decide once with LanguageSection() and use the second.
std::u16string ReadLanguageString(std::string_view key);
std::u16string ReadLanguageString(std::u16string_view section, std::string_view key);

} // namespace kovrel

#include "skin/core/language_table.h"

#include "platform/ini.h"
#include "skin/core/language_entries.h"
#include "skin/core/language_file.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

namespace kovrel {

namespace {

std::vector<std::u16string> BuiltInTexts() {
    std::vector<std::u16string> texts;
    for (const LanguageKeyInfo& entry : LanguageTableEntries()) {
        texts.emplace_back(entry.builtIn);
    }
    return texts;
}

// Entries are indexed like LanguageTableEntries(). Loads build a whole new set outside the lock
// and swap it in, so a reader never waits for file access.
struct Table {
    std::mutex mutex;
    std::vector<std::u16string> texts = BuiltInTexts();
};

Table& TheTable() {
    static Table table;
    return table;
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::size_t> EntryIndex(std::string_view key) {
    const auto entries = LanguageTableEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (SameKey(entries[i].key, key)) {
            return i;
        }
    }
    return std::nullopt;
}

// The per-user folder may not exist yet on a fresh account.
void StoreUserChoice(const std::filesystem::path& file, std::u16string_view value) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    platform::WriteIniString(kLanguageChoiceSection, kLanguageChoiceKey, value, file);
}

} // namespace

std::u16string LanguageText(std::string_view key) {
    const std::optional<std::size_t> index = EntryIndex(key);
    if (!index) {
        return {};
    }
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    return table.texts[*index];
}

void LoadLanguageTable() {
    const std::u16string_view section = LanguageSection();
    std::vector<std::u16string> texts;
    for (const LanguageKeyInfo& entry : LanguageTableEntries()) {
        texts.push_back(ReadLanguageString(section, entry.key));
    }
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    table.texts.swap(texts);
}

void SwitchLanguage(int language) {
    const int choice = language == kLanguageEnglish ? kLanguageEnglish : kLanguageChinese;
    SetLanguageSwitchFlag(choice);
    const std::u16string value = choice == kLanguageEnglish ? u"1" : u"0";
    const LanguageFiles files = CurrentLanguageFiles();
    // Both writes may fail (an installed program folder is read-only); the flag set above still
    // holds for this run, and the per-user copy is the one that outlives it.
    platform::WriteIniString(u"language", kLanguageChoiceKey, value, files.languageFile);
    StoreUserChoice(files.userSettingsFile, value);
    LoadLanguageTable();
}

void ResetLanguageTable() {
    std::vector<std::u16string> texts = BuiltInTexts();
    Table& table = TheTable();
    {
        std::lock_guard lock(table.mutex);
        table.texts.swap(texts);
    }
    SetLanguageSwitchFlag(kLanguageChinese);
}

} // namespace kovrel

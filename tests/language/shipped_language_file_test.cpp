// The language.ini that ships with the program: every key in both sections, Chinese texts that
// are Chinese, English texts that keep the program's own wording. Only read, never switched:
// the file is the source tree's.

#include "platform/ini.h"
#include "skin/core/language_entries.h"
#include "skin/core/language_file.h"
#include "skin/core/language_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace kovrel::test {
namespace {

const std::filesystem::path kShipped = KOVREL_SHIPPED_LANGUAGE_INI;

bool HasCjk(std::u16string_view text) {
    for (char16_t c : text) {
        if (c >= 0x4E00 && c <= 0x9FFF) {
            return true;
        }
    }
    return false;
}

std::vector<LanguageKeyInfo> AllKeys() {
    std::vector<LanguageKeyInfo> keys(LanguageTableEntries().begin(), LanguageTableEntries().end());
    keys.insert(keys.end(), DirectLanguageKeys().begin(), DirectLanguageKeys().end());
    return keys;
}

class ShippedLanguageFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kShipped)) << kShipped;
        // No per-user file: the shipped choice decides.
        OverrideLanguageFiles(LanguageFiles{kShipped, "/nonexistent/kovrel/Kovrel.ini"});
        ResetLanguageTable();
    }
    void TearDown() override {
        ResetLanguageTable();
        OverrideLanguageFiles(std::nullopt);
    }
};

TEST_F(ShippedLanguageFile, ChoosesEnglish) {
    EXPECT_EQ(ReadLanguageChoice(), 1);
    EXPECT_EQ(LanguageSection(), kEnglishSection);
}

TEST_F(ShippedLanguageFile, HasEveryKeyInBothSectionsWithinTheLimit) {
    for (const std::u16string_view section : {kChineseSection, kEnglishSection}) {
        for (const LanguageKeyInfo& info : AllKeys()) {
            const std::u16string key(info.key.begin(), info.key.end());
            const std::u16string whole =
                platform::ReadIniString(section, key, u" ", kShipped, 4096);
            EXPECT_FALSE(whole.empty()) << info.key;
            EXPECT_LE(whole.size(), 259u) << info.key;
        }
    }
}

TEST_F(ShippedLanguageFile, ChineseTextsAreChinese) {
    // The settings key name for the record-delay switch stays the same in both languages, so
    // the switch keeps its stored value across a language change.
    const std::set<std::string_view> notTranslated = {"MACRO_ACTION_RECORD_DELAY"};
    for (const LanguageKeyInfo& info : AllKeys()) {
        const std::u16string text = ReadLanguageString(kChineseSection, info.key);
        if (notTranslated.contains(info.key)) {
            EXPECT_EQ(text, ReadLanguageString(kEnglishSection, info.key)) << info.key;
        } else {
            EXPECT_TRUE(HasCjk(text)) << info.key;
        }
    }
}

TEST_F(ShippedLanguageFile, EnglishTextsKeepTheBuiltInWording) {
    for (const LanguageKeyInfo& info : AllKeys()) {
        const std::u16string text = ReadLanguageString(kEnglishSection, info.key);
        EXPECT_FALSE(HasCjk(text)) << info.key;
        if (!info.builtIn.empty() && !HasCjk(info.builtIn)) {
            EXPECT_EQ(text, info.builtIn) << info.key;
        }
    }
}

TEST_F(ShippedLanguageFile, LoadsIntoTheTable) {
    LoadLanguageTable();
    EXPECT_EQ(LanguageText("MACRO_ERR_MAX"), u"The maximum number of macro: %d   ");
    EXPECT_EQ(LanguageText("MAIN_UPDATE_BACKUP_OK"), u"Backup done!");
    EXPECT_EQ(LanguageText("APPLY_NOT_READ"),
              u"The keyboard's configuration could not be read. Import a configuration file or "
              u"reconnect the keyboard before applying.");
    EXPECT_EQ(LanguageText("MAIN_PROMPT_DRIVER_TEXT"),
              u"Detects that the driver is not installed keyboard, \npress [OK] to start the "
              u"driver installation!");
}

} // namespace
} // namespace kovrel::test

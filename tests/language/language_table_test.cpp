// Loading the table and reading texts directly: missing keys, the length limit, line breaks.

#include "language_test_files.h"

#include "skin/core/language_entries.h"
#include "skin/core/language_file.h"
#include "skin/core/language_table.h"

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace kovrel::test {
namespace {

using LanguageTable = LanguageFilesTest;

TEST(LanguageEntries, KeysAreUniqueAndNonEmpty) {
    std::set<std::string> keys;
    for (const LanguageKeyInfo& entry : LanguageTableEntries()) {
        std::string upper(entry.key);
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_FALSE(upper.empty());
        EXPECT_TRUE(keys.insert(upper).second) << entry.key;
    }
    // The fixed set of entries plus the one added after it.
    EXPECT_EQ(LanguageTableEntries().size(), 87u);
    EXPECT_EQ(LanguageTableEntries().back().key, "APPLY_NOT_READ");
}

TEST_F(LanguageTable, EntriesStartWithTheirBuiltInWording) {
    EXPECT_EQ(LanguageText("MACRO_ERR_MAX"), u"The maximum number of macro: %d   ");
    EXPECT_EQ(LanguageText("MACRO_ACTION_RECORD_DELAY"), u"RecordDelay");
    EXPECT_EQ(LanguageText("MEDIA_PALYER_1"), u"");
    EXPECT_EQ(LanguageText("MAIN_UPDATE_BACKUP_OK"), u"备份成功!");
    EXPECT_EQ(LanguageText("EXTRA_MACRO_TOO_LONG"),
              u"Macro space exceeds the hardware space.\n Please reduce the number of macros or "
              u"macro action number，and then download.");
    EXPECT_EQ(LanguageText("PROFILE_NEW"), u"\\The new contextual  mode");
}

TEST_F(LanguageTable, UnknownKeyGivesEmptyTextAndKeysIgnoreCase) {
    EXPECT_EQ(LanguageText("NO_SUCH_KEY"), u"");
    EXPECT_EQ(LanguageText(""), u"");
    EXPECT_EQ(LanguageText("media_next_track_5"), LanguageText("MEDIA_Next_TRACK_5"));
    EXPECT_EQ(LanguageText("unknown_key"), u"Unknown Key: %03x");
}

TEST_F(LanguageTable, LoadsTheChosenSectionAndMissingKeysBecomeEmpty) {
    WriteLanguageFile("[LANGUAGE]\nlanguage=0\n"
                      "[CHINESE]\nMACRO_NEW_PREFIX=宏\n"
                      "[ENGINSH]\nMACRO_NEW_PREFIX=Macro\nMACRO_ERR_SAME=\"Same!  \"\n"
                      "MACRO_ACTION_RECORD_DELAY=\n");
    LoadLanguageTable();
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"宏");
    // Present only in the other section: empty, neither the English text nor the built-in one.
    EXPECT_EQ(LanguageText("MACRO_ERR_SAME"), u"");
    EXPECT_EQ(LanguageText("MACRO_ERR_MAX"), u"");

    WriteLanguageFile("[LANGUAGE]\nlanguage=1\n"
                      "[CHINESE]\nMACRO_NEW_PREFIX=宏\n"
                      "[ENGINSH]\nMACRO_NEW_PREFIX=Macro\nMACRO_ERR_SAME=\"Same!  \"\n"
                      "MACRO_ACTION_RECORD_DELAY=\n");
    LoadLanguageTable();
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"Macro");
    EXPECT_EQ(LanguageText("MACRO_ERR_SAME"), u"Same!  ");
    EXPECT_EQ(LanguageText("MACRO_ACTION_RECORD_DELAY"), u"");
    EXPECT_EQ(LanguageText("MACRO_ERR_MAX"), u"");
}

TEST_F(LanguageTable, MissingFileEmptiesEveryEntry) {
    LoadLanguageTable();
    for (const LanguageKeyInfo& entry : LanguageTableEntries()) {
        EXPECT_EQ(LanguageText(entry.key), u"") << entry.key;
    }
    EXPECT_EQ(ReadLanguageString("MENU_1"), u"");
}

TEST_F(LanguageTable, LongValuesAreCutTo259Characters) {
    const std::string ascii(300, 'a');
    std::string chinese;
    for (int i = 0; i < 300; ++i) {
        chinese += "宏";
    }
    WriteLanguageFile("[CHINESE]\nMACRO_ERR_MAX=" + ascii + "\nMACRO_ERR_SAME=" + chinese +
                      "\nMENU_1=" + ascii + "\n");
    LoadLanguageTable();
    EXPECT_EQ(LanguageText("MACRO_ERR_MAX"), std::u16string(259, u'a'));
    EXPECT_EQ(LanguageText("MACRO_ERR_SAME"), std::u16string(259, u'宏'));
    EXPECT_EQ(ReadLanguageString("MENU_1"), std::u16string(259, u'a'));
}

TEST_F(LanguageTable, LineBreakEscapesBecomeLineBreaks) {
    WriteLanguageFile("[CHINESE]\n"
                      "MACRO_ERR_MAX=first\\r\\nsecond\\nthird\n"
                      "PROFILE_NEW=\\新建情景模式\n"
                      "PROFILE_FORMAT_ERROR=\"bad: \\n  %s\"\n"
                      "MENU_1=a\\nb\n");
    LoadLanguageTable();
    EXPECT_EQ(LanguageText("MACRO_ERR_MAX"), u"first\nsecond\nthird");
    EXPECT_EQ(LanguageText("PROFILE_NEW"), u"\\新建情景模式");
    EXPECT_EQ(LanguageText("PROFILE_FORMAT_ERROR"), u"bad: \n  %s");
    EXPECT_EQ(ReadLanguageString("MENU_1"), u"a\nb");

    EXPECT_EQ(ExpandLineBreakEscapes(u"\\r\\n\\n\\r\\\\x\\"), u"\n\n\\r\\\\x\\");
}

TEST_F(LanguageTable, DirectReadsFollowTheChoiceAndTheFlag) {
    WriteLanguageFile("[LANGUAGE]\nlanguage=0\n[CHINESE]\nMENU_1=导入\n[ENGINSH]\nMENU_1=Import\n");
    EXPECT_EQ(ReadLanguageString("MENU_1"), u"导入");
    EXPECT_EQ(ReadLanguageString(kEnglishSection, "menu_1"), u"Import");
    EXPECT_EQ(ReadLanguageString("MENU_2"), u"");
    SetLanguageSwitchFlag(kLanguageEnglish);
    EXPECT_EQ(ReadLanguageString("MENU_1"), u"Import");
}

// Worker threads read entries while the interface thread switches language: every read is a
// whole text of one language or the other, never a mix or a dangling one.
TEST_F(LanguageTable, ReadersSeeWholeTextsWhileTheTableIsSwitched) {
    WriteLanguageFile("[LANGUAGE]\nlanguage=0\n"
                      "[CHINESE]\nMACRO_ERR_SAME=宏名称重复！宏名称重复！宏名称重复！\n"
                      "[ENGINSH]\nMACRO_ERR_SAME=Same macro name! Same macro name!\n");
    LoadLanguageTable();
    const std::u16string chinese = u"宏名称重复！宏名称重复！宏名称重复！";
    const std::u16string english = u"Same macro name! Same macro name!";

    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                const std::u16string text = LanguageText("MACRO_ERR_SAME");
                if (text != chinese && text != english) {
                    bad.fetch_add(1);
                }
            }
        });
    }
    for (int i = 0; i < 40; ++i) {
        SwitchLanguage(i % 2 == 0 ? kLanguageEnglish : kLanguageChinese);
    }
    stop.store(true);
    for (std::thread& reader : readers) {
        reader.join();
    }
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(LanguageText("MACRO_ERR_SAME"), chinese);
}

} // namespace
} // namespace kovrel::test

// Switching language: the flag, the stored choice in both files, the reload, and a program
// folder that cannot be written.

#include "language_test_files.h"

#include "platform/file_system_calls.h"
#include "platform/ini.h"
#include "skin/core/language_file.h"
#include "skin/core/language_table.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace kovrel::test {
namespace {

constexpr const char* kTexts = "[CHINESE]\nMACRO_NEW_PREFIX=宏\nMENU_1=导入\n"
                               "[ENGINSH]\nMACRO_NEW_PREFIX=Macro\nMENU_1=Import\n";

std::u16string StoredChoice(const std::filesystem::path& file) {
    return platform::ReadIniString(u"LANGUAGE", u"language", u"", file);
}

std::string FileContent(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

using LanguageSwitch = LanguageFilesTest;

TEST_F(LanguageSwitch, WritesTheChoiceToBothFilesAndReloads) {
    WriteLanguageFile(std::string("[LANGUAGE]\nlanguage=0\n") + kTexts);
    LoadLanguageTable();
    ASSERT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"宏");

    SwitchLanguage(kLanguageEnglish);
    EXPECT_EQ(LanguageSwitchFlag(), 1);
    EXPECT_EQ(StoredChoice(languageFile), u"1");
    EXPECT_EQ(StoredChoice(userSettingsFile), u"1");
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"Macro");
    EXPECT_EQ(ReadLanguageString("MENU_1"), u"Import");
    // The texts were left in place.
    EXPECT_EQ(platform::ReadIniString(kChineseSection, u"MENU_1", u"", languageFile), u"导入");

    SwitchLanguage(kLanguageChinese);
    EXPECT_EQ(LanguageSwitchFlag(), 0);
    EXPECT_EQ(StoredChoice(languageFile), u"0");
    EXPECT_EQ(StoredChoice(userSettingsFile), u"0");
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"宏");
    EXPECT_EQ(ReadLanguageString("MENU_1"), u"导入");
}

TEST_F(LanguageSwitch, KeepsOtherPerUserSettings) {
    WriteLanguageFile(kTexts);
    WriteUserSettings("[PROFILES]\nRecordDelay=1\n");
    SwitchLanguage(kLanguageEnglish);
    EXPECT_EQ(platform::ReadIniString(u"PROFILES", u"RecordDelay", u"", userSettingsFile), u"1");
    EXPECT_EQ(StoredChoice(userSettingsFile), u"1");
}

TEST_F(LanguageSwitch, MissingProgramFolderIsNoObstacle) {
    // Neither Skins/ nor language.ini exist: the write fails, the switch still happens.
    OverrideLanguageFiles(
        LanguageFiles{folder / "nowhere" / "Skins" / "language.ini", userSettingsFile});
    SwitchLanguage(kLanguageEnglish);
    EXPECT_FALSE(std::filesystem::exists(folder / "nowhere"));
    EXPECT_EQ(LanguageSection(), kEnglishSection);
    EXPECT_EQ(StoredChoice(userSettingsFile), u"1");
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"");

    SwitchLanguage(kLanguageChinese);
    EXPECT_EQ(LanguageSection(), kChineseSection);
    EXPECT_EQ(StoredChoice(userSettingsFile), u"0");
}

// An installed program folder is read-only: every file created in it fails, as on a read-only
// mount, while the per-user folder stays writable.
class ReadOnlyFolderCalls : public platform::FileSystemCalls {
public:
    explicit ReadOnlyFolderCalls(std::filesystem::path folder) : folder_(folder.string() + "/") {}
    int Open(const char* path, int flags, mode_t mode) override {
        if (std::string_view(path).starts_with(folder_)) {
            errno = EROFS;
            return -1;
        }
        return real_.Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        return real_.Write(fd, data, size);
    }
    int Fsync(int fd) override { return real_.Fsync(fd); }
    int Close(int fd) override { return real_.Close(fd); }
    int Rename(const char* from, const char* to) override { return real_.Rename(from, to); }
    int Unlink(const char* path) override { return real_.Unlink(path); }

private:
    std::string folder_;
    platform::FileSystemCalls& real_ = platform::SystemFileSystemCalls();
};

TEST_F(LanguageSwitch, ReadOnlyLanguageFileStillSwitchesBothWays) {
    WriteLanguageFile(std::string("[LANGUAGE]\nlanguage=1\n") + kTexts);
    LoadLanguageTable();
    ASSERT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"Macro");
    const std::string before = FileContent(languageFile);

    ReadOnlyFolderCalls readOnly(languageFile.parent_path());
    platform::ScopedFileSystemCalls installed(readOnly);
    ASSERT_FALSE(platform::WriteIniString(u"PROBE", u"probe", u"1", languageFile));

    // The shipped choice says English; the user's own choice takes over.
    SwitchLanguage(kLanguageChinese);
    EXPECT_EQ(FileContent(languageFile), before);
    EXPECT_EQ(StoredChoice(userSettingsFile), u"0");
    EXPECT_EQ(LanguageSection(), kChineseSection);
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"宏");

    SwitchLanguage(kLanguageEnglish);
    EXPECT_EQ(FileContent(languageFile), before);
    EXPECT_EQ(StoredChoice(userSettingsFile), u"1");
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"Macro");
}

TEST_F(LanguageSwitch, AnyOtherValueMeansChinese) {
    WriteLanguageFile(kTexts);
    SwitchLanguage(7);
    EXPECT_EQ(LanguageSwitchFlag(), 0);
    EXPECT_EQ(StoredChoice(languageFile), u"0");
    EXPECT_EQ(LanguageText("MACRO_NEW_PREFIX"), u"宏");
}

} // namespace
} // namespace kovrel::test

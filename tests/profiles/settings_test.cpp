#include "profiles/settings.h"

#include "platform/fakes.h"
#include "platform/ini.h"
#include "platform/paths.h"
#include "platform/temporary_home.h"
#include "platform/user_settings.h"
#include "skin/core/language_table.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>

namespace kovrel::profiles {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

const std::string kTemplate3 = "[PRESENTMODE]\r\nmode=0\r\n[MODENAME]\r\n0=Template three\r\n";

// A fresh account: a temporary home without a documents folder, and a program folder whose
// Skins/ holds the shipped lighting templates (only number 3 is ever copied). No window exists:
// the settings never talk to the interface, which the recording fakes confirm.
class Settings : public ::testing::Test {
protected:
    platform::TemporaryHome home;
    platform::FakeServices services;
    fs::path documents = home.Path() / "Documents";
    fs::path program = home.Path() / "program";
    fs::path data = documents / "Tavik";

    void SetUp() override {
        fs::create_directories(program / "Skins");
        for (int n = 0; n < 4; ++n)
            WriteBytes(program / "Skins" / ("UserDengColor_" + std::to_string(n) + ".userd"),
                       n == 3 ? kTemplate3 : "[PRESENTMODE]\nmode=" + std::to_string(n) + "\n");
        ResetLanguageTable();
        InitialiseSettings(documents, program);
    }

    void TearDown() override {
        EXPECT_TRUE(services.window.Messages().empty());
        EXPECT_TRUE(services.messageBox.Calls().empty());
    }

    fs::path UserFile(int n) const {
        return data / ("UserDengColor_" + std::to_string(n) + ".userd");
    }
    void ExpectFreshLightingFiles() const {
        for (int n = 0; n < 4; ++n)
            EXPECT_EQ(ReadBytes(UserFile(n)), kTemplate3) << "user lighting file " << n;
    }
};

TEST_F(Settings, PathsAreBuiltFromTheRoots) {
    const SettingsPaths paths = CurrentSettingsPaths();
    EXPECT_EQ(paths.dataFolder, data);
    EXPECT_EQ(paths.settingsFile, data / "wskb.ini");
    EXPECT_EQ(UserLightingFile(2), data / "UserDengColor_2.userd");
    EXPECT_EQ(TemplateLightingFile(3), program / "Skins" / "UserDengColor_3.userd");

    // No 260-character limit.
    const fs::path deep = home.Path() / std::string(300, 'd');
    EXPECT_EQ(BuildSettingsPaths(deep, program).settingsFile, deep / "Tavik" / "wskb.ini");

    InitialiseSettings(); // the default roots: the documents folder of the (temporary) home
    EXPECT_EQ(CurrentSettingsPaths().dataFolder, platform::DocumentsFolder() / "Tavik");
    EXPECT_EQ(CurrentSettingsPaths().templateLightingPrefix,
              platform::ProgramFolder() / "Skins" / "UserDengColor_");
}

TEST_F(Settings, FreshAccountIsFilledAtTheFirstEnsureDataFolder) {
    // Start-up found no data folder: nothing could be copied and nothing was created.
    EXPECT_FALSE(fs::exists(documents));
    EXPECT_FALSE(GetUsermodeCheck());

    ASSERT_TRUE(EnsureDataFolder()); // creates Documents and Tavik
    EXPECT_TRUE(fs::is_directory(data));
    ExpectFreshLightingFiles();
    EXPECT_TRUE(GetUsermodeCheck());
    EXPECT_EQ(platform::ReadIniString(u"KEYCOLOR", u"usermodeCheck", u"", data / "wskb.ini"), u"1");

    // The folder exists now: later calls copy nothing.
    WriteBytes(UserFile(0), "painted");
    EXPECT_TRUE(EnsureDataFolder());
    InitialiseSettings(documents, program);
    EXPECT_EQ(ReadBytes(UserFile(0)), "painted");
}

TEST_F(Settings, LosingTheSettingsFileKeepsTheUsersColours) {
    ASSERT_TRUE(EnsureDataFolder());
    WriteBytes(UserFile(0), "[Mode0]\n5=1,2,3,0\n");
    fs::remove(UserFile(2));
    fs::remove(data / "wskb.ini");

    InitialiseSettings(documents, program); // the next start
    EXPECT_EQ(ReadBytes(UserFile(0)), "[Mode0]\n5=1,2,3,0\n");
    EXPECT_EQ(ReadBytes(UserFile(2)), kTemplate3); // only the missing one is filled
    EXPECT_TRUE(GetUsermodeCheck());
}

TEST_F(Settings, LosingTheDataFolderRefillsItAtTheNextEnsure) {
    ASSERT_TRUE(EnsureDataFolder());
    fs::remove_all(data);
    ASSERT_TRUE(EnsureDataFolder());
    ExpectFreshLightingFiles();
    EXPECT_TRUE(GetUsermodeCheck());
}

TEST_F(Settings, MissingTemplateLeavesTheStepToBeDoneLater) {
    fs::remove(program / "Skins" / "UserDengColor_3.userd");
    ASSERT_TRUE(EnsureDataFolder());
    EXPECT_FALSE(fs::exists(UserFile(0)));
    EXPECT_FALSE(GetUsermodeCheck());

    WriteBytes(program / "Skins" / "UserDengColor_3.userd", kTemplate3);
    InitialiseSettings(documents, program);
    ExpectFreshLightingFiles();
    EXPECT_TRUE(GetUsermodeCheck());
}

TEST_F(Settings, DengCheckCountsOnlyTheIntegerOne) {
    ASSERT_TRUE(EnsureDataFolder());
    struct Case {
        const char* line; // null: key absent
        bool expected;
    };
    const Case cases[] = {
        {nullptr, false},           {"DengCheck=1", true},    {"DengCheck= 1", true},
        {"DengCheck=\" 1\"", true}, {"DengCheck=1abc", true}, {"DengCheck=true", false},
        {"DengCheck=0", false},     {"DengCheck=2", false},   {"DengCheck=", false},
    };
    for (const Case& c : cases) {
        WriteBytes(data / "wskb.ini",
                   std::string("[KEYCOLOR]\nusermodeCheck=1\n") + (c.line ? c.line : "") + "\n");
        EXPECT_EQ(GetDengCheck(), c.expected) << (c.line ? c.line : "absent");
    }
    SetDengCheck(true);
    EXPECT_TRUE(GetDengCheck());
    SetDengCheck(false);
    EXPECT_FALSE(GetDengCheck());
    EXPECT_EQ(ReadBytes(data / "wskb.ini"), "[KEYCOLOR]\nusermodeCheck=1\nDengCheck=0\n");
}

TEST_F(Settings, DengCheckWriteWithoutDataFolderFailsSilently) {
    SetDengCheck(true);
    EXPECT_FALSE(GetDengCheck());
    EXPECT_FALSE(fs::exists(data));
}

TEST_F(Settings, FlipAndRecordDelayStoreOnlyZeroOrOne) {
    EXPECT_EQ(GetFlip(), 0);
    EXPECT_EQ(GetRecordDelay(), 0);
    struct Case {
        int requested, stored;
    };
    for (const Case& c : {Case{5, 0}, Case{1, 1}, Case{-1, 0}, Case{0, 0}, Case{1, 1}}) {
        EXPECT_EQ(SetFlip(c.requested), c.stored);
        EXPECT_EQ(platform::ReadUserSetting(u"PROFILES", u"Flip", u"absent"),
                  c.stored ? u"1" : u"0");
        EXPECT_EQ(GetFlip(), c.stored);
        EXPECT_EQ(SetRecordDelay(c.requested), c.stored);
        EXPECT_EQ(platform::ReadUserSetting(u"PROFILES", u"RecordDelay", u"absent"),
                  c.stored ? u"1" : u"0");
        EXPECT_EQ(GetRecordDelay(), c.stored);
    }
    EXPECT_TRUE(fs::is_regular_file(home.ConfigFolder() / "Kovrel_Ostrel" / "Kovrel.ini"));

    // Values the program never writes: a number is read as a number, anything else is 0.
    for (const auto& [text, expected] :
         {std::pair{u" 1", 1}, std::pair{u"true", 0}, std::pair{u"01", 1}, std::pair{u"7", 0}}) {
        ASSERT_TRUE(platform::WriteUserSetting(u"PROFILES", u"Flip", text));
        EXPECT_EQ(GetFlip(), expected);
    }
}

TEST_F(Settings, RecordDelayValueNameFollowsTheLanguageEntry) {
    EXPECT_EQ(RecordDelayValueName(), LanguageText("MACRO_ACTION_RECORD_DELAY"));
    EXPECT_EQ(RecordDelayValueName(u"Aufnahmeverzoegerung"), u"Aufnahmeverzoegerung");
    EXPECT_EQ(RecordDelayValueName(u""), u"RecordDelay");
}

TEST_F(Settings, ProfileListWritesRowsThenCount) {
    const std::vector<std::u16string> rows = {u"/home/u/Documents/Tavik/Kovrel.kvl",
                                              u"/home/u/my games/ FPS .kvl",
                                              u"/home/u/\u4E2D\u6587.kvl"};
    StoreProfileList(rows);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(
            platform::ReadUserSetting(u"PROFILES", u"PROFILE0" + std::u16string(1, u'1' + i), u""),
            rows[i]);
    EXPECT_EQ(platform::ReadUserSetting(u"PROFILES", u"PROFILE00", u""), u"3");
    const std::string file = ReadBytes(platform::UserSettingsFile());
    EXPECT_LT(file.find("PROFILE03"), file.find("PROFILE00"));

    StoreProfileList({rows[2]}); // a shorter list: earlier rows stay, the count tells
    EXPECT_EQ(platform::ReadUserSetting(u"PROFILES", u"PROFILE01", u""), rows[2]);
    EXPECT_EQ(platform::ReadUserSetting(u"PROFILES", u"PROFILE00", u""), u"1");
    EXPECT_EQ(platform::ReadUserSetting(u"PROFILES", u"PROFILE02", u""), rows[1]);
}

TEST_F(Settings, ConcurrentEnsureDataFolderFillsOnce) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] { EXPECT_TRUE(EnsureDataFolder()); });
    for (auto& thread : threads)
        thread.join();
    ExpectFreshLightingFiles();
    EXPECT_TRUE(GetUsermodeCheck());
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(data))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 5u); // four lighting files and wskb.ini, no temporary leftovers
}

} // namespace
} // namespace kovrel::profiles

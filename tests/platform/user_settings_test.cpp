#include "platform/paths.h"
#include "platform/temporary_home.h"
#include "platform/user_settings.h"

#include <gtest/gtest.h>

namespace kovrel::platform {
namespace {

namespace fs = std::filesystem;

TEST(UserSettings, MissingValuesGiveTheDefaultUnchanged) {
    TemporaryHome home;
    EXPECT_EQ(ReadUserSetting(u"PROFILES", u"Flip", u"0 "), u"0 ");
    EXPECT_FALSE(fs::exists(UserSettingsFile()));
}

TEST(UserSettings, FirstWriteCreatesTheFolders) {
    TemporaryHome home;
    fs::remove_all(home.ConfigFolder()); // a fresh account may not even have ~/.config
    ASSERT_TRUE(WriteUserSetting(u"PROFILES", u"Flip", u"1"));
    EXPECT_EQ(UserSettingsFile(), home.ConfigFolder() / "Kovrel_Ostrel" / "Kovrel.ini");
    EXPECT_TRUE(fs::is_regular_file(UserSettingsFile()));
    EXPECT_EQ(ReadUserSetting(u"profiles", u"FLIP", u"0"), u"1");
}

TEST(UserSettings, ValuesReadBackExactlyAsWritten) {
    TemporaryHome home;
    const std::u16string values[] = {
        u"plain",       u"",         u" leading", u"trailing ",
        u"\"quoted\"",  u"'single'", u"\"half",   u"/home/u/Tavik/my profile.kvl",
        u"\u4E2D\u6587"};
    int n = 0;
    for (const std::u16string& value : values) {
        const std::u16string name = u"PROFILE0" + std::u16string(1, char16_t(u'0' + n++));
        ASSERT_TRUE(WriteUserSetting(u"PROFILES", name, value));
        EXPECT_EQ(ReadUserSetting(u"PROFILES", name, u"default"), value);
    }
}

} // namespace
} // namespace kovrel::platform

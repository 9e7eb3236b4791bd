#include "lighting/core/user_lighting.h"

#include "lighting/core/lighting_device.h"

#include "keyboard_fixture.h"
#include "model/key_controls.h"
#include "platform/ini.h"

#include <fstream>
#include <gmock/gmock.h>
#include <iterator>

namespace kovrel::lighting {
namespace {

using testing::Sent;

std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct LedCase {
    const char16_t* stored; // nullptr: key absent
    LedValue expected;
};

class LedValues : public ::testing::TestWithParam<LedCase> {
protected:
    platform::TemporaryHome home;
    std::filesystem::path file = home.Path() / "UserDengColor_0.userd";
};

TEST_P(LedValues, ReadAsTheFileFormatSays) {
    const LedCase c = GetParam();
    if (c.stored) {
        ASSERT_TRUE(platform::WriteIniString(u"Mode4", u"17", c.stored, file));
    }
    EXPECT_EQ(ReadLedValue(file, 4, 17), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LedValues,
    ::testing::Values(LedCase{nullptr, {kRed, true}},               // absent: red, marked
                      LedCase{u"1,2,3,0", {{1, 2, 3}, false}},      //
                      LedCase{u"1,2,3,5", {{1, 2, 3}, true}},       // any non-zero F is 1
                      LedCase{u" 9, 8, 7 ,1", {{9, 8, 7}, true}},   // blank before the comma stops
                      LedCase{u"300,-4,7,0", {{255, 0, 7}, false}}, // clamped, not wrapped
                      LedCase{u"1,2", {{1, 2, 0}, true}}, // fields not reached keep defaults
                      LedCase{u"blue", {kRed, true}}));

TEST(UserLightingFile, SelectedModeOutsideTheTenReadsAsZero) {
    platform::TemporaryHome home;
    const auto file = home.Path() / "f.userd";
    EXPECT_EQ(ReadPresentMode(file), 0);
    ASSERT_TRUE(WritePresentMode(file, 7));
    EXPECT_EQ(ReadPresentMode(file), 7);
    ASSERT_TRUE(platform::WriteIniString(u"PRESENTMODE", u"mode", u"12", file));
    EXPECT_EQ(ReadPresentMode(file), 0);
    ASSERT_TRUE(platform::WriteIniString(u"PRESENTMODE", u"mode", u"-1", file));
    EXPECT_EQ(ReadPresentMode(file), 0);
}

TEST(UserLightingFile, ModeSettingsRoundTripAndDefaults) {
    platform::TemporaryHome home;
    const auto file = home.Path() / "f.userd";
    EXPECT_EQ(ReadModeSettings(file, 3), (ModeSettings{0, {0, 0, 0}, {0, 0, 0}}));
    const ModeSettings s{1, {10, 20, 30}, {40, 50, 60}};
    ASSERT_TRUE(WriteModeSettings(file, 3, s));
    EXPECT_EQ(ReadModeSettings(file, 3), s);
    EXPECT_EQ(platform::ReadIniString(u"Mode3", u"jcolor", u"", file), u"10,20,30");
    EXPECT_EQ(platform::ReadIniString(u"Mode3", u"color", u"", file), u"40,50,60");
    EXPECT_EQ(platform::ReadIniString(u"Mode3", u"tool", u"", file), u"1");
}

class UserLighting : public testing::KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        mirror.SelectProfile(1);
        file = UserLightingFileOf(1);
    }
    Rgb KeyboardColour(int profile, int led) {
        const auto colours = keyboard.KeyColours();
        const std::size_t a = static_cast<std::size_t>(profile * 512 + led * 3);
        return Rgb{colours[a], colours[a + 1], colours[a + 2]};
    }

    UserLightingState state;
    std::filesystem::path file;
};

TEST_F(UserLighting, AnAbsentFileGivesTenZeroNamesAndAllRedKeysSent) {
    ASSERT_FALSE(std::filesystem::exists(file));
    const auto names = LoadUserModeList(mirror);
    for (const auto& name : names) {
        EXPECT_EQ(name, u"0");
    }
    EXPECT_EQ(LoadUserMode(Protocol(), mirror, state), 1);
    EXPECT_EQ(state.mode, 0);
    EXPECT_EQ(state.tool, 0);
    for (const KeyControl& key : KeyControls()) {
        EXPECT_EQ(mirror.keyColours[1][key.ledPosition], kRed) << key.controlId;
        EXPECT_EQ(KeyboardColour(1, key.ledPosition), kRed) << key.controlId;
        EXPECT_TRUE(state.Marked(1, key.controlId)) << key.controlId;
    }
    EXPECT_EQ(KeyboardColour(1, kFnLedPosition), kRed);
    EXPECT_TRUE(state.Marked(1, kFnControl));
    EXPECT_EQ(KeyboardColour(0, 0), (Rgb{0, 0, 0})); // another profile's memory untouched
    EXPECT_FALSE(std::filesystem::exists(file));     // reading writes nothing
}

TEST_F(UserLighting, LoadReadsTheSelectedModeButNotTheGKeys) {
    ASSERT_TRUE(WritePresentMode(file, 3));
    ASSERT_TRUE(WriteModeSettings(file, 3, ModeSettings{1, {1, 1, 1}, {2, 2, 2}}));
    const KeyControl& first = KeyControls()[0];
    ASSERT_TRUE(WriteLedValue(file, 3, first.ledPosition, LedValue{{0, 0, 255}, false}));
    ASSERT_TRUE(WriteLedValue(file, 3, kGKeyLedPosition, LedValue{{0, 255, 0}, false}));
    mirror.keyColours[1][kGKeyLedPosition] = Rgb{7, 7, 7};

    EXPECT_EQ(LoadUserMode(Protocol(), mirror, state), 1);
    EXPECT_EQ(state.mode, 3);
    EXPECT_EQ(state.Settings(), (ModeSettings{1, {1, 1, 1}, {2, 2, 2}}));
    EXPECT_EQ(mirror.keyColours[1][first.ledPosition], (Rgb{0, 0, 255}));
    EXPECT_FALSE(state.Marked(1, first.controlId));
    EXPECT_EQ(mirror.keyColours[1][kGKeyLedPosition], (Rgb{7, 7, 7}));
    EXPECT_EQ(KeyboardColour(1, kGKeyLedPosition), (Rgb{7, 7, 7}));
}

TEST_F(UserLighting, SelectingAModeStoresItAndSendsItsColours) {
    ASSERT_TRUE(WriteLedValue(file, 5, kFnLedPosition, LedValue{{3, 4, 5}, false}));
    EXPECT_EQ(SelectUserMode(Protocol(), mirror, state, 5), 1);
    EXPECT_EQ(ReadPresentMode(file), 5);
    EXPECT_EQ(KeyboardColour(1, kFnLedPosition), (Rgb{3, 4, 5}));
    EXPECT_EQ(SelectUserMode(Protocol(), mirror, state, 10), kOutsideRecord);
}

TEST_F(UserLighting, RenamingTakesAnyTextEvenEmpty) {
    state.mode = 2;
    EXPECT_TRUE(RenameUserMode(mirror, state, u"Evening"));
    EXPECT_EQ(LoadUserModeList(mirror)[2], u"Evening");
    EXPECT_TRUE(RenameUserMode(mirror, state, u""));
    EXPECT_EQ(LoadUserModeList(mirror)[2], u"");
}

TEST_F(UserLighting, PaintingOnlyWhileEffectTwentyIsSelected) {
    const KeyControl& key = KeyControls()[10];
    state.paintColour = Rgb{0, 0, 200};
    mirror.fields.effect = 5;
    EXPECT_FALSE(PaintKey(Protocol(), mirror, state, key.controlId));
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(std::filesystem::exists(file));

    mirror.fields.effect = kUserColoursEffect;
    state.SetMark(1, key.controlId, true);
    const auto painted = PaintKey(Protocol(), mirror, state, key.controlId);
    ASSERT_TRUE(painted);
    EXPECT_EQ(*painted, (Rgb{0, 0, 200}));
    EXPECT_FALSE(state.Marked(1, key.controlId)); // tool 0 clears the mark
    EXPECT_EQ(KeyboardColour(1, key.ledPosition), (Rgb{0, 0, 200}));
    EXPECT_EQ(ReadLedValue(file, 0, key.ledPosition), (LedValue{{0, 0, 200}, false}));

    state.tool = 1;
    state.baseColour = Rgb{9, 9, 9};
    ASSERT_TRUE(PaintKey(Protocol(), mirror, state, kFnControl));
    EXPECT_TRUE(state.Marked(1, kFnControl));
    EXPECT_EQ(ReadLedValue(file, 0, kFnLedPosition), (LedValue{{9, 9, 9}, true}));
}

TEST_F(UserLighting, AGKeyIsNotPainted) {
    mirror.fields.effect = kUserColoursEffect;
    EXPECT_FALSE(PaintKey(Protocol(), mirror, state, GKeyControls()[0].controlId));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(UserLighting, TheSameBaseColourRewritesNothing) {
    ASSERT_EQ(LoadUserMode(Protocol(), mirror, state), 1);
    state.baseColour = Rgb{5, 5, 5};
    ASSERT_TRUE(SaveModeSettings(mirror, state));
    const std::string before = FileBytes(file);
    keyboard.ClearLog();
    EXPECT_FALSE(ChangeBaseColour(Protocol(), mirror, state, Rgb{5, 5, 5}));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(FileBytes(file), before);
}

TEST_F(UserLighting, ANewBaseColourRecoloursTheMarkedKeys) {
    ASSERT_EQ(LoadUserMode(Protocol(), mirror, state), 1); // absent file: all marked red
    const KeyControl& unmarked = KeyControls()[3];
    state.SetMark(1, unmarked.controlId, false);
    mirror.keyColours[1][unmarked.ledPosition] = Rgb{1, 2, 3};
    keyboard.ClearLog();

    EXPECT_TRUE(ChangeBaseColour(Protocol(), mirror, state, Rgb{0, 128, 0}));
    EXPECT_EQ(ReadModeSettings(file, 0).baseColour, (Rgb{0, 128, 0}));
    EXPECT_EQ(mirror.keyColours[1][KeyControls()[0].ledPosition], (Rgb{0, 128, 0}));
    EXPECT_EQ(ReadLedValue(file, 0, KeyControls()[0].ledPosition), (LedValue{{0, 128, 0}, true}));
    EXPECT_EQ(KeyboardColour(1, kFnLedPosition), (Rgb{0, 128, 0}));
    EXPECT_EQ(mirror.keyColours[1][unmarked.ledPosition], (Rgb{1, 2, 3}));
    EXPECT_EQ(KeyboardColour(1, unmarked.ledPosition), (Rgb{1, 2, 3}));
    EXPECT_EQ(Sent().size(), 10u); // one image transfer
}

} // namespace
} // namespace kovrel::lighting

// The skin-file reader: rectangle values, missing keys and files, "SCREEN", names and keys.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "skin/core/ini_file.h"
#include "skin/core/skin_file.h"

namespace kovrel::skin {
namespace {

class SkinFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        m_folder = std::filesystem::temp_directory_path() /
                   ("kovrel-skin-file-" + std::to_string(random()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    std::filesystem::path Write(const char* name, const char* text) {
        const auto path = m_folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::filesystem::path m_folder;
};

struct RectCase {
    const char16_t* value;
    SkinRect expected;
};

TEST(ParseSkinRect, ReadsFourNumbersAsScanfDoes) {
    const RectCase cases[] = {
        {u"10,20,30,40", {10, 20, 30, 40}},
        {u"10, 20, 30, 40", {10, 20, 30, 40}}, // blanks after the commas
        {u" 10,\t20,30,40", {10, 20, 30, 40}}, // blanks before a number
        {u"10,20,30,40,5", {10, 20, 30, 40}},  // a fifth field is ignored
        {u"10,20,30,40x", {10, 20, 30, 40}},   // so is anything after the fourth number
        {u"1,1,1,1,x", {1, 1, 1, 1}},          // the missing-key value
        {u"-5,+6,7,8", {-5, 6, 7, 8}},
        // Not four numbers: the fields not reached keep the missing-key value 1.
        {u"10,20", {10, 20, 1, 1}},
        {u"10 ,20,30,40", {10, 1, 1, 1}}, // a blank before a comma stops the parse
        {u"", {1, 1, 1, 1}},
        {u"abc", {1, 1, 1, 1}},
        {u"99999999999,5,6,7", {2147483647, 5, 6, 7}},
    };
    for (const RectCase& c : cases) {
        EXPECT_EQ(ParseSkinRect(c.value), c.expected) << std::string(
            std::u16string_view(c.value).begin(), std::u16string_view(c.value).end());
    }
}

TEST(SkinRect, OnlyACornerAtOneOneIsAbsent) {
    EXPECT_TRUE(IsAbsentFromSkin({1, 1, 1, 1}));
    EXPECT_TRUE(IsAbsentFromSkin({1, 1, 40, 20}));
    EXPECT_FALSE(IsAbsentFromSkin({1, 2, 1, 1}));
    EXPECT_FALSE(IsAbsentFromSkin({2, 1, 1, 1}));
}

TEST_F(SkinFileTest, MissingKeyOrFileReadsAsOneByOneAtOneOne) {
    const auto file = Write("Main.ini", "[BUTTONINFO]\nKEY_01E=10, 20, 30, 40\n");
    EXPECT_EQ(ReadSkinRect(file, u"BUTTONINFO", u"KEY_01E"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ReadSkinRect(file, u"buttoninfo", u"key_01e"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ReadSkinRect(file, u"BUTTONINFO", u"KEY_030"), (SkinRect{1, 1, 1, 1}));
    EXPECT_EQ(ReadSkinRect(m_folder / "None.ini", u"BUTTONINFO", u"KEY_01E"),
              (SkinRect{1, 1, 1, 1}));
}

TEST_F(SkinFileTest, ScreenMaskDefaultsToMain) {
    const auto both = Write("a.ini", "[SCREEN]\nMain=back.bmp\nMask=shape.bmp\n");
    const auto onlyMain = Write("b.ini", "[SCREEN]\nMain=back.bmp\n");
    const auto none = Write("c.ini", "[BUTTONINFO]\n");

    EXPECT_EQ(ReadSkinScreen(both).main, u"back.bmp");
    EXPECT_EQ(ReadSkinScreen(both).mask, u"shape.bmp");
    EXPECT_EQ(ReadSkinScreen(onlyMain).mask, u"back.bmp");
    EXPECT_EQ(ReadSkinScreen(none).main, u"");
    EXPECT_EQ(ReadSkinScreen(none).mask, u"");
}

TEST_F(SkinFileTest, LinkHasABuiltInDefault) {
    const auto withLink = Write("Main.ini", "[SCREEN]\nLink=https://example.org/kb\n");
    const auto without = Write("Other.ini", "[SCREEN]\nMain=a.bmp\n");
    EXPECT_EQ(ReadSkinLink(withLink), u"https://example.org/kb");
    EXPECT_EQ(ReadSkinLink(without), kDefaultLink);
}

TEST_F(SkinFileTest, IniFileGivesNothingForAnEmptyValue) {
    const auto file = Write("x.ini", "[SCREEN]\nMain=back.bmp\nEmpty=\n");
    CIniFile ini(file);
    EXPECT_EQ(ini.ReadString(u"SCREEN", u"Main"), std::u16string(u"back.bmp"));
    EXPECT_EQ(ini.ReadString(u"SCREEN", u"Empty"), std::nullopt);
    EXPECT_EQ(ini.ReadString(u"SCREEN", u"Missing"), std::nullopt);
    EXPECT_EQ(ini.ReadString(u"SCREEN", u"Missing", u"dflt"), std::u16string(u"dflt"));

    EXPECT_TRUE(ini.WriteString(u"SCREEN", u"Link", u"https://example.org"));
    EXPECT_EQ(ini.ReadString(u"SCREEN", u"Link"), std::u16string(u"https://example.org"));
    EXPECT_EQ(CIniFile().ReadString(u"SCREEN", u"Main"), std::nullopt);
}

TEST(SkinNames, ResolveAgainstTheFolder) {
    const std::filesystem::path program = "/opt/kovrel";
    EXPECT_EQ(ResolveSkinName(program, u"Skins\\main_normal.jpg"),
              std::filesystem::path("/opt/kovrel/Skins/main_normal.jpg"));
    EXPECT_EQ(ResolveSkinName(SkinsFolder(program), u"back.bmp"),
              std::filesystem::path("/opt/kovrel/Skins/back.bmp"));
    // An empty name names the folder, which no picture loader takes.
    EXPECT_EQ(ResolveSkinName(program, u""), program);
}

TEST(SkinNames, KeysBuiltFromNumbers) {
    EXPECT_EQ(KeyButtonSkinKey(0x5A), u"KEY_05A");
    EXPECT_EQ(KeyButtonSkinKey(0x15B), u"KEY_15B");
    EXPECT_EQ(KeyButtonSkinKey(0x1), u"KEY_001");
    EXPECT_EQ(GKeySkinKey(9), u"FUNC_G9");
    EXPECT_EQ(NumberedSkinKey(u"UP_ARROW_LEFT", 2), u"UP_ARROW_LEFT2");
}

} // namespace
} // namespace kovrel::skin

// Which section is in use: the stored choice (per-user first, then language.ini) and the switch
// flag.

#include "language_test_files.h"

#include "skin/core/language_file.h"

#include <optional>
#include <ostream>
#include <string>

namespace kovrel::test {
namespace {

struct ChoiceCase {
    const char* name;
    std::optional<std::string> languageIni; // whole file; nullopt: no file
    int switchFlag;
    std::u16string_view expectedSection;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class LanguageChoice : public LanguageFilesTest,
                       public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(LanguageChoice, DecidesTheSection) {
    const ChoiceCase& c = GetParam();
    if (c.languageIni) {
        WriteLanguageFile(*c.languageIni);
    }
    SetLanguageSwitchFlag(c.switchFlag);
    EXPECT_EQ(LanguageSection(), c.expectedSection);
    EXPECT_EQ(LanguageIsEnglish(), c.expectedSection == kEnglishSection);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageChoice,
    ::testing::Values(
        ChoiceCase{"One", "[LANGUAGE]\nlanguage=1\n", 0, kEnglishSection},
        ChoiceCase{"Zero", "[LANGUAGE]\nlanguage=0\n", 0, kChineseSection},
        ChoiceCase{"Two", "[LANGUAGE]\nlanguage=2\n", 0, kChineseSection},
        ChoiceCase{"MinusOne", "[LANGUAGE]\nlanguage=-1\n", 0, kChineseSection},
        ChoiceCase{"Empty", "[LANGUAGE]\nlanguage=\n", 0, kChineseSection},
        ChoiceCase{"MissingKey", "[LANGUAGE]\nother=1\n", 0, kChineseSection},
        ChoiceCase{"MissingFile", std::nullopt, 0, kChineseSection},
        ChoiceCase{"LeadingBlank", "[LANGUAGE]\nlanguage= 1\n", 0, kEnglishSection},
        ChoiceCase{"QuotedLeadingBlank", "[LANGUAGE]\nlanguage=\" 1\"\n", 0, kEnglishSection},
        ChoiceCase{"TrailingLetters", "[LANGUAGE]\nlanguage=1abc\n", 0, kEnglishSection},
        ChoiceCase{"NotANumber", "[LANGUAGE]\nlanguage=abc\n", 0, kChineseSection},
        ChoiceCase{"LowerCaseSection", "[language]\nLANGUAGE=1\n", 0, kEnglishSection},
        ChoiceCase{"FlagOverZero", "[LANGUAGE]\nlanguage=0\n", 1, kEnglishSection},
        ChoiceCase{"FlagWithoutFile", std::nullopt, 1, kEnglishSection},
        ChoiceCase{"FlagZeroKeepsStoredEnglish", "[LANGUAGE]\nlanguage=1\n", 0, kEnglishSection}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

TEST(LanguageChoiceParse, ReadsLeadingDecimalNumber) {
    EXPECT_EQ(ParseLanguageChoice(u""), 0);
    EXPECT_EQ(ParseLanguageChoice(u"1"), 1);
    EXPECT_EQ(ParseLanguageChoice(u" \t1"), 1);
    EXPECT_EQ(ParseLanguageChoice(u"+1"), 1);
    EXPECT_EQ(ParseLanguageChoice(u"-1"), -1);
    EXPECT_EQ(ParseLanguageChoice(u"12x"), 12);
    EXPECT_EQ(ParseLanguageChoice(u"x1"), 0);
    EXPECT_EQ(ParseLanguageChoice(u"-"), 0);
    // Far too many digits must not overflow into 1.
    EXPECT_NE(ParseLanguageChoice(u"4294967297"), 1);
    EXPECT_NE(ParseLanguageChoice(u"18446744073709551617"), 1);
}

using LanguageUserChoice = LanguageFilesTest;

TEST_F(LanguageUserChoice, PerUserValueWinsOverTheProgramFolder) {
    WriteLanguageFile("[LANGUAGE]\nlanguage=1\n");
    WriteUserSettings("[LANGUAGE]\nlanguage=0\n");
    EXPECT_EQ(ReadLanguageChoice(), 0);
    EXPECT_EQ(LanguageSection(), kChineseSection);

    WriteLanguageFile("[LANGUAGE]\nlanguage=0\n");
    WriteUserSettings("[GENERAL]\nother=5\n[LANGUAGE]\nlanguage=1\n");
    EXPECT_EQ(ReadLanguageChoice(), 1);
    EXPECT_EQ(LanguageSection(), kEnglishSection);
}

TEST_F(LanguageUserChoice, UnsetPerUserValueFallsBackToTheProgramFolder) {
    WriteLanguageFile("[LANGUAGE]\nlanguage=1\n");
    EXPECT_EQ(ReadLanguageChoice(), 1); // no per-user file at all

    WriteUserSettings("[LANGUAGE]\nlanguage=\n");
    EXPECT_EQ(ReadLanguageChoice(), 1);

    WriteUserSettings("[OTHER]\nlanguage=0\n");
    EXPECT_EQ(ReadLanguageChoice(), 1);
}

} // namespace
} // namespace kovrel::test

#include "platform/text.h"

#include <gtest/gtest.h>

namespace kovrel::platform {
namespace {

TEST(Text, ValidTextRoundTrips) {
    for (const std::string utf8 :
         {"", "plain ASCII", "Grüße", "中文键盘", "emoji \xF0\x9F\x98\x80"}) {
        EXPECT_EQ(ToUtf8(FromUtf8(utf8)), utf8);
    }
    EXPECT_EQ(FromUtf8("\xE4\xB8\xAD"), u"\u4E2D");
    EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80"), std::u16string(u"\xD83D\xDE00"));
}

TEST(Text, InvalidUtf8BecomesReplacementCharacters) {
    struct Case {
        std::string utf8;
        std::u16string expected;
    };
    const Case cases[] = {
        {"a\x80z", u"a\uFFFDz"},                           // stray continuation byte
        {"\xC0\x80", u"\uFFFD\uFFFD"},                     // overlong NUL
        {"\xE4\xB8", u"\uFFFD"},                           // truncated at the end
        {"\xE4\xB8x", u"\uFFFDx"},                         // truncated before another character
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
        {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"\xFF", u"\uFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromUtf8(c.utf8), c.expected) << "input size " << c.utf8.size();
}

TEST(Text, LoneSurrogatesBecomeReplacementCharacters) {
    const char16_t high[] = {u'a', 0xD800, u'b', 0};
    const char16_t low[] = {0xDC00, 0};
    const char16_t highAtEnd[] = {u'x', 0xDBFF, 0};
    EXPECT_EQ(ToUtf8(high), "a\xEF\xBF\xBD"
                            "b");
    EXPECT_EQ(ToUtf8(low), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(highAtEnd), "x\xEF\xBF\xBD");
}

} // namespace
} // namespace kovrel::platform

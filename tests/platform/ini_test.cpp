#include "platform/ini.h"
#include "platform/temporary_home.h"
#include "platform/text.h"
#include "test_files.h"

#include <climits>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <vector>

namespace kovrel::platform {
namespace {

namespace fs = std::filesystem;
using testing::FolderNames;
using testing::ReadBytes;
using testing::Utf16LeWithBom;
using testing::WriteBytes;

class Ini : public ::testing::Test {
protected:
    TemporaryHome home;
    fs::path file = home.Path() / "test.ini";
};

TEST_F(Ini, ReadsWithThePrivateProfileRules) {
    struct Case {
        const char* name;
        std::string content; // empty: no file
        std::u16string section, key, defaultValue;
        std::size_t capacity;
        std::u16string expected;
    };
    const std::string basic = "[Main]\nKey=Value\n";
    const Case cases[] = {
        {"plain", basic, u"Main", u"Key", u"d", 260, u"Value"},
        {"names ignore case", basic, u"mAIN", u"KEY", u"d", 260, u"Value"},
        {"requested names are trimmed", basic, u" Main ", u"\tKey ", u"d", 260, u"Value"},
        {"blanks around name and value", "[ Main ]\n  Key \t=   two words  \t\n", u"Main", u"Key",
         u"d", 260, u"two words"},
        {"double quotes keep inner blanks", "[S]\nk= \" padded \" \n", u"S", u"k", u"d", 260,
         u" padded "},
        {"single quotes", "[S]\nk='x'\n", u"S", u"k", u"d", 260, u"x"},
        {"quotes that do not match stay", "[S]\nk=\"x'\n", u"S", u"k", u"d", 260, u"\"x'"},
        {"one pair only", "[S]\nk=\"\"x\"\"\n", u"S", u"k", u"d", 260, u"\"x\""},
        {"a lone quote stays", "[S]\nk=\"\n", u"S", u"k", u"d", 260, u"\""},
        {"empty quotes give empty", "[S]\nk=\"\"\n", u"S", u"k", u"d", 260, u""},
        {"empty value is not the default", "[S]\nk=\n", u"S", u"k", u"d", 260, u""},
        {"equals sign inside the value", "[S]\nk=a=b\n", u"S", u"k", u"d", 260, u"a=b"},
        {"missing key: default without trailing blanks", basic, u"Main", u"Other", u"Def \t ", 260,
         u"Def"},
        {"leading blanks of the default stay", basic, u"Main", u"Other", u"  Def", 260, u"  Def"},
        {"a default of one blank is empty", basic, u"Main", u"Other", u" ", 260, u""},
        {"missing section", basic, u"Nope", u"Key", u"d", 260, u"d"},
        {"missing file", "", u"Main", u"Key", u"dflt", 260, u"dflt"},
        {"cut to capacity - 1", basic, u"Main", u"Key", u"d", 4, u"Val"},
        {"capacity 1 gives empty", basic, u"Main", u"Key", u"d", 1, u""},
        {"capacity 0 gives empty", basic, u"Main", u"Key", u"d", 0, u""},
        {"the default is cut too", basic, u"Main", u"Other", u"default", 3, u"de"},
        {"comment lines are skipped", "[S]\n;k=commented\n  ; k=also\nk=real\n", u"S", u"k", u"d",
         260, u"real"},
        {"a commented key is not found", "[S]\n;k=commented\n", u"S", u"k", u"d", 260, u"d"},
        {"first of duplicate keys wins", "[S]\nk=first\nK=second\n", u"S", u"k", u"d", 260,
         u"first"},
        {"keys of other sections are not found", "[A]\nk=a\n[B]\nj=b\n", u"B", u"k", u"d", 260,
         u"d"},
        {"lines before the first section belong to none", "k=orphan\n[S]\n", u"S", u"k", u"d", 260,
         u"d"},
        {"a line without '=' is no key", "[S]\nk\nk2=v\n", u"S", u"k", u"d", 260, u"d"},
        {"CRLF line endings", "[S]\r\nk=crlf\r\nj=x\r\n", u"S", u"k", u"d", 260, u"crlf"},
        {"no line ending at the end", "[S]\nk=last", u"S", u"k", u"d", 260, u"last"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF[S]\nk=bom\n", u"S", u"k", u"d", 260, u"bom"},
        {"Chinese names and value", "[\xE4\xB8\xAD\xE6\x96\x87]\n\xE9\x94\xAE=\xE5\x80\xBC\n",
         u"\u4E2D\u6587", u"\u952E", u"d", 260, u"\u503C"},
        {"UTF-16LE with BOM",
         Utf16LeWithBom("[Chinese]\r\nTITLE=\xE9\x94\xAE\xE7\x9B\x98\xE8\xAE\xBE\xE7\xBD\xAE\r\n"),
         u"chinese", u"title", u"d", 260, u"\u952E\u76D8\u8BBE\u7F6E"},
        {"letters beyond ASCII ignore case",
         "[\xC3\x9C"
         "ber]\n\xD0\x9A\xD0\xBB\xD1\x8E\xD1\x87=v\n",
         u"\u00FCBER", u"\u043A\u043B\u044E\u0447", u"d", 260, u"v"},
    };
    for (const Case& c : cases) {
        fs::remove(file);
        if (!c.content.empty())
            WriteBytes(file, c.content);
        EXPECT_EQ(ReadIniString(c.section, c.key, c.defaultValue, file, c.capacity), c.expected)
            << c.name;
    }
}

TEST_F(Ini, CapacityNeverSplitsASurrogatePair) {
    WriteBytes(file, "[S]\nk=a\xF0\x9F\x98\x80z\n");
    EXPECT_EQ(ReadIniString(u"S", u"k", u"", file, 3), u"a");
    EXPECT_EQ(ReadIniString(u"S", u"k", u"", file, 4), std::u16string(u"a\xD83D\xDE00"));
}

TEST_F(Ini, ReadsIntegers) {
    struct Case {
        const char* value; // null: key absent
        int expected;
    };
    const Case cases[] = {
        {nullptr, -5},
        {"42", 42},
        {"  42", 42},
        {"-7", -7},
        {"+3", 3},
        {"12abc", 12},
        {"1.5", 1},
        {"abc", -5},
        {"", -5},
        {"-", -5},
        {"\" 1\"", 1},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        WriteBytes(file, c.value ? std::string("[S]\nk=") + c.value + "\n" : "[S]\n");
        EXPECT_EQ(ReadIniInt(u"S", u"K", -5, file), c.expected) << (c.value ? c.value : "absent");
    }
}

TEST_F(Ini, FindTellsAbsentFromEmpty) {
    WriteBytes(file, "[S]\nempty=\n");
    EXPECT_EQ(FindIniValue(u"S", u"empty", file), std::optional<std::u16string>(u""));
    EXPECT_EQ(FindIniValue(u"S", u"absent", file), std::nullopt);
    EXPECT_EQ(FindIniValue(u"S", u"empty", home.Path() / "none.ini"), std::nullopt);
}

TEST_F(Ini, WritesKeepTheRestOfTheFile) {
    struct Case {
        const char* name;
        std::string before;
        std::u16string section, key, value;
        std::string after;
    };
    const Case cases[] = {
        {"value replaced in place, CRLF kept", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n", u"A", u"x",
         u"9", "[A]\r\nx=9\r\ny=2\r\n[B]\r\nz=3\r\n"},
        {"the line keeps its name and spacing", "[A]\n  Key = \"old\" \n", u"a", u"KEY", u"new",
         "[A]\n  Key = new\n"},
        {"new key at the end of its section", "[A]\nx=1\n\n;about B\n[B]\nz=3\n", u"A", u"y", u"2",
         "[A]\nx=1\ny=2\n\n;about B\n[B]\nz=3\n"},
        {"new key in an empty section", "[A]\n[B]\nz=3\n", u"A", u"y", u"2",
         "[A]\ny=2\n[B]\nz=3\n"},
        {"new key in the last section", "[A]\r\nx=1\r\n", u"A", u"y", u"2",
         "[A]\r\nx=1\r\ny=2\r\n"},
        {"missing section appended", "[A]\nx=1\n", u"C", u"k", u"v", "[A]\nx=1\n\n[C]\nk=v\n"},
        {"missing section appended to a CRLF file", "[A]\r\nx=1\r\n\r\n", u"C", u"k", u"v",
         "[A]\r\nx=1\r\n\r\n[C]\r\nk=v\r\n"},
        {"last line without a line ending", "[A]\nx=1", u"A", u"y", u"2", "[A]\nx=1\ny=2\n"},
        {"comments, odd lines and bytes that are not UTF-8 stay",
         "; top\n[A]\n\xFF\xFE odd line\nx=\xC0 bad\n", u"A", u"y", u"\u4E2D",
         "; top\n[A]\n\xFF\xFE odd line\nx=\xC0 bad\ny=\xE4\xB8\xAD\n"},
        {"only the first duplicate is replaced", "[A]\nx=1\nX=2\n", u"A", u"x", u"3",
         "[A]\nx=3\nX=2\n"},
        {"UTF-8 BOM kept", "\xEF\xBB\xBF[A]\nx=1\n", u"A", u"x", u"2", "\xEF\xBB\xBF[A]\nx=2\n"},
        {"empty file", "", u"A", u"x", u"1", "[A]\nx=1\n"},
    };
    for (const Case& c : cases) {
        WriteBytes(file, c.before);
        ASSERT_TRUE(WriteIniString(c.section, c.key, c.value, file)) << c.name;
        EXPECT_EQ(ReadBytes(file), c.after) << c.name;
        EXPECT_EQ(ReadIniString(c.section, c.key, u"d", file), c.value) << c.name;
    }
}

TEST_F(Ini, WriteKeepsUtf16Encoding) {
    WriteBytes(file,
               Utf16LeWithBom("; \xE8\xAF\xAD\xE8\xA8\x80\r\n[Chinese]\r\nA=\xE4\xB8\x80\r\n"));
    ASSERT_TRUE(WriteIniString(u"Chinese", u"B", u"\u4E8C", file));
    ASSERT_TRUE(WriteIniString(u"Chinese", u"A", u"\u4E09", file));
    EXPECT_EQ(ReadBytes(file),
              Utf16LeWithBom("; \xE8\xAF\xAD\xE8\xA8\x80\r\n[Chinese]\r\nA=\xE4\xB8\x89\r\n"
                             "B=\xE4\xBA\x8C\r\n"));
    EXPECT_EQ(ReadIniString(u"chinese", u"b", u"", file), u"\u4E8C");
}

TEST_F(Ini, WriteCreatesTheFileButNotItsFolder) {
    ASSERT_TRUE(WriteIniString(u"KEYCOLOR", u"usermodeCheck", u"1", file));
    EXPECT_EQ(ReadBytes(file), "[KEYCOLOR]\nusermodeCheck=1\n");

    const fs::path inMissingFolder = home.Path() / "missing" / "new.ini";
    EXPECT_FALSE(WriteIniString(u"S", u"k", u"v", inMissingFolder));
    EXPECT_FALSE(fs::exists(inMissingFolder.parent_path()));

    fs::create_directory(home.Path() / "folder.ini");
    EXPECT_FALSE(WriteIniString(u"S", u"k", u"v", home.Path() / "folder.ini"));
}

TEST_F(Ini, RefusesTextsThatWouldBreakTheFile) {
    const std::string before = "[S]\nk=1\n";
    WriteBytes(file, before);
    EXPECT_FALSE(WriteIniString(u"S", u"k", u"1\n[Injected]\nx=y", file));
    EXPECT_FALSE(WriteIniString(u"S", u"a=b", u"v", file));
    EXPECT_FALSE(WriteIniString(u"S]x", u"k", u"v", file));
    EXPECT_FALSE(WriteIniString(u"S", u";k", u"v", file));
    EXPECT_FALSE(WriteIniString(u"S", u" ", u"v", file));
    EXPECT_FALSE(WriteIniString(u"", u"k", u"v", file));
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(FolderNames(home.Path()), (std::vector<std::string>{".config", "test.ini"}));
}

TEST_F(Ini, ReadsSeeEveryChange) {
    for (int i = 0; i < 50; ++i) {
        const std::u16string value = FromUtf8(std::to_string(i));
        ASSERT_TRUE(WriteIniString(u"S", u"k", value, file));
        ASSERT_EQ(ReadIniString(u"S", u"k", u"", file), value);
    }
    // Changed by someone else, in place.
    WriteBytes(file, "[S]\nk=changed outside\n");
    EXPECT_EQ(ReadIniString(u"S", u"k", u"", file), u"changed outside");
    fs::remove(file);
    EXPECT_EQ(ReadIniString(u"S", u"k", u"gone", file), u"gone");
}

TEST_F(Ini, ConcurrentWritersLoseNothing) {
    constexpr int kThreads = 4, kKeys = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int k = 0; k < kKeys; ++k) {
                const std::u16string key =
                    FromUtf8("t" + std::to_string(t) + "k" + std::to_string(k));
                WriteIniString(u"S", key, key, file);
                ReadIniString(u"S", key, u"", file);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < kKeys; ++k) {
            const std::u16string key = FromUtf8("t" + std::to_string(t) + "k" + std::to_string(k));
            EXPECT_EQ(ReadIniString(u"S", key, u"", file), key);
        }
    EXPECT_EQ(FolderNames(home.Path()), (std::vector<std::string>{".config", "test.ini"}));
}

} // namespace
} // namespace kovrel::platform

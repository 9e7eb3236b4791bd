// Configuration files: writing, loading, validation with its messages, export from the keyboard
// and import into it.

#include "config_test_support.h"
#include "device/default_layout.h"
#include "model/apply_configuration.h"
#include "model/byte_order.h"
#include "model/macro_image.h"
#include "model/profile_block.h"
#include "model/user_messages.h"
#include "platform/text.h"
#include "profiles/config_file.h"
#include "profiles/config_file_format.h"
#include "profiles/profile_window.h"

#include <gmock/gmock.h>

namespace kovrel::profiles {
namespace {

using kovrel::testing::MakeMacro;
using kovrel::testing::MessageTexts;
using kovrel::testing::ReadFileBytes;
using kovrel::testing::RecordingWindow;
using kovrel::testing::WriteFileBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr KeyId kKeyA = 0x01E;

Configuration RichConfiguration() {
    Configuration c = EmptyConfiguration();
    c.macros = {MakeMacro(u"Hello", 3, {{120, kKeyA, 0}, {0, kKeyA, 1}}, 2),
                MakeMacro(u"Two", 1, {{10, 0x11D, 0}}, 255)};
    for (int p = 0; p < 3; ++p) {
        c.Record(p, KeyIndexOf(kKeyA)).Set(AssignmentKind::Key, 0x030);
        c.Record(p, KeyIndexOf(0x030)).Set(AssignmentKind::Macro, 3);
        c.Record(p, KeyIndexOf(0x02E)).Set(AssignmentKind::Media, 7);
        c.Record(p, KeyIndexOf(0x020)).Set(AssignmentKind::Function, 4);
        c.Record(p, KeyIndexOf(0x012)).Set(AssignmentKind::Disabled);
        c.Record(p, KeyIndexOf(0x013)).Set(AssignmentKind::StopMacro);
    }
    c.Record(0, 5).Set(AssignmentKind::LaunchProgram, 0);
    c.SetText(5, u"/usr/bin/true");
    c.Record(2, 9).Set(AssignmentKind::TextBlock, 0);
    c.SetText(2 * 512 + 9, u"typed text");
    c.Record(1, 300).mark = 1;
    return c;
}

std::vector<std::uint8_t> RichFile() {
    Configuration c = RichConfiguration();
    return SerializeConfiguration(c);
}

void FixChecksum(std::vector<std::uint8_t>& file) {
    file[31] = HeaderChecksum(std::span<const std::uint8_t, kHeaderSize>(file.data(), kHeaderSize));
}

class ConfigFileTest : public kovrel::testing::ConfigurationTest {};

TEST_F(ConfigFileTest, WrittenFileLoadsBackWithTextOffsets) {
    ConfigurationStore store;
    store.Replace(RichConfiguration());
    ASSERT_TRUE(WriteConfigurationFile(File("a.kvl"), store));
    const auto bytes = ReadFileBytes(File("a.kvl"));
    const std::size_t text = 14 * 2 + 11 * 2;
    ASSERT_EQ(bytes.size(), 32832u + 2 * 16512 + text);
    EXPECT_TRUE(
        HeaderPassesTest(std::span<const std::uint8_t, kHeaderSize>(bytes.data(), kHeaderSize)));
    EXPECT_EQ(store.Data().Record(0, 5).value, 0u);
    EXPECT_EQ(store.Data().Record(2, 9).value, 28u);

    ConfigurationStore loaded;
    ASSERT_EQ(LoadConfigurationFile(File("a.kvl"), loaded), 1);
    EXPECT_EQ(loaded.Data().records, store.Data().records);
    EXPECT_EQ(loaded.Data().macros, store.Data().macros);
    EXPECT_EQ(loaded.Data().texts, store.Data().texts);
    EXPECT_EQ(loaded.Data().textTotal, store.Data().textTotal);
    EXPECT_EQ(ValidateConfigurationFile(File("a.kvl")), 1);
}

TEST_F(ConfigFileTest, ValidationResultsAndMessages) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        int expected;
        bool message;
    };
    std::vector<Case> cases;
    const auto good = RichFile();
    cases.push_back({"good", good, 1, false});
    cases.push_back({"too small", {good.begin(), good.begin() + 32831}, 0, false});
    cases.push_back({"checksum wrong", good, 0, true});
    cases.back().file[31] ^= 1;
    cases.push_back({"longer than its header says", good, 1, false});
    cases.back().file.resize(good.size() + 100, 0);
    cases.push_back({"shorter than its header promises", {good.begin(), good.end() - 2}, 0, true});
    cases.push_back({"text offset outside the text area", good, 0, true});
    bytes::PutU32(cases.back().file, 64 + 5 * 16 + 4, 5000);
    cases.push_back({"text without terminator", good, 0, true});
    cases.back().file.back() = 'x';
    cases.back().file[cases.back().file.size() - 2] = 'x';
    cases.push_back({"flag 1", good, 1, false});
    cases.back().file[30] = 1;
    FixChecksum(cases.back().file);
    cases.push_back({"action count above 2000", good, 0, true});
    bytes::PutU16(cases.back().file, 32832 + 508, 2001);

    for (const Case& c : cases) {
        services.messageBox.Clear();
        WriteFileBytes(File("v.kvl"), c.file);
        EXPECT_EQ(ValidateConfigurationFile(File("v.kvl")), c.expected) << c.what;
        const auto texts = MessageTexts(services.messageBox);
        if (c.message) {
            EXPECT_THAT(texts,
                        ElementsAre(FormatWithText(LanguageText("PROFILE_FORMAT_ERROR"),
                                                   platform::FromUtf8(File("v.kvl").string()))))
                << c.what;
        } else {
            EXPECT_THAT(texts, IsEmpty()) << c.what;
        }
    }
    EXPECT_EQ(ValidateConfigurationFile(File("missing.kvl")), 0);
}

TEST_F(ConfigFileTest, HundredMacrosAcceptedHundredAndOneRefused) {
    Configuration c = EmptyConfiguration();
    for (int id = 1; id <= 100; ++id) {
        c.macros.push_back(MakeMacro(u"m", static_cast<std::uint16_t>(id), {}));
    }
    WriteFileBytes(File("100.kvl"), SerializeConfiguration(c));
    EXPECT_EQ(ValidateConfigurationFile(File("100.kvl")), 1);
    const ImportResult accepted = ImportConfigurationFile(File("100.kvl"), access());
    EXPECT_TRUE(accepted.loaded);
    EXPECT_EQ(accepted.applied, 1);

    // A 101st record appended, with the header counting it.
    auto file = ReadFileBytes(File("100.kvl"));
    file.insert(file.begin() + 32832, file.begin() + 32832, file.begin() + 32832 + 16512);
    bytes::PutU16(file, 14, 101);
    bytes::PutU32(file, 8, bytes::GetU32(file, 8) + 16512);
    FixChecksum(file);
    WriteFileBytes(File("101.kvl"), file);
    EXPECT_EQ(ValidateConfigurationFile(File("101.kvl")), 0);
}

TEST_F(ConfigFileTest, ImportOfABadFileShowsBothMessagesAndChangesNothing) {
    WorkingStore().Replace(RichConfiguration());
    auto file = RichFile();
    file[31] ^= 0x10;
    WriteFileBytes(File("bad.kvl"), file);
    RecordingWindow window;
    const ImportResult result = ImportConfigurationFile(File("bad.kvl"), access(), &window);
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(MessageTexts(services.messageBox).size(), 2u);
    EXPECT_EQ(MessageTexts(services.messageBox).back(), LanguageText("MAIN_PROMPT_INPORT"));
    EXPECT_EQ(WorkingStore().Data().macros, RichConfiguration().macros);
    EXPECT_THAT(kovrel::testing::ReceivedReports(), IsEmpty());
    EXPECT_THAT(window.calls, IsEmpty());
}

TEST_F(ConfigFileTest, ImportLoadsSavesAppliesAllProfilesAndRefreshes) {
    WriteFileBytes(File("in.kvl"), RichFile());
    // With a working file present, import rewrites it.
    WriteFileBytes(WorkingConfigurationFile(), {1, 2, 3});
    RecordingWindow window;
    const ImportResult result = ImportConfigurationFile(File("in.kvl"), access(), &window);
    EXPECT_TRUE(result.loaded);
    EXPECT_EQ(result.applied, 1);
    EXPECT_THAT(window.calls, ElementsAre("refresh", "disable apply"));
    EXPECT_EQ(ReadFileBytes(WorkingConfigurationFile()), RichFile());
    const ProfileBlock& layout = device::BuiltInDefaultLayout();
    for (int p = 0; p < 3; ++p) {
        ProfileBlock expected;
        EncodeProfileBlock(RichConfiguration(), p, layout, expected);
        EXPECT_EQ(keyboard().ProfileBlock(p), expected) << p;
    }
}

TEST_F(ConfigFileTest, SaveWorkingFileWritesOnlyAnExistingFile) {
    WorkingStore().Replace(RichConfiguration());
    EXPECT_TRUE(SaveWorkingFile(WorkingStore()));
    EXPECT_FALSE(std::filesystem::exists(WorkingConfigurationFile()));
    WriteFileBytes(WorkingConfigurationFile(), {});
    EXPECT_TRUE(SaveWorkingFile(WorkingStore()));
    EXPECT_EQ(ReadFileBytes(WorkingConfigurationFile()), RichFile());
}

TEST_F(ConfigFileTest, AFailedLoadLeavesTheStoreAsItWas) {
    ConfigurationStore store;
    store.Replace(RichConfiguration());
    auto file = RichFile();
    file.resize(file.size() - 1);
    WriteFileBytes(File("cut.kvl"), file);
    EXPECT_EQ(LoadConfigurationFile(File("cut.kvl"), store), 0);
    EXPECT_EQ(LoadConfigurationFile(File("missing.kvl"), store), 0);
    EXPECT_EQ(store.Data().macros, RichConfiguration().macros);
    EXPECT_EQ(store.Data().records, RichConfiguration().records);
}

TEST_F(ConfigFileTest, ExportReadsBackWhatWasApplied) {
    WorkingStore().Replace(RichConfiguration());
    ASSERT_EQ(ApplyConfiguration(access(), true), 1);
    ASSERT_TRUE(ExportKeyboardToFile(File("out.kvl"), access()));
    EXPECT_EQ(ValidateConfigurationFile(File("out.kvl")), 1);

    ConfigurationStore exported;
    ASSERT_EQ(LoadConfigurationFile(File("out.kvl"), exported), 1);
    const Configuration original = RichConfiguration();
    const Configuration& back = exported.Data();
    for (int p = 0; p < 3; ++p) {
        for (int r = 0; r < kKeyRecords; ++r) {
            const KeyRecord& o = original.Record(p, r);
            const KeyRecord& b = back.Record(p, r);
            if (o.Is(AssignmentKind::Macro)) {
                // Macro ids read back as positions + 1: id 3 is the first macro.
                EXPECT_EQ(b.value, 1u);
            } else if (o.Is(AssignmentKind::LaunchProgram)) {
                EXPECT_TRUE(b.Is(AssignmentKind::Default));
            } else if (o.Is(AssignmentKind::TextBlock)) {
                EXPECT_TRUE(b.Is(AssignmentKind::Disabled));
            } else {
                EXPECT_EQ(b.kind, o.kind) << p << " " << r;
                EXPECT_EQ(b.value, o.value) << p << " " << r;
            }
        }
        EXPECT_EQ(back.Record(p, GRecordNumber(1, 9)).aux, 0x1309);
    }
    ASSERT_EQ(back.macros.size(), 2u);
    EXPECT_EQ(back.macros[0].name, u"Hello");
    EXPECT_EQ(back.macros[0].actions, original.macros[0].actions);
    EXPECT_EQ(back.macros[1].cycles, 255);
    EXPECT_EQ(back.macros[1].macroId, 2);
}

TEST_F(ConfigFileTest, ExportFailsOnAFailedReadOrABadImage) {
    keyboard().DropReplies(100);
    EXPECT_FALSE(ExportKeyboardToFile(File("x.kvl"), access()));
    EXPECT_FALSE(std::filesystem::exists(File("x.kvl")));
    keyboard().ClearFaults();
    standin::WaitIdle();

    // A macro memory whose image promises an entry beyond its end.
    auto memory = keyboard().Memory();
    const std::vector<std::uint8_t> bad = {0xAA, 0x55, 20, 0, 1, 0, 0,    0, 0, 0,
                                           0,    0,    0,  0, 0, 0, 0xF0, 0, 0, 0};
    std::copy(bad.begin(), bad.end(), memory.macro_memory.begin());
    keyboard().SetMemory(memory);
    EXPECT_FALSE(ExportKeyboardToFile(File("x.kvl"), access()));

    // An empty macro memory (no mark) means no macros.
    std::fill(memory.macro_memory.begin(), memory.macro_memory.end(), 0);
    keyboard().SetMemory(memory);
    EXPECT_TRUE(ExportKeyboardToFile(File("x.kvl"), access()));
}

} // namespace
} // namespace kovrel::profiles

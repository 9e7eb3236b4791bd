// Apply against the virtual keyboard: what is sent, in which order, with which macro image, and
// when the user is told about the macro space.

#include "device/arrival.h"
#include "device/default_layout.h"
#include "model/apply_configuration.h"
#include "model/macro_image.h"
#include "model/profile_block.h"
#include "model_test_support.h"

#include <gmock/gmock.h>

namespace kovrel {
namespace {

using testing::CommandOf;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::MakeMacro;
using testing::MessageTexts;
using testing::ReceivedReports;

constexpr KeyId kKeyA = 0x01E;

int SlotOf(KeyId key) {
    const ProfileBlock& layout = device::BuiltInDefaultLayout();
    for (int s = 0; s < kProfileSlots; ++s) {
        if (SlotKey(SlotAction(layout, s)) == key) {
            return s;
        }
    }
    return 0;
}

// Command codes in the order sent, runs of the same code (one chunked transfer) collapsed.
std::vector<int> CommandRuns() {
    std::vector<int> runs;
    for (const auto& report : ReceivedReports()) {
        if (runs.empty() || runs.back() != CommandOf(report)) {
            runs.push_back(CommandOf(report));
        }
    }
    return runs;
}

// The profiles the WriteProfileBlock reports addressed, in order, repeats collapsed.
std::vector<int> ProfilesWritten() {
    std::vector<int> profiles;
    for (const auto& report : ReceivedReports()) {
        if (CommandOf(report) != 8) {
            continue;
        }
        const int profile = (report[5] | (report[6] << 8)) / 378;
        if (profiles.empty() || profiles.back() != profile) {
            profiles.push_back(profile);
        }
    }
    return profiles;
}

class ApplyTest : public testing::KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        ASSERT_EQ(device::ReadArrivalData(link.protocol, link.keyboard).info, 1);
        keyboard().ClearLog();
        const auto lock = working.Acquire();
        Configuration& data = working.Data();
        data.macros = {MakeMacro(u"Hello", 7, {{120, kKeyA, 0}, {0, kKeyA, 1}}, 2)};
        for (int p = 0; p < 3; ++p) {
            data.Record(p, KeyIndexOf(kKeyA)).Set(AssignmentKind::Macro, 7);
            data.Record(p, KeyIndexOf(0x030)).Set(AssignmentKind::Disabled);
        }
    }

    KeyAction SlotOnKeyboard(int profile, KeyId key) {
        return SlotAction(keyboard().ProfileBlock(profile), SlotOf(key));
    }

    std::vector<std::uint8_t> MacroMemoryStart(std::size_t size) {
        const auto memory = keyboard().MacroMemory();
        return {memory.begin(), memory.begin() + std::min(size, memory.size())};
    }

    ConfigurationStore working;
    ConfigurationStore applied;
};

TEST_F(ApplyTest, CurrentProfileOnlySendsOneBlockOfTheCurrentProfile) {
    ASSERT_EQ(link.currentProfile.Set(1), 1);
    keyboard().ClearLog();
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), false), 1);
    EXPECT_THAT(CommandRuns(), ElementsAre(1, 10, 8, 2));
    EXPECT_THAT(ProfilesWritten(), ElementsAre(1));
    EXPECT_EQ(SlotOnKeyboard(1, kKeyA), (KeyAction{5, 1, 0}));
    EXPECT_EQ(SlotOnKeyboard(1, 0x030), (KeyAction{0, 0, 0}));
    EXPECT_EQ(SlotOnKeyboard(0, kKeyA), SlotAction(device::BuiltInDefaultLayout(), SlotOf(kKeyA)));
    const auto image = EncodeMacroImage(working.Data().macros, true);
    EXPECT_EQ(MacroMemoryStart(image.size()), image);
    EXPECT_THAT(MessageTexts(services.messageBox), IsEmpty());
    EXPECT_FALSE(keyboard().ConfigOpen());
}

TEST_F(ApplyTest, AllProfilesSendsThreeBlocksInOrder) {
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), true), 1);
    EXPECT_THAT(CommandRuns(), ElementsAre(1, 10, 8, 2));
    EXPECT_THAT(ProfilesWritten(), ElementsAre(0, 1, 2));
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(SlotOnKeyboard(p, kKeyA), (KeyAction{5, 1, 0})) << p;
    }
    // The applied store is the working store's snapshot with a rebuilt header.
    const auto lock = applied.Acquire();
    EXPECT_EQ(applied.Data().records, working.Data().records);
    EXPECT_EQ(applied.Data().macros, working.Data().macros);
    EXPECT_TRUE(HeaderPassesTest(applied.Data().header));
    EXPECT_EQ(applied.Data().header[14], 1);
}

TEST_F(ApplyTest, NamesAreLeftOutWhenOnlyTheNamelessImageFits) {
    const MacroImageSize sizes = MacroImageSizes(working.Data().macros);
    link.keyboard.SetMacroMemorySize(static_cast<int>(sizes.withNames - 1));
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), true), 1);
    const auto nameless = EncodeMacroImage(working.Data().macros, false);
    EXPECT_EQ(MacroMemoryStart(nameless.size()), nameless);
    EXPECT_THAT(MessageTexts(services.messageBox),
                ElementsAre(LanguageText("EXTRA_PROFILE_SPACE_TIGHT")));
}

TEST_F(ApplyTest, NothingIsSentWhenEvenTheNamelessImageDoesNotFit) {
    const MacroImageSize sizes = MacroImageSizes(working.Data().macros);
    link.keyboard.SetMacroMemorySize(static_cast<int>(sizes.withoutNames - 1));
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), true), 0);
    EXPECT_THAT(ReceivedReports(), IsEmpty());
    EXPECT_THAT(MessageTexts(services.messageBox),
                ElementsAre(LanguageText("EXTRA_MACRO_TOO_LONG")));
}

TEST_F(ApplyTest, NoKeyboardArrivedMeansNoMacroSpace) {
    link.keyboard.SetMacroMemorySize(0);
    {
        const auto lock = working.Acquire();
        working.Data().macros.clear();
    }
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), true), 0);
    EXPECT_THAT(ReceivedReports(), IsEmpty());
}

TEST_F(ApplyTest, ALostMacroImageFailsTheApplyButTheSequenceIsComplete) {
    // The host believes in more macro memory than the keyboard has: the image write fails.
    link.keyboard.SetMacroMemorySize(8192);
    {
        const auto lock = working.Acquire();
        working.Data().macros[0].actions.resize(1240, MacroAction{10, kKeyA, 0});
    }
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), true), 0);
    const auto runs = CommandRuns();
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.back(), 2); // EndConfig still closes the group
    EXPECT_THAT(ProfilesWritten(), ElementsAre(0, 1, 2));
    EXPECT_FALSE(keyboard().ConfigOpen());
}

TEST_F(ApplyTest, AStoreNotReadFromTheKeyboardIsNeverDownloaded) {
    {
        const auto lock = working.Acquire();
        working.Data().notRead = true;
    }
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), true), 0);
    EXPECT_THAT(ReceivedReports(), IsEmpty());
    EXPECT_THAT(MessageTexts(services.messageBox), ElementsAre(LanguageText("APPLY_NOT_READ")));
}

TEST_F(ApplyTest, TextsAreLaidOutAndTheirOffsetsStored) {
    {
        const auto lock = working.Acquire();
        Configuration& data = working.Data();
        data.Record(0, 5).Set(AssignmentKind::LaunchProgram, 999);
        data.SetText(5, u"ab");
        data.SetText(7, u"unused"); // its record is Default: counted in the total, not laid out
        data.Record(1, 3).Set(AssignmentKind::TextBlock, 999);
        data.SetText(512 + 3, u"cd");
    }
    EXPECT_EQ(ApplyConfiguration(working, applied, access(), true), 1);
    EXPECT_EQ(working.Data().Record(0, 5).value, 0u);
    EXPECT_EQ(working.Data().Record(1, 3).value, 6u);
    const auto& area = applied.Data().textArea;
    ASSERT_EQ(area.size(), 6u + 14 + 6);
    EXPECT_EQ(std::vector<std::uint8_t>(area.begin(), area.begin() + 12),
              (std::vector<std::uint8_t>{'a', 0, 'b', 0, 0, 0, 'c', 0, 'd', 0, 0, 0}));
    EXPECT_EQ(applied.Data().Record(1, 3).value, 6u);
}

} // namespace
} // namespace kovrel

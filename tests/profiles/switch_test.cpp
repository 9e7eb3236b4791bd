// Reloading the working store from the keyboard and switching the keyboard's current profile.

#include "config_test_support.h"
#include "model/apply_configuration.h"
#include "profiles/config_file.h"
#include "profiles/profile_switching.h"

#include <gmock/gmock.h>

namespace kovrel::profiles {
namespace {

using kovrel::testing::MessageTexts;
using kovrel::testing::ReadFileBytes;
using kovrel::testing::RecordingWindow;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr KeyId kKeyA = 0x01E;

class SwitchTest : public kovrel::testing::ConfigurationTest {
protected:
    // Puts an assignment on the keyboard (profile 1) through an apply.
    void ProgramKeyboard() {
        Configuration c = EmptyConfiguration();
        c.Record(1, KeyIndexOf(kKeyA)).Set(AssignmentKind::Disabled);
        WorkingStore().Replace(c);
        ASSERT_EQ(ApplyConfiguration(access(), true), 1);
        WorkingStore().Replace(EmptyConfiguration());
        keyboard().ClearLog();
    }

    RecordingWindow window;
    ProfileSwitcher switcher{access(), window};
};

TEST_F(SwitchTest, ReloadReadsTheKeyboardIntoTheWorkingFileAndStore) {
    ProgramKeyboard();
    std::filesystem::remove_all(documents);
    EXPECT_EQ(ReloadConfigurationFromKeyboard(access(), &window), 1);
    EXPECT_TRUE(std::filesystem::exists(WorkingConfigurationFile())); // the folder is made too
    EXPECT_TRUE(WorkingStore().Data().Record(1, KeyIndexOf(kKeyA)).Is(AssignmentKind::Disabled));
    EXPECT_FALSE(WorkingStore().Data().notRead);
    EXPECT_THAT(window.calls, ElementsAre("refresh", "disable apply"));
}

TEST_F(SwitchTest, AKeyboardThatCannotBeReadLeavesAnEmptyStoreThatIsNeverApplied) {
    WorkingStore().Replace(EmptyConfiguration());
    {
        const auto lock = WorkingStore().Acquire();
        WorkingStore().Data().Record(0, 5).Set(AssignmentKind::Disabled);
    }
    keyboard().DropReplies(1000);
    EXPECT_EQ(ReloadConfigurationFromKeyboard(access(), &window), 0);
    keyboard().ClearFaults();
    standin::WaitIdle();
    EXPECT_TRUE(WorkingStore().Data().Record(0, 5).Is(AssignmentKind::Default));
    EXPECT_TRUE(WorkingStore().Data().notRead);
    EXPECT_THAT(window.calls, ElementsAre("refresh", "disable apply"));

    keyboard().ClearLog();
    EXPECT_EQ(ApplyConfiguration(access(), true), 0);
    EXPECT_THAT(kovrel::testing::ReceivedReports(), IsEmpty());
    EXPECT_THAT(MessageTexts(services.messageBox), ElementsAre(LanguageText("APPLY_NOT_READ")));

    // The next successful read lifts the mark.
    EXPECT_EQ(ReloadConfigurationFromKeyboard(access(), nullptr), 1);
    EXPECT_FALSE(WorkingStore().Data().notRead);
}

TEST_F(SwitchTest, AWorkingFileThatCannotBeWrittenCountsAsAFailedRead) {
    ProgramKeyboard();
    {
        const auto lock = WorkingStore().Acquire();
        WorkingStore().Data().Record(0, 5).Set(AssignmentKind::StopMacro);
    }
    // The working file's place is taken by a folder: the export cannot write it.
    std::filesystem::create_directories(WorkingConfigurationFile() / "blocked");
    EXPECT_EQ(ReloadConfigurationFromKeyboard(access(), &window), 0);
    EXPECT_TRUE(WorkingStore().Data().notRead);
}

TEST_F(SwitchTest, SwitchingWithTheEditorOpenChangesNothing) {
    window.editorOpen = true;
    EXPECT_EQ(switcher.SwitchProfile(2), 0);
    EXPECT_EQ(keyboard().CurrentProfile(), 0);
    EXPECT_THAT(MessageTexts(services.messageBox),
                ElementsAre(LanguageText("PROFILE_SEELCT_PROMPT2")));
    EXPECT_THAT(window.calls, IsEmpty());
}

TEST_F(SwitchTest, SwitchSetsTheProfileAndRefreshes) {
    EXPECT_EQ(switcher.SwitchProfile(2), 1);
    EXPECT_EQ(keyboard().CurrentProfile(), 2);
    EXPECT_THAT(window.calls, ElementsAre("dialog 2", "refresh", "menu"));
    window.calls.clear();
    EXPECT_EQ(switcher.SwitchProfile(7), 1); // 3 or more means profile 0
    EXPECT_EQ(keyboard().CurrentProfile(), 0);
}

TEST_F(SwitchTest, TheDefaultProfileItemLeavesTheKeyboardAlone) {
    ASSERT_EQ(switcher.SwitchProfile(1), 1);
    keyboard().ClearLog();
    window.calls.clear();
    EXPECT_EQ(switcher.SwitchProfile(-1), 1);
    EXPECT_EQ(keyboard().CurrentProfile(), 1);
    EXPECT_THAT(kovrel::testing::ReceivedReports(), IsEmpty());
    EXPECT_THAT(window.calls, ElementsAre("refresh", "menu"));
}

TEST_F(SwitchTest, UnappliedChangesAreAppliedOrDropped) {
    ProgramKeyboard();
    ASSERT_EQ(ReloadConfigurationFromKeyboard(access(), nullptr), 1);
    ASSERT_EQ(link.currentProfile.Get(), 0);

    window.changes = true;
    services.messageBox.QueueAnswer(platform::MessageAnswer::Yes);
    EXPECT_EQ(switcher.SwitchProfile(1), 1);
    EXPECT_THAT(window.calls, ElementsAre("apply", "refresh", "menu"));
    EXPECT_EQ(keyboard().CurrentProfile(), 1);
    ASSERT_EQ(services.messageBox.Calls().size(), 1u);
    EXPECT_EQ(services.messageBox.Calls()[0].text, LanguageText("PROFILE_SELECT_PROMPT"));
    EXPECT_EQ(services.messageBox.Calls()[0].defaultAnswer, platform::MessageAnswer::No);

    // No: the edit is dropped by loading the working file again.
    {
        const auto lock = WorkingStore().Acquire();
        WorkingStore().Data().Record(1, KeyIndexOf(kKeyA)).Set(AssignmentKind::Default);
    }
    window.calls.clear();
    window.changes = true;
    services.messageBox.QueueAnswer(platform::MessageAnswer::No);
    EXPECT_EQ(switcher.SwitchProfile(2), 1);
    EXPECT_THAT(window.calls, ElementsAre("disable apply", "refresh", "menu"));
    EXPECT_EQ(keyboard().CurrentProfile(), 2);
    EXPECT_TRUE(WorkingStore().Data().Record(1, KeyIndexOf(kKeyA)).Is(AssignmentKind::Disabled));
}

} // namespace
} // namespace kovrel::profiles

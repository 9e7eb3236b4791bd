// The macro editor without a window: recording with the pause carry, names and ids, limits and
// their messages, and the commit into the working store.

#include "model/macro_editor.h"
#include "model/user_messages.h"
#include "platform/fakes.h"
#include "skin/core/language_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kovrel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr KeyId kKeyA = 0x01E;
constexpr std::uint32_t kVkA = 0x41;

std::uint32_t PressFlags(std::uint32_t scan, bool extended = false, bool repeat = false) {
    return (scan << 16) | (extended ? 1u << 24 : 0) | (repeat ? 1u << 30 : 0);
}
std::uint32_t ReleaseFlags(std::uint32_t scan, bool extended = false) {
    return (scan << 16) | (extended ? 1u << 24 : 0) | (1u << 30) | (1u << 31);
}

struct Row {
    KeyId key;
    std::uint16_t state;
    std::uint32_t delay;
};

std::vector<Row> RowsOf(const MacroEditor& editor) {
    std::vector<Row> rows;
    for (const MacroAction& a : editor.Rows()) {
        rows.push_back({a.key, a.state, a.delay});
    }
    return rows;
}

MATCHER_P3(IsRow, key, state, delay, "") {
    return arg.key == key && arg.state == state && arg.delay == static_cast<std::uint32_t>(delay);
}

class MacroEditorTest : public ::testing::Test {
protected:
    MacroEditorTest() {
        ResetLanguageTable();
        store.Replace(EmptyConfiguration());
    }

    void RecordA(MacroEditor& e, std::uint64_t down, std::uint64_t up) {
        e.OnKeyEvent(kVkA, PressFlags(0x1E), down);
        e.OnKeyEvent(kVkA, ReleaseFlags(0x1E), up);
    }

    std::vector<std::u16string> Messages() const {
        std::vector<std::u16string> texts;
        for (const auto& call : services.messageBox.Calls()) {
            texts.push_back(call.text);
        }
        return texts;
    }

    platform::FakeServices services;
    ConfigurationStore store;
    MacroEditor editor{store};
};

TEST_F(MacroEditorTest, RecordingKeepsOrFixesThePauses) {
    for (const bool measured : {true, false}) {
        editor.Open(measured);
        editor.AddMacro();
        editor.StartRecording(1000);
        RecordA(editor, 1000 + 70, 1000 + 370);
        if (measured) {
            EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(kKeyA, 0, 300), IsRow(kKeyA, 1, 0)));
        } else {
            EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(kKeyA, 0, 50), IsRow(kKeyA, 1, 0)));
        }
    }
}

TEST_F(MacroEditorTest, HeldKeyRecordsOnePressAndUnknownEventsPassOn) {
    editor.Open(true);
    editor.AddMacro();
    editor.StartRecording(0);
    EXPECT_TRUE(editor.OnKeyEvent(kVkA, PressFlags(0x1E), 10));
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(editor.OnKeyEvent(kVkA, PressFlags(0x1E, false, true), 40 + i)); // swallowed
    }
    EXPECT_TRUE(editor.OnKeyEvent(kVkA, ReleaseFlags(0x1E), 500));
    EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(kKeyA, 0, 490), IsRow(kKeyA, 1, 0)));
    // A media key and an unknown key reach the system untouched.
    EXPECT_FALSE(editor.OnKeyEvent(0xAD, PressFlags(0x20, true), 600));
    EXPECT_FALSE(editor.OnKeyEvent(0x00, 0, 600));
    EXPECT_EQ(editor.Rows().size(), 2u);
    editor.StopRecording();
    EXPECT_FALSE(editor.OnKeyEvent(kVkA, PressFlags(0x1E), 700));
}

TEST_F(MacroEditorTest, PrintScreenRecordsItsMissingPress) {
    editor.Open(true);
    editor.AddMacro();
    editor.StartRecording(0);
    RecordA(editor, 100, 200);
    editor.OnKeyEvent(0x2C, ReleaseFlags(0x37, true), 900);
    EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(kKeyA, 0, 100), IsRow(kKeyA, 1, 2),
                                            IsRow(0x137, 0, 700), IsRow(0x137, 1, 0)));
}

TEST_F(MacroEditorTest, TheWindowsKeysThroughTheLowLevelHook) {
    editor.Open(true);
    editor.AddMacro();
    editor.StartRecording(0);
    EXPECT_TRUE(editor.OnLowLevelKeyEvent(0x5B, true, 10));
    EXPECT_TRUE(editor.OnLowLevelKeyEvent(0x5B, true, 20)); // repeat
    EXPECT_TRUE(editor.OnLowLevelKeyEvent(0x5B, false, 60));
    EXPECT_FALSE(editor.OnLowLevelKeyEvent(0x41, true, 70));
    EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(0x15B, 0, 50), IsRow(0x15B, 1, 0)));
}

TEST_F(MacroEditorTest, TheFourPauseCarryCases) {
    editor.Open(false);
    editor.AddMacro();
    // Direct rows keep their delay.
    editor.AddAction({30, kKeyA, 0}, false, false, true);
    EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(kKeyA, 0, 30)));
    // An inserted first row gets 0.
    editor.SelectRow(-1);
    MacroEditor fresh{store};
    fresh.Open(false);
    fresh.AddMacro();
    fresh.AddAction({30, kKeyA, 0}, false, false, false);
    EXPECT_THAT(RowsOf(fresh), ElementsAre(IsRow(kKeyA, 0, 0)));
    // Appended: the previous row takes the pause, the new row the previous row's old one.
    editor.AddAction({80, kKeyA, 1}, false, false, false);
    EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(kKeyA, 0, 80), IsRow(kKeyA, 1, 30)));
    // After a selection: r0 selected, the new row goes between r0 and r1.
    editor.AddAction({7, 0x030, 0}, false, false, true); // r2
    editor.SelectRow(0);
    editor.StartRecording(0);
    editor.OnKeyEvent(0x42, PressFlags(0x30), 250);
    EXPECT_THAT(RowsOf(editor), ElementsAre(IsRow(kKeyA, 0, 50), IsRow(0x030, 0, 80),
                                            IsRow(kKeyA, 1, 30), IsRow(0x030, 0, 7)));
    EXPECT_EQ(editor.SelectedRow(), 1);
}

TEST_F(MacroEditorTest, LimitsOfRowsDelaysAndStates) {
    editor.Open(true);
    editor.AddMacro();
    for (int i = 0; i < 2001; ++i) {
        editor.AddAction({10, kKeyA, 5}, false, false, true);
    }
    EXPECT_EQ(editor.Rows().size(), 2000u);
    EXPECT_EQ(editor.Rows().front().state, 0); // a state above 1 is a press

    MacroEditor other{store};
    other.Open(true);
    other.AddMacro();
    other.StartRecording(0);
    RecordA(other, 0, 100000);
    EXPECT_EQ(other.Rows()[0].delay, kMaxRecordedDelay);
}

TEST_F(MacroEditorTest, NamesProposedByTheCounter) {
    editor.Open(false);
    editor.AddMacro();
    editor.AddMacro();
    EXPECT_EQ(editor.Entries()[0].record.name, u"Macro1");
    EXPECT_EQ(editor.Entries()[1].record.name, u"Macro2");
    editor.AddMacro();
    EXPECT_EQ(editor.Entries()[2].record.name, u"Macro3");
    editor.DeleteMacro();
    editor.DeleteMacro();
    editor.DeleteMacro();
    EXPECT_THAT(editor.Entries(), IsEmpty());
    editor.AddMacro();
    EXPECT_EQ(editor.Entries()[0].record.name, u"Macro1");

    // A name that begins with the proposal blocks it, without regard to case.
    editor.RenameMacro(u"MACRO10");
    editor.AddMacro();
    EXPECT_EQ(editor.Entries()[1].record.name, u"Macro2");
}

TEST_F(MacroEditorTest, IdsAreTheSmallestFreeAndTheListStopsAtHundred) {
    editor.Open(false);
    for (int i = 0; i < 100; ++i) {
        editor.AddMacro();
    }
    EXPECT_EQ(editor.Entries().back().record.macroId, 100);
    editor.AddMacro();
    EXPECT_EQ(editor.Entries().size(), 100u);
    EXPECT_THAT(Messages(), ElementsAre(FormatWithNumber(LanguageText("MACRO_ERR_MAX"), 100)));
    editor.SelectMacro(4);
    editor.DeleteMacro();
    EXPECT_EQ(editor.Current(), 3);
    editor.AddMacro();
    EXPECT_EQ(editor.Entries().back().record.macroId, 5);
}

TEST_F(MacroEditorTest, RenamingCutsAndTypingIntoAnEmptyListCreates) {
    editor.Open(false);
    editor.RenameMacro(std::u16string(259, u'n'));
    ASSERT_EQ(editor.Entries().size(), 1u);
    EXPECT_EQ(editor.Entries()[0].record.name.size(), 249u);
    EXPECT_EQ(editor.Entries()[0].displayName.size(), 249u);
    EXPECT_EQ(editor.Entries()[0].record.macroId, 1);
    EXPECT_EQ(editor.Entries()[0].record.newFlag, 1);
    EXPECT_EQ(editor.Current(), 0);
}

TEST_F(MacroEditorTest, CycleField) {
    editor.Open(false);
    editor.AddMacro();
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"0", u"1"},  {u"300", u"255"}, {u"abc", u"1"},
        {u"-4", u"1"}, {u"17", u"17"},   {u"99999999999999999999", u"255"}};
    for (const auto& [typed, shown] : cases) {
        editor.EditCycles(typed);
        EXPECT_EQ(editor.CycleField(), shown);
    }
    editor.StoreCurrentMacro();
    EXPECT_EQ(editor.Entries()[0].record.cycles, 255);
}

TEST_F(MacroEditorTest, SelectingStoresTheShownMacro) {
    editor.Open(false);
    editor.AddMacro();
    editor.AddAction({10, kKeyA, 0}, false, false, true);
    editor.EditCycles(u"9");
    editor.AddMacro(); // stores macro 1 before showing macro 2
    EXPECT_THAT(editor.Rows(), IsEmpty());
    editor.SelectMacro(0);
    EXPECT_EQ(editor.CycleField(), u"9");
    EXPECT_EQ(editor.Rows().size(), 1u);
    EXPECT_TRUE(editor.ActionButtonsEnabled());
}

TEST_F(MacroEditorTest, RowEdits) {
    editor.Open(false);
    editor.AddMacro();
    editor.AddAction({10, kKeyA, 0}, false, false, true);
    editor.AddAction({20, 0x030, 1}, false, false, true);
    editor.AddAction({30, 0x02E, 0}, false, false, true);
    editor.SelectRow(2);
    editor.MoveSelectedToTop();
    EXPECT_EQ(editor.Rows()[0].key, 0x02E);
    EXPECT_EQ(editor.SelectedRow(), 0);
    editor.MoveSelectedDown();
    editor.MoveSelectedToBottom();
    EXPECT_EQ(editor.Rows()[2].key, 0x02E);
    editor.MoveSelectedUp();
    EXPECT_EQ(editor.SelectedRow(), 1);

    editor.EditDelayCell(u"45678");
    EXPECT_EQ(editor.Rows()[1].delay, 40000u);
    editor.EditDelayCell(u"1239");
    EXPECT_EQ(editor.Rows()[1].delay, 1230u);
    editor.EditStateCell(1);
    EXPECT_EQ(editor.Rows()[1].state, 1);
    editor.EditKeyCell(KeyListPosition(0x030));
    EXPECT_EQ(editor.Rows()[1].key, 0x030);
    editor.EditOtherCell();
    EXPECT_THAT(Messages(),
                ElementsAre(FormatWithNumber(LanguageText("MACRO_ACTION_ERR_DELAY_MAX"), 40000),
                            LanguageText("MACRO_ACTION_ERR_MODIFY")));

    services.messageBox.QueueAnswer(platform::MessageAnswer::No);
    editor.ClearActions();
    EXPECT_EQ(editor.Rows().size(), 3u);
    services.messageBox.QueueAnswer(platform::MessageAnswer::Yes);
    editor.ClearActions();
    EXPECT_THAT(editor.Rows(), IsEmpty());
}

TEST_F(MacroEditorTest, DeletingAMacroInUseAsksFirst) {
    {
        const auto lock = store.Acquire();
        store.Data().macros = {MacroRecord{u"used", 1, 0, 3, {}}};
        store.Data().Record(2, 40).Set(AssignmentKind::Macro, 3);
    }
    editor.Open(false);
    editor.MakeCurrent(0);
    services.messageBox.QueueAnswer(platform::MessageAnswer::No);
    editor.DeleteMacro();
    EXPECT_EQ(editor.Entries().size(), 1u);
    ASSERT_EQ(services.messageBox.Calls().size(), 1u);
    EXPECT_EQ(services.messageBox.Calls()[0].defaultAnswer, platform::MessageAnswer::No);
    services.messageBox.QueueAnswer(platform::MessageAnswer::Yes);
    editor.DeleteMacro();
    EXPECT_THAT(editor.Entries(), IsEmpty());
    EXPECT_EQ(editor.Current(), -1);
}

TEST_F(MacroEditorTest, CommitResetsKeysOfDeletedMacrosEvenWhenTheirIdIsReused) {
    {
        const auto lock = store.Acquire();
        store.Data().macros = {MacroRecord{u"one", 1, 0, 1, {}}, MacroRecord{u"two", 1, 0, 2, {}},
                               MacroRecord{u"three", 1, 0, 3, {}}};
        store.Data().Record(0, 30).Set(AssignmentKind::Macro, 3);
        store.Data().Record(1, 31).Set(AssignmentKind::Macro, 0);
        store.Data().Record(2, 32).Set(AssignmentKind::Macro, 2);
        store.Data().Record(2, 33).Set(AssignmentKind::Macro, 77);
    }
    editor.Open(false);
    editor.MakeCurrent(2);
    services.messageBox.QueueAnswer(platform::MessageAnswer::Yes);
    editor.DeleteMacro();
    editor.AddMacro();
    EXPECT_EQ(editor.Entries().back().record.macroId, 3);
    editor.CommitMacros();

    const auto lock = store.Acquire();
    const Configuration& data = store.Data();
    EXPECT_TRUE(data.Record(0, 30).Is(AssignmentKind::Default));
    EXPECT_EQ(data.Record(1, 31).value, 1u); // value 0 takes the first macro
    EXPECT_EQ(data.Record(2, 32).value, 2u);
    EXPECT_TRUE(data.Record(2, 33).Is(AssignmentKind::Default));
    ASSERT_EQ(data.macros.size(), 3u);
    EXPECT_EQ(data.macros[2].macroId, 3);
    EXPECT_EQ(data.macros[2].newFlag, 0);

    // A key given the new macro after the commit keeps it on the next commit.
    store.Data().Record(0, 30).Set(AssignmentKind::Macro, 3);
    editor.CommitMacros();
    EXPECT_TRUE(data.Record(0, 30).Is(AssignmentKind::Macro));
}

} // namespace
} // namespace kovrel

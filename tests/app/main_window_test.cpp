// The main window against the real daemon and the virtual keyboard, under offscreen.

#include "main_window_fixture.h"

#include "app/instance_client.h"
#include "app/main_window/flip_switch.h"
#include "app/main_window/main_window_ids.h"
#include "app_test_support.h"
#include "device/commands.h"
#include "model/configuration_store.h"
#include "model/key_controls.h"
#include "profiles/config_file.h"
#include "skin/core/language_file.h"
#include "skin/core/language_table.h"
#include "skin/widgets/png_button.h"

#include <QKeyEvent>
#include <QMenu>

#include <fstream>

namespace kovrel::app::test {
namespace {

using testing::BinFolder;
using testing::RunProgram;
using varnolt::ControlOp;

constexpr int kG1 = 1000;

class MainWindow : public MainWindowFixture {
protected:
    skin::CPngButton* Button(int id) { return window->Template().ControlAs<skin::CPngButton>(id); }
    void StartConnected(bool startFlag = false) {
        StartWindow(startFlag);
        ASSERT_TRUE(WaitStarted(1));
    }
    std::uint32_t MarkOf(int controlId) {
        auto lock = WorkingStore().Acquire();
        const int record = MarkRecordOfControl(controlId, window->GBank());
        return WorkingStore().Data().Record(window->Keyboard().currentProfile.Get(), record).mark;
    }
};

TEST_F(MainWindow, AStartWithTheKeyboardOpensTheWindowAfterTheReads) {
    StartConnected();
    ASSERT_TRUE(WaitUntil([&] { return window->isVisible(); }));
    EXPECT_EQ(services->tray.CurrentIcon(), 141);
    // The default layout, the information block and the active profile were read.
    EXPECT_GE(LoggedCommands(device::command::kReadDefaultLayout), 1);
    EXPECT_GE(LoggedCommands(device::command::kReadInfoBlock), 1);
    EXPECT_GE(LoggedCommands(device::command::kReadProfileBlock), 3);
    EXPECT_TRUE(std::filesystem::exists(profiles::WorkingConfigurationFile()));
    EXPECT_FALSE(window->PendingChanges());
    EXPECT_FALSE(Button(ids::kApply)->isEnabled());
    EXPECT_FALSE(silentExit);
}

TEST_F(MainWindow, SlashStartKeepsTheWindowHidden) {
    StartConnected(true);
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(services->tray.CurrentIcon(), 141);
}

TEST_F(MainWindow, UnplugHidesAndPlugReloadsWithoutShowing) {
    StartConnected();
    ASSERT_TRUE(WaitUntil([&] { return window->isVisible(); }));
    ASSERT_TRUE(control->Call(ControlOp::Unplug));
    ASSERT_TRUE(WaitUntil([&] {
        return presence->LastKnownCount() == 0 && window->isHidden() &&
               services->tray.CurrentIcon() == 128;
    }));
    ClearLog();
    ASSERT_TRUE(control->Call(ControlOp::Plug));
    ASSERT_TRUE(WaitUntil(
        [&] { return presence->LastKnownCount() == 1 && services->tray.CurrentIcon() == 141; }));
    EXPECT_GE(LoggedCommands(device::command::kReadProfileBlock), 3); // reloaded
    EXPECT_TRUE(window->isHidden());
}

TEST_F(MainWindow, ShowWithoutAKeyboardSaysSoAndStaysHidden) {
    ASSERT_TRUE(control->Call(ControlOp::Unplug));
    StartWindow();
    ASSERT_TRUE(WaitUntil([&] { return window->InitialisedByMessage(); }));
    AnswerBoxes(QMessageBox::Ok);
    window->OnCommand(ids::kOpen);
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(boxTexts[0].toStdU16String(), LanguageText("MAIN_NO_DEVICE_PROMPT"));
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(services->tray.CurrentIcon(), 128);
}

TEST_F(MainWindow, TwoClicksInColourKeysModeLeaveTheMarkAndApplyEnabled) {
    StartConnected(true);
    window->OnCommand(ids::kSwitch);
    ASSERT_TRUE(window->ColourMode());
    EXPECT_EQ(Button(ids::kSwitch)->text().toStdU16String(),
              LanguageText("MAIN_SWITCH_COLOR_TEXT"));
    const int key = KeyControls()[10].controlId;
    for (int id : {key, kG1}) {
        const std::uint32_t before = MarkOf(id);
        window->OnCommand(id);
        EXPECT_NE(MarkOf(id), before);
        window->OnCommand(id);
        EXPECT_EQ(MarkOf(id), before);
    }
    EXPECT_TRUE(window->PendingChanges());
    EXPECT_TRUE(Button(ids::kApply)->isEnabled());
    window->OnCommand(ids::kSwitch);
    EXPECT_EQ(Button(ids::kSwitch)->text().toStdU16String(),
              LanguageText("MAIN_SWITCH_FUNCTION_TEXT"));
}

TEST_F(MainWindow, ApplyWritesTheCurrentProfilesBlock) {
    StartConnected(true);
    ClearLog();
    // Without changes Apply only shows the busy indicator.
    window->OnCommand(ids::kApply);
    EXPECT_TRUE(window->Busy().Visible());
    EXPECT_EQ(LoggedCommands(device::command::kWriteProfileBlock), 0);
    ASSERT_TRUE(WaitUntil([&] { return !window->Busy().Visible(); }));

    {
        auto lock = WorkingStore().Acquire();
        const int area = window->Keyboard().currentProfile.Get();
        WorkingStore().Data().Record(area, KeyIndexOf(0x1E)).Set(AssignmentKind::Disabled);
    }
    window->SetPendingChanges(true);
    window->OnCommand(ids::kApply);
    EXPECT_EQ(LoggedCommands(device::command::kBeginConfig), 1);
    EXPECT_GE(LoggedCommands(device::command::kWriteProfileBlock), 1);
    EXPECT_EQ(LoggedCommands(device::command::kEndConfig), 1);
    EXPECT_FALSE(window->PendingChanges());
    EXPECT_FALSE(Button(ids::kApply)->isEnabled());
}

TEST_F(MainWindow, RestoreDefaultsAnsweredNoChangesNothing) {
    StartConnected(true);
    Configuration before;
    {
        auto lock = WorkingStore().Acquire();
        before = WorkingStore().Data();
    }
    ClearLog();
    AnswerBoxes(QMessageBox::No);
    window->OnCommand(ids::kDefault);
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(boxTexts[0].toStdU16String(), LanguageText("MAIN_PROMPT_DEFAULT"));
    auto lock = WorkingStore().Acquire();
    EXPECT_TRUE(WorkingStore().Data().records == before.records);
    EXPECT_FALSE(window->PendingChanges());
    EXPECT_EQ(LoggedCommands(device::command::kBeginConfig), 0);
}

TEST_F(MainWindow, FlipTwiceRestoresTheEnabledStates) {
    StartConnected(true);
    const auto states = [&] {
        std::vector<bool> enabled;
        for (int id = kFirstFKey; id <= kLastDKey; ++id) {
            if (const QWidget* key = window->Template().Control(id)) {
                enabled.push_back(key->isEnabled());
            }
        }
        return enabled;
    };
    const auto before = states();
    const QWidget* f1 = window->Template().Control(kFirstFKey);
    ASSERT_NE(f1, nullptr);
    EXPECT_TRUE(f1->isEnabled()); // Flip 0
    window->OnCommand(ids::kFlip1);
    EXPECT_FALSE(f1->isEnabled());
    EXPECT_NE(states(), before);
    window->OnCommand(ids::kFlip2);
    EXPECT_EQ(states(), before);
}

TEST_F(MainWindow, AGBankEventRelabelsTheGButtonsAndBack) {
    StartConnected(true);
    EXPECT_EQ(Button(kG1)->text(), "A1");
    Raise(0x02FF);
    ASSERT_TRUE(WaitUntil([&] { return Button(kG1)->text() == "B1"; }));
    for (int g = 0; g < 5; ++g) {
        EXPECT_EQ(Button(GKeyControls()[g].controlId)->text(), QStringLiteral("B%1").arg(g + 1));
    }
    Raise(0x02FF);
    ASSERT_TRUE(WaitUntil([&] { return Button(kG1)->text() == "A1"; }));
    EXPECT_EQ(Button(GKeyControls()[4].controlId)->text(), "A5");
}

TEST_F(MainWindow, TheLanguageSwitchChangesTheTextsAtOnceAndPersistsPerUser) {
    StartConnected(true);
    for (const auto& [command, language, section] :
         {std::tuple{ids::kChinese, 0, std::u16string(kChineseSection)},
          std::tuple{ids::kEnglish, 1, std::u16string(kEnglishSection)}}) {
        const int relabelled = relabelCalls;
        window->OnCommand(command);
        EXPECT_EQ(Button(ids::kProfile1)->text().toStdU16String(),
                  ReadLanguageString(section, "PROFILE_1"));
        EXPECT_EQ(Button(ids::kApply)->text().toStdU16String(),
                  ReadLanguageString(section, "PROFILE_APPLY"));
        EXPECT_EQ(window->Tray().TipText().toStdU16String(),
                  ReadLanguageString(section, "KEYBOARD_TRAY_DESC"));
        EXPECT_EQ(relabelCalls, relabelled + 1);
        EXPECT_EQ(ReadLanguageChoice(), language);
    }
    EXPECT_NE(ReadLanguageString(kChineseSection, "PROFILE_1"),
              ReadLanguageString(kEnglishSection, "PROFILE_1"));
}

TEST_F(MainWindow, ExportWritesAFileThatImportsBackIntoAllThreeProfiles) {
    StartConnected(true);
    const auto file = root / "exported.kvl";
    std::filesystem::remove(file);
    window->SetFileChooser([&](QWidget*, FileDialogKind) { return file; });
    window->OnCommand(ids::kExport);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(profiles::ValidateConfigurationFile(file), 1);

    // One transfer with the blocks of all three profiles, each in the same number of reports.
    ClearLog();
    window->SetPendingChanges(true);
    window->OnCommand(ids::kImport);
    EXPECT_TRUE(boxTexts.empty());
    EXPECT_EQ(LoggedCommands(device::command::kBeginConfig), 1);
    const int reports = LoggedCommands(device::command::kWriteProfileBlock);
    EXPECT_GT(reports, 0);
    EXPECT_EQ(reports % 3, 0);
    EXPECT_FALSE(window->PendingChanges());
}

TEST_F(MainWindow, ABadImportShowsBothMessagesAndChangesNothing) {
    StartConnected(true);
    const auto file = root / "bad.kvl";
    {
        std::ofstream out(file, std::ios::binary);
        const std::string junk(40000, '\x07');
        out << junk;
    }
    Configuration before;
    {
        auto lock = WorkingStore().Acquire();
        before = WorkingStore().Data();
    }
    ClearLog();
    AnswerBoxes(QMessageBox::Ok);
    window->SetFileChooser([&](QWidget*, FileDialogKind) { return file; });
    window->OnCommand(ids::kImport);
    ASSERT_EQ(boxTexts.size(), 2u);
    EXPECT_EQ(boxTexts[1].toStdU16String(), LanguageText("MAIN_PROMPT_INPORT"));
    EXPECT_EQ(LoggedCommands(device::command::kBeginConfig), 0);
    auto lock = WorkingStore().Acquire();
    EXPECT_TRUE(WorkingStore().Data().records == before.records);
}

TEST_F(MainWindow, TheProfileMenuChecksTheCurrentProfileAndItem9000WritesNothing) {
    StartConnected(true);
    const int current = window->Keyboard().currentProfile.Get();
    ASSERT_GE(current, 0);
    EXPECT_EQ(window->ProfileMenuOf().CheckedCommand(), ids::kProfileItemFirst + 1 + current);
    EXPECT_EQ(Button(ids::kProfiles)->text(), window->ProfileMenuOf().CheckedText());
    ClearLog();
    window->OnCommand(ids::kProfileItemFirst);
    EXPECT_EQ(LoggedCommands(device::command::kWriteInfoBlock), 0);
    EXPECT_EQ(window->ProfileMenuOf().CheckedCommand(), ids::kProfileItemFirst + 1 + current);
}

TEST_F(MainWindow, AProfileSetElsewhereMovesTheCheckMarkAfterTheReloadRequest) {
    StartConnected(true);
    ListenAsInstance();
    const auto set = OnWorker([] {
        return RunProgram({(BinFolder() / "kovrelctl").string(), "profile", "3"});
    });
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const auto answer = OnWorker([] {
        return instance::SendRequest(instance::Request::Reload(), instance::InstanceSocketPath(),
                                     instance::kReloadTimeout);
    });
    ASSERT_EQ(answer.status, instance::Answer::Status::Answered);
    EXPECT_EQ(answer.text, instance::kReloaded);
    EXPECT_EQ(window->ProfileMenuOf().CheckedCommand(), ids::kProfileItemFirst + 3);
    EXPECT_TRUE(Button(ids::kProfile1 + 2)->IsChecked());
}

TEST_F(MainWindow, AReloadKeepsUnappliedChangesAndSaysSo) {
    StartConnected(true);
    ListenAsInstance();
    window->SetPendingChanges(true);
    const auto answer = OnWorker([] {
        return instance::SendRequest(instance::Request::Reload(), instance::InstanceSocketPath(),
                                     instance::kReloadTimeout);
    });
    EXPECT_EQ(answer.text, instance::kKeptUnappliedChanges);
    EXPECT_TRUE(window->PendingChanges());
}

TEST_F(MainWindow, ASecondStartShowsTheWindowAndKillQuits) {
    StartConnected(true);
    ListenAsInstance();
    ASSERT_TRUE(window->isHidden());
    const auto second = OnWorker([] {
        return RunProgram({(BinFolder() / "Kovrel").string()}, {"QT_QPA_PLATFORM=offscreen"});
    });
    EXPECT_EQ(second.exitCode, 0);
    ASSERT_TRUE(WaitUntil([&] { return window->isVisible(); }));

    const auto kill = OnWorker([] {
        return RunProgram({(BinFolder() / "Kovrel").string(), "/Kill"},
                          {"QT_QPA_PLATFORM=offscreen"});
    });
    EXPECT_EQ(kill.exitCode, 0);
    ASSERT_TRUE(WaitUntil([&] { return quitCalled; }));
    EXPECT_TRUE(window->isHidden());
}

TEST_F(MainWindow, EscapeAndEnterNeverCloseTheWindowAndTheCloseBoxOnlyHides) {
    StartConnected();
    ASSERT_TRUE(WaitUntil([&] { return window->isVisible(); }));
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &press);
        EXPECT_TRUE(window->isVisible());
    }
    window->close();
    EXPECT_TRUE(window->isHidden());
    EXPECT_FALSE(quitCalled);
}

// A missing state picture ends the program silently with exit code 0, after the device service
// was loaded: the program runs from a copy of the program folder without Arrow.jpg.
TEST_F(MainWindow, WithoutArrowJpgTheProgramEndsSilently) {
    const auto folder = root / "program";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const char* name : {"Kovrel", "libOndrel.so", "Varnolt"}) {
        std::filesystem::copy_file(BinFolder() / name, folder / name);
    }
    std::filesystem::copy(BinFolder() / "Skins", folder / "Skins",
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(folder / "Skins" / "Arrow.jpg");
    const auto run = OnWorker(
        [&] { return RunProgram({(folder / "Kovrel").string()}, {"QT_QPA_PLATFORM=offscreen"}); });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    // It ended at start-up: nobody holds the single-instance lock.
    InstanceLock lock(instance::InstanceLockPath());
    EXPECT_EQ(lock.TryAcquire(), InstanceLock::Result::Acquired);
}

} // namespace
} // namespace kovrel::app::test

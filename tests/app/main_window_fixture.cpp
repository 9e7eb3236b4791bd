#include "main_window_fixture.h"

#include "app/instance_paths.h"
#include "app_test_support.h"
#include "skin/core/language_file.h"
#include "skin/core/language_table.h"
#include "skin/widgets/silent_exit.h"

#include <QAbstractButton>
#include <QTimer>

#include <cstdlib>
#include <unistd.h>

namespace kovrel::app::test {

void MainWindowFixture::SetUp() {
    const auto& folders = testing::TestFolders::Get();
    root = folders.root;
    // The documents folder (and so the data folder) of this test only.
    std::filesystem::create_directories(root / "home");
    ::setenv("HOME", (root / "home").c_str(), 1);
    // The language switch writes the shipped file too: give it a copy.
    std::filesystem::copy_file(testing::BinFolder() / "Skins" / "language.ini",
                               root / "language.ini",
                               std::filesystem::copy_options::overwrite_existing);
    OverrideLanguageFiles(LanguageFiles{root / "language.ini", root / "user-language.ini"});
    LoadLanguageTable();
    skin::SetSilentExitHook([this](int) { silentExit = true; });
    ASSERT_TRUE(daemon.Start());
    control.emplace();
    ASSERT_TRUE(control->Connect(std::chrono::seconds(20)));
}

void MainWindowFixture::TearDown() {
    if (server) {
        server->Close();
    }
    if (services) {
        services->Close();
    }
    if (presence) {
        presence->Stop();
    }
    server.reset();
    router.reset();
    window.reset();
    presence.reset();
    link.reset();
    services.reset();
    lock.reset();
    skin::SetSilentExitHook({});
    OverrideLanguageFiles(std::nullopt);
    ResetLanguageTable();
}

void MainWindowFixture::StartWindow(bool startFlag) {
    services = std::make_unique<InterfaceServices>();
    QObject::connect(&services->messageBox, &QtMessageBox::boxShown, &services->messageBox,
                     [this](QMessageBox* box) { boxTexts.push_back(box->text()); });
    link = std::make_unique<device::DeviceLink>();
    presence = std::make_unique<device::DevicePresence>(*link);
    presence->SetFirstConnection(startFlag);
    CKovrelDlg::Environment environment(*link, *presence, *services);
    environment.programFolder = testing::BinFolder();
    environment.namedEventPrefix = "KovrelTest" + std::to_string(::getpid()) + "_";
    window = std::make_unique<CKovrelDlg>(std::move(environment));
    window->SetQuitAction([this] { quitCalled = true; });
    window->WindowHooks().relabelLighting = [this] { ++relabelCalls; };
    ASSERT_TRUE(window->Initialise());
}

bool MainWindowFixture::WaitStarted(int expectedCount) {
    return WaitUntil([&] {
        return window->InitialisedByMessage() && presence->LastKnownCount() == expectedCount &&
               presence->WaitIdle(std::chrono::milliseconds(0));
    });
}

void MainWindowFixture::ListenAsInstance() {
    lock = std::make_unique<InstanceLock>(instance::InstanceLockPath());
    ASSERT_EQ(lock->TryAcquire(), InstanceLock::Result::Acquired);
    router = std::make_unique<WindowRequestRouter>(services->window);
    router->SetReload([this] { return window->ReloadFromKeyboard(); });
    server = std::make_unique<InstanceServer>(*router);
    ASSERT_TRUE(server->Listen(instance::InstanceSocketPath()));
}

void MainWindowFixture::AnswerBoxes(QMessageBox::StandardButton button) {
    QObject::connect(&services->messageBox, &QtMessageBox::boxShown, &services->messageBox,
                     [button](QMessageBox* box) {
                         QTimer::singleShot(0, box, [box, button] {
                             if (QAbstractButton* b = box->button(button)) {
                                 b->click();
                             }
                         });
                     });
}

int MainWindowFixture::LoggedCommands(std::uint8_t code) {
    return kovrel::testing::LoggedCommands(*control, code);
}

void MainWindowFixture::ClearLog() {
    ASSERT_TRUE(control->Call(varnolt::ControlOp::ClearLog));
}

void MainWindowFixture::Raise(std::uint16_t event) {
    ASSERT_TRUE(control->Call(varnolt::ControlOp::RaiseEvent, event));
}

} // namespace kovrel::app::test

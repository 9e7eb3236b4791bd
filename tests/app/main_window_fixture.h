#pragma once
// The main window with the real daemon and the virtual keyboard, in this test process: the
// interface services, the device link, device presence and CKovrelDlg as the program puts them
// together, the running-instance socket, and the daemon's control client to play the keyboard.

#include "app/instance_lock.h"
#include "app/instance_server.h"
#include "app/interface_services.h"
#include "app/main_window/kovrel_dlg.h"
#include "app/window_request_router.h"
#include "daemon_process.h"
#include "device/device_link.h"
#include "device/device_presence.h"

#include <QMessageBox>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kovrel::app::test {

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window and runs its initialisation; `startFlag` is "/Start".
    void StartWindow(bool startFlag = false);
    // Waits until the initialisation message ran and the worker handled the first count.
    bool WaitStarted(int expectedCount);
    // Runs the running-instance socket for this window (taking the single-instance lock).
    void ListenAsInstance();

    // Answers every message box with `button` and records its text.
    void AnswerBoxes(QMessageBox::StandardButton button);

    // Reports of the virtual keyboard's receive log with this command code.
    int LoggedCommands(std::uint8_t code);
    void ClearLog();
    void Raise(std::uint16_t event);

    std::filesystem::path root;
    testing::DaemonProcess daemon;
    std::optional<varnolt::ControlClient> control;

    std::unique_ptr<InterfaceServices> services;
    std::unique_ptr<device::DeviceLink> link;
    std::unique_ptr<device::DevicePresence> presence;
    std::unique_ptr<CKovrelDlg> window;
    std::unique_ptr<InstanceLock> lock;
    std::unique_ptr<WindowRequestRouter> router;
    std::unique_ptr<InstanceServer> server;

    bool quitCalled = false;
    bool silentExit = false;
    int relabelCalls = 0;
    std::vector<QString> boxTexts;
};

} // namespace kovrel::app::test

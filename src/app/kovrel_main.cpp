// Kovrel: the tray application. The life of the process in its fixed order: paths and language
// before any window; the decision between instances; the daemon; the main window's
// initialisation; the run in the tray; the teardown; the end.
//
// Every early end is silent with exit code 0. Once the device service runs, its thread and the
// program's workers may still be busy when the process ends, so the end never runs the static
// destructors under them: the workers are stopped, the output flushed, and the process leaves
// with _exit.

#include "app/command_line.h"
#include "app/daemon_launch.h"
#include "app/instance_lock.h"
#include "app/instance_paths.h"
#include "app/instance_server.h"
#include "app/instance_start.h"
#include "app/interface_services.h"
#include "app/main_window/kovrel_dlg.h"
#include "app/window_request_router.h"
#include "device/device_link.h"
#include "device/device_presence.h"
#include "platform/paths.h"
#include "skin/core/language_table.h"
#include "skin/widgets/silent_exit.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void Leave(int exitCode) {
    std::fflush(nullptr);
    ::_exit(exitCode);
}

} // namespace

int main(int argc, char** argv) {
    using namespace kovrel;
    using namespace kovrel::app;

    // A window that cannot be skinned ends the program at once, threads or not.
    skin::SetSilentExitHook([](int exitCode) { Leave(exitCode); });

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kovrel"));
    // The program lives in the tray: hiding its last window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    // Paths come from the executable's own folder; the language before any window.
    const std::filesystem::path programFolder = platform::ProgramFolder();
    LoadLanguageTable();

    // The command line and the running instance.
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    InstanceLock lock(instance::InstanceLockPath());
    if (ClaimInstance(line, lock, instance::InstanceSocketPath()) == StartDecision::Exit) {
        return 0;
    }

    InterfaceServices services;
    device::DeviceLink link;
    device::DevicePresence presence(link);
    presence.SetFirstConnection(line.start);

    // The daemon, from the program folder; whether it started is not examined.
    LaunchDaemon(services.launcher, programFolder);

    CKovrelDlg::Environment environment(link, presence, services);
    environment.instanceLock = &lock;
    environment.programFolder = programFolder;
    CKovrelDlg window(std::move(environment));
    if (!window.Initialise()) {
        Leave(0);
    }

    // Other starts and kovrelctl reach the window from now on.
    WindowRequestRouter router(services.window);
    router.SetReload([&window] { return window.ReloadFromKeyboard(); });
    InstanceServer server(router);
    server.Listen(instance::InstanceSocketPath());

    // Command ids given to the first start run once the window is up.
    for (std::uint32_t command : line.commands) {
        services.window.PostMessage(kCommandMessage, command, 0);
    }

    QApplication::exec();

    // The teardown ran in the window; stop everything that could still call into it.
    server.Close();
    services.Close();
    presence.Stop();
    Leave(0);
}

// The tray icon on a real X display: a virtual X server with trayer as the tray host, the main
// window with the daemon and the virtual keyboard, and real mouse input through xdotool. Skips
// when Xvfb, trayer or xdotool is missing.

#include "app/main_window/main_window_ids.h"
#include "app_test_support.h"
#include "main_window_fixture.h"
#include "skin/core/language_file.h"
#include "skin/core/language_table.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kovrel::app::test {
namespace {

bool Installed(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

bool gDisplayReady = false;
pid_t gServer = 0;
pid_t gTrayer = 0;

pid_t Spawn(const std::vector<std::string>& argv, int stdoutFd = -1) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (stdoutFd >= 0) {
            ::dup2(stdoutFd, STDOUT_FILENO);
        }
        std::vector<char*> args;
        for (const auto& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

// Starts Xvfb on a free display and trayer on it; DISPLAY points there afterwards.
bool StartDisplay() {
    if (!Installed("Xvfb") || !Installed("trayer") || !Installed("xdotool")) {
        return false;
    }
    int fds[2];
    if (::pipe(fds) != 0) {
        return false;
    }
    gServer = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1600x900x24",
                     "-nolisten", "tcp"});
    ::close(fds[1]);
    std::string number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') {
        number.push_back(c);
    }
    ::close(fds[0]);
    if (number.empty()) {
        return false;
    }
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    gTrayer = Spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                     "--width", "200", "--height", "32"});
    return true;
}

void StopDisplay() {
    for (pid_t pid : {gTrayer, gServer}) {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }
}

void Xdotool(const std::string& arguments) {
    const int status = std::system(("xdotool " + arguments).c_str());
    EXPECT_EQ(status, 0) << arguments;
}

class Tray : public MainWindowFixture {
protected:
    void SetUp() override {
        if (!gDisplayReady) {
            GTEST_SKIP() << "needs Xvfb, trayer and xdotool";
        }
        MainWindowFixture::SetUp();
        StartWindow(true);
        ASSERT_TRUE(WaitStarted(1));
        ASSERT_TRUE(WaitUntil([&] {
            QSystemTrayIcon* icon = window->Tray().Icon();
            return window->Tray().Enabled() && icon && icon->geometry().isValid() &&
                   !icon->geometry().isEmpty();
        })) << "the tray icon did not appear";
        // The connected status arrives from the device-change worker; the host embeds the icon
        // anew when its picture changes, so wait until it holds still.
        ASSERT_TRUE(WaitUntil([&] { return window->Tray().IconResource() == 141; }));
        QRect last;
        int stable = 0;
        ASSERT_TRUE(WaitUntil([&] {
            const QRect now = window->Tray().Icon()->geometry();
            stable = now == last ? stable + 1 : 0;
            last = now;
            QThread::msleep(20);
            return stable >= 25;
        }));
    }
    // The icon's centre on the screen.
    std::string IconCentre() {
        const QPoint centre = window->Tray().Icon()->geometry().center();
        return std::to_string(centre.x()) + " " + std::to_string(centre.y());
    }
};

TEST_F(Tray, TheIconShowsTheConnectedStatusAndItsMenuInTheCurrentLanguage) {
    EXPECT_TRUE(WaitUntil([&] { return window->Tray().IconResource() == 141; }));
    EXPECT_EQ(window->Tray().TipText().toStdU16String(), LanguageText("KEYBOARD_TRAY_DESC"));

    QStringList shown;
    QAction* defaultItem = nullptr;
    QObject::connect(&window->Tray(), &CTrayIcon::trayMenuAboutToShow, &window->Tray(),
                     [&](QMenu* menu) {
                         shown.clear();
                         for (QAction* action : menu->actions()) {
                             shown << action->text();
                         }
                         defaultItem = menu->defaultAction();
                         QTimer::singleShot(0, menu, [menu] { menu->close(); });
                     });
    Xdotool("mousemove " + IconCentre() + " click 3");
    ASSERT_TRUE(WaitUntil([&] { return !shown.isEmpty(); }));
    const std::u16string_view section = LanguageSection();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].toStdU16String(), ReadLanguageString(section, "MENU_11"));
    EXPECT_EQ(shown[1].toStdU16String(), ReadLanguageString(section, "MENU_22"));
    EXPECT_EQ(shown[2].toStdU16String(), ReadLanguageString(section, "MENU_33"));
    ASSERT_NE(defaultItem, nullptr);
    EXPECT_EQ(defaultItem, window->Tray().TrayMenu()->actions().value(0));
}

TEST_F(Tray, ADoubleClickOpensTheWindow) {
    ASSERT_TRUE(window->isHidden());
    // A click the host swallowed while it settled is tried again; the check waits generously.
    bool opened = false;
    for (int attempt = 0; attempt < 3 && !opened; ++attempt) {
        Xdotool("mousemove " + IconCentre() + " click --repeat 2 --delay 60 1");
        opened = WaitUntil([&] { return window->isVisible(); });
    }
    ASSERT_TRUE(opened);
    EXPECT_FALSE(window->Tray().SingleClickPending());
}

} // namespace
} // namespace kovrel::app::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const bool listing = ::testing::GTEST_FLAG(list_tests);
    if (!listing) {
        kovrel::app::test::gDisplayReady = kovrel::app::test::StartDisplay();
    }
    if (kovrel::app::test::gDisplayReady) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int result = RUN_ALL_TESTS();
    kovrel::app::test::StopDisplay();
    return result;
}

// The tray status rules: the activity icon is never remembered, the remembered icon comes back
// after it, and the tray hears only of real changes, on the interface thread, in order.

#include "app/tray_status_relay.h"
#include "app_test_support.h"

#include <QThread>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace kovrel::app {
namespace {

class RecordingTray final : public TrayIconSink {
public:
    void ShowStatusIcon(int iconId) override {
        onInterfaceThread = onInterfaceThread && QThread::currentThread() == qApp->thread();
        shown.push_back(iconId);
    }
    std::vector<int> shown;
    bool onInterfaceThread = true;
};

struct Call {
    int activity;
    int icon;
};

struct Case {
    const char* name;
    std::vector<Call> calls;
    std::vector<int> shown;
};

TEST(TrayStatusTest, RememberedIconRules) {
    const Case cases[] = {
        {"activity shows 142, then the program icon comes back", {{1, 0}, {0, 0}}, {142, 128}},
        {"activity ignores its icon argument", {{1, 141}}, {142}},
        {"a set icon is remembered for after the activity",
         {{0, 141}, {1, 142}, {0, 0}},
         {141, 142, 141}},
        {"the same icon twice changes the tray once", {{0, 141}, {0, 141}}, {141}},
        {"returning to the icon shown changes nothing", {{0, 0}}, {}},
        {"activity twice changes the tray once", {{1, 142}, {1, 142}, {0, 0}}, {142, 128}},
        {"removal remembered across activity",
         {{0, 141}, {0, 128}, {1, 0}, {0, 0}},
         {141, 128, 142, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrayStatusRelay relay;
        RecordingTray tray;
        relay.SetSink(&tray);
        relay.SetCurrentIcon(kTrayIconProgram); // the tray icon was just added
        for (const Call& call : c.calls) {
            relay.SetTrayStatus(call.activity, call.icon);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(tray.shown, c.shown);
    }
}

TEST(TrayStatusTest, AfterTheIconWasRemovedTheRememberedIconIsShownAgain) {
    TrayStatusRelay relay;
    RecordingTray tray;
    relay.SetSink(&tray);
    relay.SetCurrentIcon(kTrayIconProgram);
    relay.SetTrayStatus(0, 141);
    relay.SetCurrentIcon(0); // removed at the end of the run
    relay.SetTrayStatus(0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.shown, (std::vector<int>{141, 141}));
}

TEST(TrayStatusTest, WorkersOnManyThreadsLeaveTheTrayShowingTheCurrentIcon) {
    TrayStatusRelay relay;
    RecordingTray tray;
    relay.SetSink(&tray);
    relay.SetCurrentIcon(kTrayIconProgram);
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&relay, t] {
            for (int i = 0; i < 200; ++i) {
                switch ((i + t) % 3) {
                case 0:
                    relay.SetTrayStatus(1, 142);
                    break;
                case 1:
                    relay.SetTrayStatus(0, 0);
                    break;
                default:
                    relay.SetTrayStatus(0, t % 2 == 0 ? 141 : 128);
                    break;
                }
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    QCoreApplication::processEvents();
    ASSERT_FALSE(tray.shown.empty());
    EXPECT_EQ(tray.shown.back(), relay.CurrentIcon());
    for (std::size_t i = 1; i < tray.shown.size(); ++i) {
        EXPECT_NE(tray.shown[i], tray.shown[i - 1]) << i; // every call was a change
    }
    EXPECT_TRUE(tray.onInterfaceThread);
}

TEST(TrayStatusTest, WithoutATrayTheStateIsStillKept) {
    TrayStatusRelay relay;
    relay.SetTrayStatus(0, 141);
    QCoreApplication::processEvents();
    EXPECT_EQ(relay.CurrentIcon(), 141);
    EXPECT_EQ(relay.RememberedIcon(), 141);
}

} // namespace
} // namespace kovrel::app

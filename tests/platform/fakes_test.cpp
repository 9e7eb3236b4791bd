#include "platform/fakes.h"

#include <gtest/gtest.h>
#include <thread>

namespace kovrel::platform {
namespace {

TEST(Fakes, InstallIntoCurrentServicesAndRestore) {
    {
        FakeServices fakes;
        EXPECT_EQ(CurrentServices().window, &fakes.window);
        EXPECT_EQ(CurrentServices().messageBox, &fakes.messageBox);
        EXPECT_EQ(CurrentServices().tray, &fakes.tray);
        EXPECT_EQ(CurrentServices().launcher, &fakes.launcher);
    }
    EXPECT_EQ(CurrentServices().window, nullptr);
    EXPECT_EQ(CurrentServices().launcher, nullptr);
}

TEST(Fakes, WindowLinkRecordsFromManyThreadsAndRunsTheHandler) {
    FakeWindowLink window;
    window.SetHandler([&window](const FakeWindowLink::Message& m) -> std::intptr_t {
        if (m.message == 100 && m.kind == FakeWindowLink::Kind::Send)
            window.PostMessage(101, m.wParam, 0); // the handler may call back into the fake
        return static_cast<std::intptr_t>(m.wParam) * 2;
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&window, t] {
            for (int i = 0; i < 50; ++i)
                EXPECT_EQ(window.SendMessage(100, t, i), t * 2);
        });
    EXPECT_TRUE(window.WaitForCount(101, 200));
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(window.CountOf(100), 200u);
    EXPECT_EQ(window.MessagesOf(101).size(), 200u);
    EXPECT_EQ(window.Messages().size(), 400u);

    window.SetPostResult(false);
    EXPECT_FALSE(window.PostMessage(102, 0, 0));
    EXPECT_EQ(window.CountOf(102), 0u);
}

TEST(Fakes, WindowLinkTracksTimers) {
    FakeWindowLink window;
    window.SetTimer(7, 0);
    window.SetTimer(8, 100);
    window.SetTimer(7, 50); // re-armed
    window.KillTimer(8);
    EXPECT_TRUE(window.IsTimerArmed(7));
    EXPECT_FALSE(window.IsTimerArmed(8));
    EXPECT_EQ(window.ArmedTimers(), (std::map<std::uint32_t, std::uint32_t>{{7, 50}}));
    const auto calls = window.TimerCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_FALSE(calls[3].armed);
    EXPECT_EQ(calls[3].id, 8u);
}

TEST(Fakes, MessageBoxAnswersFromItsScriptThenByDefault) {
    FakeMessageBox box;
    box.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(box.Show(u"Replace?", u"Kovrel", MessageButtons::YesNo, MessageAnswer::Yes),
              MessageAnswer::No);
    EXPECT_EQ(box.Show(u"Replace?", u"Kovrel", MessageButtons::YesNo, MessageAnswer::Yes),
              MessageAnswer::Yes);
    EXPECT_EQ(box.Show(u"Done", u"Kovrel"), MessageAnswer::Ok);
    const auto calls = box.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].text, u"Replace?");
    EXPECT_EQ(calls[2].buttons, MessageButtons::Ok);
}

TEST(Fakes, TrayAndLauncherRecord) {
    FakeTrayStatus tray;
    tray.SetTrayStatus(1, 142);
    tray.SetTrayStatus(0, 0);
    ASSERT_EQ(tray.Calls().size(), 2u);
    EXPECT_EQ(tray.Calls()[0].icon, 142);

    FakeLauncher launcher;
    EXPECT_TRUE(launcher.StartProgram({"Varnolt", "--virtual"}));
    launcher.SetResult(false);
    EXPECT_FALSE(launcher.OpenDocument("/opt/kovrel/Help/index.html"));
    EXPECT_EQ(launcher.Programs(),
              (std::vector<std::vector<std::string>>{{"Varnolt", "--virtual"}}));
    EXPECT_EQ(launcher.Documents(), std::vector<std::string>{"/opt/kovrel/Help/index.html"});
}

} // namespace
} // namespace kovrel::platform

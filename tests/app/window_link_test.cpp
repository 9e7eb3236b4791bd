// The window link on the interface thread: messages from workers, posted messages, timers by id,
// and the release of waiting workers at shutdown.

#include "app/qt_window_link.h"
#include "app_test_support.h"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>
#include <vector>

namespace kovrel::app {
namespace {

using test::OnWorker;
using test::WaitUntil;

// The main window's side: records what arrived and on which thread.
class RecordingWindow final : public WindowMessageHandler {
public:
    std::intptr_t HandleWindowMessage(std::uint32_t message, platform::WParam wParam,
                                      platform::LParam lParam) override {
        onInterfaceThread = onInterfaceThread && QThread::currentThread() == qApp->thread();
        messages.push_back({message, wParam, lParam});
        handled.store(static_cast<int>(messages.size()));
        return static_cast<std::intptr_t>(message) + 1;
    }
    void HandleTimer(std::uint32_t id) override {
        onInterfaceThread = onInterfaceThread && QThread::currentThread() == qApp->thread();
        ++fired[id];
        if (onTimer) {
            onTimer(id);
        }
    }

    struct Message {
        std::uint32_t message;
        platform::WParam wParam;
        platform::LParam lParam;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> messages;
    std::atomic<int> handled{0};
    std::map<std::uint32_t, int> fired;
    bool onInterfaceThread = true;
    std::function<void(std::uint32_t)> onTimer;
};

class WindowLinkTest : public ::testing::Test {
protected:
    WindowLinkTest() { link.SetHandler(&window); }

    RecordingWindow window;
    QtWindowLink link;
};

TEST_F(WindowLinkTest, SendFromAWorkerReturnsTheHandlersResultAfterItRan) {
    const auto [result, handledWhenReturned] = OnWorker([&] {
        const std::intptr_t r = link.SendMessage(0x5452, 0x50524F46, 7);
        return std::pair(r, window.handled.load());
    });
    EXPECT_EQ(result, 0x5453);
    EXPECT_EQ(handledWhenReturned, 1);
    EXPECT_EQ(window.messages, (std::vector<RecordingWindow::Message>{{0x5452, 0x50524F46, 7}}));
    EXPECT_TRUE(window.onInterfaceThread);
}

TEST_F(WindowLinkTest, SendOnTheInterfaceThreadRunsTheHandlerDirectly) {
    EXPECT_EQ(link.SendMessage(0x4753, 0, 0), 0x4754);
    EXPECT_EQ(window.messages.size(), 1u); // without running the event loop
}

TEST_F(WindowLinkTest, PostsAreQueuedAndArriveInOrder) {
    EXPECT_TRUE(link.PostMessage(0x4D4E, 0x494E4954, 0));
    EXPECT_TRUE(window.messages.empty()); // not before the event loop runs

    const bool allAccepted = OnWorker([&] {
        bool accepted = true;
        for (std::uint32_t i = 1; i <= 50; ++i) {
            accepted = link.PostMessage(0x5000 + i, i, 0) && accepted;
        }
        return accepted;
    });
    EXPECT_TRUE(allAccepted);
    ASSERT_TRUE(WaitUntil([&] { return window.messages.size() == 51; }));
    EXPECT_EQ(window.messages[0].message, 0x4D4Eu);
    for (std::uint32_t i = 1; i <= 50; ++i) {
        EXPECT_EQ(window.messages[i].message, 0x5000 + i);
    }
    EXPECT_TRUE(window.onInterfaceThread);
}

TEST_F(WindowLinkTest, WithoutAWindowNothingIsDelivered) {
    link.SetHandler(nullptr);
    EXPECT_FALSE(link.PostMessage(0x5350, 0x4F50454E, 0));
    EXPECT_EQ(link.SendMessage(0x5350, 0x4F50454E, 0), 0);
    EXPECT_EQ(OnWorker([&] { return link.SendMessage(0x5350, 0x4F50454E, 0); }), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(WindowLinkTest, TimersFireByIdUntilKilled) {
    OnWorker([&] {
        link.SetTimer(1050, 1);
        link.SetTimer(1052, 20);
        return 0;
    });
    ASSERT_TRUE(WaitUntil([&] { return window.fired[1050] >= 3 && window.fired[1052] >= 1; }));
    OnWorker([&] {
        link.KillTimer(1050);
        return 0;
    });
    EXPECT_FALSE(link.IsTimerArmed(1050));
    EXPECT_TRUE(link.IsTimerArmed(1052));
    const int firedBefore = window.fired[1050];
    const int otherBefore = window.fired[1052];
    ASSERT_TRUE(WaitUntil([&] { return window.fired[1052] >= otherBefore + 2; }));
    EXPECT_EQ(window.fired[1050], firedBefore); // killed for good, the other goes on
    EXPECT_TRUE(window.onInterfaceThread);
}

TEST_F(WindowLinkTest, AKillOnTheInterfaceThreadWinsOverAnEarlierArmFromAWorker) {
    // The worker's arm is still queued when the interface thread kills the timer.
    std::thread worker([&] { link.SetTimer(1051, 0); });
    worker.join();
    link.KillTimer(1051);
    link.SetTimer(1060, 1);
    ASSERT_TRUE(WaitUntil([&] { return window.fired[1060] >= 3; }));
    EXPECT_EQ(window.fired.count(1051), 0u);
    EXPECT_FALSE(link.IsTimerArmed(1051));
}

TEST_F(WindowLinkTest, AHandlerMayKillItsOwnTimer) {
    window.onTimer = [&](std::uint32_t id) { link.KillTimer(id); }; // a one-shot use
    link.SetTimer(1051, 0);
    link.SetTimer(1060, 1);
    ASSERT_TRUE(WaitUntil([&] { return window.fired[1060] >= 1; }));
    ASSERT_TRUE(WaitUntil([&] { return window.fired[1051] >= 1; }));
    link.SetTimer(1061, 1);
    ASSERT_TRUE(WaitUntil([&] { return window.fired[1061] >= 1; }));
    EXPECT_EQ(window.fired[1051], 1);
}

TEST_F(WindowLinkTest, CloseReleasesAWaitingSenderAndStopsEverything) {
    link.SetTimer(1052, 1);
    std::atomic<bool> returned{false};
    std::intptr_t result = -1;
    std::thread worker([&] {
        result = link.SendMessage(0x4753, 0, 0);
        returned = true;
    });
    // The interface thread does not run its loop: the sender waits until the link closes.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    link.Close();
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(result, 0);

    EXPECT_FALSE(link.PostMessage(0x5350, 0x4F50454E, 0));
    EXPECT_EQ(link.SendMessage(0x5350, 0x4F50454E, 0), 0);
    link.SetTimer(1053, 1);
    EXPECT_FALSE(link.IsTimerArmed(1052));
    EXPECT_FALSE(link.IsTimerArmed(1053));
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(window.messages.empty()); // the queued send was dropped
    EXPECT_TRUE(window.fired.empty());
}

} // namespace
} // namespace kovrel::app

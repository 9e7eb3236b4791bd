// The device-change worker on the service stand-in: the keyboard's arrivals and removals, made
// on the virtual keyboard, reach the worker through the request channel's count hook; the main
// window, the tray and the message box are the recording fakes.

#include "device/device_presence.h"
#include "standin_fixture.h"

#include <algorithm>
#include <mutex>

namespace kovrel::device {
namespace {

using platform::FakeWindowLink;
using testing::Eventually;

constexpr auto kLimit = std::chrono::seconds(20); // a hang guard, not a timing assertion

class DevicePresenceTest : public testing::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        presence.Attach(link.channel);
        presence.SetHideWindow([this] {
            std::lock_guard lock(mutex);
            // What the window had been told when it was hidden.
            hiddenAfterLeftMessages.push_back(services.window.CountOf(kKeyboardLeftMessage));
        });
        services.window.SetHandler([this](const FakeWindowLink::Message& m) -> std::intptr_t {
            if (m.message == kKeyboardArrivedMessage) {
                std::lock_guard lock(mutex);
                macroSizeWhenArrived.push_back(link.keyboard.MacroMemorySize());
            }
            return 0;
        });
    }

    void TearDown() override {
        presence.Stop();
        StandinTest::TearDown();
    }

    // The keyboard present at start, as the application's start-up reports it.
    void StartWithKeyboard() {
        presence.SetWindowInitialised();
        presence.CountChanged(link.channel.QueryDeviceCount());
        Settle();
    }

    void Settle() {
        standin::WaitIdle();
        ASSERT_TRUE(presence.WaitIdle(kLimit));
        standin::WaitIdle();
    }

    std::vector<std::uint32_t> MessageIds() const {
        std::vector<std::uint32_t> ids;
        for (const auto& m : services.window.Messages()) {
            ids.push_back(m.message);
        }
        return ids;
    }

    int LastTrayIcon() const {
        const auto calls = services.tray.Calls();
        return calls.empty() ? -1 : calls.back().icon;
    }

    // The count notification of a second keyboard, as the service delivers it.
    static void NotifyCount(int count) {
        const OndrelNotification n{ONDREL_KIND_COUNT, ONDREL_CODE_CTRL, count, nullptr, 0};
        RequestChannel::Callback()(&n);
    }

    std::mutex mutex;
    std::vector<std::size_t> hiddenAfterLeftMessages;
    std::vector<int> macroSizeWhenArrived;
    DevicePresence presence{link};
};

TEST_F(DevicePresenceTest, StartWithKeyboardReadsThenLoadsThenOpensTheWindowOnce) {
    ProfileBlockBytes stale{};
    stale.fill(0xAB);
    link.keyboard.SetDefaultLayout(stale);

    StartWithKeyboard();

    const auto& keyboard = standin::Keyboard();
    EXPECT_EQ(link.keyboard.DefaultLayout(), keyboard.DefaultLayout());
    const int macroSize = keyboard.Info()[kInfoMacroUnits] * 128;
    EXPECT_EQ(link.keyboard.MacroMemorySize(), macroSize);

    const auto messages = services.window.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, FakeWindowLink::Kind::Send);
    EXPECT_EQ(messages[0].message, kKeyboardArrivedMessage);
    EXPECT_EQ(messages[0].wParam, 0x50524F46u);
    EXPECT_EQ(messages[1].kind, FakeWindowLink::Kind::Post);
    EXPECT_EQ(messages[1].message, kShowWindowMessage);
    EXPECT_EQ(messages[1].wParam, 0x4F50454Eu);
    {
        // The window loaded the profile after both reads.
        std::lock_guard lock(mutex);
        EXPECT_EQ(macroSizeWhenArrived, std::vector<int>{macroSize});
    }
    const auto tray = services.tray.Calls();
    ASSERT_EQ(tray.size(), 1u);
    EXPECT_EQ(tray[0].activity, 0);
    EXPECT_EQ(tray[0].icon, 141);
    EXPECT_EQ(presence.LastKnownCount(), 1);
    EXPECT_TRUE(presence.FirstConnection());
    EXPECT_TRUE(services.messageBox.Calls().empty());
}

TEST_F(DevicePresenceTest, ArrivalIsLoadedBeforeInitialisationButTheTrayWaitsForIt) {
    presence.CountChanged(1);
    ASSERT_TRUE(services.window.WaitForCount(kKeyboardArrivedMessage, 1));
    // The worker now waits for the initialised flag: nothing of the tray or the count yet.
    EXPECT_TRUE(services.tray.Calls().empty());
    EXPECT_EQ(presence.LastKnownCount(), 0);
    EXPECT_EQ(services.window.CountOf(kShowWindowMessage), 0u);

    presence.SetWindowInitialised();
    Settle();
    EXPECT_EQ(LastTrayIcon(), 141);
    EXPECT_EQ(presence.LastKnownCount(), 1);
    EXPECT_EQ(services.window.CountOf(kShowWindowMessage), 1u);
}

TEST_F(DevicePresenceTest, UnplugHidesTheWindowAndReplugReloadsWithoutOpening) {
    StartWithKeyboard();
    ASSERT_GE(link.currentProfile.Get(), 0);
    services.window.Clear();
    services.tray.Clear();

    standin::Unplug();
    Settle();
    EXPECT_EQ(link.currentProfile.Cached(), kNoProfile);
    auto messages = services.window.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, FakeWindowLink::Kind::Send);
    EXPECT_EQ(messages[0].message, kKeyboardLeftMessage);
    EXPECT_EQ(messages[0].wParam, 0u);
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(hiddenAfterLeftMessages, std::vector<std::size_t>{1}); // after the message
    }
    EXPECT_EQ(LastTrayIcon(), 128);
    EXPECT_EQ(presence.LastKnownCount(), 0);

    services.window.Clear();
    standin::Plug();
    Settle();
    EXPECT_EQ(MessageIds(), std::vector<std::uint32_t>{kKeyboardArrivedMessage});
    EXPECT_EQ(LastTrayIcon(), 141);
    EXPECT_EQ(presence.LastKnownCount(), 1);
}

TEST_F(DevicePresenceTest, StartWithoutKeyboardThenAttachingLoadsWithoutOpening) {
    standin::Unplug();
    standin::WaitIdle();
    presence.SetWindowInitialised();
    const int count = link.channel.QueryDeviceCount();
    ASSERT_EQ(count, 0);
    presence.CountChanged(count);
    presence.SetFirstConnection(true); // no keyboard at start
    Settle();
    EXPECT_TRUE(services.window.Messages().empty());
    EXPECT_TRUE(services.tray.Calls().empty());

    standin::Plug();
    Settle();
    EXPECT_EQ(MessageIds(), std::vector<std::uint32_t>{kKeyboardArrivedMessage});
    EXPECT_EQ(LastTrayIcon(), 141);
}

TEST_F(DevicePresenceTest, StartOptionKeepsTheWindowClosedAtTheFirstConnection) {
    presence.SetFirstConnection(true);
    StartWithKeyboard();
    EXPECT_EQ(MessageIds(), std::vector<std::uint32_t>{kKeyboardArrivedMessage});
    EXPECT_EQ(LastTrayIcon(), 141);
}

TEST_F(DevicePresenceTest, CountEqualToTheLastKnownDoesNothing) {
    StartWithKeyboard();
    services.window.Clear();
    services.tray.Clear();
    standin::Keyboard().ClearLog();

    NotifyCount(1);
    presence.CountChanged(1);
    Settle();
    EXPECT_TRUE(services.window.Messages().empty());
    EXPECT_TRUE(services.tray.Calls().empty());
    EXPECT_TRUE(testing::ReceivedReports().empty());
}

TEST_F(DevicePresenceTest, SecondKeyboardReadsAgainWithoutOpening) {
    StartWithKeyboard();
    services.window.Clear();
    services.tray.Clear();
    standin::Keyboard().ClearLog();

    NotifyCount(2);
    Settle();
    const auto reports = testing::ReceivedReports();
    const auto sent = [&](std::uint8_t command) {
        return std::any_of(reports.begin(), reports.end(),
                           [&](const auto& r) { return r[ONDREL_OFFSET_COMMAND] == command; });
    };
    EXPECT_TRUE(sent(command::kReadDefaultLayout));
    EXPECT_TRUE(sent(command::kReadInfoBlock));
    EXPECT_EQ(MessageIds(), std::vector<std::uint32_t>{kKeyboardArrivedMessage});
    EXPECT_EQ(LastTrayIcon(), 141);
    EXPECT_EQ(presence.LastKnownCount(), 2);
}

TEST_F(DevicePresenceTest, QuickUnplugsAndReplugsEndInTheRightState) {
    StartWithKeyboard();
    services.window.Clear();
    for (int i = 0; i < 5; ++i) {
        standin::Unplug();
        standin::Plug();
    }
    Settle();
    EXPECT_EQ(presence.LastKnownCount(), 1);
    EXPECT_EQ(LastTrayIcon(), 141);
    const auto ids = MessageIds();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.back(), kKeyboardArrivedMessage);
    // Each removal and each arrival was handled, in turn.
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(ids[i], i % 2 == 0 ? kKeyboardLeftMessage : kKeyboardArrivedMessage) << i;
    }
    EXPECT_EQ(services.window.CountOf(kShowWindowMessage), 0u);
}

TEST_F(DevicePresenceTest, FailedLayoutReadShowsTheMessageAndKeepsTheLayout) {
    struct Case {
        std::u16string languageText;
        std::u16string shown;
    };
    const Case cases[] = {
        {u"", u"Reads the default keyboard layout failure"}, // no entry: the built-in wording
        {u"Tastenbelegung nicht lesbar", u"Tastenbelegung nicht lesbar"},
    };
    ProfileBlockBytes previous{};
    previous.fill(0x5A);
    int count = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shown.begin(), c.shown.end()));
        services.messageBox.Clear();
        services.window.Clear();
        presence.SetLayoutFailureText([text = c.languageText] { return text; });
        link.keyboard.SetDefaultLayout(previous);
        link.keyboard.SetMacroMemorySize(0);
        standin::Keyboard().DropReplies(kMaxTries); // every try of the layout read's first report

        presence.SetWindowInitialised();
        NotifyCount(count++);
        Settle();

        const auto calls = services.messageBox.Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].text, c.shown);
        EXPECT_EQ(calls[0].buttons, platform::MessageButtons::Ok);
        EXPECT_EQ(link.keyboard.DefaultLayout(), previous);
        // The rest of the arrival went on.
        EXPECT_EQ(link.keyboard.MacroMemorySize(),
                  standin::Keyboard().Info()[kInfoMacroUnits] * 128);
        EXPECT_EQ(services.window.CountOf(kKeyboardArrivedMessage), 1u);
        EXPECT_EQ(LastTrayIcon(), 141);
    }
}

TEST_F(DevicePresenceTest, StopEndsAWorkerWaitingForInitialisationAndIgnoresLaterCounts) {
    presence.CountChanged(1);
    presence.CountChanged(0);
    ASSERT_TRUE(services.window.WaitForCount(kKeyboardArrivedMessage, 1));
    presence.Stop();
    presence.CountChanged(0);
    standin::Unplug();
    standin::WaitIdle();
    EXPECT_TRUE(services.tray.Calls().empty());
    EXPECT_EQ(presence.LastKnownCount(), 0);
    EXPECT_EQ(services.window.CountOf(kKeyboardLeftMessage), 0u); // the queued 0 was dropped
}

} // namespace
} // namespace kovrel::device

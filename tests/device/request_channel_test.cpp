#include "standin_fixture.h"

#include <mutex>

namespace kovrel::device {
namespace {

using testing::Eventually;
using testing::ReceivedBankWrites;

class RequestChannelTest : public testing::StandinTest {
protected:
    void Raise(std::uint16_t event) {
        ASSERT_TRUE(standin::RaiseEvent(event));
        standin::WaitIdle();
    }
};

TEST_F(RequestChannelTest, TwoBankSwitchesReturnToBankZeroAndResendTheBuffer) {
    Raise(0x02FF);
    EXPECT_EQ(link.channel.GBank(), 1);
    EXPECT_EQ(link.channel.BankBuffer(), (std::array<std::uint8_t, 2>{0x05, 0x03}));
    Raise(0x02FF);
    EXPECT_EQ(link.channel.GBank(), 0);

    const auto writes = ReceivedBankWrites();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], (std::vector<std::uint8_t>{0x05, 0x03}));
    EXPECT_EQ(writes[1], (std::vector<std::uint8_t>{0x05, 0x02}));
    EXPECT_EQ(standin::Keyboard().GBank(), 0);

    // Posted (never sent) to the main window, once per switch.
    const auto messages = services.window.MessagesOf(kBankMessage);
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& m : messages) {
        EXPECT_EQ(m.kind, platform::FakeWindowLink::Kind::Post);
        EXPECT_EQ(m.wParam, 0x004C4544u);
        EXPECT_EQ(m.lParam, 0);
    }
    // Each bank request replaced the previous one.
    EXPECT_EQ(standin::GetStats().statusWrite, 2);
}

TEST_F(RequestChannelTest, LightingChangeArmsTheZeroDelayTimer) {
    Raise(0x0401);
    const auto timers = services.window.TimerCalls();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_TRUE(timers[0].armed);
    EXPECT_EQ(timers[0].id, 1051u);
    EXPECT_EQ(timers[0].milliseconds, 0u);
}

TEST_F(RequestChannelTest, ActivityEventsSetTheTrayIconThroughWorkers) {
    Raise(0x1811);
    ASSERT_TRUE(Eventually([&] { return services.tray.Calls().size() == 1; }));
    Raise(0x1810);
    ASSERT_TRUE(Eventually([&] { return services.tray.Calls().size() == 2; }));
    const auto calls = services.tray.Calls();
    EXPECT_EQ(calls[0].activity, 1);
    EXPECT_EQ(calls[0].icon, 142);
    EXPECT_EQ(calls[1].activity, 0);
    EXPECT_EQ(calls[1].icon, 0); // the remembered icon
}

TEST_F(RequestChannelTest, OtherEventsLeaveEveryStateUnchanged) {
    for (std::uint16_t event : {0x1801, 0x1802, 0x1803, 0x1804, 0x0000, 0x1234, 0x0400, 0xFFFF}) {
        Raise(event);
    }
    EXPECT_EQ(link.channel.GBank(), 0);
    EXPECT_TRUE(ReceivedBankWrites().empty());
    EXPECT_TRUE(services.window.Messages().empty());
    EXPECT_TRUE(services.window.TimerCalls().empty());
    EXPECT_TRUE(services.tray.Calls().empty());
    EXPECT_FALSE(link.channel.Replies().Waiting());
}

TEST_F(RequestChannelTest, CountChangesReachTheHook) {
    std::mutex mutex;
    std::vector<int> counts;
    link.channel.SetCountChangedHook([&](int count) {
        std::lock_guard lock(mutex);
        counts.push_back(count);
    });
    standin::Unplug();
    standin::WaitIdle();
    standin::Plug();
    standin::WaitIdle();
    std::lock_guard lock(mutex);
    EXPECT_EQ(counts, (std::vector<int>{0, 1}));
}

TEST_F(RequestChannelTest, UnknownKindsAndCodesAreIgnored) {
    std::vector<int> counts;
    link.channel.SetCountChangedHook([&](int count) { counts.push_back(count); });
    const OndrelNotification ignored[] = {
        {ONDREL_KIND_COUNT, ONDREL_CODE_CONS, 3, nullptr, 0},
        {ONDREL_KIND_INPUT, ONDREL_CODE_LED, 2, nullptr, 0},
        {7, ONDREL_CODE_CTRL, 3, nullptr, 0},
        {ONDREL_KIND_INPUT, ONDREL_CODE_CTRL, 64, nullptr, 0}, // a reply without bytes
    };
    for (const auto& n : ignored) {
        EXPECT_EQ(RequestChannel::Callback()(&n), 1);
    }
    EXPECT_TRUE(counts.empty());
    EXPECT_TRUE(services.window.Messages().empty());
}

} // namespace
} // namespace kovrel::device

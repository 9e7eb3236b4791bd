#include "report_helpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kovrel::firmware::test {
namespace {

TEST(FirmwareEvents, EventsChangeTheKeyboardWhereTheyShould) {
    struct Case {
        std::uint16_t code;
        std::uint8_t profile;
        std::uint8_t bank;
        std::uint8_t effect0; // lighting effect of profile 0
    };
    const Case cases[] = {
        {0x1803, 2, 0, 1}, {0x1802, 1, 0, 1}, {0x1801, 0, 0, 1}, {0x1804, 0, 0, 1},
        {0x02FF, 0, 1, 1}, {0x02FF, 0, 0, 1}, {0x0401, 0, 0, 2}, {0x1810, 0, 0, 2},
        {0x1811, 0, 0, 2}, {0x1234, 0, 0, 2},
    };
    VirtualKeyboard keyboard;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_TRUE(keyboard.RaiseEvent(c.code));
        EXPECT_EQ(keyboard.CurrentProfile(), c.profile);
        EXPECT_EQ(keyboard.Info()[10], c.profile);
        EXPECT_EQ(keyboard.GBank(), c.bank);
        EXPECT_EQ(keyboard.LightingRecord(0)[0], c.effect0);
    }
    const auto reports = keyboard.TakeEventReports();
    ASSERT_EQ(reports.size(), std::size(cases));
    Bytes expected(64, 0);
    expected[0] = 0x06;
    expected[1] = 0xFF;
    expected[2] = 0x02;
    EXPECT_EQ(reports[4], expected);
    EXPECT_TRUE(keyboard.TakeEventReports().empty());
}

TEST(FirmwareEvents, LightingKeyStepsTheCurrentProfileThroughTheEffectList) {
    VirtualKeyboard keyboard;
    keyboard.RaiseEvent(0x1802);
    Exchange(keyboard, MakeReport(6, 1, 42, Bytes{18}));
    keyboard.RaiseEvent(0x0401);
    EXPECT_EQ(keyboard.LightingRecord(1)[0], 20); // 19 is not offered
    keyboard.RaiseEvent(0x0401);
    EXPECT_EQ(keyboard.LightingRecord(1)[0], 1); // wraps around
    EXPECT_EQ(keyboard.LightingRecord(0)[0], 1);
    keyboard.SetEffectList(Bytes{});
    keyboard.RaiseEvent(0x0401);
    EXPECT_EQ(keyboard.LightingRecord(1)[0], 1);
}

TEST(FirmwareEvents, NotifierHearsEventsAndPlugChanges) {
    VirtualKeyboard keyboard;
    std::vector<VirtualKeyboard::Notice> notices;
    keyboard.SetNotifier([&](VirtualKeyboard::Notice n) {
        notices.push_back(n);
        if (n == VirtualKeyboard::Notice::EventQueued) {
            keyboard.TakeEventReports(); // calling back in is allowed
        }
    });
    keyboard.RaiseEvent(0x1811);
    keyboard.Unplug();
    EXPECT_FALSE(keyboard.RaiseEvent(0x1810));
    keyboard.Plug();
    using N = VirtualKeyboard::Notice;
    EXPECT_EQ(notices, (std::vector<N>{N::EventQueued, N::Unplugged, N::Plugged}));
}

TEST(FirmwareEvents, UnplugDropsQueuedEventsAndPlugResetsTheBank) {
    VirtualKeyboard keyboard;
    keyboard.RaiseEvent(0x02FF);
    keyboard.Unplug();
    keyboard.Plug();
    EXPECT_TRUE(keyboard.TakeEventReports().empty());
    EXPECT_EQ(keyboard.GBank(), 0);
}

// A host thread talks to the keyboard while the test thread reads its state.
TEST(FirmwareEvents, HostAndObserverThreadsShareTheKeyboard) {
    VirtualKeyboard keyboard;
    std::atomic<bool> done{false};
    std::thread host([&] {
        for (int i = 0; i < 500; ++i) {
            const auto value = static_cast<std::uint8_t>(i);
            keyboard.HandleReport(MakeReport(6, 1, 130, Bytes{value}));
            keyboard.RaiseEvent(static_cast<std::uint16_t>(0x1801 + i % 3));
            keyboard.HandleBankWrite(Bytes{0x05, static_cast<std::uint8_t>(0x02 | (i & 1))});
        }
        done = true;
    });
    std::size_t reads = 0;
    while (!done) {
        (void)keyboard.Memory();
        (void)keyboard.Log();
        reads += keyboard.TakeEventReports().size();
    }
    host.join();
    reads += keyboard.TakeEventReports().size();
    EXPECT_EQ(reads, 500u);
    EXPECT_EQ(keyboard.Settings()[130], static_cast<std::uint8_t>(499));
    EXPECT_EQ(keyboard.Log().size(), 1000u);
}

} // namespace
} // namespace kovrel::firmware::test

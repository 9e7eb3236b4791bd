#include "report_helpers.h"

#include <gtest/gtest.h>

#include <atomic>

namespace kovrel::firmware::test {
namespace {

const Bytes kWrite = MakeReport(6, 1, 130, Bytes{0x5A});

TEST(FirmwareFaults, DroppedRepliesStillCarryTheCommandOut) {
    VirtualKeyboard keyboard;
    keyboard.DropReplies(2);
    EXPECT_TRUE(keyboard.HandleReport(kWrite).empty());
    EXPECT_TRUE(keyboard.HandleReport(kWrite).empty());
    EXPECT_EQ(keyboard.Settings()[130], 0x5A);
    EXPECT_EQ(Status(Exchange(keyboard, kWrite)), 0x00);
}

TEST(FirmwareFaults, WrongCodeRepliesNameAnotherCommand) {
    VirtualKeyboard keyboard;
    keyboard.AnswerWrongCode(1);
    const Bytes wrong = Exchange(keyboard, kWrite);
    EXPECT_NE(wrong[3], 6);
    EXPECT_EQ(Exchange(keyboard, kWrite)[3], 6);
}

TEST(FirmwareFaults, StatusRepliesDoNotCarryTheCommandOut) {
    for (std::uint8_t status : {std::uint8_t{0xFF}, std::uint8_t{0xFE}}) {
        SCOPED_TRACE(static_cast<int>(status));
        VirtualKeyboard keyboard;
        keyboard.AnswerStatus(status, 2);
        EXPECT_EQ(Status(Exchange(keyboard, kWrite)), status);
        EXPECT_EQ(Status(Exchange(keyboard, kWrite)), status);
        EXPECT_EQ(keyboard.Settings()[130], 0);
        EXPECT_EQ(Status(Exchange(keyboard, kWrite)), 0x00);
        EXPECT_EQ(keyboard.Settings()[130], 0x5A);
    }
}

TEST(FirmwareFaults, LongReplyCarriesTheNormalReplyFirst) {
    VirtualKeyboard keyboard;
    keyboard.AnswerLong(1, 100);
    const auto replies = keyboard.HandleReport(MakeReport(3, 44, 0));
    ASSERT_EQ(replies.size(), 1u);
    ASSERT_EQ(replies[0].size(), 100u);
    EXPECT_EQ(replies[0][3], 3);
    EXPECT_EQ(Status(replies[0]), 0x00);
    EXPECT_EQ(replies[0][8 + 11], 32);
    EXPECT_EQ(keyboard.HandleReport(MakeReport(3, 44, 0))[0].size(), 64u);
}

TEST(FirmwareFaults, UnplugAfterAnswersThenGoesAway) {
    VirtualKeyboard keyboard;
    std::atomic<int> unplugs{0};
    keyboard.SetNotifier([&](VirtualKeyboard::Notice n) {
        if (n == VirtualKeyboard::Notice::Unplugged) {
            ++unplugs;
        }
    });
    keyboard.UnplugAfter(2);
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(1, 0, 0))), 0x00);
    EXPECT_EQ(Status(Exchange(keyboard, kWrite)), 0x00);
    EXPECT_FALSE(keyboard.IsPlugged());
    EXPECT_EQ(unplugs, 1);
    EXPECT_TRUE(keyboard.HandleReport(MakeReport(2, 0, 0)).empty());
    EXPECT_FALSE(keyboard.RaiseEvent(0x0401));
    EXPECT_EQ(keyboard.ReportsReceived(), 2u);
    // Plugging back in is a power-up: the open configuration is gone, the memory stays.
    keyboard.Plug();
    EXPECT_FALSE(keyboard.ConfigOpen());
    EXPECT_EQ(keyboard.Settings()[130], 0x5A);
    EXPECT_EQ(Status(Exchange(keyboard, kWrite)), 0x00);
}

TEST(FirmwareFaults, FaultsStackAndClear) {
    VirtualKeyboard keyboard;
    keyboard.AnswerStatus(0xFE, 1);
    keyboard.AnswerWrongCode(1);
    const Bytes reply = Exchange(keyboard, kWrite);
    EXPECT_EQ(Status(reply), 0xFE);
    EXPECT_NE(reply[3], 6);
    keyboard.DropReplies(5);
    keyboard.UnplugAfter(1);
    keyboard.ClearFaults();
    EXPECT_EQ(Status(Exchange(keyboard, kWrite)), 0x00);
    EXPECT_TRUE(keyboard.IsPlugged());
}

TEST(FirmwareFaults, RoundTripDelayIsOnlyReported) {
    VirtualKeyboard keyboard;
    EXPECT_EQ(keyboard.RoundTripDelay().count(), 0);
    keyboard.SetRoundTripDelay(std::chrono::milliseconds(1));
    EXPECT_EQ(keyboard.RoundTripDelay(), std::chrono::microseconds(1000));
}

} // namespace
} // namespace kovrel::firmware::test

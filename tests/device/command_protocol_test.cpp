#include "device/commands.h"
#include "standin_fixture.h"

#include <numeric>

namespace kovrel::device {
namespace {

using testing::Address;
using testing::ReceivedReports;

class CommandProtocolTest : public testing::StandinTest {
protected:
    firmware::VirtualKeyboard& keyboard = standin::Keyboard();
};

TEST_F(CommandProtocolTest, WithoutAKeyboardEveryCommandReturnsZeroAndSendsNothing) {
    standin::Unplug();
    standin::WaitIdle();
    keyboard.ClearLog();
    InfoBlock info{};
    MemoryChunk chunk{};
    ProfileBlockBytes block{};
    std::vector<std::uint8_t> macro(100);
    const std::uint8_t colours[3] = {1, 2, 3};
    const std::vector<std::pair<const char*, std::function<int()>>> commands = {
        {"BeginConfig", [&] { return BeginConfig(link.protocol); }},
        {"EndConfig", [&] { return EndConfig(link.protocol); }},
        {"ReadInfoBlock", [&] { return ReadInfoBlock(link.protocol, info); }},
        {"WriteInfoBlock", [&] { return WriteInfoBlock(link.protocol, info); }},
        {"ReadMemory", [&] { return ReadMemory(link.protocol, 42, 0, chunk); }},
        {"WriteMemory", [&] { return WriteMemory(link.protocol, colours, 5); }},
        {"ReadProfileBlock", [&] { return ReadProfileBlock(link.protocol, 1, block); }},
        {"WriteProfileBlock", [&] { return WriteProfileBlock(link.protocol, 1, block); }},
        {"ReadMacroImage", [&] { return ReadMacroImage(link.protocol, macro); }},
        {"WriteMacroImage", [&] { return WriteMacroImage(link.protocol, macro); }},
        {"ReadDefaultLayout", [&] { return ReadDefaultLayout(link.protocol, block); }},
        {"WriteKeyColours", [&] { return WriteKeyColours(link.protocol, colours, 4, 0); }},
        {"EnterBootMode", [&] { return EnterBootMode(link.protocol); }},
    };
    for (const auto& [name, run] : commands) {
        EXPECT_EQ(run(), 0) << name;
    }
    standin::WaitIdle();
    EXPECT_EQ(standin::GetStats().writeOneAccepted, 0);
    EXPECT_TRUE(ReceivedReports().empty());
    // Only the boot report gets as far as the service (it does not ask for the count first);
    // the service turns it away.
    EXPECT_LE(standin::GetStats().writeOne, 1);
}

TEST_F(CommandProtocolTest, RepliesForAnotherCodeAreResentAndThreeGiveMinusTwo) {
    keyboard.AnswerWrongCode(3);
    EXPECT_EQ(BeginConfig(link.protocol), -2);
    const auto reports = ReceivedReports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], reports[1]);
    EXPECT_EQ(reports[1], reports[2]);
    EXPECT_EQ(clock.SleptMs(), 2 * 10);

    keyboard.ClearLog();
    keyboard.AnswerWrongCode(2);
    EXPECT_EQ(BeginConfig(link.protocol), 1);
    EXPECT_EQ(ReceivedReports().size(), 3u);
}

TEST_F(CommandProtocolTest, FailureStatusIsRetriedAndTheThirdReplyStands) {
    struct Case {
        std::uint8_t status;
        int failing;
        int expected;
    };
    const Case cases[] = {
        {0xFE, 3, -103},
        {0xFF, 3, -102},
        {0xFE, 2, 1}, // the third reply is a success and stands
        {0xFF, 1, 1},
    };
    for (const auto& c : cases) {
        keyboard.ClearLog();
        keyboard.AnswerStatus(c.status, c.failing);
        InfoBlock info{};
        EXPECT_EQ(ReadInfoBlock(link.protocol, info), c.expected)
            << int(c.status) << " x" << c.failing;
        EXPECT_EQ(ReceivedReports().size(), static_cast<std::size_t>(std::min(c.failing + 1, 3)));
        if (c.expected == 1) {
            EXPECT_EQ(info, keyboard.Info());
        }
    }
}

TEST_F(CommandProtocolTest, LostRepliesTimeOutAfterTheReplyWaitAndAreResent) {
    keyboard.DropReplies(1);
    EXPECT_EQ(BeginConfig(link.protocol), 1);
    EXPECT_EQ(ReceivedReports().size(), 2u);
    EXPECT_EQ(clock.TimedOutWaits(), 1);
    EXPECT_EQ(clock.ElapsedMs(), 1000 + 10);

    keyboard.ClearLog();
    keyboard.DropReplies(3);
    EXPECT_EQ(BeginConfig(link.protocol), -2);
    EXPECT_EQ(ReceivedReports().size(), 3u);
    EXPECT_EQ(clock.ElapsedMs(), 1010 + 3 * 1000 + 2 * 10);
    EXPECT_FALSE(link.channel.Replies().Waiting());
}

TEST_F(CommandProtocolTest, EndConfigPausesTenMillisecondsFirst) {
    EXPECT_EQ(BeginConfig(link.protocol), 1);
    EXPECT_EQ(clock.SleptMs(), 0);
    EXPECT_EQ(EndConfig(link.protocol), 1);
    EXPECT_EQ(clock.SleptMs(), 10);
    EXPECT_FALSE(keyboard.ConfigOpen());
}

TEST_F(CommandProtocolTest, ProfileBlockOfProfileTwoGoesInSevenChunks) {
    ProfileBlockBytes block{};
    ASSERT_EQ(ReadProfileBlock(link.protocol, 2, block), 1);
    const auto reports = ReceivedReports();
    ASSERT_EQ(reports.size(), 7u);
    const int addresses[] = {756, 812, 868, 924, 980, 1036, 1092};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(reports[i][ONDREL_OFFSET_COMMAND], 7);
        EXPECT_EQ(Address(reports[i]), addresses[i]);
        EXPECT_EQ(reports[i][ONDREL_OFFSET_LENGTH], i < 6 ? 56 : 42);
    }
    EXPECT_EQ(block, keyboard.ProfileBlock(2));
}

TEST_F(CommandProtocolTest, WrittenProfileBlockArrivesAndOutOfRangeProfilesAreRefused) {
    ProfileBlockBytes block{};
    std::iota(block.begin(), block.end(), std::uint8_t{1});
    ASSERT_EQ(WriteProfileBlock(link.protocol, 1, block), 1);
    EXPECT_EQ(keyboard.ProfileBlock(1), block);
    // The last, shorter chunk still carries the previous chunk's bytes past its length.
    const auto last = ReceivedReports().back();
    EXPECT_EQ(last[ONDREL_OFFSET_LENGTH], 42);
    EXPECT_EQ(last[ONDREL_OFFSET_DATA + 42], block[5 * 56 + 42]);

    keyboard.ClearLog();
    EXPECT_EQ(WriteProfileBlock(link.protocol, 3, block), -201);
    EXPECT_EQ(ReadProfileBlock(link.protocol, -1, block), -201);
    EXPECT_TRUE(ReceivedReports().empty());
}

TEST_F(CommandProtocolTest, MacroImageOf57BytesGoesInTwoReports) {
    std::vector<std::uint8_t> image(57);
    std::iota(image.begin(), image.end(), std::uint8_t{0x10});
    ASSERT_EQ(WriteMacroImage(link.protocol, image), 1);
    const auto reports = ReceivedReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0][ONDREL_OFFSET_LENGTH], 56);
    EXPECT_EQ(Address(reports[0]), 0);
    EXPECT_EQ(reports[1][ONDREL_OFFSET_LENGTH], 1);
    EXPECT_EQ(Address(reports[1]), 56);
    EXPECT_EQ(reports[1][ONDREL_OFFSET_DATA], 0x10 + 56);

    std::vector<std::uint8_t> back(57);
    ASSERT_EQ(ReadMacroImage(link.protocol, back), 1);
    EXPECT_EQ(back, image);

    keyboard.ClearLog();
    EXPECT_EQ(WriteMacroImage(link.protocol, {}), 1);
    EXPECT_EQ(ReadMacroImage(link.protocol, {}), 1);
    EXPECT_TRUE(ReceivedReports().empty());
}

TEST_F(CommandProtocolTest, AChunkedTransferStopsAtTheFirstFailingChunk) {
    keyboard.UnplugAfter(2); // answers two chunks, then goes away
    ProfileBlockBytes layout{};
    EXPECT_EQ(ReadDefaultLayout(link.protocol, layout), 0);
    EXPECT_EQ(ReceivedReports().size(), 2u);
}

TEST_F(CommandProtocolTest, ALongReplyIsCutToTheBuffer) {
    keyboard.AnswerLong(1, 80);
    Report report = MakeReport(command::kBeginConfig, 0, 0);
    StampChecksum(report);
    std::vector<std::uint8_t> reply(64, 0xEE);
    std::size_t received = 0;
    EXPECT_EQ(link.protocol.SendCommand(report, reply, received), 1);
    EXPECT_EQ(received, 64u);

    keyboard.AnswerLong(1, 80);
    std::vector<std::uint8_t> small(10);
    EXPECT_EQ(link.protocol.SendCommand(report, small, received), 1);
    EXPECT_EQ(received, 10u);
    EXPECT_EQ(small[ONDREL_OFFSET_COMMAND], command::kBeginConfig);
}

TEST_F(CommandProtocolTest, AReplyWhileNobodyWaitsChangesNothing) {
    Report stray{};
    stray[0] = 0x04;
    stray[ONDREL_OFFSET_COMMAND] = command::kReadInfoBlock;
    stray[ONDREL_OFFSET_DATA] = 0x99;
    const OndrelNotification notification{ONDREL_KIND_INPUT, ONDREL_CODE_CTRL, 64, stray.data(), 0};
    RequestChannel::Callback()(&notification);
    EXPECT_FALSE(link.channel.Replies().Waiting());

    // The next command still gets its own reply, not the stray one.
    InfoBlock info{};
    ASSERT_EQ(ReadInfoBlock(link.protocol, info), 1);
    EXPECT_EQ(info, keyboard.Info());
    EXPECT_EQ(ReceivedReports().size(), 1u);
}

TEST_F(CommandProtocolTest, BootReportIsExactlyTheBootBytes) {
    EXPECT_EQ(EnterBootMode(link.protocol), 1);
    standin::WaitIdle();
    const auto reports = ReceivedReports();
    ASSERT_EQ(reports.size(), 1u);
    std::vector<std::uint8_t> expected(64, 0);
    expected[0] = 0x04;
    expected[3] = 0xEE;
    expected[4] = 0xEE;
    EXPECT_EQ(reports[0], expected);
    EXPECT_TRUE(keyboard.BootMode());
}

TEST_F(CommandProtocolTest, SettingsMemoryAndKeyColoursReachTheirAddresses) {
    const std::uint8_t bytes[] = {0x11, 0x22, 0x33};
    ASSERT_EQ(BeginConfig(link.protocol), 1);
    ASSERT_EQ(WriteMemory(link.protocol, bytes, 84 + 5), 1);
    ASSERT_EQ(WriteKeyColours(link.protocol, bytes, 7, 2), 1);
    ASSERT_EQ(EndConfig(link.protocol), 1);
    EXPECT_EQ(keyboard.LightingRecord(2)[5], 0x11);
    EXPECT_EQ(keyboard.LightingRecord(2)[7], 0x33);
    const auto colours = keyboard.KeyColours();
    EXPECT_EQ(colours[2 * 512 + 7 * 3], 0x11);
    EXPECT_EQ(colours[2 * 512 + 7 * 3 + 2], 0x33);

    MemoryChunk chunk{};
    ASSERT_EQ(ReadMemory(link.protocol, 42, 84, chunk), 1);
    const auto record = keyboard.LightingRecord(2);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), chunk.begin()));

    keyboard.ClearLog();
    EXPECT_EQ(WriteKeyColours(link.protocol, bytes, 7, -1), -201);
    EXPECT_TRUE(ReceivedReports().empty());
}

} // namespace
} // namespace kovrel::device

#include "device/arrival.h"
#include "standin_fixture.h"

namespace kovrel::device {
namespace {

using testing::ReceivedReports;

class InfoBlockTest : public testing::StandinTest {
protected:
    firmware::VirtualKeyboard& keyboard = standin::Keyboard();
};

TEST_F(InfoBlockTest, SetCurrentProfileOfMinusOneSendsNothing) {
    EXPECT_EQ(link.currentProfile.Set(-1), 0);
    standin::WaitIdle();
    EXPECT_TRUE(ReceivedReports().empty());
    EXPECT_EQ(link.currentProfile.Cached(), -1);
}

TEST_F(InfoBlockTest, SetWritesOffsetTenBackAndCachesIt) {
    const auto before = keyboard.Info();
    ASSERT_EQ(link.currentProfile.Set(2), 1);
    EXPECT_EQ(keyboard.CurrentProfile(), 2);
    auto expected = before;
    expected[kInfoCurrentProfile] = 2;
    EXPECT_EQ(keyboard.Info(), expected); // everything else written back unchanged
    const auto reports = ReceivedReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0][ONDREL_OFFSET_COMMAND] | (reports[0][ONDREL_OFFSET_LENGTH] << 8), 0x2C03);
    EXPECT_EQ(reports[1][ONDREL_OFFSET_COMMAND] | (reports[1][ONDREL_OFFSET_LENGTH] << 8), 0x2C04);

    keyboard.ClearLog();
    EXPECT_EQ(link.currentProfile.Get(), 2); // from the cache
    EXPECT_TRUE(ReceivedReports().empty());

    EXPECT_EQ(link.currentProfile.Set(3), -201);
    EXPECT_TRUE(ReceivedReports().empty());
    EXPECT_EQ(link.currentProfile.Cached(), 2);
}

TEST_F(InfoBlockTest, GetReadsTheKeyboardWhenNothingIsCached) {
    EXPECT_TRUE(keyboard.RaiseEvent(0x1802)); // the profile key on the keyboard itself
    standin::WaitIdle();
    EXPECT_EQ(link.currentProfile.Get(), 1);
    EXPECT_EQ(ReceivedReports().size(), 1u);
    link.currentProfile.Forget();
    EXPECT_EQ(link.currentProfile.Cached(), -1);
    EXPECT_EQ(link.currentProfile.Get(), 1);
    EXPECT_EQ(ReceivedReports().size(), 2u);

    link.currentProfile.Forget();
    standin::Unplug();
    EXPECT_EQ(link.currentProfile.Get(), -1);
}

TEST_F(InfoBlockTest, AFailedWriteLeavesNothingCached) {
    ASSERT_EQ(link.currentProfile.Get(), 0);
    keyboard.UnplugAfter(1); // the read is answered, then the keyboard is gone
    EXPECT_EQ(link.currentProfile.Set(1), 0);
    EXPECT_EQ(link.currentProfile.Cached(), -1);
}

TEST_F(InfoBlockTest, ArrivalReadsTheKeyboardsLayoutAndMacroMemorySize) {
    auto memory = keyboard.Memory();
    memory.default_layout[0] = 0x02; // differ from the built-in copy
    memory.default_layout[377] = 0x44;
    keyboard.SetMemory(memory);

    ConnectedKeyboard& connected = link.keyboard;
    EXPECT_EQ(connected.MacroMemorySize(), 0);
    const ArrivalResult result = ReadArrivalData(link.protocol, connected);
    EXPECT_EQ(result.layout, 1);
    EXPECT_EQ(result.info, 1);
    EXPECT_EQ(connected.DefaultLayout(), keyboard.DefaultLayout());
    EXPECT_EQ(connected.MacroMemorySize(), 4096);
}

TEST_F(InfoBlockTest, FailedArrivalReadsKeepWhatWasKnown) {
    ConnectedKeyboard& connected = link.keyboard;
    connected.SetMacroMemorySize(2048);
    const auto before = connected.DefaultLayout();
    keyboard.AnswerStatus(0xFF, 3 + 3); // every try of the first chunk and of the block
    const ArrivalResult result = ReadArrivalData(link.protocol, connected);
    EXPECT_EQ(result.layout, -102);
    EXPECT_EQ(result.info, -102);
    EXPECT_EQ(connected.DefaultLayout(), before);
    EXPECT_EQ(connected.MacroMemorySize(), 2048);
}

} // namespace
} // namespace kovrel::device

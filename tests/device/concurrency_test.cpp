// Several threads talking to the keyboard at once, on the real clock: each command must get its
// own reply, and nothing on the service's thread may hold up a reply.

#include "device/arrival.h"
#include "standin_fixture.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace kovrel::device {
namespace {

// A window whose messages are handled on the interface thread only, when it pumps: a message
// sent from another thread waits until then, a posted one is queued.
class InterfaceThreadWindow final : public platform::WindowLink {
public:
    std::intptr_t SendMessage(std::uint32_t message, platform::WParam, platform::LParam) override {
        std::unique_lock lock(mutex_);
        sent_.push_back(message);
        const std::size_t mine = sent_.size();
        handled_.wait(lock, [&] { return handledSent_ >= mine; });
        return 1;
    }
    bool PostMessage(std::uint32_t message, platform::WParam, platform::LParam) override {
        std::lock_guard lock(mutex_);
        posted_.push_back(message);
        return true;
    }
    void SetTimer(std::uint32_t, std::uint32_t) override {}
    void KillTimer(std::uint32_t) override {}

    // Handles what has arrived; returns the number of messages handled.
    std::size_t Pump() {
        std::lock_guard lock(mutex_);
        const std::size_t count = (sent_.size() - handledSent_) + posted_.size();
        handledSent_ = sent_.size();
        posted_.clear();
        handled_.notify_all();
        return count;
    }

private:
    std::mutex mutex_;
    std::condition_variable handled_;
    std::deque<std::uint32_t> sent_;
    std::size_t handledSent_ = 0;
    std::deque<std::uint32_t> posted_;
};

class ConcurrencyTest : public ::testing::Test {
protected:
    ConcurrencyTest() { standin::Reset(); }
    void SetUp() override {
        ASSERT_EQ(link.Open(standin::kStandinLibraryName), BindResult::Ready);
        standin::Keyboard().SetRoundTripDelay(std::chrono::microseconds(200));
    }
    void TearDown() override {
        standin::WaitIdle();
        EXPECT_EQ(standin::GetStats().checkFailures, 0);
    }

    platform::FakeServices services;
    DeviceLink link; // the system clock
};

TEST_F(ConcurrencyTest, TwoSendersEachGetTheirOwnReplies) {
    auto& keyboard = standin::Keyboard();
    const auto info = keyboard.Info();
    const auto record1 = keyboard.LightingRecord(1);
    const auto receivedBefore = keyboard.ReportsReceived();
    constexpr int kRounds = 40;
    std::atomic<int> infoMismatches{0};
    std::atomic<int> memoryMismatches{0};

    std::thread interfaceThread([&] {
        for (int i = 0; i < kRounds; ++i) {
            MemoryChunk chunk{};
            if (ReadMemory(link.protocol, 42, 42, chunk) != 1 ||
                !std::equal(record1.begin(), record1.end(), chunk.begin())) {
                ++memoryMismatches;
            }
        }
    });
    std::thread worker([&] {
        for (int i = 0; i < kRounds; ++i) {
            InfoBlock block{};
            if (ReadInfoBlock(link.protocol, block) != 1 || block != info) {
                ++infoMismatches;
            }
        }
    });
    // Meanwhile the keyboard switches banks: the callback thread sends bank requests and posts
    // to the window while replies are awaited.
    for (int i = 0; i < 10; ++i) {
        keyboard.RaiseEvent(0x02FF);
    }
    interfaceThread.join();
    worker.join();
    standin::WaitIdle();

    EXPECT_EQ(memoryMismatches.load(), 0);
    EXPECT_EQ(infoMismatches.load(), 0);
    EXPECT_EQ(link.channel.GBank(), 0);
    EXPECT_EQ(services.window.CountOf(kBankMessage), 10u);
    EXPECT_EQ(keyboard.ReportsReceived() - receivedBefore, 2u * kRounds);
}

TEST_F(ConcurrencyTest, ABankSwitchNeverHoldsUpTheReplyTheInterfaceThreadWaitsFor) {
    // The keyboard switches banks just before the interface thread sends a command and waits
    // for its reply. The service's thread handles the switch first; if it waited for the
    // window, the reply behind it could not arrive until the command had given up.
    InterfaceThreadWindow window;
    platform::WindowLink* previous = platform::CurrentServices().window;
    platform::CurrentServices().window = &window;

    ASSERT_TRUE(standin::RaiseEvent(0x02FF));
    InfoBlock block{};
    EXPECT_EQ(ReadInfoBlock(link.protocol, block), 1);
    EXPECT_EQ(block, standin::Keyboard().Info());
    standin::WaitIdle();
    EXPECT_EQ(window.Pump(), 1u); // the bank message, handled afterwards on this thread
    EXPECT_EQ(link.channel.GBank(), 1);

    platform::CurrentServices().window = previous;
}

TEST_F(ConcurrencyTest, ArrivalReadsRaceWithInterfaceCommands) {
    std::thread worker([&] {
        const ArrivalResult result = ReadArrivalData(link.protocol, link.keyboard);
        EXPECT_EQ(result.layout, 1);
        EXPECT_EQ(result.info, 1);
    });
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(link.currentProfile.Set(i % 3), 1);
        (void)link.keyboard.DefaultLayout();
        (void)link.keyboard.MacroMemorySize();
    }
    worker.join();
    EXPECT_EQ(link.keyboard.MacroMemorySize(), 4096);
    EXPECT_EQ(link.keyboard.DefaultLayout(), standin::Keyboard().DefaultLayout());
    EXPECT_EQ(link.currentProfile.Cached(), 0);
}

} // namespace
} // namespace kovrel::device

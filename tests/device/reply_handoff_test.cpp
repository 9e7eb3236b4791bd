#include "device/fake_clock.h"
#include "device/reply_handoff.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace kovrel::device {
namespace {

TEST(ReplyHandOff, AReplyWhileNobodyWaitsIsDropped) {
    ReplyHandOff handOff;
    const std::vector<std::uint8_t> reply(64, 0x42);
    EXPECT_FALSE(handOff.Deliver(reply));

    std::array<std::uint8_t, 64> buffer{};
    handOff.Publish(buffer);
    handOff.Clear();
    EXPECT_FALSE(handOff.Deliver(reply));
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 64>{}));
}

TEST(ReplyHandOff, ALongReplyFillsTheBufferAndRecordsItsCapacity) {
    ReplyHandOff handOff;
    std::array<std::uint8_t, 16> buffer{};
    handOff.Publish(buffer);
    std::vector<std::uint8_t> reply(80);
    for (std::size_t i = 0; i < reply.size(); ++i) {
        reply[i] = static_cast<std::uint8_t>(i);
    }
    EXPECT_TRUE(handOff.Deliver(reply));
    FakeClock clock;
    std::size_t received = 0;
    EXPECT_TRUE(handOff.Wait(clock, std::chrono::milliseconds(1000), received));
    EXPECT_EQ(received, 16u);
    EXPECT_EQ(buffer[15], 15);
    // A second reply for the same wait does not overwrite the first.
    EXPECT_FALSE(handOff.Deliver(std::vector<std::uint8_t>(64, 0xFF)));
    EXPECT_EQ(buffer[0], 0);
    handOff.Clear();
}

TEST(ReplyHandOff, AWaitWithNoReplyTimesOutOnTheClock) {
    ReplyHandOff handOff;
    std::array<std::uint8_t, 64> buffer{};
    handOff.Publish(buffer);
    FakeClock clock;
    std::size_t received = 7;
    EXPECT_FALSE(handOff.Wait(clock, std::chrono::milliseconds(1000), received));
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(clock.ElapsedMs(), 1000);
    handOff.Clear();
}

TEST(ReplyHandOff, TheCallbackNeverWritesIntoABufferItsSenderLeft) {
    // A sender that times out and returns while replies keep coming: the copy and the clearing
    // of the flag never overlap, so no reply lands in a buffer that is gone.
    ReplyHandOff handOff;
    std::atomic<bool> stop{false};
    std::thread callback([&] {
        const std::vector<std::uint8_t> reply(64, 0x5A);
        while (!stop.load()) {
            handOff.Deliver(reply);
        }
    });
    FakeClock clock;
    for (int i = 0; i < 2000; ++i) {
        auto buffer = std::make_unique<std::array<std::uint8_t, 64>>();
        handOff.Publish(*buffer);
        std::size_t received = 0;
        handOff.Wait(clock, std::chrono::milliseconds(1000), received);
        handOff.Clear();
        buffer.reset(); // ASan would see a late copy here
    }
    stop = true;
    callback.join();
}

} // namespace
} // namespace kovrel::device

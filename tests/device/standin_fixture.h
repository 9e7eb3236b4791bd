#pragma once
// A device link opened through the real binding on the service stand-in, with recording fakes of
// the interface services and a fake clock that times out as soon as the stand-in has nothing in
// flight.

#include "device/device_link.h"
#include "device/fake_clock.h"
#include "platform/fakes.h"
#include "standin.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace kovrel::device::testing {

// The command reports the keyboard received, oldest first.
inline std::vector<std::vector<std::uint8_t>> ReceivedReports() {
    return standin::Received(firmware::LogEntry::Kind::Report);
}

inline std::vector<std::vector<std::uint8_t>> ReceivedBankWrites() {
    return standin::Received(firmware::LogEntry::Kind::BankWrite);
}

inline int Address(const std::vector<std::uint8_t>& report) {
    return report[ONDREL_OFFSET_ADDRESS] | (report[ONDREL_OFFSET_ADDRESS + 1] << 8);
}

// Waits for a condition that another thread brings about; fails the test after a generous bound
// (a hang guard, not a timing assertion).
inline bool Eventually(const std::function<bool()>& condition) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class StandinTest : public ::testing::Test {
protected:
    StandinTest() { standin::Reset(); }

    void SetUp() override {
        ASSERT_EQ(link.Open(standin::kStandinLibraryName), BindResult::Ready);
        standin::WaitIdle();
        standin::Keyboard().ClearLog();
    }

    void TearDown() override {
        standin::WaitIdle();
        EXPECT_EQ(standin::GetStats().checkFailures, 0);
    }

    platform::FakeServices services;
    FakeClock clock{[] { return standin::Idle(); }};
    DeviceLink link{clock};
};

} // namespace kovrel::device::testing

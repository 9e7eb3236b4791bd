#pragma once
// The lighting operations against the virtual keyboard: a device link opened through the real
// binding on the service stand-in, a fake clock that gives up as soon as nothing is in flight,
// and a temporary home so that the settings and user lighting files land in a folder of the
// test's own.

#include "device/device_link.h"
#include "device/fake_clock.h"
#include "lighting/core/lighting_mirror.h"
#include "platform/fakes.h"
#include "platform/temporary_home.h"
#include "profiles/settings.h"
#include "standin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kovrel::lighting::testing {

struct SentReport {
    int command = 0;
    int length = 0;
    int address = 0;
    std::vector<std::uint8_t> data; // `length` bytes from the data offset (at most 56)
};

// The command reports the keyboard received, oldest first.
inline std::vector<SentReport> Sent() {
    std::vector<SentReport> sent;
    for (const auto& entry : standin::Keyboard().Log()) {
        if (entry.kind != firmware::LogEntry::Kind::Report || entry.bytes.size() < 64) {
            continue;
        }
        SentReport r;
        r.command = entry.bytes[ONDREL_OFFSET_COMMAND];
        r.length = entry.bytes[ONDREL_OFFSET_LENGTH];
        r.address =
            entry.bytes[ONDREL_OFFSET_ADDRESS] | (entry.bytes[ONDREL_OFFSET_ADDRESS + 1] << 8);
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(r.length), 56);
        r.data.assign(entry.bytes.begin() + ONDREL_OFFSET_DATA,
                      entry.bytes.begin() + ONDREL_OFFSET_DATA + static_cast<long>(n));
        sent.push_back(r);
    }
    return sent;
}

class KeyboardTest : public ::testing::Test {
protected:
    KeyboardTest() { standin::Reset(); }

    void SetUp() override {
        profiles::InitialiseSettings(home.Path() / "Documents", home.Path() / "program");
        profiles::EnsureDataFolder();
        ASSERT_EQ(link.Open(standin::kStandinLibraryName), device::BindResult::Ready);
        standin::WaitIdle();
        keyboard.ClearLog();
    }

    void TearDown() override {
        standin::WaitIdle();
        EXPECT_EQ(standin::GetStats().checkFailures, 0);
    }

    device::CommandProtocol& Protocol() { return link.protocol; }

    platform::TemporaryHome home;
    platform::FakeServices services;
    device::FakeClock clock{[] { return standin::Idle(); }};
    device::DeviceLink link{clock};
    firmware::VirtualKeyboard& keyboard = standin::Keyboard();
    LightingMirror mirror;
};

} // namespace kovrel::lighting::testing

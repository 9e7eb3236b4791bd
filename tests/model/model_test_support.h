#pragma once
// Shared helpers of the configuration tests: a device link on the service stand-in (the virtual
// keyboard in process) with recording fakes of the interface services, and small builders.

#include "device/device_link.h"
#include "device/fake_clock.h"
#include "model/configuration_store.h"
#include "model/keyboard_access.h"
#include "platform/fakes.h"
#include "skin/core/language_table.h"
#include "standin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kovrel::testing {

// The command reports the keyboard received, oldest first.
inline std::vector<std::vector<std::uint8_t>> ReceivedReports() {
    return standin::Received(firmware::LogEntry::Kind::Report);
}

// Command code of a received report.
inline int CommandOf(const std::vector<std::uint8_t>& report) {
    return report[3];
}

class KeyboardTest : public ::testing::Test {
protected:
    KeyboardTest() {
        standin::Reset();
        ResetLanguageTable();
    }

    void SetUp() override {
        ASSERT_EQ(link.Open(standin::kStandinLibraryName), device::BindResult::Ready);
        standin::WaitIdle();
        keyboard().ClearLog();
    }

    void TearDown() override { standin::WaitIdle(); }

    static firmware::VirtualKeyboard& keyboard() { return standin::Keyboard(); }
    KeyboardAccess access() { return KeyboardAccess::Of(link); }

    platform::FakeServices services;
    device::FakeClock clock{[] { return standin::Idle(); }};
    device::DeviceLink link{clock};
};

inline MacroRecord MakeMacro(std::u16string name, std::uint16_t id,
                             std::vector<MacroAction> actions, std::uint8_t cycles = 1) {
    MacroRecord macro;
    macro.name = std::move(name);
    macro.macroId = id;
    macro.cycles = cycles;
    macro.actions = std::move(actions);
    return macro;
}

inline std::vector<std::u16string> MessageTexts(const platform::FakeMessageBox& box) {
    std::vector<std::u16string> texts;
    for (const auto& call : box.Calls()) {
        texts.push_back(call.text);
    }
    return texts;
}

} // namespace kovrel::testing

#include "report_helpers.h"

#include "firmware/state_io.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kovrel::firmware::test {
namespace {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return ~crc;
}

// Changes one byte and recomputes the trailing CRC, so only the structural checks can refuse it.
Bytes Patched(Bytes bytes, std::size_t offset, std::uint8_t value) {
    bytes.at(offset) = value;
    const std::uint32_t crc = Crc32(std::span(bytes).first(bytes.size() - 4));
    for (int i = 0; i < 4; ++i) {
        bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
    }
    return bytes;
}

KeyboardMemory UsedMemory() {
    VirtualKeyboard keyboard;
    Exchange(keyboard, MakeReport(1, 0, 0));
    Exchange(keyboard, MakeReport(8, 3, 400, Bytes{5, 1, 7}));
    Exchange(keyboard, MakeReport(10, 4, 4000, Bytes{1, 2, 3, 4}));
    Exchange(keyboard, MakeReport(17, 3, 1030, Bytes{9, 8, 7}));
    Exchange(keyboard, MakeReport(6, 2, 45, Bytes{0, 0}));
    keyboard.RaiseEvent(0x1803);
    keyboard.RaiseEvent(0x02FF);
    keyboard.SetMacroUnits(40);
    return keyboard.Memory();
}

TEST(FirmwareState, SerialisedStateRoundTrips) {
    const KeyboardMemory used = UsedMemory();
    const Bytes bytes = SerializeMemory(used);
    // Header, six sections with their lengths, CRC.
    EXPECT_EQ(bytes.size(), 8 + 6 * 2 + 44 + 256 + 1536 + 1134 + 378 + 40 * 128 + 4u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{'K', 'V', 'K', 'B', 1, 0}));

    VirtualKeyboard restored;
    ASSERT_TRUE(restored.Deserialize(bytes));
    EXPECT_EQ(restored.Memory(), used);
    EXPECT_EQ(restored.Serialize(), bytes);
    EXPECT_EQ(restored.CurrentProfile(), 2);
    EXPECT_TRUE(restored.ConfigOpen());
    EXPECT_EQ(restored.GBank(), 1);
}

TEST(FirmwareState, DamagedStateIsRefusedAndChangesNothing) {
    const Bytes good = SerializeMemory(UsedMemory());
    const std::size_t macroLength = 8 + 5 * 2 + 44 + 256 + 1536 + 1134 + 378;
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes flipped = good;
    flipped[500] ^= 0x10;
    Bytes extra = good;
    extra.insert(extra.end() - 4, 0);
    const Case cases[] = {
        {"empty", {}},
        {"only a CRC", Bytes(4, 0)},
        {"cut short", Bytes(good.begin(), good.end() - 1)},
        {"cut in the header", Bytes(good.begin(), good.begin() + 7)},
        {"flipped bit", flipped},
        {"extra byte", Patched(extra, 0, 'K')},
        {"mark", Patched(good, 0, 'X')},
        {"version 2", Patched(good, 4, 2)},
        {"unknown flag", Patched(good, 6, 0x08)},
        {"info length", Patched(good, 8, 43)},
        {"current profile 3", Patched(good, 10 + 10, 3)},
        {"macro units without macro bytes", Patched(good, 10 + 11, 41)},
        {"macro length", Patched(good, macroLength + 1, 0x13)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(DeserializeMemory(c.bytes).has_value());
        VirtualKeyboard keyboard;
        const KeyboardMemory before = keyboard.Memory();
        EXPECT_FALSE(keyboard.Deserialize(c.bytes));
        EXPECT_EQ(keyboard.Memory(), before);
    }
    for (std::size_t n = 0; n < good.size(); n += 97) {
        EXPECT_FALSE(DeserializeMemory(std::span(good).first(n)).has_value()) << n;
    }
}

TEST(FirmwareState, DumpsNameTheContent) {
    VirtualKeyboard keyboard;
    keyboard.RaiseEvent(0x1802);
    const std::string text = keyboard.DumpText();
    EXPECT_NE(text.find("current profile 1"), std::string::npos);
    EXPECT_NE(text.find("Default layout (378 bytes)"), std::string::npos);
    EXPECT_NE(text.find("  0000: 05 00 00 05 00 00"), std::string::npos);

    const auto json = nlohmann::json::parse(keyboard.DumpJson());
    EXPECT_EQ(json["current_profile"], 1);
    EXPECT_EQ(json["macro_memory_units"], 32);
    EXPECT_EQ(json["effects"].size(), 19u);
    EXPECT_EQ(json["lighting"][2]["brightness"], 4);
    EXPECT_EQ(json["profile_blocks"].size(), 3u);
    EXPECT_EQ(json["default_layout"].get<std::string>().substr(0, 6), "050000");
    EXPECT_EQ(json["macro_memory"].get<std::string>().size(), 8192u);
}

} // namespace
} // namespace kovrel::firmware::test

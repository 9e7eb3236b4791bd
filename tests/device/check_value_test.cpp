#include "device/check_value.h"
#include "device/command_report.h"
#include "device/default_layout.h"
#include "firmware/keyboard_memory.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace kovrel::device {
namespace {

TEST(ReportChecksum, KeepsTheLow16BitsLittleEndian) {
    // 259 bytes of 0xFF and one 0x06 sum to 0x10203.
    std::vector<std::uint8_t> bytes(259, 0xFF);
    bytes.push_back(0x06);
    EXPECT_EQ(SumLow16(bytes), 0x0203);

    // A report whose bytes 3 to 63 sum to 0x0203 carries 0x03, 0x02; bytes 0 to 2 do not count.
    Report report{};
    report[0] = 0x04;
    report[3] = 0xFF;
    report[4] = 0xFF;
    report[63] = 0x05;
    StampChecksum(report);
    EXPECT_EQ(report[1], 0x03);
    EXPECT_EQ(report[2], 0x02);
    EXPECT_EQ(report[0], 0x04);
}

TEST(CheckValue, CountsIdentifierCallbackCodeThenPayloadThroughTheTable) {
    const std::set<std::uint8_t> values(std::begin(ONDREL_SUBSTITUTION),
                                        std::end(ONDREL_SUBSTITUTION));
    EXPECT_EQ(values.size(), 256u) << "the table is a permutation";

    const auto callback = reinterpret_cast<OndrelCallback>(std::uintptr_t{0x12345678});
    const std::uint8_t bank[] = {0x05, 0x02};
    std::uint32_t expected = 0;
    for (std::uint8_t b : BankId()) {
        expected += ONDREL_SUBSTITUTION[b];
    }
    for (std::uint8_t b : {0x78, 0x56, 0x34, 0x12, 0x44, 0x45, 0x4C, 0x00, 0x05, 0x02}) {
        expected += ONDREL_SUBSTITUTION[b];
    }
    EXPECT_EQ(ComputeCheckValue(BankId(), callback, ONDREL_CODE_LED, bank), expected);

    // No callback and code 0 count as eight zero bytes.
    std::uint32_t query = 8u * ONDREL_SUBSTITUTION[0];
    for (std::uint8_t b : ControlId()) {
        query += ONDREL_SUBSTITUTION[b];
    }
    EXPECT_EQ(ComputeCheckValue(ControlId(), nullptr, 0), query);
}

TEST(BuiltInDefaultLayout, MatchesTheKeyboardsFactoryLayout) {
    // Two copies written independently (host and keyboard side); a slip in either shows here.
    const auto& ours = BuiltInDefaultLayout();
    const auto& factory = firmware::FactoryLayout();
    ASSERT_EQ(ours.size(), factory.size());
    for (std::size_t slot = 0; slot < 126; ++slot) {
        for (std::size_t b = 0; b < 3; ++b) {
            EXPECT_EQ(ours[slot * 3 + b], factory[slot * 3 + b]) << "slot " << slot;
        }
    }
    EXPECT_EQ(ours[53 * 3], 0x05);
    EXPECT_EQ(ours[53 * 3 + 2], 0x02);
    EXPECT_EQ(ours[120 * 3 + 1], 0xCD);
}

} // namespace
} // namespace kovrel::device

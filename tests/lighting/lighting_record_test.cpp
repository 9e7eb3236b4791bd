#include "lighting/core/effect_features.h"
#include "lighting/core/effect_table.h"
#include "lighting/core/lighting_record.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kovrel::lighting {
namespace {

using ::testing::ElementsAre;

LightingRecord DefaultRecord() {
    LightingRecord record{};
    std::copy(kDefaultRecord.begin(), kDefaultRecord.end(), record.begin());
    return record;
}

TEST(UnpackRecord, TheDefaultRecord) {
    LightingFields f;
    UnpackRecord(DefaultRecord(), f);
    EXPECT_EQ(f.effect, 1);
    EXPECT_EQ(f.brightness, 4);
    EXPECT_EQ(f.speed, 1);
    EXPECT_EQ(f.direction, 0);
    EXPECT_TRUE(f.multicolour);
    EXPECT_EQ(f.mainColour, kRed);
    EXPECT_EQ(f.reportRate, 3); // byte 255 shows the fourth button
    EXPECT_EQ(f.secondColour, kWhite);
    EXPECT_EQ(f.thirdColour, kWhite);
    EXPECT_FALSE(f.secondMulticolour);
}

struct ClampCase {
    std::size_t offset;
    std::uint8_t stored;
    int effect;
    int expectReportRate, expectFixed, expectOption, expectTrigger;
};

class UnpackClamps : public ::testing::TestWithParam<ClampCase> {};

TEST_P(UnpackClamps, ReadsAsTheRecordTableSays) {
    const ClampCase c = GetParam();
    LightingRecord record{};
    record[field::kEffect] = static_cast<std::uint8_t>(c.effect);
    record[c.offset] = c.stored;
    LightingFields f;
    f.effect7Option = 1; // values that "keep" rules must leave alone
    f.triggerKind = 1;
    UnpackRecord(record, f);
    EXPECT_EQ(f.reportRate, c.expectReportRate);
    EXPECT_EQ(f.fixedColour, c.expectFixed);
    EXPECT_EQ(f.effect7Option, c.expectOption);
    EXPECT_EQ(f.triggerKind, c.expectTrigger);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnpackClamps,
    ::testing::Values(ClampCase{field::kReportRate, 2, 1, 2, 0, 1, 0},
                      ClampCase{field::kReportRate, 4, 1, 3, 0, 1, 0},
                      ClampCase{field::kReportRate, 255, 1, 3, 0, 1, 0},
                      ClampCase{field::kFixedColour, 3, 1, 0, 3, 1, 0},
                      ClampCase{field::kFixedColour, 7, 1, 0, 0, 1, 0},
                      ClampCase{field::kEffect7Option, 0, 7, 0, 0, 0, 0},
                      ClampCase{field::kEffect7Option, 0, 8, 0, 0, 1, 0}, // only for effect 7
                      ClampCase{field::kEffect7Option, 2, 7, 0, 0, 1, 0}, // only 0 or 1
                      ClampCase{field::kTriggerKind, 1, 1, 0, 0, 1, 1},
                      ClampCase{field::kTriggerKind, 5, 1, 0, 0, 1, 1})); // ignored

TEST(EffectTable, SkipsEmptySlotsAnywhereAndLooksUpBothWays) {
    device::InfoBlock block{};
    block[12] = 0;
    block[13] = 4;
    block[20] = 20;
    block[21] = 4; // a repeated code: the first position wins
    block[43] = 1;
    const auto table = EffectTable::FromInfoBlock(block);
    EXPECT_THAT(table.Entries(), ElementsAre(EffectEntry{0, 4}, EffectEntry{1, 20},
                                             EffectEntry{2, 4}, EffectEntry{3, 1}));
    EXPECT_EQ(table.CodeAt(1), 20);
    EXPECT_EQ(table.CodeAt(4), 0);
    EXPECT_EQ(table.CodeAt(-1), 0);
    EXPECT_EQ(table.PositionOf(4), 0);
    EXPECT_EQ(table.PositionOf(1), 3);
    EXPECT_EQ(table.PositionOf(5), -1);
}

TEST(EffectFeatures, WhichSelectionsWriteTheMulticolourFlag) {
    for (int code = 0; code <= 21; ++code) {
        const bool writes = code == 1 || code == 2 || code == 3 || code == 5 || code == 7 ||
                            code == 8 || code == 9 || code == 13 || code == 14 || code == 15;
        EXPECT_EQ(FeaturesOf(code).selectionWritesMulticolour, writes) << code;
        EXPECT_EQ(FeaturesOf(code).handled, code >= 1 && code <= 20 && code != 19) << code;
    }
    EXPECT_EQ(FeaturesOf(12).direction, DirectionKind::UpDown);
    EXPECT_EQ(FeaturesOf(18).direction, DirectionKind::SpreadGather);
    EXPECT_EQ(FeaturesOf(16).colours, ColourControls::MainPairB);
}

} // namespace
} // namespace kovrel::lighting

#include "lighting/core/lighting_device.h"

#include "keyboard_fixture.h"
#include "profiles/settings.h"

#include <gmock/gmock.h>

namespace kovrel::lighting {
namespace {

using ::testing::ElementsAre;
using testing::Sent;

class LightingDevice : public testing::KeyboardTest {
protected:
    // Puts bytes into the keyboard's settings memory at an address, as if stored long ago.
    void StoreSettings(std::size_t address, std::vector<std::uint8_t> bytes) {
        auto memory = keyboard.Memory();
        std::copy(bytes.begin(), bytes.end(), memory.settings.begin() + static_cast<long>(address));
        keyboard.SetMemory(memory);
        keyboard.ClearLog();
    }
    void StoreEffectList(std::vector<std::uint8_t> effects) {
        keyboard.SetEffectList(effects);
        keyboard.ClearLog();
    }
    std::vector<int> Commands() {
        std::vector<int> commands;
        for (const auto& r : Sent()) {
            commands.push_back(r.command);
        }
        return commands;
    }
};

TEST_F(LightingDevice, ReloadReadsTheBlockThenThreeRecordsInOneTransfer) {
    StoreSettings(42, {5, 2, 3, 255, 0, 0, 255, 0});
    mirror.selectedProfile = 1;
    EXPECT_EQ(ReloadLightingState(Protocol(), mirror), 0);

    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0].command | (sent[0].length << 8), 0x2C03);
    EXPECT_EQ(sent[1].command, 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sent[static_cast<std::size_t>(2 + i)].command, 5);
        EXPECT_EQ(sent[static_cast<std::size_t>(2 + i)].length, 56);
        EXPECT_EQ(sent[static_cast<std::size_t>(2 + i)].address, 42 * i);
    }
    EXPECT_EQ(sent[5].command, 2);

    for (std::size_t p = 0; p < 3; ++p) {
        const auto stored = keyboard.LightingRecord(p);
        EXPECT_TRUE(std::equal(stored.begin(), stored.end(), mirror.records[p].begin())) << p;
    }
    EXPECT_EQ(mirror.info, keyboard.Info());
    EXPECT_EQ(mirror.fields.effect, 5);
    EXPECT_EQ(mirror.fields.brightness, 2);
    EXPECT_EQ(mirror.fields.speed, 3);
    EXPECT_EQ(mirror.fields.direction, 255);
    EXPECT_FALSE(mirror.fields.multicolour);
    EXPECT_EQ(mirror.fields.mainColour, (Rgb{0, 255, 0}));
    EXPECT_FALSE(mirror.effects.Empty());
}

TEST_F(LightingDevice, ReloadClampsReportRateAndFixedColour) {
    // The default record's report-rate byte 255 shows the fourth button; fixed colour 7 reads as
    // red, index 0.
    StoreSettings(0, {1, 4, 1, 0, 255, 255, 0, 0, 8, 255, 255, 255, 255, 0, 0, 255, 255, 7});
    EXPECT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    EXPECT_EQ(mirror.fields.reportRate, 3);
    EXPECT_EQ(mirror.fields.fixedColour, 0);
    EXPECT_EQ(mirror.records[0][field::kFixedColour], 7); // the record keeps what is stored
}

TEST_F(LightingDevice, ReloadTakesTheViewFlagFromTheSettingsFile) {
    profiles::SetDengCheck(true);
    EXPECT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    EXPECT_TRUE(mirror.viewOn);
    profiles::SetDengCheck(false);
    EXPECT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    EXPECT_FALSE(mirror.viewOn);
}

TEST_F(LightingDevice, AnEmptyEffectListGivesNoEntries) {
    StoreEffectList(std::vector<std::uint8_t>(32, 0));
    EXPECT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    EXPECT_TRUE(mirror.effects.Empty());
    EXPECT_EQ(mirror.effects.PositionOf(1), -1);
    EXPECT_EQ(mirror.effects.CodeAt(0), 0);
}

TEST_F(LightingDevice, AFailedBlockReadKeepsTheRecordsAndEmptiesTheEffectList) {
    ASSERT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    ASSERT_FALSE(mirror.effects.Empty());
    const auto records = mirror.records;
    StoreSettings(0, {9, 9, 9});
    keyboard.DropReplies(3); // the block read fails after its three tries
    EXPECT_EQ(ReloadLightingState(Protocol(), mirror), -1);
    EXPECT_EQ(mirror.records, records);
    EXPECT_TRUE(mirror.effects.Empty());
    EXPECT_THAT(Commands(), ElementsAre(3, 3, 3)); // no transfer was opened
}

TEST_F(LightingDevice, AFailedRecordReadKeepsThatRecordAndIsReported) {
    ASSERT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    const auto before = mirror.records;
    StoreSettings(0, {2});
    StoreSettings(42, {9, 9, 9});
    StoreSettings(84, {7, 7, 7});
    keyboard.UnplugAfter(3); // the block, command 1 and record 0 are answered, then it is gone
    EXPECT_EQ(ReloadLightingState(Protocol(), mirror), -1);
    EXPECT_EQ(mirror.records[0][0], 2);
    EXPECT_EQ(mirror.records[1], before[1]);
    EXPECT_EQ(mirror.records[2], before[2]);
}

TEST_F(LightingDevice, SeveralFieldsGoInOneTransferLowestOffsetFirst) {
    ASSERT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    mirror.SelectProfile(1);
    keyboard.ClearLog();
    const FieldWrite fields[] = {ColourField(field::kMainColour, Rgb{0, 255, 0}),
                                 ByteField(field::kMulticolour, 0), ByteField(field::kEffect, 5)};
    EXPECT_EQ(WriteRecordFields(Protocol(), mirror, fields), 1);

    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[0].command, 1);
    EXPECT_EQ(sent[1].command, 6);
    EXPECT_EQ(sent[1].address, 42);
    EXPECT_THAT(sent[1].data, ElementsAre(5));
    EXPECT_EQ(sent[2].address, 46);
    EXPECT_THAT(sent[2].data, ElementsAre(0));
    EXPECT_EQ(sent[3].address, 47);
    EXPECT_THAT(sent[3].data, ElementsAre(0, 255, 0));
    EXPECT_EQ(sent[4].command, 2);

    const auto stored = keyboard.LightingRecord(1);
    EXPECT_EQ(stored[0], 5);
    EXPECT_EQ(stored[4], 0);
    EXPECT_EQ(stored[6], 255);
    EXPECT_EQ(mirror.fields.effect, 5);
    EXPECT_FALSE(mirror.fields.multicolour);
    EXPECT_EQ(mirror.fields.mainColour, (Rgb{0, 255, 0}));
}

TEST_F(LightingDevice, AFieldOutsideTheRecordIsRefusedWithoutSending) {
    const FieldWrite fields[] = {ByteField(field::kEffect, 3), FieldWrite{40, {1, 2, 3}}};
    EXPECT_EQ(WriteRecordFields(Protocol(), mirror, fields), kOutsideRecord);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(LightingDevice, WriteFailuresStillUpdateTheMirror) {
    keyboard.Unplug();
    EXPECT_NE(WriteRecordField(Protocol(), mirror, ByteField(field::kBrightness, 2)), 1);
    EXPECT_EQ(mirror.fields.brightness, 2);
    EXPECT_EQ(mirror.records[0][field::kBrightness], 2);
}

TEST_F(LightingDevice, RestoreDefaultOnProfileTwoWrites35BytesAt84Only) {
    StoreSettings(0, std::vector<std::uint8_t>(126, 0x5A));
    ASSERT_EQ(ReloadLightingState(Protocol(), mirror), 0);
    mirror.SelectProfile(2);
    keyboard.ClearLog();
    EXPECT_EQ(RestoreDefaultRecord(Protocol(), mirror), 1);

    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].command, 1);
    EXPECT_EQ(sent[1].command, 6);
    EXPECT_EQ(sent[1].address, 84);
    EXPECT_EQ(sent[1].length, 35);
    EXPECT_TRUE(std::equal(kDefaultRecord.begin(), kDefaultRecord.end(), sent[1].data.begin()));
    EXPECT_EQ(sent[2].command, 2);

    const auto settings = keyboard.Settings();
    for (std::size_t i = 0; i < 84; ++i) {
        ASSERT_EQ(settings[i], 0x5A) << i; // records 0 and 1 untouched
    }
    for (std::size_t i = 84 + 35; i < 126; ++i) {
        ASSERT_EQ(settings[i], 0x5A) << i; // the rest of record 2 as stored
    }
    EXPECT_EQ(mirror.fields.effect, 1);
    EXPECT_EQ(mirror.fields.reportRate, 3);
    EXPECT_TRUE(mirror.fields.multicolour);
    EXPECT_EQ(mirror.fields.secondColour, kWhite);
}

TEST_F(LightingDevice, KeyColoursGoToTheSelectedProfilesMemory) {
    // The keyboard is on profile 0; the panel paints profile 2.
    mirror.SelectProfile(2);
    EXPECT_EQ(WriteOneKeyColour(Protocol(), mirror, 110, Rgb{1, 2, 3}), 1);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1].command, 17);
    EXPECT_EQ(sent[1].address, 2 * 512 + 110 * 3);
    EXPECT_THAT(sent[1].data, ElementsAre(1, 2, 3));
    const auto colours = keyboard.KeyColours();
    EXPECT_EQ(colours[2 * 512 + 330], 1);
    EXPECT_EQ(colours[2 * 512 + 332], 3);
    EXPECT_EQ(colours[330], 0);
    EXPECT_EQ(mirror.keyColours[2][110], (Rgb{1, 2, 3}));

    EXPECT_EQ(WriteOneKeyColour(Protocol(), mirror, 126, Rgb{1, 2, 3}), kOutsideRecord);
}

TEST_F(LightingDevice, TheProfileImageGoesInEightPiecesWithZerosPastTheImage) {
    mirror.SelectProfile(1);
    for (auto& c : mirror.keyColours[1]) {
        c = Rgb{10, 20, 30};
    }
    mirror.keyColours[2].fill(Rgb{0xEE, 0xEE, 0xEE}); // lies right after profile 1's image
    EXPECT_EQ(WriteProfileKeyImage(Protocol(), mirror), 1);

    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[0].command, 1);
    EXPECT_EQ(sent[9].command, 2);
    for (int k = 0; k < 8; ++k) {
        const auto& piece = sent[static_cast<std::size_t>(1 + k)];
        EXPECT_EQ(piece.command, 17);
        EXPECT_EQ(piece.length, 54);
        EXPECT_EQ(piece.address, 512 + k * 54);
        for (int i = 0; i < 18; ++i) {
            const bool inImage = k * 18 + i < 126;
            const std::uint8_t expected[3] = {static_cast<std::uint8_t>(inImage ? 10 : 0),
                                              static_cast<std::uint8_t>(inImage ? 20 : 0),
                                              static_cast<std::uint8_t>(inImage ? 30 : 0)};
            for (int j = 0; j < 3; ++j) {
                ASSERT_EQ(piece.data[static_cast<std::size_t>(i * 3 + j)], expected[j])
                    << "piece " << k << " position " << i;
            }
        }
    }
    const auto colours = keyboard.KeyColours();
    EXPECT_EQ(colours[512 + 125 * 3 + 2], 30);
    EXPECT_EQ(colours[512 + 126 * 3], 0);
    EXPECT_EQ(colours[0], 0); // profile 0 untouched
}

} // namespace
} // namespace kovrel::lighting

// The store's records, header and macro records in their byte forms, and the store's lookups.

#include "model/byte_order.h"
#include "model/configuration_store.h"
#include "model/key_controls.h"
#include "model/reset_profile_keys.h"

#include <gtest/gtest.h>

namespace kovrel {
namespace {

TEST(KeyRecord, PacksLittleEndianAtFixedOffsets) {
    const KeyRecord record{4, 0x0102, 0x03040506, 1, 0};
    std::array<std::uint8_t, kKeyRecordSize> bytes{};
    PackKeyRecord(record, bytes);
    const std::array<std::uint8_t, kKeyRecordSize> expected = {4, 0, 2, 1, 6, 5, 4, 3,
                                                               1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(UnpackKeyRecord(bytes), record);
}

TEST(KeyRecord, GCodesOfBothBanks) {
    EXPECT_EQ(GRecordNumber(0, 1), 256);
    EXPECT_EQ(GRecordNumber(1, 9), 273);
    EXPECT_EQ(GCodeOfRecord(256), 0x0301);
    EXPECT_EQ(GCodeOfRecord(264), 0x0309);
    EXPECT_EQ(GCodeOfRecord(265), 0x1301);
    EXPECT_EQ(GCodeOfRecord(273), 0x1309);
    EXPECT_EQ(GCodeOfRecord(255), 0);
    EXPECT_EQ(GCodeOfRecord(274), 0);
}

TEST(ConfigurationHeader, NewHeaderPassesTheTestAndDamageFailsIt) {
    ConfigurationHeader header = CreateHeader();
    EXPECT_TRUE(HeaderPassesTest(header));
    EXPECT_EQ(bytes::GetU32(header, 8), 32832u);
    EXPECT_EQ(bytes::GetU32(header, 32), 0x0020484Bu);
    EXPECT_EQ(bytes::GetU32(header, 52), 0x000E1C4Fu);

    RewriteHeader(header, 2, 10);
    EXPECT_TRUE(HeaderPassesTest(header));
    EXPECT_EQ(bytes::GetU32(header, 8), 32832u + 2 * 16512 + 10);

    struct Damage {
        const char* what;
        std::size_t at;
        std::uint8_t value;
        bool fixChecksum;
    };
    const Damage damages[] = {
        {"checksum", 31, 0, false}, {"mark", 0, 0x47, true},    {"record count", 12, 1, true},
        {"flag 2", 30, 2, true},    {"total size", 8, 0, true}, {"101 macros", 14, 101, true},
    };
    for (const Damage& d : damages) {
        ConfigurationHeader damaged = CreateHeader();
        damaged[d.at] = d.value;
        if (d.fixChecksum) {
            damaged[31] = HeaderChecksum(damaged);
        }
        EXPECT_FALSE(HeaderPassesTest(damaged)) << d.what;
    }
    ConfigurationHeader flagged = CreateHeader();
    flagged[30] = 1;
    flagged[31] = HeaderChecksum(flagged);
    EXPECT_TRUE(HeaderPassesTest(flagged));
}

TEST(MacroRecord, RecordFormRoundTripsAndCutsTheName) {
    MacroRecord macro{std::u16string(260, u'x'), 7, 1, 42, {{120, 0x01E, 0}, {0, 0x01E, 1}}};
    std::vector<std::uint8_t> bytes(kMacroRecordSize, 0xEE);
    PackMacroRecord(macro, std::span<std::uint8_t, kMacroRecordSize>(bytes));
    EXPECT_EQ(bytes[498], 0); // terminator after 249 characters
    EXPECT_EQ(bytes[500], 7);
    EXPECT_EQ(bytes::GetU16(bytes, 506), 42);
    EXPECT_EQ(bytes::GetU16(bytes, 508), 2);
    EXPECT_EQ(bytes::GetU32(bytes, 512), 120u);
    EXPECT_EQ(bytes[kMacroRecordSize - 1], 0);

    MacroRecord back;
    ASSERT_TRUE(UnpackMacroRecord(std::span<const std::uint8_t, kMacroRecordSize>(bytes), back));
    macro.name.resize(249);
    EXPECT_EQ(back, macro);

    // A name field without any terminator still ends after 249 characters.
    std::fill(bytes.begin(), bytes.begin() + 500, 'y');
    ASSERT_TRUE(UnpackMacroRecord(std::span<const std::uint8_t, kMacroRecordSize>(bytes), back));
    EXPECT_EQ(back.name.size(), 249u);

    bytes[508] = 2001 & 0xFF;
    bytes[509] = 2001 >> 8;
    EXPECT_FALSE(UnpackMacroRecord(std::span<const std::uint8_t, kMacroRecordSize>(bytes), back));
}

TEST(MacroRecord, SmallestFreeId) {
    std::vector<MacroRecord> macros = {MacroRecord{u"", 1, 0, 1, {}},
                                       MacroRecord{u"", 1, 0, 3, {}}};
    EXPECT_EQ(SmallestFreeMacroId(macros), 2);
    macros.clear();
    for (int id = 1; id <= 100; ++id) {
        macros.push_back(MacroRecord{u"", 1, 0, static_cast<std::uint16_t>(id), {}});
    }
    EXPECT_EQ(SmallestFreeMacroId(macros), 0);
}

TEST(Configuration, EmptyConfigurationAndTexts) {
    Configuration configuration = EmptyConfiguration();
    EXPECT_EQ(configuration.Record(0, 256).aux, 0x0301);
    EXPECT_EQ(configuration.Record(1, 256).aux, 0); // a fresh store holds G codes in area 0 only
    EXPECT_TRUE(configuration.macros.empty());
    EXPECT_EQ(configuration.textTotal, 0u);

    configuration.SetText(5, u"abc");
    configuration.SetText(600, u"de");
    EXPECT_EQ(configuration.texts[5].size, 8u);
    EXPECT_EQ(configuration.textTotal, 14u);
    configuration.SetText(5, u"z");
    EXPECT_EQ(configuration.textTotal, 10u);
}

TEST(WorkingStore, MacroPositionAndIdAt) {
    ConfigurationStore& working = WorkingStore();
    Configuration configuration = EmptyConfiguration();
    configuration.macros = {MacroRecord{u"a", 1, 0, 4, {}}, MacroRecord{u"b", 1, 0, 2, {}}};
    working.Replace(configuration);
    EXPECT_EQ(MacroPosition(2), 1);
    EXPECT_EQ(MacroPosition(4), 0);
    EXPECT_EQ(MacroPosition(9), 0);
    EXPECT_EQ(MacroIdAt(0), 4);
    EXPECT_EQ(MacroIdAt(1), 2);
    EXPECT_EQ(MacroIdAt(2), 0);
    EXPECT_EQ(MacroIdAt(-1), 0);
    working.Replace(EmptyConfiguration());
}

TEST(ResetProfileKeys, ClearsTheKeysAndTheCurrentBankOfOneArea) {
    ConfigurationStore store;
    {
        const auto lock = store.Acquire();
        for (KeyRecord& record : store.Data().records) {
            record = KeyRecord{2, 0x0301, 0x30, 1, 0};
        }
        store.Data().SetText(KeyIndexOf(0x01E) + 512, u"kept");
    }
    ResetProfileKeys(store, 1, 1);
    const auto lock = store.Acquire();
    const Configuration& data = store.Data();
    EXPECT_EQ(data.Record(1, KeyIndexOf(0x01E)), KeyRecord{});
    EXPECT_EQ(data.Record(1, GRecordNumber(1, 5)), KeyRecord{});
    EXPECT_NE(data.Record(1, GRecordNumber(0, 5)), KeyRecord{}); // the other bank stays
    EXPECT_NE(data.Record(0, KeyIndexOf(0x01E)), KeyRecord{});   // other areas stay
    EXPECT_NE(data.Record(1, KeyIndexOf(0x136)), KeyRecord{});   // no key button of its own
    EXPECT_EQ(data.texts[KeyIndexOf(0x01E) + 512].text, u"kept");
}

} // namespace
} // namespace kovrel

// The macro image: sizes, byte layout, and reading an image from the keyboard without trusting it.

#include "model/macro_image.h"
#include "skin/core/language_table.h"

#include <gtest/gtest.h>

#include <random>

namespace kovrel {
namespace {

constexpr KeyId kKeyA = 0x01E;

MacroAction Press(KeyId key, std::uint32_t delay) {
    return {delay, key, 0};
}
MacroAction Release(KeyId key, std::uint32_t delay) {
    return {delay, key, 1};
}

std::uint16_t U16(const std::vector<std::uint8_t>& image, std::size_t at) {
    return static_cast<std::uint16_t>(image[at] | (image[at + 1] << 8));
}

TEST(MacroImageSizes, EmptyListIsTheHeaderAlone) {
    const MacroImageSize sizes = MacroImageSizes({});
    EXPECT_EQ(sizes.withoutNames, 16u);
    EXPECT_EQ(sizes.withNames, 16u);
    const auto image = EncodeMacroImage({}, true);
    ASSERT_EQ(image.size(), 16u);
    EXPECT_EQ(U16(image, 0), 0x55AA);
    EXPECT_EQ(U16(image, 2), 16);
    EXPECT_EQ(U16(image, 4), 0);
}

TEST(EncodeMacroImage, OneNamedMacroLaidOutByteByByte) {
    const std::vector<MacroRecord> macros = {
        MacroRecord{u"Ab", 3, 0, 1, {Press(kKeyA, 120), Release(kKeyA, 120)}}};
    const MacroImageSize sizes = MacroImageSizes(macros);
    EXPECT_EQ(sizes.withoutNames, 30u);
    EXPECT_EQ(sizes.withNames, 34u);

    const auto image = EncodeMacroImage(macros, true);
    const std::vector<std::uint8_t> expected = {0xAA, 0x55, 34,  0, 1, 0, 1, 0,
                                                0,    0,    0,   0, 0, 0, 0, 0, // header
                                                18,   0,                        // offset slot
                                                2,    0,    3,   2, // actions, cycles, name length
                                                0x0C, 0xA0, 2,   4, // A press, 120 ms
                                                0x0C, 0x20, 2,   4, // A release
                                                'A',  0,    'b', 0};
    EXPECT_EQ(image, expected);

    const auto nameless = EncodeMacroImage(macros, false);
    ASSERT_EQ(nameless.size(), 30u);
    EXPECT_EQ(U16(nameless, 6), 0);
    EXPECT_EQ(nameless[21], 0); // name length
}

TEST(EncodeMacroImage, KeyBytesByPage) {
    struct Case {
        MacroAction action;
        std::uint16_t word;
        std::uint8_t k0, k1;
    };
    const Case cases[] = {
        {Press(0x11D, 0), 0xA000, 0x01, 0x10},     // right Ctrl: modifier bit
        {Press(0x120, 0), 0xB000, 0xE2, 0x00},     // mute: consumer page
        {Release(0x15E, 10), 0x4001, 0x81, 0x00},  // power: generic desktop page
        {Press(0x171, 30), 0x8003, 0x00, 0x00},    // a key without usage: class 0
        {Press(kKeyA, 40000), 0xAFA0, 0x02, 0x04}, // 4000 units
        {Press(kKeyA, 40960), 0xA000, 0x02, 0x04}, // only the low 12 bits of 4096 units
    };
    for (const Case& c : cases) {
        const auto image =
            EncodeMacroImage(std::vector{MacroRecord{u"", 1, 0, 1, {c.action}}}, false);
        ASSERT_EQ(image.size(), 16u + 2 + 4 + 4);
        EXPECT_EQ(U16(image, 22), c.word) << c.action.key;
        EXPECT_EQ(image[24], c.k0) << c.action.key;
        EXPECT_EQ(image[25], c.k1) << c.action.key;
    }
}

TEST(DecodeMacroImage, ReadsBackWhatWasEncoded) {
    const std::vector<MacroRecord> macros = {
        MacroRecord{u"Ab", 3, 1, 9, {Press(kKeyA, 40000), Release(kKeyA, 0)}},
        MacroRecord{u"x", 255, 0, 4, {Press(0x11D, 120), Press(0x120, 10), Release(0x15E, 0)}},
    };
    std::vector<MacroRecord> decoded;
    ASSERT_EQ(DecodeMacroImage(EncodeMacroImage(macros, true), decoded), 2);
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(decoded[0].name, u"Ab");
    EXPECT_EQ(decoded[0].macroId, 1); // ids are positions + 1
    EXPECT_EQ(decoded[0].newFlag, 0);
    EXPECT_EQ(decoded[0].cycles, 3);
    EXPECT_EQ(decoded[0].actions, macros[0].actions);
    EXPECT_EQ(decoded[1].macroId, 2);
    EXPECT_EQ(decoded[1].actions, macros[1].actions);
}

TEST(DecodeMacroImage, AKeyWithoutUsageComesBackAsNoKey) {
    std::vector<MacroRecord> decoded;
    ASSERT_EQ(
        DecodeMacroImage(
            EncodeMacroImage(std::vector{MacroRecord{u"", 1, 0, 1, {Press(0x171, 0)}}}, false),
            decoded),
        1);
    EXPECT_EQ(decoded[0].actions[0].key, kNoKey);
}

TEST(DecodeMacroImage, NamelessMacrosAreNumbered) {
    ResetLanguageTable();
    const std::vector<MacroRecord> macros(3, MacroRecord{u"named", 1, 0, 1, {}});
    std::vector<MacroRecord> decoded;
    ASSERT_EQ(DecodeMacroImage(EncodeMacroImage(macros, false), decoded), 3);
    EXPECT_EQ(decoded[0].name, u"Macro1");
    EXPECT_EQ(decoded[2].name, u"Macro3");
}

std::vector<std::uint8_t> OneMacroImage() {
    return EncodeMacroImage(
        std::vector{MacroRecord{u"Ab", 1, 0, 1, {Press(kKeyA, 10), Release(kKeyA, 0)}}}, true);
}

TEST(DecodeMacroImage, RefusesImagesThatPromiseMoreThanTheyHold) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> image;
    };
    std::vector<Case> cases;
    auto image = OneMacroImage();
    cases.push_back({"empty", {}});
    cases.push_back({"header cut", {image.begin(), image.begin() + 15}});
    cases.push_back({"no mark", image});
    cases.back().image[0] = 0;
    cases.push_back({"offset table cut", {image.begin(), image.begin() + 17}});
    cases.push_back({"last name byte missing", {image.begin(), image.end() - 1}});
    cases.push_back({"offset past the end", image});
    cases.back().image[16] = 0xFF;
    cases.push_back({"action count past the end", image});
    cases.back().image[18] = 3;
    cases.push_back({"name length past the end", image});
    cases.back().image[21] = 200;
    cases.push_back({"101 macros", image});
    cases.back().image[4] = 101;
    for (const Case& c : cases) {
        std::vector<MacroRecord> decoded(1);
        EXPECT_EQ(DecodeMacroImage(c.image, decoded), -1) << c.what;
        EXPECT_TRUE(decoded.empty()) << c.what;
    }
}

TEST(DecodeMacroImage, ActionAndMacroLimits) {
    MacroRecord longest{u"", 1, 0, 1, std::vector<MacroAction>(2000, Press(kKeyA, 10))};
    std::vector<MacroRecord> decoded;
    auto image = EncodeMacroImage(std::vector{longest}, false);
    EXPECT_EQ(DecodeMacroImage(image, decoded), 1);
    // 2001 actions: the bytes are there, but no record can hold them.
    image.insert(image.end(), {0x01, 0xA0, 0x02, 0x04});
    image[18] = 2001 & 0xFF;
    image[19] = 2001 >> 8;
    EXPECT_EQ(DecodeMacroImage(image, decoded), -1);

    std::vector<MacroRecord> hundred(100, MacroRecord{u"", 1, 0, 1, {}});
    EXPECT_EQ(DecodeMacroImage(EncodeMacroImage(hundred, false), decoded), 100);
}

TEST(DecodeMacroImage, ANameBeyond249CharactersIsCut) {
    // Build an entry with a 255-character name by hand: the encoder never writes one.
    std::vector<std::uint8_t> image = {0xAA, 0x55, 0, 0, 1, 0,  1, 0, 0, 0, 0,
                                       0,    0,    0, 0, 0, 18, 0, 0, 0, 1, 255};
    for (int i = 0; i < 255; ++i) {
        image.push_back('n');
        image.push_back(0);
    }
    std::vector<MacroRecord> decoded;
    ASSERT_EQ(DecodeMacroImage(image, decoded), 1);
    EXPECT_EQ(decoded[0].name.size(), 249u);
}

TEST(DecodeMacroImage, RandomDamageNeverReadsOutOfBounds) {
    const auto good = EncodeMacroImage(
        std::vector{MacroRecord{u"Ab", 1, 0, 1, {Press(kKeyA, 10), Release(kKeyA, 0)}},
                    MacroRecord{u"c", 2, 0, 2, {Press(0x120, 10)}}},
        true);
    std::mt19937 random(5);
    for (int round = 0; round < 2000; ++round) {
        auto image = good;
        image.resize(random() % (good.size() + 8));
        for (int flips = random() % 4; flips > 0 && !image.empty(); --flips) {
            image[random() % image.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        }
        std::vector<MacroRecord> decoded;
        const int n = DecodeMacroImage(image, decoded);
        EXPECT_EQ(n < 0 ? 0u : static_cast<std::size_t>(n), decoded.size());
    }
}

} // namespace
} // namespace kovrel

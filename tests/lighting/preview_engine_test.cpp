#include "lighting/core/preview_engine.h"

#include "model/key_controls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kovrel::lighting {
namespace {

using preview::kRainbow;

constexpr Rgb kMain{200, 100, 50};
constexpr Rgb kWhiteMain{255, 255, 255};

// The overlay of each key after a tick (a wide key's later change wins).
std::map<int, KeyOverlay> Final(const std::vector<KeyOverlay>& overlays) {
    std::map<int, KeyOverlay> result;
    for (const KeyOverlay& o : overlays) {
        result[o.controlId] = o;
    }
    return result;
}

// Deterministic numbers for the fading previews.
PreviewEngine::Random Counter() {
    auto n = std::make_shared<int>(0);
    return [n](int bound) { return (*n)++ % bound; };
}

PreviewInput Input(int effect, int direction = 255, bool multicolour = false, Rgb main = kMain) {
    return PreviewInput{effect, direction, multicolour, main, true};
}

struct FrameCase {
    int effect;
    int direction;
    bool multicolour;
    int frame;
    int controlId;
    Rgb expected;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << "effect " << c.effect << " direction " << c.direction << " multicolour " << c.multicolour
        << " frame " << c.frame << " key " << c.controlId;
}

class Frames : public ::testing::TestWithParam<FrameCase> {};

// Expected colours worked out from the effects' formulas with the rainbow, wave, pulse and
// breath tables; grid keys 1022 (row 0, column 2), 1043 (row 1, columns 14 and 15: the second
// cell wins) and 1119 (row 5, column 21); ring keys 1093, 1174 and 1070 (positions 0, 25, 103).
TEST_P(Frames, FirstAndSecondFrameFollowTheFormulas) {
    const FrameCase c = GetParam();
    PreviewEngine engine(Counter());
    const PreviewInput in = Input(c.effect, c.direction, c.multicolour);
    std::map<int, KeyOverlay> frame;
    for (int i = 0; i < c.frame; ++i) {
        frame = Final(engine.Tick(in));
    }
    ASSERT_TRUE(frame.count(c.controlId));
    EXPECT_TRUE(frame[c.controlId].on);
    EXPECT_EQ(frame[c.controlId].colour, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Frames,
    ::testing::ValuesIn(std::vector<FrameCase>{
        {1, 255, true, 1, 1022, {255, 200, 0}},   {1, 255, true, 1, 1043, {81, 0, 255}},
        {1, 255, true, 1, 1119, {255, 18, 0}},    {1, 255, true, 2, 1022, {194, 255, 0}},
        {1, 255, true, 2, 1043, {176, 0, 255}},   {1, 255, true, 2, 1119, {255, 73, 0}},
        {1, 255, false, 1, 1022, {77, 38, 19}},   {1, 255, false, 1, 1043, {60, 30, 15}},
        {1, 255, false, 1, 1119, {147, 73, 36}},  {1, 255, false, 2, 1022, {105, 52, 26}},
        {1, 255, false, 2, 1043, {85, 42, 21}},   {1, 255, false, 2, 1119, {114, 57, 28}},
        {1, 0, true, 1, 1022, {255, 32, 0}},      {1, 0, true, 1, 1043, {0, 2, 255}},
        {1, 0, true, 1, 1119, {255, 0, 41}},      {1, 0, true, 2, 1022, {255, 1, 0}},
        {1, 0, true, 2, 1043, {0, 35, 255}},      {1, 0, true, 2, 1119, {255, 0, 114}},
        {1, 0, false, 1, 1022, {32, 16, 8}},      {1, 0, false, 1, 1043, {21, 10, 5}},
        {1, 0, false, 1, 1119, {183, 91, 45}},    {1, 0, false, 2, 1022, {17, 8, 4}},
        {1, 0, false, 2, 1043, {25, 12, 6}},      {1, 0, false, 2, 1119, {147, 73, 36}},
        {2, 255, true, 1, 1022, {255, 65, 0}},    {2, 255, true, 1, 1043, {0, 255, 73}},
        {2, 255, true, 1, 1119, {0, 94, 255}},    {2, 255, true, 2, 1022, {255, 99, 0}},
        {2, 255, true, 2, 1043, {0, 255, 109}},   {2, 255, true, 2, 1119, {0, 61, 255}},
        {2, 255, false, 1, 1022, {183, 91, 45}},  {2, 255, false, 1, 1043, {0, 0, 0}},
        {2, 255, false, 1, 1119, {0, 0, 0}},      {2, 255, false, 2, 1022, {161, 80, 40}},
        {2, 255, false, 2, 1043, {0, 0, 0}},      {2, 255, false, 2, 1119, {0, 0, 0}},
        {2, 0, true, 1, 1022, {255, 18, 0}},      {2, 0, true, 1, 1043, {0, 255, 22}},
        {2, 0, true, 1, 1119, {0, 182, 255}},     {2, 0, true, 2, 1022, {255, 5, 0}},
        {2, 0, true, 2, 1043, {0, 255, 7}},       {2, 0, true, 2, 1119, {0, 234, 255}},
        {2, 0, false, 1, 1022, {0, 0, 0}},        {2, 0, false, 1, 1043, {44, 22, 11}},
        {2, 0, false, 1, 1119, {167, 83, 41}},    {2, 0, false, 2, 1022, {0, 0, 0}},
        {2, 0, false, 2, 1043, {32, 16, 8}},      {2, 0, false, 2, 1119, {147, 73, 36}},
        {3, 255, true, 1, 1093, {255, 10, 0}},    {3, 255, true, 1, 1174, {3, 0, 255}},
        {3, 255, true, 1, 1070, {22, 0, 255}},    {3, 255, true, 2, 1093, {255, 26, 0}},
        {3, 255, true, 2, 1174, {14, 0, 255}},    {3, 255, true, 2, 1070, {44, 0, 255}},
        {3, 255, false, 1, 1093, {25, 12, 6}},    {3, 255, false, 1, 1174, {128, 64, 32}},
        {3, 255, false, 1, 1070, {156, 78, 39}},  {3, 255, false, 2, 1093, {35, 17, 8}},
        {3, 255, false, 2, 1174, {147, 73, 36}},  {3, 255, false, 2, 1070, {178, 89, 44}},
        {3, 0, true, 1, 1093, {255, 0, 6}},       {3, 0, true, 1, 1174, {0, 16, 255}},
        {3, 0, true, 1, 1070, {0, 0, 255}},       {3, 0, true, 2, 1093, {255, 0, 20}},
        {3, 0, true, 2, 1174, {0, 35, 255}},      {3, 0, true, 2, 1070, {0, 8, 255}},
        {3, 0, false, 1, 1093, {23, 11, 5}},      {3, 0, false, 1, 1174, {93, 46, 23}},
        {3, 0, false, 1, 1070, {119, 59, 29}},    {3, 0, false, 2, 1093, {32, 16, 8}},
        {3, 0, false, 2, 1174, {77, 38, 19}},     {3, 0, false, 2, 1070, {101, 50, 25}},
        {5, 255, true, 1, 1022, {4, 1, 0}},       {5, 255, true, 1, 1043, {0, 2, 4}},
        {5, 255, true, 1, 1119, {1, 0, 4}},       {5, 255, true, 2, 1022, {6, 1, 0}},
        {5, 255, true, 2, 1043, {0, 3, 6}},       {5, 255, true, 2, 1119, {2, 0, 6}},
        {5, 255, false, 1, 1022, {3, 1, 0}},      {5, 255, false, 1, 1043, {3, 1, 0}},
        {5, 255, false, 1, 1119, {3, 1, 0}},      {5, 255, false, 2, 1022, {4, 2, 1}},
        {5, 255, false, 2, 1043, {4, 2, 1}},      {5, 255, false, 2, 1119, {4, 2, 1}},
        {5, 0, true, 1, 1022, {4, 1, 0}},         {5, 0, true, 1, 1043, {0, 2, 4}},
        {5, 0, true, 1, 1119, {1, 0, 4}},         {5, 0, true, 2, 1022, {6, 1, 0}},
        {5, 0, true, 2, 1043, {0, 3, 6}},         {5, 0, true, 2, 1119, {2, 0, 6}},
        {5, 0, false, 1, 1022, {3, 1, 0}},        {5, 0, false, 1, 1043, {3, 1, 0}},
        {5, 0, false, 1, 1119, {3, 1, 0}},        {5, 0, false, 2, 1022, {4, 2, 1}},
        {5, 0, false, 2, 1043, {4, 2, 1}},        {5, 0, false, 2, 1119, {4, 2, 1}},
        {6, 255, true, 1, 1022, {255, 99, 0}},    {6, 255, true, 1, 1043, {22, 0, 255}},
        {6, 255, true, 1, 1119, {255, 0, 4}},     {6, 255, true, 2, 1022, {255, 99, 0}},
        {6, 255, true, 2, 1043, {22, 0, 255}},    {6, 255, true, 2, 1119, {255, 0, 4}},
        {6, 255, false, 1, 1022, {200, 100, 50}}, {6, 255, false, 1, 1043, {200, 100, 50}},
        {6, 255, false, 1, 1119, {200, 100, 50}}, {6, 255, false, 2, 1022, {200, 100, 50}},
        {6, 255, false, 2, 1043, {200, 100, 50}}, {6, 255, false, 2, 1119, {200, 100, 50}},
        {6, 0, true, 1, 1022, {255, 99, 0}},      {6, 0, true, 1, 1043, {22, 0, 255}},
        {6, 0, true, 1, 1119, {255, 0, 4}},       {6, 0, true, 2, 1022, {255, 99, 0}},
        {6, 0, true, 2, 1043, {22, 0, 255}},      {6, 0, true, 2, 1119, {255, 0, 4}},
        {6, 0, false, 1, 1022, {200, 100, 50}},   {6, 0, false, 1, 1043, {200, 100, 50}},
        {6, 0, false, 1, 1119, {200, 100, 50}},   {6, 0, false, 2, 1022, {200, 100, 50}},
        {6, 0, false, 2, 1043, {200, 100, 50}},   {6, 0, false, 2, 1119, {200, 100, 50}},
        {12, 255, true, 1, 1022, {255, 7, 0}},    {12, 255, true, 1, 1043, {206, 255, 0}},
        {12, 255, true, 1, 1119, {255, 0, 206}},  {12, 255, true, 2, 1022, {255, 18, 0}},
        {12, 255, true, 2, 1043, {170, 255, 0}},  {12, 255, true, 2, 1119, {255, 0, 170}},
        {12, 255, false, 1, 1022, {255, 7, 0}},   {12, 255, false, 1, 1043, {206, 255, 0}},
        {12, 255, false, 1, 1119, {255, 0, 206}}, {12, 255, false, 2, 1022, {255, 18, 0}},
        {12, 255, false, 2, 1043, {170, 255, 0}}, {12, 255, false, 2, 1119, {255, 0, 170}},
        {12, 0, true, 1, 1022, {255, 0, 4}},      {12, 0, true, 1, 1043, {255, 227, 0}},
        {12, 0, true, 1, 1119, {227, 0, 255}},    {12, 0, true, 2, 1022, {255, 0, 12}},
        {12, 0, true, 2, 1043, {255, 188, 0}},    {12, 0, true, 2, 1119, {188, 0, 255}},
        {12, 0, false, 1, 1022, {255, 0, 4}},     {12, 0, false, 1, 1043, {255, 227, 0}},
        {12, 0, false, 1, 1119, {227, 0, 255}},   {12, 0, false, 2, 1022, {255, 0, 12}},
        {12, 0, false, 2, 1043, {255, 188, 0}},   {12, 0, false, 2, 1119, {188, 0, 255}},

    }));

TEST(Preview, GridEffectsPaintEveryGridCellAndRingEffectsEveryRingKey) {
    for (int effect : {1, 2, 4, 5, 6, 12}) {
        PreviewEngine engine(Counter());
        EXPECT_EQ(engine.Tick(Input(effect)).size(), 110u) << effect; // six wide keys twice
    }
    for (int effect : {3, 10, 11, 13, 14, 15, 16, 18}) {
        PreviewEngine engine(Counter());
        const auto overlays = engine.Tick(Input(effect));
        EXPECT_EQ(overlays.size(), 104u) << effect;
        EXPECT_EQ(Final(overlays).size(), 104u) << effect;
    }
}

TEST(Preview, Effect4WithDirectionZeroFromPhaseZeroShowsRainbow190) {
    PreviewEngine engine(Counter());
    for (const auto& [id, overlay] : Final(engine.Tick(Input(4, 0)))) {
        EXPECT_EQ(overlay.colour, kRainbow[190]) << id;
    }
    EXPECT_EQ(engine.Phase(), 190);
}

TEST(Preview, Effect18InwardPassesPhaseZeroOncePerCycleWithoutRepeatingAFrame) {
    PreviewEngine engine(Counter());
    std::set<std::vector<std::uint32_t>> frames;
    int zeros = 0;
    for (int tick = 0; tick < 96; ++tick) {
        std::vector<std::uint32_t> frame;
        for (const KeyOverlay& o : engine.Tick(Input(18, 0))) {
            frame.push_back(ColourValue(o.colour));
        }
        EXPECT_TRUE(frames.insert(frame).second) << "tick " << tick;
        zeros += engine.Phase() == 0;
        EXPECT_EQ(engine.Phase() % 2, 0);
    }
    EXPECT_EQ(zeros, 1);
    // Ring 0 (key 1052) gets rainbow[(phase + 21) mod 192].
    auto frame = Final(engine.Tick(Input(18, 0)));
    EXPECT_EQ(frame[1052].colour, kRainbow[static_cast<std::size_t>((engine.Phase() + 21) % 192)]);
}

TEST(Preview, Effect11NeverReadsPast191AndKeepsItsIndicesAcrossRestarts) {
    PreviewEngine engine(Counter());
    std::set<std::uint32_t> rainbow;
    for (const Rgb& c : kRainbow) {
        rainbow.insert(ColourValue(c));
    }
    for (int tick = 0; tick < 300; ++tick) {
        for (const KeyOverlay& o : engine.Tick(Input(11))) {
            ASSERT_TRUE(rainbow.count(ColourValue(o.colour)));
        }
        for (int k = 0; k < preview::kRingKeys; ++k) {
            ASSERT_LE(engine.Effect11Index(k), 191) << "tick " << tick << " key " << k;
        }
    }
    // Ring key 63 starts at 33 x 64 = 11 x 192, which wraps to 192: its first tick shows
    // rainbow[0], never rainbow[192].
    PreviewEngine fresh(Counter());
    EXPECT_EQ(Final(fresh.Tick(Input(11)))[preview::kKeyRing[63]].colour, kRainbow[0]);
    EXPECT_EQ(Final(fresh.Tick(Input(11)))[preview::kKeyRing[0]].colour, kRainbow[39]);

    const int before = fresh.Effect11Index(5);
    fresh.Tick(Input(4));
    fresh.Restart();
    fresh.Tick(Input(11));
    EXPECT_EQ(fresh.Effect11Index(5), (before + 3) % 192); // not given again
}

TEST(Preview, StillEffectsClearEveryOverlayAndTwentyPaintsNothing) {
    for (int effect : {7, 8, 9, 17, 19, 0, 21, 255}) {
        PreviewEngine engine(Counter());
        const auto overlays = engine.Tick(Input(effect, 255, true));
        EXPECT_EQ(overlays.size(), KeyboardControls().size()) << effect;
        for (const KeyOverlay& o : overlays) {
            EXPECT_FALSE(o.on) << effect;
        }
    }
    PreviewEngine engine(Counter());
    EXPECT_TRUE(engine.Tick(Input(20)).empty());
}

TEST(Preview, WithTheViewOffNothingChanges) {
    PreviewEngine engine(Counter());
    engine.Tick(Input(12));
    const int phase = engine.Phase();
    PreviewInput off = Input(12);
    off.viewOn = false;
    EXPECT_TRUE(engine.Tick(off).empty());
    EXPECT_EQ(engine.Phase(), phase);
}

TEST(Preview, AnEffectChangeStartsAfresh) {
    PreviewEngine engine(Counter());
    engine.Tick(Input(12));
    engine.Tick(Input(12));
    EXPECT_EQ(engine.Phase(), 6);
    engine.Tick(Input(4));
    EXPECT_EQ(engine.Phase(), 2);
    engine.Restart();
    engine.Tick(Input(4));
    EXPECT_EQ(engine.Phase(), 2);
}

// A key's shown level over the ticks after it was lit: 255, then the fading steps.
std::vector<int> FadeSequence(bool strong) {
    std::vector<int> levels{255};
    int level = 255;
    while (level > 0) {
        const int step = level >= 128  ? (strong ? 30 : 20)
                         : level >= 64 ? (strong ? 20 : 16)
                         : level >= 32 ? 10
                         : level >= 17 ? 5
                                       : 1;
        level -= step;
        levels.push_back(level);
    }
    return levels;
}

TEST(Preview, Effect10LightsThreeKeysPerTickAtFullLevelThenFades) {
    PreviewEngine engine(Counter());
    const auto first = Final(engine.Tick(Input(10, 255, false, kWhiteMain)));
    std::vector<int> lit;
    for (const auto& [id, o] : first) {
        if (o.colour.r == 255) {
            lit.push_back(id);
        } else {
            EXPECT_EQ(o.colour, (Rgb{0, 0, 0}));
        }
    }
    ASSERT_EQ(lit.size(), 3u);
    const int key = lit[0];
    const auto expected = FadeSequence(false);
    EXPECT_THAT(std::vector<int>(expected.begin(), expected.begin() + 5),
                ::testing::ElementsAre(255, 235, 215, 195, 175));
    for (std::size_t t = 1; t < expected.size(); ++t) {
        const auto frame = Final(engine.Tick(Input(10, 255, false, kWhiteMain)));
        ASSERT_EQ(frame.at(key).colour.r, expected[t]) << "tick " << t;
    }
}

TEST(Preview, Effect10WithMulticolourPaintsThePaletteColourScaled) {
    // The counter gives palette indices 0, 1, 2 to the first three lit keys.
    PreviewEngine engine(Counter());
    std::set<std::uint32_t> shown;
    for (const auto& [id, o] : Final(engine.Tick(Input(10, 255, true)))) {
        shown.insert(ColourValue(o.colour));
    }
    EXPECT_TRUE(shown.count(ColourValue(kRainbow[0])));
    EXPECT_TRUE(shown.count(ColourValue(kRainbow[1])));
    EXPECT_TRUE(shown.count(ColourValue(kRainbow[2])));
    EXPECT_EQ(preview::Palette(200), kRainbow[8]); // past 191 the rainbow starts again
}

TEST(Preview, Effect15RainStartsAtThreeColumnsAndFallsOneRowPerTick) {
    PreviewEngine engine(Counter());
    const PreviewInput in = Input(15, 255, false, kWhiteMain);
    auto frame = Final(engine.Tick(in));
    // s = 0: drops at columns 10, 13 and 16 of row 0.
    EXPECT_EQ(frame[1023].colour.r, 255);
    EXPECT_EQ(frame[1026].colour.r, 255);
    EXPECT_EQ(frame[1091].colour.r, 255);
    int lit = 0;
    for (const auto& [id, o] : frame) {
        lit += o.colour.r == 255;
    }
    EXPECT_EQ(lit, 3);

    frame = Final(engine.Tick(in));
    // s = 16: new drops at columns 3, 6 and 9; the first ones now in row 1.
    for (int id : {1010, 1013, 1015, 1038, 1041, 1094}) {
        EXPECT_EQ(frame[id].colour.r, 255) << id;
    }
    EXPECT_EQ(frame[1023].colour.r, 235); // fading where the drop was
    frame = Final(engine.Tick(in));
    // s = 9: columns 19 (empty in row 0), 22 (empty) and 2; the first drops in row 2.
    EXPECT_EQ(frame[1022].colour.r, 255);
    for (int id : {1052, 1055, 1097}) {
        EXPECT_EQ(frame[id].colour.r, 255) << id;
    }
    for (int t = 0; t < 3; ++t) {
        frame = Final(engine.Tick(in));
    }
    // After row 5 the first drops leave the grid: row 5 columns 10, 13 (empty), 16.
    EXPECT_EQ(frame[1086].colour.r, 255);
    EXPECT_EQ(frame[1100].colour.r, 255);
    frame = Final(engine.Tick(in));
    EXPECT_EQ(frame[1100].colour.r, 235);
}

TEST(Preview, WavesLightKeysAtFullLevelAndKeepRunning) {
    for (int effect : {13, 16}) {
        PreviewEngine engine(Counter());
        const PreviewInput in = Input(effect, 255, false, kWhiteMain);
        for (int tick = 0; tick < 60; ++tick) {
            int full = 0;
            for (const auto& [id, o] : Final(engine.Tick(in))) {
                full += o.colour.r == 255;
            }
            EXPECT_GT(full, 0) << "effect " << effect << " tick " << tick;
        }
    }
}

TEST(Preview, Effect14RunsItsScriptToStateFourAndStartsAgain) {
    PreviewEngine engine(Counter());
    const PreviewInput in = Input(14, 255, false, kWhiteMain);
    std::vector<int> states;
    const int key = 1029; // row 1 of the first sweep step; the next step lights 1030
    for (int tick = 0; tick < 400; ++tick) {
        const auto frame = Final(engine.Tick(in));
        if (tick <= 3) {
            const int expected[] = {255, 225, 195, 165};
            EXPECT_EQ(frame.at(key).colour.r, expected[tick]); // fading by 30 above 128
        }
        if (states.empty() || states.back() != engine.ScriptState()) {
            states.push_back(engine.ScriptState());
        }
    }
    ASSERT_GE(states.size(), 6u);
    EXPECT_THAT(std::vector<int>(states.begin(), states.begin() + 6),
                ::testing::ElementsAre(0, 1, 2, 3, 4, 0));
}

TEST(Preview, FadingStepsOfTheStrongAndNormalPreviews) {
    const auto normal = FadeSequence(false);
    const auto strong = FadeSequence(true);
    // 255 -> ... below 128 after 7 steps of 20 (115), then 16s, 10s, 5s and 1s.
    EXPECT_EQ(normal[7], 115);
    EXPECT_EQ(normal[8], 99);
    EXPECT_EQ(strong[5], 105);
    EXPECT_EQ(strong[6], 85);
    EXPECT_EQ(normal.back(), 0);
}

TEST(Preview, LayoutsNameRealKeys) {
    std::set<int> ring(preview::kKeyRing.begin(), preview::kKeyRing.end());
    EXPECT_EQ(ring.size(), 104u);
    std::set<int> grid;
    for (const auto& row : preview::kKeyGrid) {
        for (int id : row) {
            if (id != 0) {
                grid.insert(id);
                EXPECT_NE(FindKeyControl(id), nullptr) << id;
            }
        }
    }
    EXPECT_EQ(grid, ring);
    std::set<int> order(preview::kRandomOrder.begin(), preview::kRandomOrder.end());
    EXPECT_EQ(order.size(), 104u);
    std::set<int> leds;
    for (int id : ring) {
        leds.insert(LedPositionOfControl(id));
    }
    EXPECT_EQ(leds.size(), 104u); // the fading state never mixes two keys
}

} // namespace
} // namespace kovrel::lighting

#include "lighting/core/preview_engine.h"

#include "model/key_controls.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>

namespace kovrel::lighting {
namespace {

using namespace preview;

constexpr int kCells = kGridRows * kGridColumns;
constexpr int kScriptSteps = 20;
constexpr int kScriptKeysPerStep = 6;
constexpr int kPairs = 16;
constexpr int kPairSteps = 2 * kPairs - 1; // there and back
constexpr int kWaveRow = 2;                // key 1053
constexpr int kWaveColumn = 11;
constexpr std::uint16_t kPairWaitKey = 1066;
constexpr std::uint16_t kWaveEndKey = 1083;

// (phase + step) or (phase - step), modulo period, never negative.
int Step(int direction, int phase, int step, int period) {
    const int next = direction != 0 ? phase + step : phase - step;
    return ((next % period) + period) % period;
}
constexpr int kUp = 1;

// LED positions of the key buttons by control id.
class LedLookup {
public:
    LedLookup() {
        led_.fill(-1);
        for (const KeyControl& c : KeyboardControls()) {
            led_[static_cast<std::size_t>(c.controlId - kFirst)] = c.ledPosition;
        }
    }
    int operator()(int controlId) const {
        const int i = controlId - kFirst;
        return i < 0 || i >= static_cast<int>(led_.size()) ? -1 : led_[static_cast<std::size_t>(i)];
    }

private:
    static constexpr int kFirst = 1000;
    std::array<int, 256> led_{};
};

const LedLookup& Led() {
    static const LedLookup lookup;
    return lookup;
}

std::uint16_t Cell(int row, int column) {
    return kKeyGrid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

// The scripted sequence's first table: in each of 20 steps one key per grid row, sweeping from
// the left edge to the right (the key nearest to the step's column in each row).
using ScriptTable = std::array<std::array<std::uint16_t, kScriptKeysPerStep>, kScriptSteps>;
ScriptTable BuildSweep() {
    ScriptTable table{};
    for (int s = 0; s < kScriptSteps; ++s) {
        const int target = 1 + s * (kGridColumns - 2) / (kScriptSteps - 1);
        for (int r = 0; r < kGridRows; ++r) {
            for (int d = 0; d < kGridColumns; ++d) {
                const int candidates[2] = {target - d, target + d};
                std::uint16_t found = 0;
                for (int c : candidates) {
                    if (c >= 0 && c < kGridColumns && Cell(r, c) != 0) {
                        found = Cell(r, c);
                        break;
                    }
                }
                if (found != 0) {
                    table[static_cast<std::size_t>(s)][static_cast<std::size_t>(r)] = found;
                    break;
                }
            }
        }
    }
    return table;
}

const ScriptTable& Sweep() {
    static const ScriptTable table = BuildSweep();
    return table;
}

// The second table: 16 pairs of keys, one above the other in the home rows.
constexpr std::array<std::array<std::uint16_t, 2>, kPairs> kPairTable = {{{1056, 1069},
                                                                          {1044, 1058},
                                                                          {1045, 1059},
                                                                          {1046, 1060},
                                                                          {1047, 1061},
                                                                          {1048, 1062},
                                                                          {1049, 1063},
                                                                          {1050, 1064},
                                                                          {1051, 1065},
                                                                          {1052, 1066},
                                                                          {1053, 1067},
                                                                          {1054, 1068},
                                                                          {1055, 1070},
                                                                          {1108, 1112},
                                                                          {1109, 1113},
                                                                          {1110, 1114}}};

int Fade(int level, bool strong) {
    if (level >= 128) {
        return level - (strong ? 30 : 20);
    }
    if (level >= 64) {
        return level - (strong ? 20 : 16);
    }
    if (level >= 32) {
        return level - 10;
    }
    if (level >= 17) {
        return level - 5;
    }
    return level >= 1 ? level - 1 : 0;
}

void Shift(std::bitset<kCells>& plane, int dRow, int dColumn) {
    std::bitset<kCells> moved;
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            if (!plane[static_cast<std::size_t>(r * kGridColumns + c)]) {
                continue;
            }
            const int nr = r + dRow;
            const int nc = c + dColumn;
            if (nr >= 0 && nr < kGridRows && nc >= 0 && nc < kGridColumns) {
                moved.set(static_cast<std::size_t>(nr * kGridColumns + nc));
            }
        }
    }
    plane = moved;
}

void SeedColumn(std::bitset<kCells>& plane, int column) {
    for (int r = 0; r < kGridRows; ++r) {
        plane.set(static_cast<std::size_t>(r * kGridColumns + column));
    }
}

void SeedRow(std::bitset<kCells>& plane, int row) {
    for (int c = 0; c < kGridColumns; ++c) {
        plane.set(static_cast<std::size_t>(row * kGridColumns + c));
    }
}

} // namespace

PreviewEngine::Random PreviewEngine::ClockSeededRandom() {
    auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    return [engine](int bound) {
        return bound <= 1 ? 0 : std::uniform_int_distribution<int>(0, bound - 1)(*engine);
    };
}

PreviewEngine::PreviewEngine(Random random) : random_(std::move(random)) {
    overlays_.reserve(kCells);
}

const std::vector<KeyOverlay>& PreviewEngine::Tick(const PreviewInput& input) {
    overlays_.clear();
    if (!input.viewOn) {
        return overlays_;
    }
    if (!started_ || input.effect != lastEffect_) {
        Reset();
        started_ = true;
        lastEffect_ = input.effect;
    }
    Run(input);
    return overlays_;
}

void PreviewEngine::Reset() {
    phase_ = 0;
    fading10_ = fading13_ = fading14_ = fading16_ = Fading{};
    randomCursor_ = 0;
    waves13_ = waves16_ = Waves{};
    script_ = Script{};
    drops_.clear();
    rainColumn_ = 0;
    // The effect-11 indices are given once per run and kept across restarts.
}

int PreviewEngine::Level(int effect, int controlId) const {
    const Fading* fading = FadingOf(effect);
    const int led = Led()(controlId);
    if (fading == nullptr || led < 0) {
        return 0;
    }
    return fading->level[static_cast<std::size_t>(led)];
}

const PreviewEngine::Fading* PreviewEngine::FadingOf(int effect) const {
    switch (effect) {
    case 10:
    case 15:
        return &fading10_;
    case 13:
        return &fading13_;
    case 14:
        return &fading14_;
    case 16:
        return &fading16_;
    default:
        return nullptr;
    }
}

void PreviewEngine::Run(const PreviewInput& in) {
    const Rgb main = in.mainColour;
    switch (in.effect) {
    case 1:
        Effect1(in);
        break;
    case 2:
        Effect2(in);
        break;
    case 3:
        Effect3(in);
        break;
    case 4:
        phase_ = Step(in.direction, phase_, 2, kRainbowSize);
        GridCells([&](int, int) { return kRainbow[static_cast<std::size_t>(phase_)]; });
        break;
    case 5: {
        phase_ = Step(kUp, phase_, 2, 128);
        const int level = kBreathCurve[static_cast<std::size_t>(phase_)];
        GridCells([&](int, int c) {
            const Rgb x = in.multicolour ? kRainbow[static_cast<std::size_t>(7 * c)] : main;
            return Scaled(x, level);
        });
        break;
    }
    case 6:
        if (in.multicolour) {
            GridCells([&](int, int c) {
                int index = 0;
                for (int i = 0; i < c; ++i) {
                    index = index + 9 >= kRainbowSize ? 0 : index + 9;
                }
                return kRainbow[static_cast<std::size_t>(index)];
            });
        } else {
            GridCells([&](int, int) { return main; });
        }
        break;
    case 10:
        Effect10(in);
        break;
    case 11:
        Effect11();
        break;
    case 12:
        phase_ = Step(in.direction, phase_, 3, kRainbowSize);
        GridCells([&](int r, int) {
            return kRainbow[static_cast<std::size_t>((phase_ + 32 * r) % kRainbowSize)];
        });
        break;
    case 13:
        Effect13Or16(in, fading13_, waves13_, true);
        break;
    case 14:
        Effect14(in);
        break;
    case 15:
        Effect15(in);
        break;
    case 16:
        Effect13Or16(in, fading16_, waves16_, false);
        break;
    case 18:
        Effect18(in);
        break;
    case 20:
        break; // the key picture keeps the user's per-key colours
    default:
        ClearAll(); // 7, 8, 9, 17, 19 and unknown codes: no animation
        break;
    }
}

void PreviewEngine::GridCells(const std::function<Rgb(int, int)>& colourOf) {
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            const std::uint16_t id = Cell(r, c);
            if (id != 0) {
                overlays_.push_back(KeyOverlay{id, true, colourOf(r, c)});
            }
        }
    }
}

void PreviewEngine::RingKeys(const std::function<Rgb(int)>& colourOf) {
    for (int k = 0; k < kRingKeys; ++k) {
        overlays_.push_back(KeyOverlay{kKeyRing[static_cast<std::size_t>(k)], true, colourOf(k)});
    }
}

void PreviewEngine::ClearAll() {
    for (const KeyControl& control : KeyboardControls()) {
        overlays_.push_back(KeyOverlay{control.controlId, false, Rgb{}});
    }
}

void PreviewEngine::Effect1(const PreviewInput& in) {
    if (in.multicolour) {
        phase_ = Step(in.direction, phase_, 9, kRainbowSize);
        GridCells([&](int, int c) {
            return kRainbow[static_cast<std::size_t>((phase_ + 9 * c) % kRainbowSize)];
        });
    } else {
        phase_ = Step(in.direction, phase_, 7, 96);
        GridCells([&](int, int c) {
            return Scaled(in.mainColour,
                          kWaveCurve[static_cast<std::size_t>((phase_ + 7 * c) % 96)]);
        });
    }
}

void PreviewEngine::Effect2(const PreviewInput& in) {
    if (in.multicolour) {
        phase_ = Step(in.direction, phase_, 4, kRainbowSize);
        GridCells([&](int, int c) {
            return kRainbow[static_cast<std::size_t>((phase_ + 5 * c) % kRainbowSize)];
        });
        return;
    }
    phase_ = Step(kUp, phase_, 4, 128);
    const bool forward = in.direction == 255;
    for (int r = 0; r < kGridRows; ++r) {
        int index = phase_;
        for (int c = 0; c < kGridColumns; ++c) { // the index moves before every column
            if (forward) {
                index = index + 5 > 128 ? index + 5 - 128 : index + 5;
            } else {
                index = index - 5 < 0 ? index - 5 + 128 : index - 5;
            }
            if (const std::uint16_t id = Cell(r, c); id != 0) {
                overlays_.push_back(KeyOverlay{
                    id, true, Scaled(in.mainColour, kPulseCurve[static_cast<std::size_t>(index)])});
            }
        }
    }
}

void PreviewEngine::Effect3(const PreviewInput& in) {
    if (in.multicolour) {
        phase_ = Step(in.direction, phase_, 4, kRainbowSize);
        RingKeys([&](int k) {
            return kRainbow[static_cast<std::size_t>((phase_ + 5 * k) % kRainbowSize)];
        });
    } else {
        phase_ = Step(in.direction, phase_, 4, 96);
        RingKeys([&](int k) {
            return Scaled(in.mainColour,
                          kWaveCurve[static_cast<std::size_t>((phase_ + 5 * k) % 96)]);
        });
    }
}

void PreviewEngine::Light(Fading& fading, int controlId, int paletteIndex) {
    const int led = Led()(controlId);
    if (led < 0) {
        return;
    }
    fading.level[static_cast<std::size_t>(led)] = 255;
    if (paletteIndex >= 0) {
        fading.index[static_cast<std::size_t>(led)] = static_cast<std::uint8_t>(paletteIndex);
    }
}

void PreviewEngine::LightCell(Fading& fading, int row, int column, bool multicolour) {
    const std::uint16_t id = Cell(row, column);
    if (id != 0) {
        Light(fading, id, multicolour ? random_(kPaletteSize) : -1);
    }
}

// Each ring key is painted with its level and then fades, so a key lit in this tick shows at
// full level once before it dims.
void PreviewEngine::FadeAndPaintRing(const PreviewInput& in, Fading& fading, bool strong) {
    RingKeys([&](int k) {
        const auto led = static_cast<std::size_t>(Led()(kKeyRing[static_cast<std::size_t>(k)]));
        const int level = fading.level[led];
        fading.level[led] = static_cast<std::uint8_t>(Fade(level, strong));
        const Rgb x = in.multicolour ? Palette(fading.index[led]) : in.mainColour;
        return Scaled(x, level);
    });
}

void PreviewEngine::Effect10(const PreviewInput& in) {
    for (int i = 0; i < 3; ++i) {
        const int position = kRandomOrder[static_cast<std::size_t>(randomCursor_)];
        randomCursor_ = (randomCursor_ + 1) % kRingKeys;
        Light(fading10_, kKeyRing[static_cast<std::size_t>(position)], random_(kPaletteSize));
    }
    FadeAndPaintRing(in, fading10_, false);
}

void PreviewEngine::Effect11() {
    if (!effect11Ready_) {
        for (int k = 0; k < kRingKeys; ++k) {
            int index = 33 * (k + 1);
            while (index > kRainbowSize) {
                index -= kRainbowSize;
            }
            effect11_[static_cast<std::size_t>(k)] = index;
        }
        effect11Ready_ = true;
    }
    RingKeys([&](int k) {
        int& index = effect11_[static_cast<std::size_t>(k)];
        index += 3;
        if (index >= kRainbowSize) {
            index = 0;
        }
        return kRainbow[static_cast<std::size_t>(index)];
    });
}

void PreviewEngine::Effect13Or16(const PreviewInput& in, Fading& fading, Waves& waves,
                                 bool outward) {
    Shift(waves.left, 0, -1);
    Shift(waves.right, 0, 1);
    Shift(waves.up, -1, 0);
    Shift(waves.down, 1, 0);
    if (waves.left.none() && waves.right.none() && waves.up.none() && waves.down.none()) {
        if (outward) { // from the middle column outwards, and from the edge rows inwards
            SeedColumn(waves.left, kGridColumns / 2);
            SeedColumn(waves.right, kGridColumns / 2);
            SeedRow(waves.up, kGridRows - 1);
            SeedRow(waves.down, 0);
        } else { // from the edge columns inwards, and from the middle rows outwards
            SeedColumn(waves.left, kGridColumns - 1);
            SeedColumn(waves.right, 0);
            SeedRow(waves.up, kGridRows / 2 - 1);
            SeedRow(waves.down, kGridRows / 2);
        }
    }
    const Plane all = waves.left | waves.right | waves.up | waves.down;
    for (int cell = 0; cell < kCells; ++cell) {
        if (all[static_cast<std::size_t>(cell)]) {
            LightCell(fading, cell / kGridColumns, cell % kGridColumns, in.multicolour);
        }
    }
    FadeAndPaintRing(in, fading, false);
}

void PreviewEngine::Effect14(const PreviewInput& in) {
    Script& s = script_;
    auto next = [&](int growth) {
        const int index = s.runningIndex;
        s.runningIndex = (s.runningIndex + growth) % kPaletteSize;
        return index;
    };
    switch (s.state) {
    case 0:
        for (std::uint16_t id : Sweep()[static_cast<std::size_t>(s.step)]) {
            Light(fading14_, id, next(11));
        }
        if (++s.step == kScriptSteps) {
            s = Script{1, 0, 0, s.runningIndex};
        }
        break;
    case 1:
        if (s.step < kPairSteps) {
            const int pair = s.step < kPairs ? s.step : kPairSteps - 1 - s.step;
            for (std::uint16_t id : kPairTable[static_cast<std::size_t>(pair)]) {
                Light(fading14_, id, next(1));
            }
            ++s.step;
        } else if (Level(14, kPairWaitKey) == 0) {
            s.state = 2;
        }
        break;
    case 2:
        Light(fading14_, Cell(kWaveRow, kWaveColumn), next(1));
        s.distance = 0;
        s.state = 3;
        break;
    case 3: {
        ++s.distance;
        for (int r = 0; r < kGridRows; ++r) {
            for (int c = 0; c < kGridColumns; ++c) {
                if (std::abs(r - kWaveRow) + std::abs(c - kWaveColumn) == s.distance &&
                    Cell(r, c) != 0) {
                    Light(fading14_, Cell(r, c), next(1));
                }
            }
        }
        if (Level(14, kWaveEndKey) == 255 || s.distance > kGridRows + kGridColumns) {
            s.state = 4;
        }
        break;
    }
    default:
        if (Level(14, kWaveEndKey) == 0) {
            s = Script{0, 0, 0, s.runningIndex};
        }
        break;
    }
    FadeAndPaintRing(in, fading14_, true);
}

void PreviewEngine::Effect15(const PreviewInput& in) {
    std::vector<Drop> moved;
    moved.reserve(drops_.size() + 3);
    for (Drop d : drops_) {
        if (++d.row < kGridRows) {
            moved.push_back(d);
        }
    }
    const int s = rainColumn_;
    for (int offset : {10, 13, 16}) {
        moved.push_back(Drop{0, (s + offset) % kGridColumns});
    }
    rainColumn_ = moved.back().column;
    drops_ = std::move(moved);
    for (const Drop& d : drops_) {
        LightCell(fading10_, d.row, d.column, in.multicolour);
    }
    FadeAndPaintRing(in, fading10_, false);
}

void PreviewEngine::Effect18(const PreviewInput& in) {
    phase_ = Step(in.direction, phase_, 2, kRainbowSize);
    for (int g = 0; g < kRingCount; ++g) {
        const Rgb colour =
            kRainbow[static_cast<std::size_t>((phase_ + 21 * (g + 1)) % kRainbowSize)];
        for (std::uint16_t id : Ring(g)) {
            overlays_.push_back(KeyOverlay{id, true, colour});
        }
    }
}

} // namespace kovrel::lighting

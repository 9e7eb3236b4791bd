#pragma once
// The lighting preview without a window: on each timer tick it computes, from the mirrored
// effect code, direction, multicolour flag and main colour, the colour overlay of each key button
// of the main window (a colour, or cleared), and keeps the state of the running effect: phases,
// fading levels and palette indices, wave planes, the scripted sequence, the effect-11 indices.
// The lighting panel paints what a tick returns; the keyboard is not involved.
//
// One instance lives for the run, on the interface thread. Random numbers come from an
// injectable generator so that tests can repeat a run.

#include "lighting/core/colour.h"
#include "lighting/core/preview_tables.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

namespace kovrel::lighting {

// The preview always draws its overlays at this opacity.
inline constexpr int kPreviewOpacity = 50;

struct PreviewInput {
    int effect = 0;
    int direction = 0; // 255 the first direction; for most effects any non-zero value counts
    bool multicolour = false;
    Rgb mainColour;
    bool viewOn = false;
};

// One overlay change of a key button, in painting order; `on` false clears the overlay. A wide
// key of the grid is painted twice in a tick: the later change wins.
struct KeyOverlay {
    std::uint16_t controlId = 0;
    bool on = false;
    Rgb colour;

    friend bool operator==(const KeyOverlay&, const KeyOverlay&) = default;
};

class PreviewEngine {
public:
    // Returns a number from 0 to bound - 1.
    using Random = std::function<int(int bound)>;

    // A generator seeded with the clock.
    static Random ClockSeededRandom();

    explicit PreviewEngine(Random random = ClockSeededRandom());

    // The effect changed: the next tick starts the preview afresh. A tick whose effect differs
    // from the last one's does the same.
    void Restart() { started_ = false; }

    // One timer tick. With the lighting view off nothing changes (an empty list, no state moves).
    const std::vector<KeyOverlay>& Tick(const PreviewInput& input);

    // State that tests look at.
    int Phase() const { return phase_; }
    int ScriptState() const { return script_.state; }
    int Effect11Index(int ringPosition) const {
        return effect11_[static_cast<std::size_t>(ringPosition)];
    }
    // The fading level of a key for a fading effect (10, 13, 14, 15, 16); 0 otherwise.
    int Level(int effect, int controlId) const;

private:
    using Plane = std::bitset<preview::kGridRows * preview::kGridColumns>;

    struct Fading {
        std::array<std::uint8_t, 126> level{};
        std::array<std::uint8_t, 126> index{};
    };
    struct Waves {
        Plane left, right, up, down;
    };
    struct Script {
        int state = 0;
        int step = 0;
        int distance = 0;
        int runningIndex = 0;
    };
    struct Drop {
        int row = 0;
        int column = 0;
    };

    void Reset();
    void Run(const PreviewInput& in);

    void GridCells(const std::function<Rgb(int row, int column)>& colourOf);
    void RingKeys(const std::function<Rgb(int k)>& colourOf);
    void ClearAll();

    void Effect1(const PreviewInput& in);
    void Effect2(const PreviewInput& in);
    void Effect3(const PreviewInput& in);
    void Effect10(const PreviewInput& in);
    void Effect11();
    void Effect13Or16(const PreviewInput& in, Fading& fading, Waves& waves, bool outward);
    void Effect14(const PreviewInput& in);
    void Effect15(const PreviewInput& in);
    void Effect18(const PreviewInput& in);

    void Light(Fading& fading, int controlId, int paletteIndex);
    void LightCell(Fading& fading, int row, int column, bool multicolour);
    void FadeAndPaintRing(const PreviewInput& in, Fading& fading, bool strong);
    const Fading* FadingOf(int effect) const;

    Random random_;
    std::vector<KeyOverlay> overlays_;
    bool started_ = false;
    int lastEffect_ = -1;
    int phase_ = 0;

    Fading fading10_, fading13_, fading14_, fading16_;
    int randomCursor_ = 0;
    Waves waves13_, waves16_;
    Script script_;
    std::vector<Drop> drops_;
    int rainColumn_ = 0;
    bool effect11Ready_ = false;
    std::array<int, preview::kRingKeys> effect11_{};
};

} // namespace kovrel::lighting

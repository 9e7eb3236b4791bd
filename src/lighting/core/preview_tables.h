#pragma once
// The constant tables of the lighting preview: the 192-colour rainbow (also the palette of the
// fading previews), the brightness curves, and the key layouts the previews walk (grid, ring,
// rings around one key, random order). Layouts hold key control ids of the main window.

#include "lighting/core/colour.h"

#include <array>
#include <cstdint>
#include <span>

namespace kovrel::lighting::preview {

inline constexpr int kRainbowSize = 192;
inline constexpr int kPaletteSize = 255; // indices 0 to 254
inline constexpr int kGridRows = 6;
inline constexpr int kGridColumns = 23;
inline constexpr int kRingKeys = 104;
inline constexpr int kRingCount = 12;

extern const std::array<Rgb, kRainbowSize> kRainbow;
extern const std::array<std::uint8_t, 64> kRamp;
extern const std::array<std::uint8_t, 96> kWaveCurve;
extern const std::array<std::uint8_t, 129> kPulseCurve;
extern const std::array<std::uint8_t, 128> kBreathCurve;

// Control ids by grid cell; 0 is an empty cell. A wide key fills two cells.
extern const std::array<std::array<std::uint16_t, kGridColumns>, kGridRows> kKeyGrid;
// The 104 main keys in ring order.
extern const std::array<std::uint16_t, kRingKeys> kKeyRing;
// The rings around key 1052, innermost first.
std::span<const std::uint16_t> Ring(int g);
// A fixed permutation of the ring positions 0 to 103.
extern const std::array<std::uint8_t, kRingKeys> kRandomOrder;

// The palette of the fading previews: the rainbow, continued from its start past 191.
constexpr Rgb Palette(int index) {
    return kRainbow[static_cast<std::size_t>(index % kRainbowSize)];
}

} // namespace kovrel::lighting::preview

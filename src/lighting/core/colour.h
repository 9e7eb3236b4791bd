#pragma once
// Colours as the keyboard and the files carry them: three bytes red, green, blue. In memory the
// program also passes a colour as one value red + green x 256 + blue x 65536.

#include <cstdint>

namespace kovrel::lighting {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

constexpr std::uint32_t ColourValue(Rgb c) {
    return c.r + c.g * 256u + c.b * 65536u;
}

// The low 8 bits of each component.
constexpr Rgb ColourFromValue(std::uint32_t value) {
    return Rgb{static_cast<std::uint8_t>(value & 0xFF),
               static_cast<std::uint8_t>((value >> 8) & 0xFF),
               static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

// Each component multiplied by `level` (0 to 255) and divided by 255, truncated.
constexpr Rgb Scaled(Rgb c, int level) {
    return Rgb{static_cast<std::uint8_t>(c.r * level / 255),
               static_cast<std::uint8_t>(c.g * level / 255),
               static_cast<std::uint8_t>(c.b * level / 255)};
}

} // namespace kovrel::lighting

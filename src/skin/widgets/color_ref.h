#pragma once
// Colours as the program keeps them in memory: red + green * 256 + blue * 65536.

#include <QColor>

#include <cstdint>

namespace kovrel::skin {

using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(int red, int green, int blue) {
    return static_cast<ColorRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

inline QColor ToQColor(ColorRef color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

inline ColorRef FromQColor(const QColor& color) {
    return MakeColorRef(color.red(), color.green(), color.blue());
}

} // namespace kovrel::skin

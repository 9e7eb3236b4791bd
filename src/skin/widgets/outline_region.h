#pragma once
// The shape of a skinned window: every pixel of its outline picture that is not pure white
// (0xFFFFFF) lies inside. A nearly white pixel such as 0xFEFFFF is inside.

#include <QRegion>

class QImage;

namespace kovrel::skin {

// The union of the non-white runs of each row, each a rectangle one pixel high. Empty for an
// outline that is white everywhere (or null): the window then keeps its rectangular shape.
QRegion RegionFromOutline(const QImage& outline);

} // namespace kovrel::skin

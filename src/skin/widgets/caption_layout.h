#pragma once
// Where an image button draws its caption: the text-drawing flags the skin code passes (the
// classic DrawText flags, e.g. 0x25 = centred on one line) and the placement of a rotated
// caption.

#include <Qt>

#include <cstdint>

namespace kovrel::skin {

namespace caption_format {
inline constexpr unsigned kCenter = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kVCenter = 0x4;
inline constexpr unsigned kBottom = 0x8;
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kNoPrefix = 0x800;
inline constexpr unsigned kDefault = kCenter | kVCenter | kSingleLine; // 0x25
} // namespace caption_format

// A rectangle with exclusive right and bottom edges, as the text drawing measures it.
struct CaptionRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const CaptionRect&, const CaptionRect&) = default;
};

// Moves a rotated caption of extent (cx, cy) into `rect`. With theta the escapement in radians
// (tenths of a degree), W = trunc(cx cos theta) and H = trunc(cx sin theta):
//   W < width:  left   += (width - W) / 2 - trunc(0.5 cy sin theta)
//   H < height: bottom -= (height - H) / 2 - trunc(-0.5 cy cos theta)
CaptionRect RotatedCaptionRect(CaptionRect rect, int cx, int cy, int escapement);

// Where the text's unrotated cell of extent (cx, cy) starts inside `rect` under `format`; a
// rotated caption turns about this point.
struct CaptionOrigin {
    int x = 0;
    int y = 0;
};
CaptionOrigin CaptionTextOrigin(const CaptionRect& rect, int cx, int cy, unsigned format);

// The Qt flags that draw an unrotated caption as `format` asks.
int QtTextFlags(unsigned format);

} // namespace kovrel::skin

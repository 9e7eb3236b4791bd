#include "skin/widgets/caption_layout.h"

#include <cmath>

namespace kovrel::skin {

namespace {

constexpr double kPi = 3.1415927;

} // namespace

CaptionRect RotatedCaptionRect(CaptionRect rect, int cx, int cy, int escapement) {
    const double theta = escapement / 10.0 * kPi / 180.0;
    const int W = static_cast<int>(std::trunc(cx * std::cos(theta)));
    const int H = static_cast<int>(std::trunc(cx * std::sin(theta)));
    const int w = rect.Width();
    const int h = rect.Height();
    if (W < w) {
        rect.left += (w - W) / 2 - static_cast<int>(std::trunc(0.5 * cy * std::sin(theta)));
    }
    if (H < h) {
        rect.bottom -= (h - H) / 2 - static_cast<int>(std::trunc(-0.5 * cy * std::cos(theta)));
    }
    return rect;
}

CaptionOrigin CaptionTextOrigin(const CaptionRect& rect, int cx, int cy, unsigned format) {
    using namespace caption_format;
    CaptionOrigin origin{rect.left, rect.top};
    if (format & kCenter) {
        origin.x = rect.left + (rect.Width() - cx) / 2;
    } else if (format & kRight) {
        origin.x = rect.right - cx;
    }
    if (format & kSingleLine) {
        if (format & kVCenter) {
            origin.y = rect.top + (rect.Height() - cy) / 2;
        } else if (format & kBottom) {
            origin.y = rect.bottom - cy;
        }
    }
    return origin;
}

int QtTextFlags(unsigned format) {
    using namespace caption_format;
    int flags = 0;
    if (format & kCenter) {
        flags |= Qt::AlignHCenter;
    } else if (format & kRight) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    if (format & kSingleLine) {
        flags |= Qt::TextSingleLine;
        if (format & kVCenter) {
            flags |= Qt::AlignVCenter;
        } else if (format & kBottom) {
            flags |= Qt::AlignBottom;
        } else {
            flags |= Qt::AlignTop;
        }
    } else {
        flags |= Qt::AlignTop;
        if (format & kWordBreak) {
            flags |= Qt::TextWordWrap;
        }
    }
    if (!(format & kNoPrefix)) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

} // namespace kovrel::skin

#include "skin/widgets/outline_region.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace kovrel::skin {

namespace {

// Rectangles are turned into a region in batches, so that a detailed outline costs few region
// operations.
constexpr std::size_t kRectsPerRegion = 2000;

constexpr QRgb kWhite = 0xFFFFFF;

void AddBatch(QRegion& result, std::vector<QRect>& batch) {
    if (batch.empty()) {
        return;
    }
    QRegion part;
    part.setRects(batch.data(), static_cast<int>(batch.size()));
    result += part;
    batch.clear();
}

} // namespace

QRegion RegionFromOutline(const QImage& outline) {
    QRegion result;
    if (outline.isNull()) {
        return result;
    }
    const QImage pixels = outline.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> batch;
    batch.reserve(kRectsPerRegion);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && (row[x] & 0xFFFFFF) == kWhite) {
                ++x;
            }
            const int start = x;
            while (x < pixels.width() && (row[x] & 0xFFFFFF) != kWhite) {
                ++x;
            }
            if (x > start) {
                batch.emplace_back(start, y, x - start, 1);
                if (batch.size() == kRectsPerRegion) {
                    AddBatch(result, batch);
                }
            }
        }
    }
    AddBatch(result, batch);
    return result;
}

} // namespace kovrel::skin

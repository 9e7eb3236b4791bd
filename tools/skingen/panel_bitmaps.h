#pragma once
// The lighting panel's bitmaps: switch, sliders, direction, multicolour, fixed-colour and tool
// pictures and the busy animation. Each is drawn at the size of the control that shows it, over
// the piece of background that lies under that control, so it blends into the window.

#include "layout.h"

#include <QImage>
#include <QString>

#include <vector>

namespace kovrel::skingen {

struct NamedBitmap {
    QString fileName; // e.g. "dengup.bmp"
    QImage image;
};

std::vector<NamedBitmap> RenderPanelBitmaps(const Layout& layout, const QImage& background);

} // namespace kovrel::skingen

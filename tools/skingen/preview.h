#pragma once
// Preview sheets for whoever designs the skin: the window as the program will compose it, with
// the lighting panel filled in, and the state pictures side by side. Not part of the skin.

#include "layout.h"
#include "panel_bitmaps.h"

#include <QString>

#include <vector>

namespace kovrel::skingen {

// Writes preview_normal.png, preview_lighting.png, preview_custom.png and preview_states.png
// into `folder`.
bool WritePreviews(const Layout& layout, const std::vector<NamedBitmap>& bitmaps,
                   const QString& folder, QString* error);

} // namespace kovrel::skingen

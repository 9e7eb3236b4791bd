#pragma once
// The text files of the default skin: Main.ini (rectangles, arrow faces, panel captions and
// effect names in both languages) and the template user lighting file.

#include "layout.h"

#include <QString>

namespace kovrel::skingen {

// File names of the main window's background and outline pictures.
inline constexpr const char* kBackgroundFile = "main_bg.bmp";
inline constexpr const char* kMaskFile = "main_mask.bmp";

// The whole Main.ini, UTF-8.
QString MainIniText(const Layout& layout);

// UserDengColor_3.userd: ten named user lighting modes over every key button and Fn.
QString UserLightingTemplateText();

} // namespace kovrel::skingen

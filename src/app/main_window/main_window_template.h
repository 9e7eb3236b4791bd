#pragma once
// Template 102: the controls the main window creates from its table, by id.

#include "skin/widgets/window_template.h"

#include <vector>

namespace kovrel::app {

// The key buttons, G buttons and Fn, the function buttons, the hint arrows and the busy
// indicator (hidden).
std::vector<skin::ControlTemplate> MainWindowTemplate();

} // namespace kovrel::app

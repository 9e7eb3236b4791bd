#include "app/main_window/main_window_template.h"

#include "app/main_window/function_buttons.h"
#include "app/main_window/main_window_ids.h"
#include "model/key_controls.h"

namespace kovrel::app {

std::vector<skin::ControlTemplate> MainWindowTemplate() {
    std::vector<skin::ControlTemplate> table;
    for (const KeyControl& control : KeyboardControls()) {
        table.push_back({control.controlId, skin::ControlKind::ImageButton, true, nullptr});
    }
    for (const FunctionButton& button : FunctionButtons()) {
        table.push_back({button.id, skin::ControlKind::ImageButton, true, nullptr});
    }
    for (const HintArrow& arrow : HintArrows()) {
        table.push_back({arrow.id, skin::ControlKind::ImageButton, false, nullptr});
    }
    table.push_back({ids::kBusy, skin::ControlKind::Picture, false, nullptr});
    return table;
}

} // namespace kovrel::app

#include "app/main_window/flip_switch.h"

#include "app/main_window/main_window_ids.h"
#include "profiles/settings.h"
#include "skin/widgets/png_button.h"
#include "skin/widgets/window_template.h"

namespace kovrel::app {

void ShowFlip(skin::WindowTemplate& controls, int flip) {
    for (int id = kFirstFKey; id <= kLastFKey; ++id) {
        if (QWidget* key = controls.Control(id)) {
            key->setEnabled(flip == 0);
        }
    }
    for (int id = kFirstDKey; id <= kLastDKey; ++id) {
        if (QWidget* key = controls.Control(id)) {
            key->setEnabled(flip != 0);
        }
    }
    if (auto* indicator = controls.ControlAs<skin::CPngButton>(ids::kFlip0)) {
        indicator->SetChecked(flip != 0, false);
        indicator->Repaint();
    }
}

int ToggleFlip(skin::WindowTemplate& controls) {
    const int flip = profiles::SetFlip(profiles::GetFlip() == 0 ? 1 : 0);
    ShowFlip(controls, flip);
    return flip;
}

void ApplyStoredFlip(skin::WindowTemplate& controls) {
    ShowFlip(controls, profiles::GetFlip());
}

} // namespace kovrel::app

#pragma once
// Drawing of the image controls of the main window in each of their looks.

#include "layout.h"

class QPainter;

namespace kovrel::skingen {

// The whole-window pictures: each shows every image control in one state.
enum class FaceState {
    Normal,  // main_normal.jpg
    Over,    // main_over.jpg: the mouse rests on the control
    Down,    // main_down.jpg: pressed
    Disable, // main_disable.jpg: disabled, or checked (a selected profile or rate, a lit lamp,
             // an assigned key)
    Colour0, // main_color0.jpg: key caps in the colour-keys mode, not marked
    Colour1, // main_color1.jpg: key caps in the colour-keys mode, marked
};

// Draws one control at its rectangle. Controls other than key caps look as in Normal in the two
// colour-mode pictures, which only key caps use.
void DrawControl(QPainter& painter, const Control& control, FaceState state);

// One face of the profile arrows as Arrow.jpg holds it.
void DrawArrowFace(QPainter& painter, const ArrowFace& face);

} // namespace kovrel::skingen

#pragma once
// The whole-window pictures of the main window: background, outline, the state pictures and the
// arrow faces.

#include "draw_controls.h"
#include "layout.h"

#include <QImage>

namespace kovrel::skingen {

// The window as it shows with every control in `state`, in client coordinates.
QImage RenderWindow(const Layout& layout, FaceState state);

// The background picture ("SCREEN"/"Main"): the window in its resting look.
QImage RenderBackground(const Layout& layout);

// The outline picture ("SCREEN"/"Mask"): pure white outside the window's rounded shape.
QImage RenderMask(const Layout& layout);

// A state picture. An image button copies its face from one pixel above and left of its own
// position, so the picture holds the window shifted by one pixel up and left: the face a
// control shows lines up exactly with the background around it.
QImage RenderStatePicture(const Layout& layout, FaceState state);

// Arrow.jpg: the faces of the two profile arrows.
QImage RenderArrowPicture(const Layout& layout);

} // namespace kovrel::skingen

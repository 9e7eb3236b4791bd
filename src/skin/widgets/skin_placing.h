#pragma once
// Placing a window's controls from its skin file: each call reads one rectangle key (nothing is
// cached) and puts the control there. A missing key places a 1 x 1 control at (1,1), and an
// image button at (1,1) is disabled: it is absent from the skin.

#include <filesystem>
#include <string_view>

class QImage;
class QWidget;

namespace kovrel::skin {

class CPngButton;

// The five faces of an image button, in the window's rendered state pictures.
struct SkinFaces {
    const QImage* normal = nullptr;
    const QImage* hover = nullptr;
    const QImage* pressed = nullptr;
    const QImage* disabled = nullptr;
    const QImage* checked = nullptr;
};

// Moves and sizes the button to the key's rectangle, gives it its faces with the rectangle's
// corner as face origin, and disables it when the corner is (1,1).
void PlaceImageButton(CPngButton& button, const std::filesystem::path& skinFile,
                      std::u16string_view section, std::u16string_view key, const SkinFaces& faces);

// Moves and sizes any other control to the key's rectangle; it stays enabled.
void PlaceControl(QWidget& control, const std::filesystem::path& skinFile,
                  std::u16string_view section, std::u16string_view key);

// Moves the control to the key's corner and keeps its present size.
void MoveControl(QWidget& control, const std::filesystem::path& skinFile,
                 std::u16string_view section, std::u16string_view key);

// A profile arrow button: placed by `placeKey`, its five faces all from `picture` at the corner
// that `faceKey` gives. It is never disabled.
void PlaceArrowButton(CPngButton& button, const std::filesystem::path& skinFile,
                      std::u16string_view placeSection, std::u16string_view placeKey,
                      std::u16string_view faceSection, std::u16string_view faceKey,
                      const QImage* picture);

} // namespace kovrel::skin

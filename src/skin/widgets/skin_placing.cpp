#include "skin/widgets/skin_placing.h"

#include <QWidget>

#include "skin/core/skin_file.h"
#include "skin/widgets/png_button.h"

namespace kovrel::skin {

namespace {

SkinRect PlaceByKey(QWidget& control, const std::filesystem::path& skinFile,
                    std::u16string_view section, std::u16string_view key) {
    const SkinRect rect = ReadSkinRect(skinFile, section, key);
    control.setGeometry(rect.x, rect.y, rect.w, rect.h);
    return rect;
}

} // namespace

void PlaceImageButton(CPngButton& button, const std::filesystem::path& skinFile,
                      std::u16string_view section, std::u16string_view key,
                      const SkinFaces& faces) {
    const SkinRect rect = PlaceByKey(button, skinFile, section, key);
    button.SetSkinImages(rect.x, rect.y, faces.normal, faces.hover, faces.pressed, faces.disabled,
                         faces.checked);
    if (IsAbsentFromSkin(rect)) {
        button.setEnabled(false);
    }
}

void PlaceControl(QWidget& control, const std::filesystem::path& skinFile,
                  std::u16string_view section, std::u16string_view key) {
    PlaceByKey(control, skinFile, section, key);
}

void MoveControl(QWidget& control, const std::filesystem::path& skinFile,
                 std::u16string_view section, std::u16string_view key) {
    const SkinRect rect = ReadSkinRect(skinFile, section, key);
    control.move(rect.x, rect.y);
    control.repaint();
}

void PlaceArrowButton(CPngButton& button, const std::filesystem::path& skinFile,
                      std::u16string_view placeSection, std::u16string_view placeKey,
                      std::u16string_view faceSection, std::u16string_view faceKey,
                      const QImage* picture) {
    PlaceByKey(button, skinFile, placeSection, placeKey);
    const SkinRect face = ReadSkinRect(skinFile, faceSection, faceKey);
    button.SetSkinImages(face.x, face.y, picture, picture, picture, picture, picture);
}

} // namespace kovrel::skin

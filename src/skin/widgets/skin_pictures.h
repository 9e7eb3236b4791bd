#pragma once
// The pictures a skinned window cuts its image controls' faces from. Each state picture is
// decoded once and rendered once into an off-screen image the size of the window plus 100
// pixels each way; a control's repaint is then one block copy from that image. The rendered
// pictures are program-wide and live until the program ends.

#include <QImage>

#include <filesystem>
#include <string_view>

#include "platform/paths.h"

class QWidget;

namespace kovrel::skin {

// Decodes a picture named relative to the program folder ("Skins\main_normal.jpg"). A file that
// is missing or cannot be decoded gives a null image, which renders as unpainted (black).
QImage LoadSkinPicture(std::u16string_view relativeName,
                       const std::filesystem::path& programFolder = platform::ProgramFolder());

// Renders `picture` into `target`: a new image of the window's client size enlarged by 100
// pixels to the right and downwards, unpainted (black), with the picture drawn unscaled at (0,0)
// and cut to that size (and to the square of side the enlarged width). The caller keeps the
// picture.
void RenderSkinPicture(QImage& target, const QImage& picture, const QWidget& window);

// The program-wide rendered state picture of `relativeName`, loaded and rendered against
// `window` the first time it is asked for; later calls return the same image untouched.
const QImage*
RenderStatePicture(std::u16string_view relativeName, const QWidget& window,
                   const std::filesystem::path& programFolder = platform::ProgramFolder());

// The rendered state picture of `relativeName`, or null when it was never rendered.
const QImage* FindStatePicture(std::u16string_view relativeName);

// Releases every rendered state picture. Only for the end of the program and for tests: image
// controls keep pointers to them.
void ReleaseStatePictures();

} // namespace kovrel::skin

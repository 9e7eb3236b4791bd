#include "skin/widgets/skin_pictures.h"

#include <QPainter>
#include <QString>
#include <QWidget>

#include <map>
#include <memory>
#include <string>

#include "skin/core/skin_file.h"

namespace kovrel::skin {

namespace {

// Room the rendered pictures keep beyond the window's client area.
constexpr int kRenderMargin = 100;

std::map<std::u16string, std::unique_ptr<QImage>, std::less<>>& RenderedPictures() {
    static std::map<std::u16string, std::unique_ptr<QImage>, std::less<>> pictures;
    return pictures;
}

} // namespace

QImage LoadSkinPicture(std::u16string_view relativeName,
                       const std::filesystem::path& programFolder) {
    const std::filesystem::path path = ResolveSkinName(programFolder, relativeName);
    QImage picture;
    picture.load(QString::fromStdString(path.string()));
    return picture;
}

void RenderSkinPicture(QImage& target, const QImage& picture, const QWidget& window) {
    const int width = window.width() + kRenderMargin;
    const int height = window.height() + kRenderMargin;
    target = QImage(width, height, QImage::Format_RGB32);
    target.fill(Qt::black);
    if (picture.isNull()) {
        return;
    }
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect square(0, 0, width, width);
    painter.drawImage(square.topLeft(), picture, square.intersected(picture.rect()));
}

const QImage* RenderStatePicture(std::u16string_view relativeName, const QWidget& window,
                                 const std::filesystem::path& programFolder) {
    auto& pictures = RenderedPictures();
    if (auto found = pictures.find(relativeName); found != pictures.end()) {
        return found->second.get();
    }
    auto rendered = std::make_unique<QImage>();
    RenderSkinPicture(*rendered, LoadSkinPicture(relativeName, programFolder), window);
    const QImage* result = rendered.get();
    pictures.emplace(std::u16string(relativeName), std::move(rendered));
    return result;
}

const QImage* FindStatePicture(std::u16string_view relativeName) {
    const auto& pictures = RenderedPictures();
    auto found = pictures.find(relativeName);
    return found == pictures.end() ? nullptr : found->second.get();
}

void ReleaseStatePictures() {
    RenderedPictures().clear();
}

} // namespace kovrel::skin

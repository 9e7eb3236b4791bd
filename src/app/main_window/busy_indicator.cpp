#include "app/main_window/busy_indicator.h"

#include "skin/core/skin_file.h"
#include "skin/widgets/skin_placing.h"

#include <QLabel>
#include <QString>

namespace kovrel::app {

void BusyIndicator::Attach(QLabel* control, const std::filesystem::path& skinFolder,
                           const std::filesystem::path& skinFile) {
    control_ = control;
    for (int n = 0; n < kFrames; ++n) {
        const auto path = skinFolder / ("jdt" + std::to_string(n + 1) + ".bmp");
        frames_[n].load(QString::fromStdString(path.string()));
    }
    if (control_) {
        skin::PlaceControl(*control_, skinFile, skin::kButtonSection, u"CONTROL_JDTStatic");
        control_->hide();
    }
}

bool BusyIndicator::Visible() const {
    return control_ && !control_->isHidden();
}

void BusyIndicator::Show() {
    if (control_) {
        ShowFrame();
        control_->show();
        control_->raise();
    }
}

void BusyIndicator::Hide() {
    if (control_) {
        control_->hide();
    }
}

void BusyIndicator::Advance() {
    frame_ = (frame_ + 1) % kFrames;
    ShowFrame();
}

void BusyIndicator::ShowFrame() {
    if (control_) {
        control_->setPixmap(frames_[frame_]);
    }
}

} // namespace kovrel::app

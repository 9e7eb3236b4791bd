#include "skin/widgets/base_dialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QString>
#include <QWindow>

#include "skin/core/skin_file.h"
#include "skin/widgets/outline_region.h"
#include "skin/widgets/silent_exit.h"

namespace kovrel::skin {

bool LoadSkinBitmap(const std::filesystem::path& path, QImage& target) {
    QImage picture;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) &&
        picture.load(QString::fromStdString(path.string())) && !picture.isNull()) {
        target = std::move(picture);
        return true;
    }
    target = QImage();
    EndProgramSilently();
    return false;
}

CBaseDialog::CBaseDialog(int templateId, QWidget* parent, std::filesystem::path skinFile,
                         std::filesystem::path pictureFolder)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_templateId(templateId),
      m_skinFile(std::move(skinFile)), m_pictureFolder(std::move(pictureFolder)), m_template(this) {
    m_template.OnCommand(kIdOk, [this] { OnOK(); });
    m_template.OnCommand(kIdCancel, [this] { OnCancel(); });
}

CBaseDialog::~CBaseDialog() = default;

bool CBaseDialog::OnInitDialog() {
    m_busy = true;
    const bool applied = ApplySkin();
    m_busy = false;
    return applied;
}

bool CBaseDialog::ApplySkin() {
    m_iniFile.SetPath(m_skinFile);
    const SkinScreen screen = ReadSkinScreen(m_skinFile);
    if (!LoadSkinBitmap(ResolveSkinName(m_pictureFolder, screen.main), m_background) ||
        !LoadSkinBitmap(ResolveSkinName(m_pictureFolder, screen.mask), m_outline)) {
        return false;
    }
    // The window takes the background's size where it stands and comes to the top.
    resize(m_background.size());
    raise();
    m_outlineRegion = RegionFromOutline(m_outline);
    if (m_outlineRegion.isEmpty()) {
        clearMask();
    } else {
        setMask(m_outlineRegion);
    }
    update();
    return true;
}

void CBaseDialog::ReleasePictures() {
    m_background = QImage();
    m_outline = QImage();
    m_initialised = false;
    m_dragging = false;
}

void CBaseDialog::OnOK() {
    ReleasePictures();
    QDialog::accept();
}

void CBaseDialog::OnCancel() {
    ReleasePictures();
    QDialog::reject();
}

void CBaseDialog::showEvent(QShowEvent* event) {
    if (!m_initialised && !event->spontaneous()) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    if (m_background.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_background);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // A press on the background moves the window with the mouse; the platform does it
        // when it can, else the window follows the mouse itself.
        QWindow* window = windowHandle();
        if (!window || !window->startSystemMove()) {
            m_dragging = true;
            m_dragOffset = event->globalPosition().toPoint() - pos();
        }
        update();
    }
    QDialog::mousePressEvent(event);
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
    }
    QDialog::mouseReleaseEvent(event);
}

} // namespace kovrel::skin

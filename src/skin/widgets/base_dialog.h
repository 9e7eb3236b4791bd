#pragma once
// CBaseDialog: the frameless window every skinned window of the program derives from. On each
// opening it reads "SCREEN" of its skin file, loads the background and outline pictures from its
// picture folder, takes the background's size, cuts itself to the outline's non-white pixels,
// paints the background, and lets the user drag it by the background. Closing releases both
// pictures, so the next opening reads them again. A window whose background or outline cannot
// be read ends the program silently (exit code 0, silent_exit.h).

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRegion>

#include <filesystem>

#include "skin/core/ini_file.h"
#include "skin/widgets/window_template.h"

namespace kovrel::skin {

class CBaseDialog : public QDialog {
    Q_OBJECT
public:
    // Command ids every window knows: OK and Cancel close it.
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;

    CBaseDialog(int templateId, QWidget* parent, std::filesystem::path skinFile,
                std::filesystem::path pictureFolder);
    ~CBaseDialog() override;

    int TemplateId() const { return m_templateId; }
    const std::filesystem::path& SkinFile() const { return m_skinFile; }
    const std::filesystem::path& PictureFolder() const { return m_pictureFolder; }
    const CIniFile& IniFile() const { return m_iniFile; }
    WindowTemplate& Template() { return m_template; }

    // True while the skin is being applied.
    bool IsBusy() const { return m_busy; }
    const QImage& Background() const { return m_background; }
    const QImage& Outline() const { return m_outline; }
    // The shape taken from the outline; empty when the window keeps its rectangle.
    const QRegion& OutlineRegion() const { return m_outlineRegion; }

    // Closing as OK and Cancel do (also reached through accept() and reject()).
    virtual void OnOK();
    virtual void OnCancel();

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

protected:
    // Runs on every opening before the window shows. Derived windows call this first, then
    // render their state pictures (the first time) and place their controls. False when the
    // skin could not be applied (the program has been asked to end).
    virtual bool OnInitDialog();

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool ApplySkin();
    void ReleasePictures();

    const int m_templateId;
    const std::filesystem::path m_skinFile;
    const std::filesystem::path m_pictureFolder;
    CIniFile m_iniFile;
    WindowTemplate m_template;
    QImage m_background;
    QImage m_outline;
    QRegion m_outlineRegion;
    bool m_busy = false;
    bool m_initialised = false;
    // Where the mouse took hold of the window when the platform cannot move it itself.
    bool m_dragging = false;
    QPoint m_dragOffset;
};

// Loads a background or outline picture. A missing or unreadable file ends the program
// silently; false then (when the exit hook returns).
bool LoadSkinBitmap(const std::filesystem::path& path, QImage& target);

} // namespace kovrel::skin

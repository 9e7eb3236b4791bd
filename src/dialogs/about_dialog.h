#pragma once
// CAboutDlg: the About box, the one plain (unskinned) window of the program. At most one exists
// at a time; it opens modeless with the program's name and version, the rights notice and the
// web link of Main.ini.

#include <QDialog>

#include <filesystem>

#include "skin/widgets/window_template.h"

namespace kovrel::controls {
class CHyperLink;
class CColorLabel;
} // namespace kovrel::controls

namespace kovrel::dialogs {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 100;
    static constexpr int kIdOk = 1;
    static constexpr int kIdLink = 1124;
    static constexpr int kIdRightsLine = 1205;
    static constexpr int kIdVersionLine = 1206;

    // Opens the About box and shows it, reading its link from `mainSkinFile` ("SCREEN"/"Link")
    // and its texts from the language file. Null, and nothing happens, while one is open.
    static CAboutDlg* Open(const std::filesystem::path& mainSkinFile, QWidget* parent = nullptr);
    // The open About box, or null.
    static CAboutDlg* Current();

    controls::CHyperLink* Link() const;
    controls::CColorLabel* VersionLine() const;
    controls::CColorLabel* RightsLine() const;

    // OK and Cancel destroy the box and allow the next one.
    void OnOK();
    void OnCancel();
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

private:
    CAboutDlg(const std::filesystem::path& mainSkinFile, QWidget* parent);
    void OnInitDialog();
    void Destroy();

    std::filesystem::path m_mainSkinFile;
    skin::WindowTemplate m_template;
};

} // namespace kovrel::dialogs

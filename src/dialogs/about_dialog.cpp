#include "dialogs/about_dialog.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/color_label.h"
#include "controls/hyperlink.h"
#include "skin/core/language_file.h"
#include "skin/core/skin_file.h"

namespace kovrel::dialogs {

namespace {

using skin::ControlKind;
using skin::ControlTemplate;
using skin::CreateControl;

constexpr ControlTemplate kControls[] = {
    {CAboutDlg::kIdVersionLine, ControlKind::Custom, true, &CreateControl<controls::CColorLabel>},
    {CAboutDlg::kIdRightsLine, ControlKind::Custom, true, &CreateControl<controls::CColorLabel>},
    {CAboutDlg::kIdLink, ControlKind::Custom, true, &CreateControl<controls::CHyperLink>},
    {CAboutDlg::kIdOk, ControlKind::PushButton, true, nullptr},
};

QPointer<CAboutDlg>& OpenBox() {
    static QPointer<CAboutDlg> box;
    return box;
}

QString ToQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

} // namespace

CAboutDlg* CAboutDlg::Open(const std::filesystem::path& mainSkinFile, QWidget* parent) {
    if (OpenBox()) {
        return nullptr;
    }
    auto* box = new CAboutDlg(mainSkinFile, parent);
    OpenBox() = box;
    box->OnInitDialog();
    return box;
}

CAboutDlg* CAboutDlg::Current() {
    return OpenBox().data();
}

CAboutDlg::CAboutDlg(const std::filesystem::path& mainSkinFile, QWidget* parent)
    : QDialog(parent), m_mainSkinFile(mainSkinFile), m_template(this) {
    setModal(false);
    setWindowTitle(QStringLiteral("About"));
    m_template.Create(kControls);
    m_template.OnCommand(kIdOk, [this] { OnOK(); });

    auto* ok = m_template.ControlAs<QPushButton>(kIdOk);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(VersionLine());
    layout->addWidget(RightsLine());
    layout->addWidget(Link());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

controls::CHyperLink* CAboutDlg::Link() const {
    return m_template.ControlAs<controls::CHyperLink>(kIdLink);
}

controls::CColorLabel* CAboutDlg::VersionLine() const {
    return m_template.ControlAs<controls::CColorLabel>(kIdVersionLine);
}

controls::CColorLabel* CAboutDlg::RightsLine() const {
    return m_template.ControlAs<controls::CColorLabel>(kIdRightsLine);
}

void CAboutDlg::OnInitDialog() {
    const QString link = ToQString(skin::ReadSkinLink(m_mainSkinFile));
    Link()->SetWindowText(link);
    Link()->SetURL(link);

    const std::u16string_view section = LanguageSection();
    VersionLine()->SetWindowText(ToQString(ReadLanguageString(section, "GUANYU_JIESHAO")));
    VersionLine()->SetTextColor(Qt::black);
    RightsLine()->SetWindowText(ToQString(ReadLanguageString(section, "GUANYU_BANQUAN")));
    RightsLine()->SetTextColor(Qt::black);
    show();
}

void CAboutDlg::Destroy() {
    // The next request may open a new box at once, while this one is still being torn down.
    if (OpenBox() == this) {
        OpenBox() = nullptr;
    }
    hide();
    deleteLater();
}

void CAboutDlg::OnOK() {
    Destroy();
}

void CAboutDlg::OnCancel() {
    Destroy();
}

} // namespace kovrel::dialogs

// The main menu and its Import and Export commands.

#include "app/interface_services.h"
#include "app/main_window/kovrel_dlg.h"
#include "profiles/config_file.h"

#include <QCursor>
#include <QMenu>

namespace kovrel::app {

void CKovrelDlg::ShowMainMenu() {
    QMenu* menu = BuildMainMenu(this, [this](int id) { OnCommand(id); });
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(QCursor::pos());
}

void CKovrelDlg::ImportConfiguration() {
    const auto path = chooseFile_ ? chooseFile_(this, FileDialogKind::Open) : std::nullopt;
    if (!path) {
        return;
    }
    // Validation (with its messages), the load, the working file, all three profiles to the
    // keyboard and the key buttons; Apply is disabled afterwards.
    profiles::ImportConfigurationFile(*path, Keyboard(), this);
}

void CKovrelDlg::ExportConfiguration() {
    const auto path = chooseFile_ ? chooseFile_(this, FileDialogKind::Save) : std::nullopt;
    if (!path) {
        return;
    }
    profiles::WriteConfigurationFile(*path, WorkingStore());
}

} // namespace kovrel::app

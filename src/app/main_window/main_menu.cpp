#include "app/main_window/main_menu.h"

#include "app/main_window/main_window_ids.h"
#include "skin/core/language_file.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>

#include <array>

namespace kovrel::app {

namespace {

struct MenuItem {
    int id;
    const char* key;
};
constexpr std::array kMainMenuItems{
    MenuItem{ids::kImport, "MENU_1"},
    MenuItem{ids::kExport, "MENU_2"},
    MenuItem{ids::kAbout, "MENU_3"},
    MenuItem{ids::kMenuClose, "MENU_4"},
};

const QString kFilter = QStringLiteral("(*.kvl) (*.kvl);;(*.*) (*)");

} // namespace

QMenu* BuildMainMenu(QWidget* owner, const std::function<void(int)>& command) {
    auto* menu = new QMenu(owner);
    const std::u16string_view section = LanguageSection();
    for (const MenuItem& item : kMainMenuItems) {
        QAction* action =
            menu->addAction(QString::fromStdU16String(ReadLanguageString(section, item.key)));
        action->setData(item.id);
        const int id = item.id;
        QObject::connect(action, &QAction::triggered, menu, [command, id] { command(id); });
    }
    return menu;
}

std::optional<std::filesystem::path> ChooseConfigurationFile(QWidget* owner, FileDialogKind kind) {
    QFileDialog dialog(owner);
    dialog.setNameFilter(kFilter);
    dialog.setDefaultSuffix(QStringLiteral("kvl"));
    dialog.selectFile(QStringLiteral("*.kvl"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

} // namespace kovrel::app

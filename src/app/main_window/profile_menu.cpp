#include "app/main_window/profile_menu.h"

#include "app/main_window/main_window_ids.h"
#include "profiles/config_file.h"
#include "skin/core/language_table.h"
#include "skin/widgets/png_button.h"

#include <QAction>
#include <QMenu>

namespace kovrel::app {

ProfileMenu::ProfileMenu(QWidget* owner, Command command)
    : owner_(owner), command_(std::move(command)) {}

ProfileMenu::~ProfileMenu() {
    delete menu_.data();
}

void ProfileMenu::Rebuild(int currentProfile, skin::CPngButton* sceneButton) {
    delete menu_.data();
    menu_ = new QMenu(owner_);
    const auto addItem = [this](int id, const QString& text) {
        QAction* action = menu_->addAction(text);
        action->setData(id);
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, menu_, [this, id] {
            if (command_) {
                command_(id);
            }
        });
        return action;
    };
    QAction* defaultItem = addItem(ids::kProfileItemFirst,
                                   QString::fromStdU16String(LanguageText("DEFAULT_PROFILE_NAME")));
    menu_->addSeparator();
    // Each profile's file is the one working configuration file.
    const QString title =
        QString::fromStdString(profiles::WorkingConfigurationFile().filename().string());
    QAction* checked = defaultItem;
    for (int profile = 0; profile < 3; ++profile) {
        QAction* item = addItem(ids::kProfileItemFirst + 1 + profile, title);
        if (profile == currentProfile) {
            checked = item;
        }
    }
    checked->setChecked(true);
    if (sceneButton) {
        sceneButton->setText(checked->text());
        sceneButton->SetTooltipText(
            QString::fromStdU16String(LanguageText("PROFILE_TIP")) + checked->text(), true);
        sceneButton->Repaint();
    }
}

int ProfileMenu::CheckedCommand() const {
    if (!menu_) {
        return 0;
    }
    for (QAction* action : menu_->actions()) {
        if (action->isChecked()) {
            return action->data().toInt();
        }
    }
    return 0;
}

QString ProfileMenu::CheckedText() const {
    if (!menu_) {
        return {};
    }
    for (QAction* action : menu_->actions()) {
        if (action->isChecked()) {
            return action->text();
        }
    }
    return {};
}

} // namespace kovrel::app

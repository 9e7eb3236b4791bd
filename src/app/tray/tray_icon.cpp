#include "app/tray/tray_icon.h"

#include "app/tray/tray_icons.h"
#include "skin/core/language_file.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <array>

namespace kovrel::app {

namespace {

struct TrayItem {
    int command;
    const char* key;
};
constexpr std::array kTrayItems{
    TrayItem{CTrayIcon::kOpenCommand, "MENU_11"},
    TrayItem{CTrayIcon::kAboutCommand, "MENU_22"},
    TrayItem{CTrayIcon::kExitCommand, "MENU_33"},
};

} // namespace

CTrayIcon::CTrayIcon(QObject* parent) : QObject(parent) {}

CTrayIcon::~CTrayIcon() {
    RemoveIcon();
    delete menu_.data();
}

void CTrayIcon::SetCommandSinks(CommandSink post, CommandSink send) {
    post_ = std::move(post);
    send_ = std::move(send);
}

bool CTrayIcon::AddIcon(QWidget* notifyWindow, const QString& tip, int iconResource, int iconId) {
    if (!notifyWindow || !QSystemTrayIcon::isSystemTrayAvailable()) {
        enabled_ = false;
        return false;
    }
    notifyWindow_ = notifyWindow;
    iconId_ = iconId;
    tip_ = tip.left(kMaxTipLength);
    iconResource_ = iconResource;
    if (!icon_) {
        icon_ = new QSystemTrayIcon(this);
        connect(icon_, &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
    }
    BuildMenu();
    icon_->setIcon(StatusIcon(iconResource));
    icon_->setToolTip(tip_);
    icon_->setContextMenu(menu_);
    icon_->show();
    enabled_ = true;
    return true;
}

void CTrayIcon::RemoveIcon() {
    if (enabled_ && icon_) {
        icon_->hide();
    }
    enabled_ = false;
}

void CTrayIcon::SetIcon(int iconResource) {
    if (!enabled_) {
        return;
    }
    iconResource_ = iconResource;
    icon_->setIcon(StatusIcon(iconResource));
}

void CTrayIcon::SetTipText(const QString& tip) {
    // Kept also while disabled, so an icon added later shows the current language.
    tip_ = tip.left(kMaxTipLength);
    if (!enabled_) {
        return;
    }
    icon_->setToolTip(tip_);
}

void CTrayIcon::ShowStatusIcon(int iconId) {
    SetIcon(iconId);
}

void CTrayIcon::BuildMenu() {
    if (menu_) {
        return;
    }
    menu_ = new QMenu();
    for (const TrayItem& item : kTrayItems) {
        QAction* action = menu_->addAction(QString());
        const int command = item.command;
        // The chosen command is posted to the notify window, as the platform does.
        connect(action, &QAction::triggered, this, [this, command] {
            if (post_) {
                post_(command);
            }
        });
    }
    menu_->setDefaultAction(menu_->actions().value(0));
    connect(menu_, &QMenu::aboutToShow, this, &CTrayIcon::RenameMenu);
    RenameMenu();
}

void CTrayIcon::RenameMenu() {
    if (!menu_) {
        return;
    }
    const std::u16string_view section = LanguageSection();
    const QList<QAction*> actions = menu_->actions();
    for (std::size_t position = 0; position < kTrayItems.size(); ++position) {
        if (QAction* action = actions.value(static_cast<int>(position))) {
            action->setText(
                QString::fromStdU16String(ReadLanguageString(section, kTrayItems[position].key)));
        }
    }
    menu_->setDefaultAction(actions.value(0));
    if (notifyWindow_) {
        notifyWindow_->activateWindow();
    }
    emit trayMenuAboutToShow(menu_);
}

int CTrayIcon::HandleTrayMessage(int iconId, Mouse message) {
    if (iconId != iconId_) {
        return 0;
    }
    switch (message) {
    case Mouse::RightUp:
        // The platform opens the context menu itself; it is renamed right before it shows.
        return 1;
    case Mouse::LeftDoubleClick:
        pending_ = false;
        ++pendingGeneration_;
        if (send_) {
            send_(kOpenCommand);
        }
        return 1;
    case Mouse::LeftDown:
        if (singleClickCommand_ != 0) {
            pending_ = true;
            const unsigned generation = ++pendingGeneration_;
            QTimer::singleShot(QApplication::doubleClickInterval(), this, [this, generation] {
                if (pending_ && generation == pendingGeneration_ && post_) {
                    post_(singleClickCommand_);
                }
                if (generation == pendingGeneration_) {
                    pending_ = false;
                }
            });
        }
        return 1;
    case Mouse::Other:
        return 1;
    }
    return 1;
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        HandleTrayMessage(iconId_, Mouse::LeftDown);
        break;
    case QSystemTrayIcon::DoubleClick:
        HandleTrayMessage(iconId_, Mouse::LeftDoubleClick);
        break;
    case QSystemTrayIcon::Context:
        HandleTrayMessage(iconId_, Mouse::RightUp);
        break;
    default:
        HandleTrayMessage(iconId_, Mouse::Other);
        break;
    }
}

} // namespace kovrel::app

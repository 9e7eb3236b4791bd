#pragma once
// CTrayIcon: the program's icon in the notification area, on QSystemTrayIcon. Its tool tip
// names the keyboard, its picture tells whether a keyboard is connected (tray_icons.h). A
// double-click opens the main window (the tray menu's first command, 32771); a single left click
// sends the single-click command (1009, the profile menu) once the double-click time has passed
// without a second click; a right-click opens the tray menu: Open (default, bold), About, Exit,
// named from the language file each time it opens (MENU_11, MENU_22, MENU_33).
//
// Without a tray on the desktop the icon stays disabled, every later change does nothing, and
// the program runs on.

#include "app/tray_status_relay.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

#include <QMenu>
class QWidget;

namespace kovrel::app {

class CTrayIcon final : public QObject, public TrayIconSink {
    Q_OBJECT
public:
    static constexpr int kIconId = 140;           // also the tray menu's resource id
    static constexpr int kCallbackMessage = 1725; // 0x6BD
    static constexpr int kMaxTipLength = 127;

    // The tray menu's commands by position.
    static constexpr int kOpenCommand = 32771;
    static constexpr int kAboutCommand = 32773;
    static constexpr int kExitCommand = 32774;

    // Mouse messages of the icon, as the shell reports them.
    enum class Mouse { LeftDown, LeftDoubleClick, RightUp, Other };

    // How a command reaches the notify window: `post` queues it, `send` runs it at once.
    using CommandSink = std::function<void(int commandId)>;

    explicit CTrayIcon(QObject* parent = nullptr);
    ~CTrayIcon() override;

    void SetCommandSinks(CommandSink post, CommandSink send);

    // Adds the icon for `notifyWindow`; false (and disabled) when there is no window or no tray.
    bool AddIcon(QWidget* notifyWindow, const QString& tip, int iconResource, int iconId = kIconId);
    void RemoveIcon();
    // Shows the picture of an icon resource (an unknown one shows blank).
    void SetIcon(int iconResource);
    // Replaces the tool tip, cut to 127 characters.
    void SetTipText(const QString& tip);
    void SetSingleClickCommand(int commandId) { singleClickCommand_ = commandId; }

    // Handles one mouse message of icon `iconId`: 0 for another icon, else 1.
    int HandleTrayMessage(int iconId, Mouse message);

    // TrayIconSink: a status change decided by the relay.
    void ShowStatusIcon(int iconId) override;

    bool Enabled() const { return enabled_; }
    int IconResource() const { return iconResource_; }
    QString TipText() const { return tip_; }
    bool SingleClickPending() const { return pending_; }
    // The tray menu (built with the icon), for tests.
    QMenu* TrayMenu() const { return menu_; }
    QSystemTrayIcon* Icon() const { return icon_; }

signals:
    // Emitted after the tray menu was renamed, right before it shows.
    void trayMenuAboutToShow(QMenu* menu);

private:
    void BuildMenu();
    void RenameMenu();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* icon_ = nullptr;
    QPointer<QMenu> menu_;
    QPointer<QWidget> notifyWindow_;
    CommandSink post_;
    CommandSink send_;
    bool enabled_ = false;
    int iconId_ = kIconId;
    int iconResource_ = 0;
    QString tip_;
    int singleClickCommand_ = 0;
    bool pending_ = false;
    unsigned pendingGeneration_ = 0;
};

} // namespace kovrel::app

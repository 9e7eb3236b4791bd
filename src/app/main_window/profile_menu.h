#pragma once
// The profile menu: item 9000 "<Default Profile>" (DEFAULT_PROFILE_NAME), a separator, then
// items 9001 to 9003 named with the file title of the working configuration file. The check
// mark sits on the keyboard's current profile (item 9001 + current), or on 9000 while no current
// profile is known. The scene button (control 1005) shows the checked item's text, and its tool
// tip is PROFILE_TIP followed by that text.

#include <QPointer>
#include <QString>

#include <functional>

#include <QMenu>
class QWidget;

namespace kovrel::skin {
class CPngButton;
}

namespace kovrel::app {

class ProfileMenu {
public:
    using Command = std::function<void(int commandId)>;

    ProfileMenu(QWidget* owner, Command command);
    ~ProfileMenu();
    ProfileMenu(const ProfileMenu&) = delete;
    ProfileMenu& operator=(const ProfileMenu&) = delete;

    // Builds the menu anew for `currentProfile` (-1: none known) and updates the scene button.
    void Rebuild(int currentProfile, skin::CPngButton* sceneButton);

    // The command id of the checked item (9000 to 9003), 0 before the first build.
    int CheckedCommand() const;
    QString CheckedText() const;

    QMenu* Menu() const { return menu_; }

private:
    QWidget* owner_;
    Command command_;
    QPointer<QMenu> menu_;
};

} // namespace kovrel::app

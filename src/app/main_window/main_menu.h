#pragma once
// The main menu behind the menu button: Import (32776), Export (32777), About (32773) and Close
// (32779) in positions 0 to 3, their texts read from the language file (MENU_1 to MENU_4) each
// time it opens; and the file dialogs of Import and Export.

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

class QMenu;
class QWidget;

namespace kovrel::app {

// Builds the popup; choosing an item runs `command` with its id. The caller owns the menu.
QMenu* BuildMainMenu(QWidget* owner, const std::function<void(int)>& command);

enum class FileDialogKind { Open, Save };

// Asks for a ".kvl" file: "(*.kvl)" and "(*.*)" filters, default extension "kvl", proposed name
// "*.kvl"; Save asks before overwriting. Nothing when cancelled.
using FileChooser =
    std::function<std::optional<std::filesystem::path>(QWidget* owner, FileDialogKind kind)>;

// The framework's file dialogs.
std::optional<std::filesystem::path> ChooseConfigurationFile(QWidget* owner, FileDialogKind kind);

} // namespace kovrel::app

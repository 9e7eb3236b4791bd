// The language switch's window steps (commands 32784 and 32785): the language table first, then
// every text of the main window that shows now.

#include "app/main_window/function_buttons.h"
#include "app/main_window/kovrel_dlg.h"
#include "skin/core/language_table.h"

namespace kovrel::app {

void CKovrelDlg::SwitchLanguageTo(int language) {
    // The flag, the stored choice (per user) and the table.
    SwitchLanguage(language);
    // The captions and tool tips read straight from the file, and the mode switch's caption.
    ApplyFunctionTexts(Template());
    ShowSwitchCaption(Template(), colourMode_);
    // The lighting panel's labels and mode names, refreshed from the keyboard.
    if (hooks_.relabelLighting) {
        hooks_.relabelLighting();
    }
    // The tray's tool tip, and the scene button's text that comes from the language table.
    tray_.SetTipText(QString::fromStdU16String(LanguageText("KEYBOARD_TRAY_DESC")));
    RebuildProfileMenu();
    update();
}

} // namespace kovrel::app

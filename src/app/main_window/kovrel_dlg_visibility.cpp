// When the main window shows and hides: it lives hidden in the tray, without a taskbar button,
// and shows (with a taskbar button, in the foreground) only while a keyboard is connected.

#include "app/interface_services.h"
#include "app/main_window/kovrel_dlg.h"
#include "device/device_presence.h"
#include "platform/message_box.h"
#include "skin/core/language_table.h"

namespace kovrel::app {

void CKovrelDlg::ShowWindowRule() {
    if (env_.presence.LastKnownCount() == 0) {
        env_.services.messageBox.Show(LanguageText("MAIN_NO_DEVICE_PROMPT"), u"");
        return;
    }
    if (windowFlags().testFlag(Qt::Tool)) {
        setWindowFlags((windowFlags() & ~Qt::Tool) | Qt::Window | Qt::FramelessWindowHint);
    }
    showNormal();
    raise();
    activateWindow();
}

void CKovrelDlg::HideWindow() {
    hide();
}

} // namespace kovrel::app

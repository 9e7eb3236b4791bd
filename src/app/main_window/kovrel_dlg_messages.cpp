// The main window's message map: custom messages, timers, the command table and the message
// pre-translation.

#include "app/interface_services.h"
#include "app/main_window/flip_switch.h"
#include "app/main_window/kovrel_dlg.h"
#include "app/main_window/main_window_ids.h"
#include "dialogs/about_dialog.h"
#include "model/key_controls.h"
#include "platform/launcher.h"
#include "platform/services.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace kovrel::app {

std::intptr_t CKovrelDlg::HandleWindowMessage(std::uint32_t message, platform::WParam wParam,
                                              platform::LParam) {
    switch (message) {
    case kCommandMessage:
        OnCommand(static_cast<int>(wParam & 0xFFFF));
        return 0;
    case ids::kTimeChangeMessage:
        Apply();
        return 0;
    case ids::kInitMessage:
        if (wParam == ids::kInitCode) {
            OnInitMessage();
        }
        return 0;
    case ids::kShowMessage:
        if (wParam == ids::kShowCode) {
            ShowWindowRule();
        }
        return 0;
    case ids::kQuitMessage:
        if (wParam == ids::kQuitCode) {
            Quit();
        }
        return 0;
    case ids::kArrivedMessage:
        if (wParam == ids::kArrivedCode) {
            OnKeyboardArrived();
        }
        return 0;
    case ids::kLeftMessage:
        OnKeyboardLeft();
        return 0;
    case ids::kBankMessage:
        if (wParam == ids::kBankCode) {
            OnBankSwitch();
        }
        return 0;
    default:
        return 0;
    }
}

void CKovrelDlg::HandleTimer(std::uint32_t id) {
    switch (id) {
    case ids::kBusyTimer:
        OnBusyTimer();
        break;
    case ids::kLightingTimer:
        OnLightingTimer();
        break;
    case ids::kPreviewTimer:
        OnPreviewTimer();
        break;
    default:
        break;
    }
}

void CKovrelDlg::OnBusyTimer() {
    busy_.Advance();
}

void CKovrelDlg::OnLightingTimer() {
    env_.services.window.KillTimer(ids::kLightingTimer);
    ReloadLighting();
}

void CKovrelDlg::OnPreviewTimer() {
    env_.services.window.KillTimer(ids::kPreviewTimer);
    if (hooks_.previewStep) {
        hooks_.previewStep();
    }
    env_.services.window.SetTimer(ids::kPreviewTimer, 50);
}

void CKovrelDlg::OnCommand(int id) {
    if (FindKeyControl(id) != nullptr) {
        if (id == kFnControl) {
            if (hooks_.paintKey) {
                hooks_.paintKey(id);
            }
            return;
        }
        if (hooks_.paintKey && hooks_.paintKey(id)) {
            return;
        }
        KeyClick(id);
        return;
    }
    if (id >= ids::kProfileItemFirst && id <= ids::kProfileItemLast) {
        SwitchProfile(id - ids::kProfileItemFirst - 1);
        return;
    }
    switch (id) {
    case ids::kProfiles:
        if (hooks_.openProfileDialog) {
            hooks_.openProfileDialog();
        }
        break;
    case ids::kApply:
        Apply();
        break;
    case ids::kMacro:
        KeyClick(GKeyControls()[8].controlId); // as G9 (control 1143)
        break;
    case ids::kProfileMenu:
        ShowProfileMenu();
        break;
    case ids::kWebLink:
        if (auto* launcher = platform::CurrentServices().launcher) {
            launcher->OpenDocument(webLink_.toStdString());
        }
        break;
    case ids::kHelp:
        if (auto* launcher = platform::CurrentServices().launcher) {
            launcher->OpenDocument((env_.programFolder / "Help" / "index.html").string());
        }
        break;
    case ids::kMinimize:
        showMinimized();
        break;
    case ids::kClose:
    case ids::kExit:
    case ids::kMenuClose:
        Quit();
        break;
    case ids::kFlip1:
    case ids::kFlip2:
        ToggleFlip(Template());
        break;
    case ids::kProfile1:
    case ids::kProfile1 + 1:
    case ids::kProfile1 + 2:
        OnProfileButton(id - ids::kProfile1);
        break;
    case ids::kDefault:
        RestoreDefaults();
        break;
    case ids::kMainMenu:
        ShowMainMenu();
        break;
    case ids::kSwitch:
        ToggleColourMode();
        break;
    case ids::kOk:
        OnOK();
        break;
    case ids::kCancel:
        OnCancel();
        break;
    case ids::kSystemAbout:
    case ids::kAbout:
        dialogs::CAboutDlg::Open(mainSkinFile_, nullptr);
        break;
    case ids::kOpen:
        ShowWindowRule();
        break;
    case ids::kImport:
        ImportConfiguration();
        break;
    case ids::kExport:
        ExportConfiguration();
        break;
    case ids::kFirmwareUpdate:
        if (hooks_.openFirmwareDialog) {
            hooks_.openFirmwareDialog();
        }
        break;
    case ids::kChinese:
        SwitchLanguageTo(0);
        break;
    case ids::kEnglish:
        SwitchLanguageTo(1);
        break;
    default:
        break; // LOCK_AB and the lamps are indicators; the lighting controls are the panel's
    }
}

void CKovrelDlg::OnOK() {
    Apply();
    CBaseDialog::OnOK();
}

void CKovrelDlg::OnCancel() {
    CBaseDialog::OnCancel();
}

bool CKovrelDlg::SwallowKey(const QKeyEvent& event) const {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const QWidget* list = const_cast<CKovrelDlg*>(this)->Template().Control(ids::kModeList);
        return list && list->hasFocus();
    }
    default:
        return false;
    }
}

void CKovrelDlg::keyPressEvent(QKeyEvent* event) {
    if (SwallowKey(*event)) {
        event->accept();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

bool CKovrelDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        if (SwallowKey(*static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    return CBaseDialog::eventFilter(watched, event);
}

void CKovrelDlg::closeEvent(QCloseEvent* event) {
    // The close box only hides the window.
    event->ignore();
    if (!quitting_) {
        OnCancel();
    }
}

} // namespace kovrel::app

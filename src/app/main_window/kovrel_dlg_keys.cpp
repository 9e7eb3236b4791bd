// The keyboard picture's flows: key clicks, the colour-keys mode, Apply with its busy indicator,
// restoring the defaults, RefreshKeyButtons and the G-key bank.

#include "app/interface_services.h"
#include "app/main_window/flip_switch.h"
#include "app/main_window/function_buttons.h"
#include "app/main_window/kovrel_dlg.h"
#include "app/main_window/main_window_ids.h"
#include "device/device_link.h"
#include "model/apply_configuration.h"
#include "model/key_controls.h"
#include "model/reset_profile_keys.h"
#include "platform/message_box.h"
#include "profiles/config_file.h"
#include "skin/core/language_table.h"
#include "skin/widgets/png_button.h"
#include "skin/widgets/skin_pictures.h"

#include <QTimer>

namespace kovrel::app {

namespace {

// How long the busy indicator stays after Apply's work.
constexpr int kBusyTail = 100;

} // namespace

int CKovrelDlg::GBank() const {
    return env_.link.channel.GBank();
}

int CKovrelDlg::ActiveArea() {
    return ActiveProfile(env_.link.currentProfile);
}

void CKovrelDlg::SetPendingChanges(bool pending) {
    pending_ = pending;
    if (QWidget* apply = Template().Control(ids::kApply)) {
        apply->setEnabled(pending);
    }
}

void CKovrelDlg::KeyClick(int controlId) {
    const int bank = GBank();
    const int keyIndex = KeyIndexOfControl(controlId, bank);
    if (keyIndex < 0) {
        return;
    }
    if (colourMode_) {
        const int record = MarkRecordOfControl(controlId, bank);
        bool marked = false;
        {
            auto lock = WorkingStore().Acquire();
            KeyRecord& entry = WorkingStore().Data().Record(ActiveArea(), record);
            entry.mark = entry.mark != 0 ? 0 : 1;
            marked = entry.mark != 0;
        }
        keys_.ShowMark(controlId, marked, true);
        SetPendingChanges(true);
        return;
    }
    if (auto* button = keys_.Button(controlId)) {
        button->setDown(true);
    }
    if (hooks_.keyClick) {
        hooks_.keyClick(controlId, keyIndex);
    }
    if (auto* button = keys_.Button(controlId)) {
        button->setDown(false);
    }
}

void CKovrelDlg::ToggleColourMode() {
    colourMode_ = !colourMode_;
    ShowSwitchCaption(Template(), colourMode_);
    auto lock = WorkingStore().Acquire();
    keys_.ShowMarks(WorkingStore().Data(), ActiveArea(), GBank(), colourMode_);
}

void CKovrelDlg::Apply() {
    busy_.Show();
    env_.services.window.SetTimer(ids::kBusyTimer, 50);
    if (pending_) {
        auto lock = WorkingStore().Acquire();
        const bool saved = profiles::SaveWorkingFile(WorkingStore());
        const int applied = ApplyConfiguration(Keyboard(), false);
        if (saved && applied == 1) {
            SetPendingChanges(false);
        }
    }
    QTimer::singleShot(kBusyTail, this, [this] {
        env_.services.window.KillTimer(ids::kBusyTimer);
        busy_.Hide();
    });
}

void CKovrelDlg::RestoreDefaults() {
    const platform::MessageAnswer answer =
        env_.services.messageBox.Show(LanguageText("MAIN_PROMPT_DEFAULT"), u"",
                                      platform::MessageButtons::YesNo, platform::MessageAnswer::No);
    if (answer != platform::MessageAnswer::Yes) {
        return;
    }
    {
        auto lock = WorkingStore().Acquire();
        ResetProfileKeys(WorkingStore(), ActiveArea(), GBank());
        keys_.Refresh(WorkingStore().Data(), ActiveArea(), GBank());
        if (colourMode_) {
            keys_.ShowMarks(WorkingStore().Data(), ActiveArea(), GBank(), true);
        }
    }
    SetPendingChanges(true);
    if (hooks_.restoreLightingDefaults) {
        hooks_.restoreLightingDefaults();
    }
    Apply();
}

void CKovrelDlg::RefreshKeyButtons() {
    auto lock = WorkingStore().Acquire();
    const int area = ActiveArea();
    keys_.Refresh(WorkingStore().Data(), area, GBank());
    keys_.ShowMarks(WorkingStore().Data(), area, GBank(), colourMode_);
    ApplyStoredFlip(Template());
}

void CKovrelDlg::ShowLockAB(int bank) {
    auto* lockAB = Template().ControlAs<skin::CPngButton>(ids::kLockAB);
    if (!lockAB) {
        return;
    }
    // The lamp picture's normal face lights A, its hover face lights B.
    const QImage* normal = skin::FindStatePicture(u"Skins\\main_normal.jpg");
    const QImage* over = skin::FindStatePicture(u"Skins\\main_over.jpg");
    const QImage* down = skin::FindStatePicture(u"Skins\\main_down.jpg");
    const QImage* disable = skin::FindStatePicture(u"Skins\\main_disable.jpg");
    const QImage* shown = (bank & 1) ? over : normal;
    lockAB->SetStateImages(shown, shown, down, disable, disable);
    lockAB->Repaint();
}

void CKovrelDlg::OnBankSwitch() {
    const int bank = GBank();
    shownBank_ = bank;
    {
        auto lock = WorkingStore().Acquire();
        const int area = ActiveArea();
        keys_.RefreshGButtons(WorkingStore().Data(), area, bank);
        keys_.ShowMarks(WorkingStore().Data(), area, bank, colourMode_);
    }
    ShowLockAB(bank);
}

} // namespace kovrel::app

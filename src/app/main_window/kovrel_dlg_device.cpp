// The keyboard's comings and goings as the main window sees them: keyboard arrived and left,
// the reload request of other programs, the profile buttons, the profile menu and the lighting
// state.

#include "app/instance_protocol.h"
#include "app/interface_services.h"
#include "app/main_window/kovrel_dlg.h"
#include "app/main_window/main_window_ids.h"
#include "device/device_link.h"
#include "lighting/core/lighting_device.h"
#include "lighting/core/user_lighting.h"
#include "profiles/profile_switching.h"
#include "skin/widgets/png_button.h"

#include <QCursor>
#include <QMenu>

namespace kovrel::app {

namespace {

constexpr int kUserLightingEffect = 20;

} // namespace

void CKovrelDlg::OnKeyboardArrived() {
    // Load the active profile from the keyboard, then the profile buttons and the lighting.
    profiles::ReloadConfigurationFromKeyboard(Keyboard(), this);
    const int current = env_.link.currentProfile.Cached();
    if (current >= 0 && current <= 2) {
        PressProfileButton(current);
        lighting_.SelectProfile(current);
    }
    ReloadLighting();
    RebuildProfileMenu();
}

void CKovrelDlg::OnKeyboardLeft() {
    CloseChildWindows();
    if (isVisible()) {
        showMinimized();
    }
}

void CKovrelDlg::ReloadLighting() {
    lighting::ReloadLightingState(env_.link.protocol, lighting_);
    if (lighting_.effects.Offers(kUserLightingEffect)) {
        lighting::LoadUserModeList(lighting_);
        lighting::LoadUserMode(env_.link.protocol, lighting_, userLighting_);
    }
    if (hooks_.refreshLighting) {
        hooks_.refreshLighting();
    }
}

std::string CKovrelDlg::ReloadFromKeyboard() {
    env_.link.currentProfile.Forget();
    if (pending_) {
        // The user's unapplied changes stay; only what they do not touch is read again.
        env_.link.currentProfile.Get();
        ReloadLighting();
        RebuildProfileMenu();
        return std::string(instance::kKeptUnappliedChanges);
    }
    OnKeyboardArrived();
    return std::string(instance::kReloaded);
}

void CKovrelDlg::PressProfileButton(int profile) {
    for (int p = 0; p < 3; ++p) {
        if (auto* button = Template().ControlAs<skin::CPngButton>(ids::kProfile1 + p)) {
            button->SetChecked(p == profile, true);
        }
    }
}

void CKovrelDlg::OnProfileButton(int profile) {
    lighting_.SelectProfile(profile);
    ReloadLighting();
    const int current = env_.link.currentProfile.Get();
    if (current == profile) {
        return;
    }
    if (switcher_->SwitchProfile(profile) != 1) {
        return;
    }
    PressProfileButton(profile);
    if (colourMode_) {
        ToggleColourMode();
    }
}

void CKovrelDlg::SwitchProfile(int profile) {
    switcher_->SwitchProfile(profile);
}

bool CKovrelDlg::IsEditorOpen() const {
    return hooks_.editorOpen && hooks_.editorOpen();
}

void CKovrelDlg::SendApply() {
    OnCommand(ids::kApply);
}

void CKovrelDlg::DisableApply() {
    SetPendingChanges(false);
}

void CKovrelDlg::ShowProfileInDialog(int) {
    // The profile dialog checks its own row once it exists.
}

void CKovrelDlg::RebuildProfileMenu() {
    profileMenu_.Rebuild(env_.link.currentProfile.Cached(),
                         Template().ControlAs<skin::CPngButton>(ids::kProfiles));
}

void CKovrelDlg::ShowProfileMenu() {
    activateWindow();
    if (QMenu* menu = profileMenu_.Menu()) {
        menu->popup(QCursor::pos());
    }
}

} // namespace kovrel::app

#pragma once
// CKovrelDlg: the program's main window. A skinned dialog that shows the keyboard as a picture
// of buttons with the function buttons around it, lives in the tray most of the time, receives
// the device link's messages and dispatches every command.
//
// One concept per file:
//   kovrel_dlg.cpp            construction, initialisation, the initialisation message, teardown
//   kovrel_dlg_messages.cpp   custom messages, timers, the command table, message pre-translation
//   kovrel_dlg_keys.cpp       key clicks, colour-keys mode, Apply, restore defaults, the G bank
//   kovrel_dlg_device.cpp     keyboard arrived and left, reload from the keyboard, profiles
//   kovrel_dlg_visibility.cpp the show and hide rules
//   kovrel_dlg_language.cpp   the language switch's window steps
//   kovrel_dlg_files.cpp      the main menu's Import and Export

#include "app/main_window/busy_indicator.h"
#include "app/main_window/key_buttons.h"
#include "app/main_window/main_menu.h"
#include "app/main_window/profile_menu.h"
#include "app/tray/tray_icon.h"
#include "app/window_message_handler.h"
#include "lighting/core/lighting_mirror.h"
#include "lighting/core/user_lighting.h"
#include "model/keyboard_access.h"
#include "profiles/profile_switching.h"
#include "profiles/profile_window.h"
#include "skin/widgets/base_dialog.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kovrel::device {
struct DeviceLink;
class DevicePresence;
} // namespace kovrel::device

namespace kovrel::app {

class InterfaceServices;
class InstanceLock;
class NamedEvents;

class CKovrelDlg final : public skin::CBaseDialog,
                         public WindowMessageHandler,
                         public profiles::ProfileWindow {
    Q_OBJECT
public:
    struct Environment {
        Environment(device::DeviceLink& deviceLink, device::DevicePresence& devicePresence,
                    InterfaceServices& interfaceServices)
            : link(deviceLink), presence(devicePresence), services(interfaceServices) {}

        device::DeviceLink& link;
        device::DevicePresence& presence;
        InterfaceServices& services;
        InstanceLock* instanceLock = nullptr; // closed at teardown
        std::filesystem::path programFolder;
        // Prefix of the 208 named events; tests use their own.
        std::string namedEventPrefix = "Kovrel_Event_";
        // The device service's library name (tests may point elsewhere).
        std::string serviceLibrary;
    };

    // Extension points for the windows that come with the editors and the lighting panel.
    struct Hooks {
        // A key or G button clicked in the function-keys mode: the composite editor opens on
        // the key index. Nothing happens without it.
        std::function<void(int controlId, int keyIndex)> keyClick;
        // Whether the composite editor is open, and closing it as if cancelled.
        std::function<bool()> editorOpen;
        std::function<void()> closeEditors;
        // The lighting panel: refresh after the lighting state was read, re-read its labels
        // after a language switch, restore the lighting defaults, paint a key in the lighting
        // view, one preview step.
        std::function<void()> refreshLighting;
        std::function<void()> relabelLighting;
        std::function<void()> restoreLightingDefaults;
        std::function<bool(int controlId)> paintKey; // true when the lighting view took it
        std::function<void()> previewStep;
        // The profile dialog (1005) and the firmware update dialog (32780).
        std::function<void()> openProfileDialog;
        std::function<void()> openFirmwareDialog;
    };

    explicit CKovrelDlg(Environment environment, QWidget* parent = nullptr);
    ~CKovrelDlg() override;

    // The initialisation in its fixed order, before the window is ever shown. False when the
    // process is to end silently (the silent exit hook has been called).
    bool Initialise();

    Hooks& WindowHooks() { return hooks_; }
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    // What quitting does once the teardown ran (default: ends the event loop).
    void SetQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }

    // WindowMessageHandler.
    std::intptr_t HandleWindowMessage(std::uint32_t message, platform::WParam wParam,
                                      platform::LParam lParam) override;
    void HandleTimer(std::uint32_t id) override;

    // profiles::ProfileWindow.
    bool IsEditorOpen() const override;
    bool HasUnappliedChanges() const override { return pending_; }
    void SendApply() override;
    void DisableApply() override;
    void RefreshKeyButtons() override;
    void ShowProfileInDialog(int profile) override;
    void RebuildProfileMenu() override;

    // Commands by id, as the command table maps them.
    void OnCommand(int id);

    // Flows.
    void Apply();
    void RestoreDefaults();
    void ToggleColourMode();
    void KeyClick(int controlId);
    void ShowWindowRule();
    void HideWindow();
    void Quit();
    void SwitchLanguageTo(int language);
    void ImportConfiguration();
    void ExportConfiguration();
    void ShowProfileMenu();
    void ShowMainMenu();
    // The instance request "reload from the keyboard": the status line to answer.
    std::string ReloadFromKeyboard();

    // State, for the tray, the editors and tests.
    bool PendingChanges() const { return pending_; }
    void SetPendingChanges(bool pending);
    bool ColourMode() const { return colourMode_; }
    bool InitialisedByMessage() const { return initMessageHandled_; }
    int GBank() const;
    KeyboardAccess Keyboard();
    CTrayIcon& Tray() { return tray_; }
    ProfileMenu& ProfileMenuOf() { return profileMenu_; }
    KeyButtons& Keys() { return keys_; }
    BusyIndicator& Busy() { return busy_; }
    lighting::LightingMirror& Lighting() { return lighting_; }
    lighting::UserLightingState& UserLighting() { return userLighting_; }
    const QString& WebLink() const { return webLink_; }
    const std::filesystem::path& MainSkinFile() const { return mainSkinFile_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool InitialiseWindow();
    bool LoadStatePictures();
    void PlaceControls();
    void HookImageButtonCallbacks();
    void OnInitMessage();
    void OnKeyboardArrived();
    void OnKeyboardLeft();
    void OnBankSwitch();
    void OnLightingTimer();
    void OnPreviewTimer();
    void OnBusyTimer();
    void OnProfileButton(int profile);
    void SwitchProfile(int profile);
    void ReloadLighting();
    void PressProfileButton(int profile);
    void ShowLockAB(int bank);
    void CloseChildWindows();
    void Teardown();
    int ActiveArea();
    bool SwallowKey(const QKeyEvent& event) const;

    Environment env_;
    Hooks hooks_;
    FileChooser chooseFile_;
    std::function<void()> quit_;

    CTrayIcon tray_;
    KeyButtons keys_;
    BusyIndicator busy_;
    ProfileMenu profileMenu_;
    std::unique_ptr<NamedEvents> namedEvents_;
    std::unique_ptr<profiles::ProfileSwitcher> switcher_;

    lighting::LightingMirror lighting_;
    lighting::UserLightingState userLighting_;

    std::filesystem::path mainSkinFile_;
    QString webLink_;
    bool pending_ = false;
    bool colourMode_ = false;
    bool windowInitialised_ = false;
    bool initMessageHandled_ = false;
    bool quitting_ = false;
    int shownBank_ = 0;
};

} // namespace kovrel::app

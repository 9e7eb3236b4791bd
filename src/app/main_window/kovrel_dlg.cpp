#include "app/main_window/kovrel_dlg.h"

#include "app/instance_lock.h"
#include "app/interface_services.h"
#include "app/main_window/flip_switch.h"
#include "app/main_window/function_buttons.h"
#include "app/main_window/main_window_ids.h"
#include "app/main_window/main_window_template.h"
#include "app/named_events.h"
#include "app/tray/tray_icons.h"
#include "device/device_link.h"
#include "device/device_presence.h"
#include "dialogs/about_dialog.h"
#include "model/key_controls.h"
#include "platform/ini.h"
#include "profiles/settings.h"
#include "skin/core/language_table.h"
#include "skin/core/skin_file.h"
#include "skin/widgets/png_button.h"
#include "skin/widgets/silent_exit.h"
#include "skin/widgets/skin_pictures.h"

#include <QCoreApplication>
#include <QLabel>

#include <array>

namespace kovrel::app {

namespace {

// The state pictures of the main window's image buttons, and the arrow and colour pictures.
constexpr std::u16string_view kNormal = u"Skins\\main_normal.jpg";
constexpr std::u16string_view kOver = u"Skins\\main_over.jpg";
constexpr std::u16string_view kDown = u"Skins\\main_down.jpg";
constexpr std::u16string_view kDisable = u"Skins\\main_disable.jpg";
constexpr std::u16string_view kArrow = u"Skins\\Arrow.jpg";
constexpr std::u16string_view kColour0 = u"Skins\\main_color0.jpg";
constexpr std::u16string_view kColour1 = u"Skins\\main_color1.jpg";

std::filesystem::path MainSkinFileOf(const std::filesystem::path& programFolder) {
    return programFolder / "Skins" / "Main.ini";
}

} // namespace

CKovrelDlg::CKovrelDlg(Environment environment, QWidget* parent)
    : CBaseDialog(ids::kTemplate, parent, MainSkinFileOf(environment.programFolder),
                  environment.programFolder / "Skins"),
      env_(std::move(environment)), chooseFile_(&ChooseConfigurationFile),
      quit_([] { QCoreApplication::quit(); }), keys_(Template()),
      profileMenu_(this, [this](int id) { OnCommand(id); }) {
    mainSkinFile_ = MainSkinFileOf(env_.programFolder);
    setWindowIcon(StatusIcon(kIconProgram));
    tray_.SetCommandSinks(
        [this](int id) {
            env_.services.window.PostMessage(kCommandMessage, static_cast<platform::WParam>(id), 0);
        },
        [this](int id) { OnCommand(id); });
    switcher_ = std::make_unique<profiles::ProfileSwitcher>(Keyboard(), *this);
}

CKovrelDlg::~CKovrelDlg() {
    env_.services.tray.SetSink(nullptr);
    if (env_.services.window.IsTimerArmed(ids::kPreviewTimer)) {
        env_.services.window.KillTimer(ids::kPreviewTimer);
    }
}

KeyboardAccess CKovrelDlg::Keyboard() {
    return KeyboardAccess::Of(env_.link);
}

bool CKovrelDlg::Initialise() {
    return OnInitDialog();
}

bool CKovrelDlg::OnInitDialog() {
    // 1. The skinned dialog base: background, outline and size.
    if (!CBaseDialog::OnInitDialog()) {
        return false;
    }
    if (windowInitialised_) {
        // A later opening: the texts are read again, everything else stays.
        ApplyFunctionTexts(Template());
        return true;
    }
    return InitialiseWindow();
}

bool CKovrelDlg::InitialiseWindow() {
    // 2. A frameless window has no system menu; its About command (16) is still accepted.
    // 3. The window icon is set at construction.
    // 4. Not initialised yet; the workers may reach the window from now on.
    env_.presence.SetWindowInitialised(false);
    env_.services.window.SetHandler(this);
    env_.services.messageBox.SetOwner(this);
    env_.link.currentProfile.Forget();

    // 5, 6. The device service and the request channel.
    const device::BindResult bound = env_.serviceLibrary.empty()
                                         ? env_.link.Open()
                                         : env_.link.Open(env_.serviceLibrary.c_str());
    if (bound != device::BindResult::Ready) {
        skin::EndProgramSilently();
        return false;
    }

    // 7. The keyboard count and the device-change worker.
    const int count = env_.link.channel.QueryDeviceCount();
    if (count == 0) {
        env_.presence.SetFirstConnection(true);
    }
    env_.presence.SetLayoutFailureText([] { return LanguageText(device::kLayoutFailureKey); });
    env_.presence.SetHideWindow([this] {
        QMetaObject::invokeMethod(
            this, [this] { HideWindow(); }, Qt::QueuedConnection);
    });
    env_.presence.Attach(env_.link.channel);
    env_.presence.CountChanged(count);

    // 8. Nothing to resolve for layered windows here.
    // 9. An empty working store.
    {
        auto lock = WorkingStore().Acquire();
        WorkingStore().Replace(EmptyConfiguration());
    }
    SetPendingChanges(false);

    // 10. The state pictures; any that does not load ends the program silently.
    if (!LoadStatePictures()) {
        return false;
    }

    // 11. The web link.
    webLink_ = QString::fromStdU16String(
        platform::ReadIniString(skin::kScreenSection, u"Link", skin::kDefaultLink, mainSkinFile_));

    // 12. The key and function buttons, Flip, the settings, the lighting panel.
    PlaceControls();
    HookImageButtonCallbacks();
    ApplyStoredFlip(Template());
    profiles::InitialiseSettings();
    if (hooks_.refreshLighting) {
        hooks_.refreshLighting();
    }

    // 13. No taskbar button while hidden; the mark; the caption.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setProperty("kovrelMark", static_cast<uint>(ids::kWindowMark));
    setWindowTitle(QString::fromStdU16String(LanguageText("MAIN_CAPTION")));

    // 14. The named events.
    namedEvents_ = std::make_unique<NamedEvents>(env_.namedEventPrefix);

    // 15. Function-keys mode.
    colourMode_ = false;
    ShowSwitchCaption(Template(), colourMode_);

    // 16. The initialisation message, handled once the event loop runs.
    env_.services.window.PostMessage(ids::kInitMessage, ids::kInitCode, 0);

    // 17. The language texts.
    ApplyFunctionTexts(Template());

    // 18. The lighting preview's timer.
    env_.services.window.SetTimer(ids::kPreviewTimer, 100);

    windowInitialised_ = true;
    return true;
}

bool CKovrelDlg::LoadStatePictures() {
    constexpr std::array names{kNormal, kOver, kDown, kDisable, kArrow, kColour0, kColour1};
    for (std::u16string_view name : names) {
        if (skin::LoadSkinPicture(name, env_.programFolder).isNull()) {
            skin::EndProgramSilently();
            return false;
        }
    }
    for (std::u16string_view name : names) {
        skin::RenderStatePicture(name, *this, env_.programFolder);
    }
    return true;
}

void CKovrelDlg::PlaceControls() {
    Template().Create(MainWindowTemplate());
    const skin::SkinFaces faces{skin::FindStatePicture(kNormal), skin::FindStatePicture(kOver),
                                skin::FindStatePicture(kDown), skin::FindStatePicture(kDisable),
                                skin::FindStatePicture(kDisable)};
    KeyButtons::Pictures pictures;
    pictures.faces = faces;
    pictures.colourA = skin::FindStatePicture(kColour0);
    pictures.colourB = skin::FindStatePicture(kColour1);
    shownBank_ = GBank();
    keys_.Place(mainSkinFile_, pictures, shownBank_);
    PlaceFunctionButtons(Template(), mainSkinFile_, faces, skin::FindStatePicture(kArrow));
    busy_.Attach(Template().ControlAs<QLabel>(ids::kBusy), env_.programFolder / "Skins",
                 mainSkinFile_);
    ShowLockAB(shownBank_);

    // Every button of the table sends its id as a command.
    for (const KeyControl& control : KeyboardControls()) {
        const int id = control.controlId;
        Template().OnCommand(id, [this, id] { OnCommand(id); });
    }
    for (const FunctionButton& button : FunctionButtons()) {
        const int id = button.id;
        Template().OnCommand(id, [this, id] { OnCommand(id); });
    }
    for (auto* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void CKovrelDlg::HookImageButtonCallbacks() {
    // Buttons that share a picture with another repaint it when they change.
    const auto repaint = [this](std::initializer_list<int> controls) {
        for (int id : controls) {
            if (auto* button = Template().ControlAs<skin::CPngButton>(id)) {
                button->update();
            }
        }
    };
    if (auto* lockAB = Template().ControlAs<skin::CPngButton>(ids::kLockAB)) {
        lockAB->SetPaintCallback([this](skin::CPngButton*, bool) {
            for (const KeyControl& g : GKeyControls()) {
                if (auto* button = keys_.Button(g.controlId)) {
                    button->update();
                }
            }
        });
    }
    if (auto* flip0 = Template().ControlAs<skin::CPngButton>(ids::kFlip0)) {
        flip0->SetPaintCallback([repaint](skin::CPngButton*, bool) {
            if (profiles::GetFlip() == 0) {
                repaint({1010, 1011, 1012, 1013, 1014, ids::kFlip1, ids::kFlip2});
            } else {
                repaint({1016, 1017, 1018, 1019, 1020, 1021, 1014, ids::kFlip1, ids::kFlip2});
            }
        });
    }
    // The hint arrow beside each side of the key-layout switch shows while it is hovered.
    const std::array flips{std::pair{ids::kFlip1, ids::kLeftArrow},
                           std::pair{ids::kFlip2, ids::kRightArrow}};
    for (auto [flipId, arrowId] : flips) {
        auto* flip = Template().ControlAs<skin::CPngButton>(flipId);
        auto* arrow = Template().ControlAs<skin::CPngButton>(arrowId);
        if (flip && arrow) {
            flip->SetPaintCallback([arrow](skin::CPngButton* button, bool) {
                if (arrow->isVisible() != button->IsHover()) {
                    arrow->setVisible(button->IsHover());
                }
            });
        }
    }
    // The Enter key's picture overlaps "]}".
    if (auto* enter = keys_.Button(ControlOfKey(0x1C))) {
        enter->SetPaintCallback([this](skin::CPngButton*, bool) {
            if (auto* bracket = keys_.Button(1055)) {
                bracket->update();
            }
        });
    }
}

void CKovrelDlg::OnInitMessage() {
    // 1. The tray icon, its single-click command and the status it starts with.
    tray_.AddIcon(this, QString::fromStdU16String(LanguageText("KEYBOARD_TRAY_DESC")), kIconProgram,
                  CTrayIcon::kIconId);
    tray_.SetSingleClickCommand(ids::kProfileMenu);
    env_.services.tray.SetSink(&tray_);
    env_.services.tray.SetCurrentIcon(kIconProgram);
    // 2. The profile menu.
    RebuildProfileMenu();
    // 3. The device-change worker may now touch the window and the tray.
    initMessageHandled_ = true;
    env_.presence.SetWindowInitialised(true);
    // 4. Hidden: the program lives in the tray.
    hide();
}

void CKovrelDlg::CloseChildWindows() {
    if (dialogs::CAboutDlg* about = dialogs::CAboutDlg::Current()) {
        about->OnCancel();
    }
    if (hooks_.closeEditors) {
        hooks_.closeEditors();
    }
}

void CKovrelDlg::Quit() {
    if (quitting_) {
        return;
    }
    quitting_ = true;
    hide();
    Teardown();
    if (quit_) {
        quit_();
    }
}

void CKovrelDlg::Teardown() {
    // 1. The child windows, as if cancelled.
    CloseChildWindows();
    // 2. The single-instance lock.
    if (env_.instanceLock) {
        env_.instanceLock->Release();
    }
    // 3. The named events.
    if (namedEvents_) {
        namedEvents_->Close();
    }
    // 4. The tray icon.
    env_.services.tray.SetSink(nullptr);
    tray_.RemoveIcon();
    env_.services.tray.SetCurrentIcon(0);
    SetPendingChanges(false);
    env_.services.window.KillTimer(ids::kPreviewTimer);
    env_.services.window.KillTimer(ids::kBusyTimer);
    // 5, 6. The stores are released under their locks.
    {
        auto working = WorkingStore().Acquire();
        WorkingStore().Replace(EmptyConfiguration());
    }
    {
        auto applied = AppliedStore().Acquire();
        AppliedStore().Replace(EmptyConfiguration());
    }
}

} // namespace kovrel::app

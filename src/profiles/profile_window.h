#pragma once
// What the profile operations ask of the windows: the main window, its composite editor and
// the profile dialog implement these; tests record them.

namespace kovrel::profiles {

class ProfileWindow {
public:
    virtual ~ProfileWindow() = default;

    // The composite editor is open.
    virtual bool IsEditorOpen() const = 0;
    // The main window or the profile dialog holds changes not yet applied.
    virtual bool HasUnappliedChanges() const = 0;
    // Sends the main window its Apply command.
    virtual void SendApply() = 0;
    // Disables the main window's Apply button (and drops its change mark).
    virtual void DisableApply() = 0;
    // Shows every key and G button from the working store (called with its lock held).
    virtual void RefreshKeyButtons() = 0;
    // The keyboard's current profile became `profile`: an open profile dialog checks its row and
    // disables its own Apply.
    virtual void ShowProfileInDialog(int profile) = 0;
    // Rebuilds the profile menu and the scene button.
    virtual void RebuildProfileMenu() = 0;
};

} // namespace kovrel::profiles

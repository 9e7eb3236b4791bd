#pragma once
// Keeping the working store in step with the keyboard: reloading it from the keyboard through the
// working configuration file, and switching the keyboard's current profile with the question
// about unapplied changes. The windows take part through ProfileWindow.

#include "model/keyboard_access.h"
#include "profiles/profile_window.h"

namespace kovrel::profiles {

// When a keyboard is connected and after the profile dialog's Apply: exports the keyboard into the
// working configuration file and loads the working store from it. When the keyboard cannot be
// read, the working store becomes an empty configuration marked as not read (Apply then refuses
// until a read or an import succeeds); when the file cannot be loaded back, the store stays as it
// was. Refreshes the key buttons under the store's lock, then disables Apply. Returns 1 when the
// store now holds the keyboard's configuration, else 0. `window` may be null.
int ReloadConfigurationFromKeyboard(KeyboardAccess keyboard, ProfileWindow* window);

class ProfileSwitcher {
public:
    ProfileSwitcher(KeyboardAccess keyboard, ProfileWindow& window)
        : keyboard_(keyboard), window_(window) {}

    // Makes profile n (0-2; 3 or more means 0; -1 leaves the keyboard's profile as it is) the
    // keyboard's current profile. Refused (0, nothing changed) while the composite editor is
    // open, with the message PROFILE_SEELCT_PROMPT2. With unapplied changes it first asks
    // PROFILE_SELECT_PROMPT: Yes applies them, No drops them by reloading the working file.
    // Returns 1 when done.
    int SwitchProfile(int n);

private:
    KeyboardAccess keyboard_;
    ProfileWindow& window_;
    bool asking_ = false; // the question is on screen: a second switch does not ask again
};

} // namespace kovrel::profiles

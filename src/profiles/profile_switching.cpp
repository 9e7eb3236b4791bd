#include "profiles/profile_switching.h"

#include "model/configuration_store.h"
#include "model/user_messages.h"
#include "profiles/config_file.h"
#include "profiles/settings.h"

namespace kovrel::profiles {

int ReloadConfigurationFromKeyboard(KeyboardAccess keyboard, ProfileWindow* window) {
    EnsureDataFolder();
    const std::filesystem::path workingFile = WorkingConfigurationFile();
    // Reading the keyboard runs outside the store's lock.
    const bool exported =
        keyboard.currentProfile.Get() >= 0 && ExportKeyboardToFile(workingFile, keyboard);
    ConfigurationStore& working = WorkingStore();
    int result = 0;
    {
        const auto lock = working.Acquire();
        if (exported) {
            result = LoadConfigurationFile(workingFile, working);
        } else {
            Configuration empty = EmptyConfiguration();
            empty.notRead = true;
            working.Replace(std::move(empty));
        }
        if (window != nullptr) {
            window->RefreshKeyButtons();
        }
    }
    if (window != nullptr) {
        window->DisableApply();
    }
    return result;
}

int ProfileSwitcher::SwitchProfile(int n) {
    if (n >= 3) {
        n = 0;
    }
    if (window_.IsEditorOpen()) {
        ShowLanguageMessage("PROFILE_SEELCT_PROMPT2");
        return 0;
    }
    if (window_.HasUnappliedChanges() && !asking_) {
        asking_ = true;
        const bool save = AskLanguageQuestion("PROFILE_SELECT_PROMPT", false);
        asking_ = false;
        if (save) {
            window_.SendApply();
        } else {
            window_.DisableApply();
            if (keyboard_.currentProfile.Cached() >= 0) {
                LoadConfigurationFile(WorkingConfigurationFile(), WorkingStore());
            }
        }
        keyboard_.currentProfile.Set(n);
    } else {
        keyboard_.currentProfile.Set(n);
        if (n >= 0) {
            window_.ShowProfileInDialog(n);
        }
    }
    {
        const auto lock = WorkingStore().Acquire();
        window_.RefreshKeyButtons();
    }
    window_.RebuildProfileMenu();
    return 1;
}

} // namespace kovrel::profiles

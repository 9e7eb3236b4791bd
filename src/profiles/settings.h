#pragma once
// The user's persistent settings and the data folder.
//
// Two stores: the settings file wskb.ini in the data folder (section KEYCOLOR: the lighting view
// switch and the first-run marker of the user lighting files), and the per-user settings store of
// platform/user_settings.h (section PROFILES: Flip, RecordDelay and the profile list), which
// stands in for the application's registry branch with the same value names and string forms.
//
// The paths are built once by InitialiseSettings and kept for the run; nothing else is cached:
// every get reads its store again. All functions may be called from any thread. Failed writes
// and copies are silent, as missing values are answered by their defaults.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kovrel::profiles {

// The data folder's name inside the documents folder.
inline constexpr std::string_view kDataFolderName = "Tavik";

struct SettingsPaths {
    std::filesystem::path dataFolder;   // documents folder / "Tavik"
    std::filesystem::path settingsFile; // data folder / "wskb.ini"
    // File-name prefixes of the lighting files: prefix + number + ".userd".
    std::filesystem::path userLightingPrefix;     // data folder / "UserDengColor_"
    std::filesystem::path templateLightingPrefix; // program folder / "Skins" / "UserDengColor_"
};

// The paths for a documents folder and a program folder (no length limit).
SettingsPaths BuildSettingsPaths(const std::filesystem::path& documentsFolder,
                                 const std::filesystem::path& programFolder);

// Builds the paths (from platform::DocumentsFolder() and platform::ProgramFolder(), or from the
// given roots, which tests point at temporary folders), then runs the first-run step.
void InitialiseSettings();
void InitialiseSettings(const std::filesystem::path& documentsFolder,
                        const std::filesystem::path& programFolder);

// The paths in use. Before InitialiseSettings they are built from the default roots.
SettingsPaths CurrentSettingsPaths();

// prefix + number + ".userd".
std::filesystem::path LightingFileName(const std::filesystem::path& prefix, int number);
std::filesystem::path UserLightingFile(int number);     // numbers 0-2: profiles; 3: pristine
std::filesystem::path TemplateLightingFile(int number); // the shipped templates in Skins/

// First-run step: unless usermodeCheck reads 1, gives each of the user lighting files 0 to 3
// that does not exist yet a copy of template 3, then marks the step as done (usermodeCheck "1")
// once all four files are there. Existing user lighting files are never overwritten, so a lost
// wskb.ini does not cost the user's painted colours.
void RunFirstRunStep();

// Before every use of the data folder: when the folder does not exist, creates it with every
// missing parent and runs the first-run step. True when the folder exists afterwards.
bool EnsureDataFolder();

// KEYCOLOR/usermodeCheck: whether the first-run copy has run (only the integer 1 counts).
bool GetUsermodeCheck();

// KEYCOLOR/DengCheck: the lighting view switch (only the integer 1 counts as on; " 1" does,
// "true" does not). Written as "1" or "0".
bool GetDengCheck();
void SetDengCheck(bool on);

// PROFILES/Flip: which key group of the main window's key picture is usable (0: F1-F4, 1: D1-D6).
// Get gives 1 only when the stored value reads as the integer 1, else 0. Set stores "1" for 1
// and "0" for anything else, and returns the value stored.
int GetFlip();
int SetFlip(int value);

// PROFILES/<record-delay value name>: whether macro recording keeps the measured pauses.
// Same rules as Flip.
int GetRecordDelay();
int SetRecordDelay(int value);

// The record-delay value's name: the text of the language entry MACRO_ACTION_RECORD_DELAY, or
// "RecordDelay" when that text is empty (an empty name could not be stored).
std::u16string RecordDelayValueName(std::u16string_view languageText);
std::u16string RecordDelayValueName();

// The profile dialog's rows: PROFILE01, PROFILE02, ... the row paths in row order, then
// PROFILE00 the count. Rows of a longer earlier list stay, unread.
void StoreProfileList(const std::vector<std::u16string>& rowPaths);

} // namespace kovrel::profiles

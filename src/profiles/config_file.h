#pragma once
// Configuration files on disk: the working configuration file that mirrors the keyboard between
// runs, and the ".kvl" files a user exports and imports. Writes go through the platform's atomic
// file writer; loads build the new configuration aside and put it in place only when the whole
// file was read, so a bad file never leaves a half-loaded store.

#include "model/configuration_store.h"
#include "model/keyboard_access.h"

#include <filesystem>

namespace kovrel::profiles {

class ProfileWindow;

// The data folder's "$Profile0": one file for all three profiles.
std::filesystem::path WorkingConfigurationFile();

// Writes the store (rebuilt header, texts laid out) to `path`. `takeLock` false when the caller
// already holds the store's lock. True when the whole file is on disk.
bool WriteConfigurationFile(const std::filesystem::path& path, ConfigurationStore& store,
                            bool takeLock = true);

// Writes the working store to the working configuration file, but only if that file already
// exists; a skipped write counts as success.
bool SaveWorkingFile(ConfigurationStore& store);
bool SaveWorkingFile(ConfigurationStore& store, const std::filesystem::path& workingFile);

// Loads a file into the store in place of its content: 1, or 0 when the file is missing, cannot
// be read, runs out of memory or promises more than it holds (the store then stays as it was).
int LoadConfigurationFile(const std::filesystem::path& path, ConfigurationStore& store);

// 1 valid; 0 missing, too small (below 32832 bytes) or too large (4 GiB or more), or failing the
// header test or the read of its content (then the message PROFILE_FORMAT_ERROR with the path is
// shown); -2 cannot be opened; -3 out of memory. The file may be longer than its header says.
int ValidateConfigurationFile(const std::filesystem::path& path);

// Reads the keyboard's three key blocks and its macro image into a new configuration (decoded
// against the keyboard's DefaultLayout; macro ids are positions + 1). False when the current
// profile is not known, any read fails or the macro image is refused; `out` is then unchanged.
bool ReadKeyboardConfiguration(KeyboardAccess keyboard, Configuration& out);

// Reads the keyboard's three key blocks and its macro image and writes them as a configuration
// file (decoded against the keyboard's DefaultLayout). Fails when the current profile is not
// known, any read fails, the macro image is refused, or the file cannot be written. Runs outside
// the store locks.
bool ExportKeyboardToFile(const std::filesystem::path& path, KeyboardAccess keyboard);

struct ImportResult {
    bool loaded = false; // the file passed validation and is now the working store
    int applied = 0;     // result of applying all three profiles
};

// The import command after its file dialog: validate (else MAIN_PROMPT_INPORT), then under the
// working store's lock load, save the working file, apply all profiles and refresh the key
// buttons; then disable Apply. `window` may be null (no window, as in kovrelctl).
ImportResult ImportConfigurationFile(const std::filesystem::path& path, KeyboardAccess keyboard,
                                     ProfileWindow* window = nullptr);

} // namespace kovrel::profiles

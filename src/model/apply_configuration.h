#pragma once
// Apply: the working store becomes the applied store, from which the macro image and the
// profile blocks are built and written to the keyboard.

#include "model/configuration_store.h"
#include "model/keyboard_access.h"

namespace kovrel {

// Copies the working store into the applied store (header rewritten, texts laid out, their
// offsets stored in the working records) and downloads it: all three profiles, or only the
// active one. The caller holds the working store's lock; the applied store's is taken inside.
// Returns 1 on success, 0 otherwise. A working store marked as not read from the keyboard is
// refused with the message APPLY_NOT_READ, so that an empty stand-in never overwrites what the
// keyboard holds.
int ApplyConfiguration(ConfigurationStore& working, ConfigurationStore& applied,
                       KeyboardAccess keyboard, bool allProfiles);
// With the program's two stores.
int ApplyConfiguration(KeyboardAccess keyboard, bool allProfiles);

// Writes the applied store: space check against the keyboard's macro memory (message
// EXTRA_MACRO_TOO_LONG and nothing sent when even the nameless image does not fit), then
// BeginConfig, WriteMacroImage, WriteProfileBlock for each profile in ascending order, EndConfig
// (the whole sequence is sent even after a failed command), then EXTRA_PROFILE_SPACE_TIGHT when
// the names were left out. Returns 1 only when every command of the sequence succeeded.
int DownloadConfiguration(ConfigurationStore& applied, KeyboardAccess keyboard, bool allProfiles);

} // namespace kovrel

#pragma once
// Where things are: the program folder (from /proc/self/exe, never the current folder) and the
// per-user folders that stand in for the documents folder and the registry.

#include <filesystem>

namespace kovrel::platform {

// The folder of the running executable, computed once. Skins/, Help/, Package/ and the other
// binaries sit in it. Empty (never the current folder) if /proc/self/exe cannot be read.
const std::filesystem::path& ProgramFolder();

// XDG_DOCUMENTS_DIR from $XDG_CONFIG_HOME/user-dirs.dirs ("$HOME/..." or an absolute path, as
// xdg-user-dirs writes it), else $HOME/Documents. Read at every call, never created here.
std::filesystem::path DocumentsFolder();

// $XDG_CONFIG_HOME, else $HOME/.config.
std::filesystem::path UserConfigFolder();

// The per-user settings file that takes the registry branch's place:
// $XDG_CONFIG_HOME/Kovrel_Ostrel/Kovrel.ini.
std::filesystem::path UserSettingsFile();

} // namespace kovrel::platform

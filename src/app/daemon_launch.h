#pragma once
// Starts the keyboard daemon from the program folder at start-up: no arguments, nothing
// examined afterwards (a daemon already running declines the second one by itself).

#include <filesystem>

namespace kovrel::platform {
class Launcher;
}

namespace kovrel::app {

inline constexpr const char* kDaemonFileName = "Varnolt";

void LaunchDaemon(platform::Launcher& launcher, const std::filesystem::path& programFolder);

} // namespace kovrel::app

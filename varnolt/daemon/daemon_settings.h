#pragma once
// What the daemon is told at start: whether it hosts the virtual keyboard, with which simulated
// transfer time, and where it keeps the virtual keyboard's memories.
//
// The environment wins over the settings file $XDG_CONFIG_HOME/Kovrel_Ostrel/Varnolt.ini:
//   VARNOLT_VIRTUAL=1|0          [Virtual] Enabled=1|0        (default 0)
//   VARNOLT_VIRTUAL_DELAY_US=n   [Virtual] DelayMicroseconds=n (per report each way, default 0)
//   VARNOLT_STATE_FILE=path      (default $XDG_STATE_HOME/Kovrel_Ostrel/virtual-keyboard.kvkb)

#include <chrono>
#include <filesystem>

namespace kovrel::varnolt {

struct DaemonSettings {
    bool virtualKeyboard = false;
    std::chrono::microseconds virtualDelay{0};
    std::filesystem::path stateFile;
};

DaemonSettings LoadDaemonSettings();

} // namespace kovrel::varnolt

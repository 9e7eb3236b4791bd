#include "varnolt/daemon/daemon_settings.h"

#include "varnolt/daemon/state_store.h"

#include "platform/ini.h"
#include "platform/paths.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace kovrel::varnolt {
namespace {

bool EnvNumber(const char* name, long long low, long long high, long long& out) {
    const char* text = std::getenv(name);
    if (!text || !*text) {
        return false;
    }
    const std::string_view view(text);
    long long value = 0;
    const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (ec != std::errc() || end != view.data() + view.size() || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

} // namespace

DaemonSettings LoadDaemonSettings() {
    DaemonSettings settings;
    const auto ini = platform::UserConfigFolder() / "Kovrel_Ostrel" / "Varnolt.ini";
    settings.virtualKeyboard = platform::ReadIniInt(u"Virtual", u"Enabled", 0, ini) != 0;
    long long delay = platform::ReadIniInt(u"Virtual", u"DelayMicroseconds", 0, ini);
    long long value = 0;
    if (EnvNumber("VARNOLT_VIRTUAL", 0, 1, value)) {
        settings.virtualKeyboard = value != 0;
    }
    EnvNumber("VARNOLT_VIRTUAL_DELAY_US", 0, 10'000'000, delay);
    settings.virtualDelay = std::chrono::microseconds(std::clamp(delay, 0LL, 10'000'000LL));
    if (const char* file = std::getenv("VARNOLT_STATE_FILE"); file && file[0] == '/') {
        settings.stateFile = file;
    } else {
        settings.stateFile = DefaultStateFile();
    }
    return settings;
}

} // namespace kovrel::varnolt

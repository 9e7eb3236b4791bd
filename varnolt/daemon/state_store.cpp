#include "varnolt/daemon/state_store.h"

#include "platform/atomic_file.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace kovrel::varnolt {

std::optional<std::vector<std::uint8_t>> StateStore::Load() {
    std::ifstream in(file_, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    last_ = bytes;
    return bytes;
}

bool StateStore::Save(const std::vector<std::uint8_t>& bytes) {
    if (bytes == last_) {
        return true;
    }
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    if (!platform::WriteFileAtomically(file_, bytes)) {
        return false;
    }
    last_ = bytes;
    return true;
}

std::filesystem::path DefaultStateFile() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
        base = std::filesystem::path(home) / ".local" / "state";
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        base = std::filesystem::path(pw->pw_dir) / ".local" / "state";
    } else {
        base = "/tmp";
    }
    return base / "Kovrel_Ostrel" / "virtual-keyboard.kvkb";
}

} // namespace kovrel::varnolt

#include "platform/paths.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace kovrel::platform {

namespace fs = std::filesystem;

namespace {

fs::path ComputeProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return {}; // never fall back to the current folder
    return exe.parent_path();
}

fs::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home);
    // No HOME in the environment (a service, a stripped sandbox): the account's home.
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        return fs::path(found->pw_dir);
    return fs::path("/");
}

// One value of user-dirs.dirs as xdg-user-dirs writes it: "$HOME/Some Folder" or an absolute
// path, in double quotes, with backslash escapes. Empty when the line is not of that form.
std::string ParseUserDirValue(std::string_view text, const fs::path& home) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (text.empty() || text.front() != '"')
        return {};
    text.remove_prefix(1);
    std::string value;
    bool closed = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            value.push_back(text[++i]);
        } else if (c == '"') {
            closed = true;
            break;
        } else {
            value.push_back(c);
        }
    }
    if (!closed)
        return {};
    constexpr std::string_view kHome = "$HOME";
    if (value.compare(0, kHome.size(), kHome) == 0 &&
        (value.size() == kHome.size() || value[kHome.size()] == '/')) {
        std::string rest = value.substr(kHome.size());
        std::string result = home.string();
        while (!result.empty() && result.back() == '/' && result.size() > 1)
            result.pop_back();
        if (rest == "/")
            rest.clear(); // "$HOME/" is the home folder itself
        return result + rest;
    }
    if (!value.empty() && value.front() == '/')
        return value;
    return {}; // relative paths are not allowed by the format
}

} // namespace

const fs::path& ProgramFolder() {
    static const fs::path folder = ComputeProgramFolder();
    return folder;
}

fs::path UserConfigFolder() {
    // Relative values are to be ignored, as the base directory rules say.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return fs::path(config);
    return HomeFolder() / ".config";
}

fs::path DocumentsFolder() {
    const fs::path home = HomeFolder();
    std::ifstream in(UserConfigFolder() / "user-dirs.dirs");
    std::string line;
    std::string found;
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
    while (in && std::getline(in, line)) {
        std::string_view text = line;
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        if (text.empty() || text.front() == '#')
            continue;
        if (text.compare(0, kKey.size(), kKey) != 0)
            continue;
        text.remove_prefix(kKey.size());
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        if (text.empty() || text.front() != '=')
            continue;
        text.remove_prefix(1);
        // The last assignment wins, as when the shell sources the file.
        if (std::string value = ParseUserDirValue(text, home); !value.empty())
            found = std::move(value);
    }
    if (!found.empty())
        return fs::path(found);
    return home / "Documents";
}

fs::path UserSettingsFile() {
    return UserConfigFolder() / "Kovrel_Ostrel" / "Kovrel.ini";
}

} // namespace kovrel::platform

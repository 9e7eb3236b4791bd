#include "platform/temporary_home.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace kovrel::platform {

namespace {

std::optional<std::string> Get(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void Restore(const char* name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

} // namespace

TemporaryHome::TemporaryHome() : oldHome_(Get("HOME")), oldConfig_(Get("XDG_CONFIG_HOME")) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovrel-home-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        throw std::runtime_error("cannot create a temporary home folder");
    root_ = buffer.data();
    std::filesystem::create_directories(ConfigFolder());
    ::setenv("HOME", root_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", ConfigFolder().c_str(), 1);
}

TemporaryHome::~TemporaryHome() {
    Restore("HOME", oldHome_);
    Restore("XDG_CONFIG_HOME", oldConfig_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

} // namespace kovrel::platform

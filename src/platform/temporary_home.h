#pragma once
// For tests: a fresh temporary folder that stands in for the user's home. While the guard lives,
// HOME points at it and XDG_CONFIG_HOME at its .config, so the documents folder, the settings
// file and everything built from them land inside it. Set up before any thread starts (it
// changes the environment); the folder and its content are removed at the end.

#include <filesystem>
#include <optional>
#include <string>

namespace kovrel::platform {

class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    const std::filesystem::path& Path() const { return root_; }
    std::filesystem::path ConfigFolder() const { return root_ / ".config"; }

private:
    std::filesystem::path root_;
    std::optional<std::string> oldHome_;
    std::optional<std::string> oldConfig_;
};

} // namespace kovrel::platform

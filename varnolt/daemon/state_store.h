#pragma once
// The file that keeps the virtual keyboard's memories across daemon runs.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace kovrel::varnolt {

class StateStore {
public:
    explicit StateStore(std::filesystem::path file) : file_(std::move(file)) {}

    // The saved bytes; nothing when there is no file or it cannot be read.
    std::optional<std::vector<std::uint8_t>> Load();
    // Writes atomically when `bytes` differ from what was last loaded or saved. False when the
    // write failed (the previous file stays).
    bool Save(const std::vector<std::uint8_t>& bytes);

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
    std::vector<std::uint8_t> last_;
};

// $XDG_STATE_HOME/Kovrel_Ostrel/virtual-keyboard.kvkb, with ~/.local/state for the former.
std::filesystem::path DefaultStateFile();

} // namespace kovrel::varnolt

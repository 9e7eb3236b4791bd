#include "profiles/config_file.h"

#include "device/commands.h"
#include "model/apply_configuration.h"
#include "model/byte_order.h"
#include "model/macro_image.h"
#include "model/profile_block.h"
#include "model/user_messages.h"
#include "platform/atomic_file.h"
#include "platform/text.h"
#include "profiles/config_file_format.h"
#include "profiles/profile_window.h"
#include "profiles/settings.h"
#include "skin/core/language_table.h"

#include <fstream>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

namespace kovrel::profiles {
namespace {

constexpr std::uint64_t kFourGiB = std::uint64_t{1} << 32;

enum class ReadStatus { Ok, Missing, CannotOpen, TooShort, NoMemory };

// Reads the first `count` bytes of an open file.
ReadStatus ReadPrefix(std::ifstream& in, std::size_t count, std::vector<std::uint8_t>& out) {
    try {
        out.resize(count);
    } catch (const std::bad_alloc&) {
        return ReadStatus::NoMemory;
    }
    in.seekg(0);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
    return in.gcount() == static_cast<std::streamsize>(count) ? ReadStatus::Ok
                                                              : ReadStatus::TooShort;
}

// Opens a configuration file and reads what its header promises (at most the file's size).
ReadStatus ReadConfigurationBytes(const std::filesystem::path& path, std::uint64_t& fileSize,
                                  std::vector<std::uint8_t>& out) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return ReadStatus::Missing;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ReadStatus::CannotOpen;
    }
    fileSize = std::filesystem::file_size(path, error);
    if (error) {
        return ReadStatus::CannotOpen;
    }
    if (fileSize < kRecordsImageSize) {
        return ReadStatus::TooShort;
    }
    std::vector<std::uint8_t> header;
    if (const ReadStatus status = ReadPrefix(in, kHeaderSize, header); status != ReadStatus::Ok) {
        return status;
    }
    const HeaderFields fields =
        ReadHeaderFields(std::span<const std::uint8_t, kHeaderSize>(header));
    const std::uint64_t promised = ConfigurationTotalSize(
        std::min<std::uint64_t>(fields.macroCount, kMaxMacros), fields.textSize);
    if (promised > fileSize) {
        return ReadStatus::TooShort;
    }
    return ReadPrefix(in, static_cast<std::size_t>(promised), out);
}

void ShowFormatError(const std::filesystem::path& path) {
    ShowMessageText(
        FormatWithText(LanguageText("PROFILE_FORMAT_ERROR"), platform::FromUtf8(path.string())));
}

// Reads and parses a file into a configuration built aside.
std::optional<Configuration> ReadConfiguration(const std::filesystem::path& path) {
    std::uint64_t size = 0;
    std::vector<std::uint8_t> bytes;
    if (ReadConfigurationBytes(path, size, bytes) != ReadStatus::Ok) {
        return std::nullopt;
    }
    try {
        Configuration configuration;
        if (ParseConfiguration(bytes, configuration) != ParseResult::Ok) {
            return std::nullopt;
        }
        return configuration;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace

std::filesystem::path WorkingConfigurationFile() {
    return CurrentSettingsPaths().dataFolder / "$Profile0";
}

bool WriteConfigurationFile(const std::filesystem::path& path, ConfigurationStore& store,
                            bool takeLock) {
    ConfigurationStore::Lock lock;
    if (takeLock) {
        lock = store.Acquire();
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = SerializeConfiguration(store.Data());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return platform::WriteFileAtomically(path, bytes);
}

bool SaveWorkingFile(ConfigurationStore& store, const std::filesystem::path& workingFile) {
    std::error_code error;
    if (!std::filesystem::exists(workingFile, error)) {
        return true;
    }
    return WriteConfigurationFile(workingFile, store);
}

bool SaveWorkingFile(ConfigurationStore& store) {
    return SaveWorkingFile(store, WorkingConfigurationFile());
}

int LoadConfigurationFile(const std::filesystem::path& path, ConfigurationStore& store) {
    std::optional<Configuration> configuration = ReadConfiguration(path);
    if (!configuration) {
        return 0;
    }
    store.Replace(std::move(*configuration));
    return 1;
}

int ValidateConfigurationFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return 0;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return -2;
    }
    const std::uint64_t size = std::filesystem::file_size(path, error);
    if (error) {
        return -2;
    }
    if (size >= kFourGiB || size < kRecordsImageSize) {
        return 0;
    }
    std::vector<std::uint8_t> header;
    if (const ReadStatus status = ReadPrefix(in, kHeaderSize, header); status != ReadStatus::Ok) {
        return status == ReadStatus::NoMemory ? -3 : -2;
    }
    if (!HeaderPassesTest(std::span<const std::uint8_t, kHeaderSize>(header))) {
        ShowFormatError(path);
        return 0;
    }
    // The header may promise less than the file holds, never more; and the content it promises
    // must read cleanly (macro records, texts inside the text area).
    std::uint64_t fileSize = 0;
    std::vector<std::uint8_t> bytes;
    switch (ReadConfigurationBytes(path, fileSize, bytes)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::NoMemory:
        return -3;
    case ReadStatus::Missing:
        return 0;
    case ReadStatus::CannotOpen:
        return -2;
    case ReadStatus::TooShort:
        ShowFormatError(path);
        return 0;
    }
    try {
        Configuration parsed;
        if (ParseConfiguration(bytes, parsed) != ParseResult::Ok) {
            ShowFormatError(path);
            return 0;
        }
    } catch (const std::bad_alloc&) {
        return -3;
    }
    return 1;
}

bool ReadKeyboardConfiguration(KeyboardAccess keyboard, Configuration& out) {
    const int current = keyboard.currentProfile.Get();
    if (current < 0 || current > 3) {
        return false;
    }
    std::array<device::ProfileBlockBytes, device::kProfileCount> blocks{};
    for (int p = 0; p < device::kProfileCount; ++p) {
        if (device::ReadProfileBlock(keyboard.protocol, p, blocks[p]) != device::result::kSuccess) {
            return false;
        }
    }
    std::vector<std::uint8_t> image(kMacroImageHeaderSize);
    if (device::ReadMacroImage(keyboard.protocol, image) != device::result::kSuccess) {
        return false;
    }
    std::vector<MacroRecord> macros;
    if (bytes::GetU16(image, 0) == kMacroImageMark) {
        image.assign(bytes::GetU16(image, 2), 0);
        if (device::ReadMacroImage(keyboard.protocol, image) != device::result::kSuccess) {
            return false;
        }
        // An image that does not hold what it promises is refused rather than guessed at.
        if (DecodeMacroImage(image, macros) < 0) {
            return false;
        }
    }
    Configuration configuration;
    configuration.macros = std::move(macros);
    const ProfileBlock layout = keyboard.keyboard.DefaultLayout();
    for (int p = 0; p < device::kProfileCount; ++p) {
        DecodeProfileBlock(blocks[p], layout, configuration.Area(p));
    }
    RewriteHeader(configuration.header, static_cast<std::uint16_t>(configuration.macros.size()), 0);
    out = std::move(configuration);
    return true;
}

bool ExportKeyboardToFile(const std::filesystem::path& path, KeyboardAccess keyboard) {
    try {
        Configuration configuration;
        if (!ReadKeyboardConfiguration(keyboard, configuration)) {
            return false;
        }
        return platform::WriteFileAtomically(path, SerializeConfiguration(configuration));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

ImportResult ImportConfigurationFile(const std::filesystem::path& path, KeyboardAccess keyboard,
                                     ProfileWindow* window) {
    ImportResult result;
    if (ValidateConfigurationFile(path) != 1) {
        ShowLanguageMessage("MAIN_PROMPT_INPORT");
        return result;
    }
    ConfigurationStore& working = WorkingStore();
    {
        const auto lock = working.Acquire();
        if (LoadConfigurationFile(path, working) != 1) {
            ShowLanguageMessage("MAIN_PROMPT_INPORT");
            return result;
        }
        result.loaded = true;
        SaveWorkingFile(working);
        result.applied = ApplyConfiguration(keyboard, true);
        if (window != nullptr) {
            window->RefreshKeyButtons();
        }
    }
    if (window != nullptr) {
        window->DisableApply();
    }
    return result;
}

} // namespace kovrel::profiles

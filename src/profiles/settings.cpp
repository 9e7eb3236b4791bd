#include "profiles/settings.h"

#include "platform/atomic_file.h"
#include "platform/ini.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "platform/user_settings.h"
#include "skin/core/language_table.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>

namespace kovrel::profiles {

namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kKeyColorSection = u"KEYCOLOR";
constexpr std::u16string_view kUsermodeCheck = u"usermodeCheck";
constexpr std::u16string_view kDengCheck = u"DengCheck";
constexpr std::u16string_view kProfilesSection = u"PROFILES";
constexpr std::u16string_view kFlip = u"Flip";
constexpr std::u16string_view kRecordDelayFallback = u"RecordDelay";
constexpr int kLightingFileCount = 4;
constexpr int kPristineLightingFile = 3;

struct State {
    std::mutex mutex; // guards paths
    std::optional<SettingsPaths> paths;
    // The first-run step and the data folder's creation run one at a time (the interface thread
    // and the device-change worker may both ensure the folder).
    std::recursive_mutex firstRun;
};

State& Settings() {
    static State state;
    return state;
}

// Decimal reading of a stored text: leading blanks, an optional sign, the digits up to the first
// non-digit; 0 when there is no number. Only the result 1 matters to the callers.
bool ReadsAsOne(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == u'+')
        text.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9')
        ++digits;
    text = text.substr(0, digits);
    while (text.size() > 1 && text.front() == u'0')
        text.remove_prefix(1);
    return text == u"1";
}

std::u16string_view ZeroOrOne(bool one) {
    return one ? u"1" : u"0";
}

bool KeyColorFlag(std::u16string_view key) {
    return platform::ReadIniInt(kKeyColorSection, key, 0, CurrentSettingsPaths().settingsFile) == 1;
}

int ReadSwitch(std::u16string_view name) {
    return ReadsAsOne(platform::ReadUserSetting(kProfilesSection, name, u"0")) ? 1 : 0;
}

int WriteSwitch(std::u16string_view name, int value) {
    const int stored = value == 1 ? 1 : 0;
    platform::WriteUserSetting(kProfilesSection, name, ZeroOrOne(stored == 1));
    return stored;
}

std::optional<std::string> ReadWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return bytes;
}

} // namespace

SettingsPaths BuildSettingsPaths(const fs::path& documentsFolder, const fs::path& programFolder) {
    SettingsPaths paths;
    paths.dataFolder = documentsFolder / kDataFolderName;
    paths.settingsFile = paths.dataFolder / "wskb.ini";
    paths.userLightingPrefix = paths.dataFolder / "UserDengColor_";
    paths.templateLightingPrefix = programFolder / "Skins" / "UserDengColor_";
    return paths;
}

void InitialiseSettings() {
    InitialiseSettings(platform::DocumentsFolder(), platform::ProgramFolder());
}

void InitialiseSettings(const fs::path& documentsFolder, const fs::path& programFolder) {
    {
        std::lock_guard lock(Settings().mutex);
        Settings().paths = BuildSettingsPaths(documentsFolder, programFolder);
    }
    RunFirstRunStep();
}

SettingsPaths CurrentSettingsPaths() {
    State& state = Settings();
    std::lock_guard lock(state.mutex);
    if (!state.paths)
        state.paths = BuildSettingsPaths(platform::DocumentsFolder(), platform::ProgramFolder());
    return *state.paths;
}

fs::path LightingFileName(const fs::path& prefix, int number) {
    fs::path name = prefix;
    name += std::to_string(number);
    name += ".userd";
    return name;
}

fs::path UserLightingFile(int number) {
    return LightingFileName(CurrentSettingsPaths().userLightingPrefix, number);
}

fs::path TemplateLightingFile(int number) {
    return LightingFileName(CurrentSettingsPaths().templateLightingPrefix, number);
}

void RunFirstRunStep() {
    std::lock_guard lock(Settings().firstRun);
    if (GetUsermodeCheck())
        return;
    const std::optional<std::string> pristine =
        ReadWholeFile(TemplateLightingFile(kPristineLightingFile));
    bool allThere = true;
    for (int n = 0; n < kLightingFileCount; ++n) {
        const fs::path target = UserLightingFile(n);
        std::error_code ec;
        if (fs::exists(target, ec))
            continue; // the user's own colours stay
        if (!pristine || !platform::WriteFileAtomically(target, *pristine))
            allThere = false;
    }
    if (allThere)
        platform::WriteIniString(kKeyColorSection, kUsermodeCheck, u"1",
                                 CurrentSettingsPaths().settingsFile);
}

bool EnsureDataFolder() {
    std::lock_guard lock(Settings().firstRun);
    const fs::path folder = CurrentSettingsPaths().dataFolder;
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return true;
    // A fresh account may not even have its documents folder yet.
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return false;
    RunFirstRunStep();
    return true;
}

bool GetUsermodeCheck() {
    return KeyColorFlag(kUsermodeCheck);
}

bool GetDengCheck() {
    return KeyColorFlag(kDengCheck);
}

void SetDengCheck(bool on) {
    platform::WriteIniString(kKeyColorSection, kDengCheck, ZeroOrOne(on),
                             CurrentSettingsPaths().settingsFile);
}

int GetFlip() {
    return ReadSwitch(kFlip);
}

int SetFlip(int value) {
    return WriteSwitch(kFlip, value);
}

int GetRecordDelay() {
    return ReadSwitch(RecordDelayValueName());
}

int SetRecordDelay(int value) {
    return WriteSwitch(RecordDelayValueName(), value);
}

std::u16string RecordDelayValueName(std::u16string_view languageText) {
    return std::u16string(languageText.empty() ? kRecordDelayFallback : languageText);
}

std::u16string RecordDelayValueName() {
    return RecordDelayValueName(LanguageText("MACRO_ACTION_RECORD_DELAY"));
}

void StoreProfileList(const std::vector<std::u16string>& rowPaths) {
    auto valueName = [](std::size_t number) {
        std::string digits = std::to_string(number);
        if (digits.size() < 2)
            digits.insert(0, 1, '0');
        return u"PROFILE" + platform::FromUtf8(digits);
    };
    for (std::size_t row = 0; row < rowPaths.size(); ++row)
        platform::WriteUserSetting(kProfilesSection, valueName(row + 1), rowPaths[row]);
    platform::WriteUserSetting(kProfilesSection, valueName(0),
                               platform::FromUtf8(std::to_string(rowPaths.size())));
}

} // namespace kovrel::profiles

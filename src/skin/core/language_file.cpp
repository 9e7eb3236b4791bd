#include "skin/core/language_file.h"

#include "platform/ini.h"
#include "platform/paths.h"

#include <atomic>
#include <climits>
#include <mutex>

namespace kovrel {

namespace {

std::mutex gFilesMutex;
std::optional<LanguageFiles> gFilesOverride;

std::atomic<int> gSwitchFlag{kLanguageChinese};

std::u16string Widen(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

} // namespace

LanguageFiles CurrentLanguageFiles() {
    {
        std::lock_guard lock(gFilesMutex);
        if (gFilesOverride) {
            return *gFilesOverride;
        }
    }
    return LanguageFiles{platform::ProgramFolder() / "Skins" / "language.ini",
                         platform::UserSettingsFile()};
}

void OverrideLanguageFiles(std::optional<LanguageFiles> files) {
    std::lock_guard lock(gFilesMutex);
    gFilesOverride = std::move(files);
}

int ParseLanguageChoice(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Saturate instead of overflowing: only 1 has a meaning, a huge number is just "not 1".
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        value = INT_MAX;
    }
    return static_cast<int>(value);
}

int ReadLanguageChoice() {
    const LanguageFiles files = CurrentLanguageFiles();
    std::u16string text = platform::ReadIniString(kLanguageChoiceSection, kLanguageChoiceKey, u" ",
                                                  files.userSettingsFile, kLanguageTextCapacity);
    if (text.empty()) {
        text = platform::ReadIniString(kLanguageChoiceSection, kLanguageChoiceKey, u" ",
                                       files.languageFile, kLanguageTextCapacity);
    }
    return ParseLanguageChoice(text);
}

int LanguageSwitchFlag() {
    return gSwitchFlag.load();
}

void SetLanguageSwitchFlag(int language) {
    gSwitchFlag.store(language == kLanguageEnglish ? kLanguageEnglish : kLanguageChinese);
}

bool LanguageIsEnglish() {
    return ReadLanguageChoice() == kLanguageEnglish || LanguageSwitchFlag() == kLanguageEnglish;
}

std::u16string_view LanguageSection() {
    return LanguageIsEnglish() ? kEnglishSection : kChineseSection;
}

std::u16string ExpandLineBreakEscapes(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::u16string_view rest = text.substr(i);
        if (rest.starts_with(u"\\r\\n")) {
            out.push_back(u'\n');
            i += 3;
        } else if (rest.starts_with(u"\\n")) {
            out.push_back(u'\n');
            i += 1;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::u16string ReadLanguageString(std::u16string_view section, std::string_view key) {
    // The single blank default is stripped by the reader, so a missing key reads as empty.
    const std::u16string raw = platform::ReadIniString(
        section, Widen(key), u" ", CurrentLanguageFiles().languageFile, kLanguageTextCapacity);
    return ExpandLineBreakEscapes(raw);
}

std::u16string ReadLanguageString(std::string_view key) {
    return ReadLanguageString(LanguageSection(), key);
}

} // namespace kovrel

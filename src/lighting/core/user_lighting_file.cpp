#include "lighting/core/user_lighting_file.h"

#include "platform/ini.h"
#include "platform/text.h"

#include <algorithm>
#include <string>

namespace kovrel::lighting {
namespace {

constexpr std::u16string_view kPresentSection = u"PRESENTMODE";
constexpr std::u16string_view kPresentKey = u"mode";
constexpr std::u16string_view kNameSection = u"MODENAME";
constexpr std::u16string_view kToolKey = u"tool";
constexpr std::u16string_view kBaseColourKey = u"jcolor";
constexpr std::u16string_view kPaintColourKey = u"color";
constexpr std::u16string_view kDefaultLedValue = u"255,0,0,1";
constexpr std::u16string_view kDefaultColour = u"0,0,0";

std::u16string Decimal(int n) {
    return platform::FromUtf8(std::to_string(n));
}

std::uint8_t Component(int n) {
    return static_cast<std::uint8_t>(std::clamp(n, 0, 255));
}

Rgb ReadColour(const std::filesystem::path& file, std::u16string_view section,
               std::u16string_view key) {
    int n[3] = {0, 0, 0};
    ParseNumberList(platform::ReadIniString(section, key, kDefaultColour, file), n, 3);
    return Rgb{Component(n[0]), Component(n[1]), Component(n[2])};
}

bool ValidMode(int mode) {
    return mode >= 0 && mode < kUserModes;
}

} // namespace

std::u16string ModeSection(int mode) {
    return u"Mode" + Decimal(mode);
}

void ParseNumberList(std::u16string_view text, int* numbers, int count) {
    std::size_t i = 0;
    for (int field = 0; field < count; ++field) {
        if (field > 0) {
            if (i >= text.size() || text[i] != u',') {
                return;
            }
            ++i;
        }
        while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
            ++i;
        }
        bool negative = false;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
            negative = text[i] == u'-';
            ++i;
        }
        if (i >= text.size() || text[i] < u'0' || text[i] > u'9') {
            return;
        }
        long long value = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            value = std::min<long long>(value * 10 + (text[i] - u'0'), 1'000'000'000LL);
            ++i;
        }
        numbers[field] = static_cast<int>(negative ? -value : value);
    }
}

int ReadPresentMode(const std::filesystem::path& file) {
    const int mode = platform::ReadIniInt(kPresentSection, kPresentKey, 0, file);
    return ValidMode(mode) ? mode : 0;
}

bool WritePresentMode(const std::filesystem::path& file, int mode) {
    return platform::WriteIniString(kPresentSection, kPresentKey, Decimal(mode), file);
}

std::array<std::u16string, kUserModes> ReadModeNames(const std::filesystem::path& file) {
    std::array<std::u16string, kUserModes> names;
    for (int m = 0; m < kUserModes; ++m) {
        names[static_cast<std::size_t>(m)] =
            platform::ReadIniString(kNameSection, Decimal(m), u"0", file);
    }
    return names;
}

bool WriteModeName(const std::filesystem::path& file, int mode, std::u16string_view name) {
    return ValidMode(mode) && platform::WriteIniString(kNameSection, Decimal(mode), name, file);
}

ModeSettings ReadModeSettings(const std::filesystem::path& file, int mode) {
    const std::u16string section = ModeSection(mode);
    ModeSettings settings;
    settings.tool = platform::ReadIniInt(section, kToolKey, 0, file) == 1 ? 1 : 0;
    settings.baseColour = ReadColour(file, section, kBaseColourKey);
    settings.paintColour = ReadColour(file, section, kPaintColourKey);
    return settings;
}

bool WriteModeSettings(const std::filesystem::path& file, int mode, const ModeSettings& settings) {
    const std::u16string section = ModeSection(mode);
    bool ok = platform::WriteIniString(section, kToolKey, Decimal(settings.tool), file);
    ok = platform::WriteIniString(section, kBaseColourKey, FormatColour(settings.baseColour),
                                  file) &&
         ok;
    ok = platform::WriteIniString(section, kPaintColourKey, FormatColour(settings.paintColour),
                                  file) &&
         ok;
    return ok;
}

LedValue ReadLedValue(const std::filesystem::path& file, int mode, int ledPosition) {
    int n[4] = {255, 0, 0, 1};
    ParseNumberList(
        platform::ReadIniString(ModeSection(mode), Decimal(ledPosition), kDefaultLedValue, file), n,
        4);
    return LedValue{Rgb{Component(n[0]), Component(n[1]), Component(n[2])}, n[3] != 0};
}

bool WriteLedValue(const std::filesystem::path& file, int mode, int ledPosition,
                   const LedValue& value) {
    return platform::WriteIniString(ModeSection(mode), Decimal(ledPosition), FormatLedValue(value),
                                    file);
}

std::u16string FormatColour(Rgb colour) {
    return Decimal(colour.r) + u"," + Decimal(colour.g) + u"," + Decimal(colour.b);
}

std::u16string FormatLedValue(const LedValue& value) {
    return FormatColour(value.colour) + u"," + (value.mark ? u"1" : u"0");
}

} // namespace kovrel::lighting

#include "lighting_options.h"

#include "command_line.h"

#include <charconv>

namespace kovrel::kovrelctl {

std::optional<lighting::Rgb> ParseRgb(const std::string& text) {
    int values[3] = {0, 0, 0};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (p == end || *p != ',') {
                return std::nullopt;
            }
            ++p;
        }
        const auto [next, ec] = std::from_chars(p, end, values[i]);
        if (ec != std::errc() || values[i] < 0 || values[i] > 255) {
            return std::nullopt;
        }
        p = next;
    }
    if (p != end) {
        return std::nullopt;
    }
    return lighting::Rgb{static_cast<std::uint8_t>(values[0]), static_cast<std::uint8_t>(values[1]),
                         static_cast<std::uint8_t>(values[2])};
}

int BadColour(const std::string& option, const std::string& text) {
    return Fail(kExitUsage, option + " " + text +
                                ": give red, green and blue as R,G,B, each 0 to 255 "
                                "(e.g. 0,255,0)");
}

std::optional<int> ChosenProfile(KeyboardSession& session, int profileOption) {
    if (profileOption != 0) {
        return profileOption - 1;
    }
    const int current = session.Link().currentProfile.Get();
    if (current < 0) {
        Fail(kExitFailed, "cannot read the current profile: the keyboard did not answer; "
                          "reconnect it or give --profile N");
        return std::nullopt;
    }
    if (current > 2) {
        Fail(kExitFailed, "the keyboard holds no valid profile; give --profile N (1 to 3)");
        return std::nullopt;
    }
    return current;
}

std::string FormatRgb(lighting::Rgb colour) {
    return std::to_string(colour.r) + "," + std::to_string(colour.g) + "," +
           std::to_string(colour.b);
}

nlohmann::json RgbJson(lighting::Rgb colour) {
    return nlohmann::json::array({colour.r, colour.g, colour.b});
}

} // namespace kovrel::kovrelctl

#pragma once
// What the lighting and colours commands share: the profile a command works on, colour values
// from the command line, and colours in output.

#include "keyboard_session.h"

#include "lighting/core/colour.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace kovrel::kovrelctl {

// Parses "R,G,B" (three integers 0 to 255); nothing when the text is not that.
std::optional<lighting::Rgb> ParseRgb(const std::string& text);
// The usage error for a bad colour, naming the value and the allowed range.
int BadColour(const std::string& option, const std::string& text);

// The profile (0 to 2) of --profile N (1 to 3, 0 when not given), or else the keyboard's current
// profile. Prints the error and returns nothing when the keyboard holds none.
std::optional<int> ChosenProfile(KeyboardSession& session, int profileOption);

std::string FormatRgb(lighting::Rgb colour);
nlohmann::json RgbJson(lighting::Rgb colour);

} // namespace kovrel::kovrelctl

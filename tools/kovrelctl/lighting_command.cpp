// kovrelctl lighting: show or change the lighting record of a profile.

#include "app_reload.h"
#include "command_groups.h"
#include "keyboard_session.h"
#include "lighting_options.h"

#include "lighting/core/effect_features.h"
#include "lighting/core/lighting_device.h"
#include "platform/text.h"
#include "skin/core/language_file.h"
#include "skin/core/skin_file.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

namespace kovrel::kovrelctl {
namespace {

using lighting::FieldWrite;
namespace field = lighting::field;

struct LightingOptions {
    int profile = 0;
    bool json = false;
    std::optional<int> effect;
    std::optional<int> brightness;
    std::optional<int> speed;
    std::optional<std::string> direction;
    std::optional<std::string> colour;
    std::optional<std::string> multicolour;
    std::optional<std::string> fixedColour;
    std::optional<int> reportRate;
    bool restoreDefaults = false;

    bool Writes() const {
        return effect || brightness || speed || direction || colour || multicolour || fixedColour ||
               reportRate;
    }
};

constexpr const char* kFixedColourNames[] = {"red", "yellow", "green", "blue"};

// The effect's display name as the window shows it, or nothing when no skin is installed.
std::optional<std::string> EffectName(int code) {
    const auto mainSkin = skin::SkinsFolder() / "Main.ini";
    std::error_code error;
    if (!std::filesystem::exists(mainSkin, error)) {
        return std::nullopt;
    }
    const int language = LanguageIsEnglish() ? kLanguageEnglish : kLanguageChinese;
    return platform::ToUtf8(lighting::EffectDisplayName(mainSkin, language, code));
}

std::string OfferedList(const lighting::EffectTable& effects) {
    std::string list;
    for (const auto& entry : effects.Entries()) {
        list += (list.empty() ? "" : " ") + std::to_string(entry.code);
    }
    return list.empty() ? "none" : list;
}

int Print(const lighting::LightingMirror& mirror, bool json) {
    const lighting::LightingFields& f = mirror.fields;
    const auto name = EffectName(f.effect);
    const std::string direction = f.direction == lighting::kFirstDirection ? "first" : "second";
    if (json) {
        nlohmann::json out;
        out["profile"] = mirror.selectedProfile + 1;
        out["effect"] = f.effect;
        out["effect_name"] = name ? nlohmann::json(*name) : nlohmann::json(nullptr);
        out["brightness"] = f.brightness;
        out["speed"] = f.speed;
        out["direction"] = direction;
        out["multicolour"] = f.multicolour;
        out["colour"] = RgbJson(f.mainColour);
        out["report_rate"] = f.reportRate + 1;
        out["fixed_colour"] = kFixedColourNames[f.fixedColour];
        std::cout << out.dump(2) << "\n";
        return kExitOk;
    }
    std::cout << "Profile: " << mirror.selectedProfile + 1 << "\n";
    std::cout << "Effect: " << f.effect << (name ? " (" + *name + ")" : "") << "\n";
    std::cout << "Brightness: " << f.brightness << "\n";
    std::cout << "Speed: " << f.speed << " (as stored; the window's slider shows "
              << lighting::kMaxSpeed - f.speed << ")\n";
    std::cout << "Direction: " << direction << "\n";
    std::cout << "Multicolour: " << (f.multicolour ? "on" : "off") << "\n";
    std::cout << "Colour: " << FormatRgb(f.mainColour) << "\n";
    std::cout << "Report rate: " << f.reportRate + 1 << "\n";
    std::cout << "Fixed colour: " << kFixedColourNames[f.fixedColour] << "\n";
    return kExitOk;
}

// The fields of one user action, keyed by offset so that each is written once, lowest first.
std::optional<std::vector<FieldWrite>>
BuildWrites(const LightingOptions& o, const lighting::LightingMirror& mirror, int& exitCode) {
    std::map<std::size_t, FieldWrite> writes;
    auto put = [&](FieldWrite w) { writes[w.offset] = std::move(w); };

    if (o.effect) {
        const int code = *o.effect;
        if (!lighting::FeaturesOf(code).handled) {
            exitCode = Fail(kExitUsage, "--effect " + std::to_string(code) +
                                            ": this effect has no settings to write; choose one "
                                            "of 1 to 18 or 20 that the keyboard offers (" +
                                            OfferedList(mirror.effects) + ")");
            return std::nullopt;
        }
        if (!mirror.effects.Offers(code)) {
            exitCode = Fail(kExitUsage, "--effect " + std::to_string(code) +
                                            ": the keyboard does not offer this effect; it "
                                            "offers " +
                                            OfferedList(mirror.effects));
            return std::nullopt;
        }
        put(lighting::ByteField(field::kEffect, code));
        if (lighting::FeaturesOf(code).selectionWritesMulticolour) {
            put(lighting::ByteField(field::kMulticolour, mirror.fields.multicolour ? 1 : 0));
        }
    }
    if (o.brightness) {
        put(lighting::ByteField(field::kBrightness, *o.brightness));
    }
    if (o.speed) {
        put(lighting::ByteField(field::kSpeed, *o.speed));
    }
    if (o.direction) {
        put(lighting::ByteField(field::kDirection, *o.direction == "first"
                                                       ? lighting::kFirstDirection
                                                       : lighting::kSecondDirection));
    }
    if (o.colour) {
        const auto rgb = ParseRgb(*o.colour);
        if (!rgb) {
            exitCode = BadColour("--colour", *o.colour);
            return std::nullopt;
        }
        put(lighting::ColourField(field::kMainColour, *rgb));
        if (!o.multicolour) { // choosing a colour turns multicolour off, as the colour button does
            put(lighting::ByteField(field::kMulticolour, 0));
        }
    }
    if (o.multicolour) {
        put(lighting::ByteField(field::kMulticolour, *o.multicolour == "on" ? 1 : 0));
    }
    if (o.fixedColour) {
        for (int i = 0; i < 4; ++i) {
            if (*o.fixedColour == kFixedColourNames[i]) {
                put(lighting::ByteField(field::kFixedColour, i));
            }
        }
    }
    if (o.reportRate) {
        put(lighting::ByteField(field::kReportRate, *o.reportRate - 1));
    }
    std::vector<FieldWrite> ordered;
    for (auto& [offset, w] : writes) {
        ordered.push_back(std::move(w));
    }
    return ordered;
}

int RunLighting(const LightingOptions& o) {
    KeyboardSession session;
    if (int rc = session.Open(); rc != kExitOk) {
        return rc;
    }
    const auto profile = ChosenProfile(session, o.profile);
    if (!profile) {
        return kExitFailed;
    }
    lighting::LightingMirror mirror;
    mirror.selectedProfile = *profile;
    if (lighting::ReloadLightingState(session.Protocol(), mirror) != 0) {
        return Fail(kExitFailed, "cannot read the lighting records: the keyboard did not answer; "
                                 "reconnect it and try again");
    }
    if (o.restoreDefaults) {
        const int result = lighting::RestoreDefaultRecord(session.Protocol(), mirror);
        return result == device::result::kSuccess
                   ? kExitOk
                   : CommandFailed(result, "write the default lighting record");
    }
    if (!o.Writes()) {
        return Print(mirror, o.json);
    }
    int exitCode = kExitOk;
    const auto writes = BuildWrites(o, mirror, exitCode);
    if (!writes) {
        return exitCode;
    }
    const int result = lighting::WriteRecordFields(session.Protocol(), mirror, *writes);
    if (result != device::result::kSuccess) {
        return CommandFailed(result, "write the lighting record");
    }
    return kExitOk;
}

} // namespace

void AddLightingCommand(CommandLine& cli) {
    auto o = std::make_shared<LightingOptions>();
    auto* cmd = cli.App().add_subcommand(
        "lighting",
        "Show the lighting record of a profile, or change its fields. Given fields are written "
        "to the keyboard in one transfer, lowest offset first.");
    cmd->add_option("--profile", o->profile,
                    "The profile whose record is shown or changed, 1 to 3 (default: the "
                    "keyboard's current profile)")
        ->check(CLI::Range(1, 3));
    cmd->add_flag("--json", o->json,
                  "Print JSON: {\"profile\": 1-3, \"effect\": 1-20, \"effect_name\": the "
                  "window's name or null without a skin, \"brightness\": 0-4, \"speed\": 0-4 "
                  "as stored, \"direction\": \"first\"|\"second\", \"multicolour\": true|false, "
                  "\"colour\": [R, G, B], \"report_rate\": 1-4, \"fixed_colour\": "
                  "\"red\"|\"yellow\"|\"green\"|\"blue\"}");
    auto* effect = cmd->add_option("--effect", o->effect,
                                   "Effect code 1 to 20; one the keyboard does not offer is "
                                   "refused (kovrelctl info lists them). Effects 1-3, 5, 7-9 "
                                   "and 13-15 also store the current multicolour flag, as the "
                                   "window's effect list does")
                       ->check(CLI::Range(1, 20));
    auto* brightness = cmd->add_option("--brightness", o->brightness, "Brightness 0 to 4")
                           ->check(CLI::Range(0, 4));
    auto* speed = cmd->add_option("--speed", o->speed,
                                  "Speed 0 to 4 as the keyboard stores it; the "
                                  "window's speed slider shows 4 minus this value")
                      ->check(CLI::Range(0, 4));
    auto* direction = cmd->add_option("--direction", o->direction,
                                      "first (left, up or spread, by effect; stored as 255) or "
                                      "second (right, down or gather; stored as 0)")
                          ->check(CLI::IsMember({"first", "second"}));
    auto* colour = cmd->add_option("--colour", o->colour,
                                   "Main colour R,G,B, each 0 to 255; without --multicolour it "
                                   "turns multicolour off, as the window's colour button does");
    auto* multicolour = cmd->add_option("--multicolour", o->multicolour, "on or off")
                            ->check(CLI::IsMember({"on", "off"}));
    auto* fixed = cmd->add_option("--fixed-colour", o->fixedColour,
                                  "The colour of effect 17: red, yellow, green or blue")
                      ->check(CLI::IsMember({"red", "yellow", "green", "blue"}));
    auto* rate = cmd->add_option("--report-rate", o->reportRate,
                                 "Report-rate button 1 to 4 (stored as 0 to 3)")
                     ->check(CLI::Range(1, 4));
    auto* restore = cmd->add_flag("--restore-defaults", o->restoreDefaults,
                                  "Write the default record (effect 1, brightness 4, speed 1, "
                                  "multicolour on, red, fourth report rate): 35 bytes");
    for (auto* option : {effect, brightness, speed, direction, colour, multicolour, fixed, rate}) {
        restore->excludes(option);
    }
    cmd->footer("Text output: Profile, Effect (with its name), Brightness, Speed, Direction, "
                "Multicolour, Colour, Report rate, Fixed colour, one per line.");
    cli.OnRun(cmd, [o] {
        if (o->json && (o->Writes() || o->restoreDefaults)) {
            return Fail(kExitUsage, "--json only goes with showing the record; drop --json or "
                                    "the fields to write");
        }
        const int rc = RunLighting(*o);
        return o->Writes() || o->restoreDefaults ? NotifiedOnSuccess(rc) : rc;
    });
}

} // namespace kovrel::kovrelctl

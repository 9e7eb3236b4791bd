// kovrelctl colours ...: the per-key colours of the user lighting effect (effect 20), kept in
// the user lighting file of each profile and sent to the keyboard's per-key colour memory.

#include "app_reload.h"
#include "command_groups.h"
#include "keyboard_session.h"
#include "lighting_options.h"

#include "lighting/core/user_lighting.h"
#include "model/key_controls.h"
#include "platform/text.h"
#include "profiles/settings.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace kovrel::kovrelctl {
namespace {

struct ColoursOptions {
    int profile = 0;
    bool json = false;
    std::string key;
    std::string colour;
    int mode = 0; // 1 to 10
};

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A main key or Fn by its name as the window shows it.
const KeyControl* FindPaintableKey(const std::string& name) {
    for (const KeyControl& control : KeyControls()) {
        if (SameName(platform::ToUtf8(control.name), name)) {
            return &control;
        }
    }
    if (SameName("Fn", name)) {
        return &FnKeyControl();
    }
    return nullptr;
}

// The data folder with its user lighting files, as the application prepares it.
bool PrepareDataFolder() {
    profiles::InitialiseSettings();
    return profiles::EnsureDataFolder();
}

int OpenFor(KeyboardSession& session, int profileOption, lighting::LightingMirror& mirror) {
    if (int rc = session.Open(); rc != kExitOk) {
        return rc;
    }
    const auto profile = ChosenProfile(session, profileOption);
    if (!profile) {
        return kExitFailed;
    }
    mirror.selectedProfile = *profile;
    if (!PrepareDataFolder()) {
        return Fail(kExitFailed, "cannot create the data folder " +
                                     profiles::CurrentSettingsPaths().dataFolder.string() +
                                     "; check its parent folder's permissions");
    }
    return kExitOk;
}

int RunSet(const ColoursOptions& o) {
    const KeyControl* key = FindPaintableKey(o.key);
    if (key == nullptr) {
        const bool gKey = o.key.size() == 2 && (o.key[0] == 'G' || o.key[0] == 'g') &&
                          o.key[1] >= '1' && o.key[1] <= '9';
        return Fail(kExitUsage, "KEY " + o.key +
                                    (gKey ? ": the G-keys share one colour and are not painted"
                                          : ": not a key name; use a name as kovrelctl colours "
                                            "show lists it (e.g. Esc, A, F1, Fn)"));
    }
    const auto colour = ParseRgb(o.colour);
    if (!colour) {
        return BadColour("RGB", o.colour);
    }
    KeyboardSession session;
    lighting::LightingMirror mirror;
    if (int rc = OpenFor(session, o.profile, mirror); rc != kExitOk) {
        return rc;
    }
    const auto file = lighting::UserLightingFileOf(mirror.selectedProfile);
    lighting::UserLightingState state;
    state.mode = lighting::ReadPresentMode(file);
    const auto settings = lighting::ReadModeSettings(file, state.mode);
    state.tool = settings.tool;
    state.baseColour = settings.baseColour;
    state.paintColour = settings.paintColour;
    // The painting tool of the user mode decides the base-colour mark, as a click in the window
    // would: tool 1 (base colour) marks the key, tool 0 clears the mark.
    const auto painted = lighting::PaintKeyWith(session.Protocol(), mirror, state, key->controlId,
                                                *colour, state.tool == 1);
    if (painted.result != device::result::kSuccess) {
        return CommandFailed(painted.result, "write the key colour");
    }
    if (!painted.fileWritten) {
        return Fail(kExitFailed, "the keyboard took the colour but the user lighting file " +
                                     file.string() + " could not be written; check its folder");
    }
    return kExitOk;
}

int RunUserMode(const ColoursOptions& o) {
    KeyboardSession session;
    lighting::LightingMirror mirror;
    if (int rc = OpenFor(session, o.profile, mirror); rc != kExitOk) {
        return rc;
    }
    lighting::UserLightingState state;
    const auto file = lighting::UserLightingFileOf(mirror.selectedProfile);
    const int result = lighting::SelectUserMode(session.Protocol(), mirror, state, o.mode - 1);
    if (lighting::ReadPresentMode(file) != o.mode - 1) {
        return Fail(kExitFailed, "the user lighting file " + file.string() +
                                     " could not be written; check its folder");
    }
    if (result != device::result::kSuccess) {
        return CommandFailed(result, "send the user mode's colours");
    }
    return kExitOk;
}

int RunShow(const ColoursOptions& o) {
    int profile = o.profile - 1;
    if (o.profile == 0) { // only the current profile needs the keyboard
        KeyboardSession session;
        if (int rc = session.Open(); rc != kExitOk) {
            return rc;
        }
        const auto current = ChosenProfile(session, 0);
        if (!current) {
            return kExitFailed;
        }
        profile = *current;
    }
    profiles::InitialiseSettings();
    const auto file = lighting::UserLightingFileOf(profile);
    const int mode = lighting::ReadPresentMode(file);
    const auto names = lighting::ReadModeNames(file);
    const auto settings = lighting::ReadModeSettings(file, mode);
    std::vector<std::pair<const KeyControl*, lighting::LedValue>> keys;
    for (const KeyControl& control : KeyControls()) {
        keys.emplace_back(&control, lighting::ReadLedValue(file, mode, control.ledPosition));
    }
    keys.emplace_back(&FnKeyControl(),
                      lighting::ReadLedValue(file, mode, FnKeyControl().ledPosition));

    if (o.json) {
        nlohmann::json out;
        out["profile"] = profile + 1;
        out["user_mode"] = mode + 1;
        nlohmann::json nameList = nlohmann::json::array();
        for (const auto& name : names) {
            nameList.push_back(platform::ToUtf8(name));
        }
        out["names"] = nameList;
        out["tool"] = settings.tool == 1 ? "base" : "paint";
        out["base_colour"] = RgbJson(settings.baseColour);
        out["paint_colour"] = RgbJson(settings.paintColour);
        nlohmann::json list = nlohmann::json::array();
        for (const auto& [control, value] : keys) {
            list.push_back({{"key", platform::ToUtf8(control->name)},
                            {"led", control->ledPosition},
                            {"colour", RgbJson(value.colour)},
                            {"base", value.mark}});
        }
        out["keys"] = list;
        std::cout << out.dump(2) << "\n";
        return kExitOk;
    }
    std::cout << "Profile: " << profile + 1 << "\n";
    std::cout << "User mode: " << mode + 1 << " ("
              << platform::ToUtf8(names[static_cast<std::size_t>(mode)]) << ")\n";
    std::cout << "Tool: " << (settings.tool == 1 ? "base colour" : "paint colour") << "\n";
    std::cout << "Base colour: " << FormatRgb(settings.baseColour) << "\n";
    std::cout << "Paint colour: " << FormatRgb(settings.paintColour) << "\n";
    for (const auto& [control, value] : keys) {
        std::cout << platform::ToUtf8(control->name) << ": " << FormatRgb(value.colour)
                  << (value.mark ? " base" : "") << "\n";
    }
    return kExitOk;
}

void AddProfileOption(CLI::App* cmd, ColoursOptions& o) {
    cmd->add_option("--profile", o.profile,
                    "The profile, 1 to 3 (default: the keyboard's current profile)")
        ->check(CLI::Range(1, 3));
}

} // namespace

void AddColoursCommand(CommandLine& cli) {
    auto o = std::make_shared<ColoursOptions>();
    auto* group = cli.App().add_subcommand(
        "colours", "The per-key colours of the user lighting effect (effect 20): ten user modes "
                   "per profile, kept in the user lighting files of the data folder.");
    group->require_subcommand(1);

    auto* set = group->add_subcommand(
        "set", "Paint one key in the selected user mode: the keyboard's per-key colour and the "
               "user lighting file. The key's base-colour mark follows the user mode's painting "
               "tool: the base-colour tool marks it (a later base colour repaints it), the "
               "paint-colour tool clears the mark.");
    AddProfileOption(set, *o);
    set->add_option("KEY", o->key,
                    "A main key or Fn by the name the window shows (e.g. Esc, A, F1, \"Right "
                    "Shift\", Fn); the G-keys are not painted")
        ->required();
    set->add_option("RGB", o->colour, "The colour as R,G,B, each 0 to 255 (e.g. 0,0,255)")
        ->required();
    cli.OnRun(set, [o] { return NotifiedOnSuccess(RunSet(*o)); });

    auto* mode = group->add_subcommand(
        "user-mode", "Select user mode M of the profile's user lighting file and send its "
                     "colours to the keyboard.");
    AddProfileOption(mode, *o);
    mode->add_option("M", o->mode, "The user mode, 1 to 10")->required()->check(CLI::Range(1, 10));
    cli.OnRun(mode, [o] { return NotifiedOnSuccess(RunUserMode(*o)); });

    auto* show = group->add_subcommand(
        "show", "Show the selected user mode's colours from the profile's user lighting file. "
                "The keyboard cannot be asked for its per-key colours: this is the file, which "
                "holds what was last sent.");
    AddProfileOption(show, *o);
    show->add_flag("--json", o->json,
                   "Print JSON: {\"profile\": 1-3, \"user_mode\": 1-10, \"names\": [10 names], "
                   "\"tool\": \"paint\"|\"base\", \"base_colour\": [R, G, B], \"paint_colour\": "
                   "[R, G, B], \"keys\": [{\"key\": name, \"led\": 0-125, \"colour\": [R, G, B], "
                   "\"base\": true|false}, ...]}");
    show->footer("Text output: Profile, User mode (with its name), Tool, Base colour, Paint "
                 "colour, then one line per key: \"name: R,G,B\" and \"base\" when marked.");
    cli.OnRun(show, [o] { return RunShow(*o); });
}

} // namespace kovrel::kovrelctl

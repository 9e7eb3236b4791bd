// kovrelctl profile [N]: read or set the keyboard's current on-board profile.

#include "app_reload.h"
#include "command_groups.h"
#include "keyboard_session.h"

#include "device/current_profile.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace kovrel::kovrelctl {
namespace {

struct ProfileOptions {
    int profile = 0; // 1 to 3 when given
    bool json = false;
};

int RunProfile(const ProfileOptions& options) {
    KeyboardSession session;
    if (int rc = session.Open(); rc != kExitOk) {
        return rc;
    }
    auto& current = session.Link().currentProfile;
    if (options.profile != 0) {
        const int result = current.Set(options.profile - 1);
        if (result != device::result::kSuccess) {
            return CommandFailed(result, "set the current profile");
        }
        return kExitOk;
    }
    const int profile = current.Get();
    if (profile < 0 || profile >= device::kProfileCount) {
        return Fail(kExitFailed, profile < 0 ? "cannot read the current profile: the keyboard "
                                               "did not answer; reconnect it and try again"
                                             : "the keyboard holds no valid profile; set one "
                                               "with kovrelctl profile N");
    }
    if (options.json) {
        std::cout << nlohmann::json{{"profile", profile + 1}}.dump() << "\n";
    } else {
        std::cout << "Current profile: " << profile + 1 << "\n";
    }
    return kExitOk;
}

} // namespace

void AddProfileCommand(CommandLine& cli) {
    auto options = std::make_shared<ProfileOptions>();
    auto* profile = cli.App().add_subcommand(
        "profile", "Show the keyboard's current profile, or make profile N (1 to 3) current.");
    profile->add_option("N", options->profile, "The profile to make current, 1 to 3")
        ->check(CLI::Range(1, 3));
    profile->add_flag("--json", options->json,
                      "When reading, print JSON: {\"profile\": the current profile, 1-3}");
    cli.OnRun(profile, [options] {
        if (options->profile != 0 && options->json) {
            return Fail(kExitUsage, "--json only goes with reading the profile; drop N or --json");
        }
        const int rc = RunProfile(*options);
        return options->profile != 0 ? NotifiedOnSuccess(rc) : rc;
    });
}

} // namespace kovrel::kovrelctl

// kovrelctl info: what the keyboard's information block says.

#include "command_groups.h"
#include "keyboard_session.h"

#include "device/arrival.h"
#include "device/current_profile.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace kovrel::kovrelctl {
namespace {

struct InfoOptions {
    bool json = false;
};

int RunInfo(const InfoOptions& options) {
    KeyboardSession session;
    if (int rc = session.Open(); rc != kExitOk) {
        return rc;
    }
    device::InfoBlock block{};
    const int result = device::ReadInformationBlock(session.Protocol(), block);
    if (result != device::result::kSuccess) {
        return CommandFailed(result, "read the information block");
    }
    const int stored = block[device::kInfoCurrentProfile];
    const bool known = stored >= 0 && stored < device::kProfileCount;
    const int macroBytes = block[device::kInfoMacroUnits] * device::kMacroUnitBytes;
    std::vector<int> effects;
    for (std::size_t i = device::kInfoEffectList; i < block.size(); ++i) {
        if (block[i] != 0) {
            effects.push_back(block[i]);
        }
    }
    if (options.json) {
        nlohmann::json out;
        out["profile"] = known ? nlohmann::json(stored + 1) : nlohmann::json(nullptr);
        out["macro_memory_bytes"] = macroBytes;
        out["effects"] = effects;
        std::cout << out.dump(2) << "\n";
        return kExitOk;
    }
    std::cout << "Current profile: " << (known ? std::to_string(stored + 1) : "unknown") << "\n";
    std::cout << "Macro memory: " << macroBytes << " bytes\n";
    std::cout << "Effects:";
    for (int e : effects) {
        std::cout << " " << e;
    }
    std::cout << "\n";
    return kExitOk;
}

} // namespace

void AddInfoCommand(CommandLine& cli) {
    auto options = std::make_shared<InfoOptions>();
    auto* info = cli.App().add_subcommand(
        "info", "Show the keyboard's current profile, macro memory size and offered effects.");
    info->add_flag("--json", options->json,
                   "Print JSON: {\"profile\": 1-3 or null when the keyboard holds no valid "
                   "profile, \"macro_memory_bytes\": bytes of macro memory, \"effects\": "
                   "[effect codes 1-20 in display order]}");
    info->footer("Text output: \"Current profile: N\", \"Macro memory: N bytes\", "
                 "\"Effects: codes...\".");
    cli.OnRun(info, [options] { return RunInfo(*options); });
}

} // namespace kovrel::kovrelctl

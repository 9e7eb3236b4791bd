// kovrelctl keys / media / functions: the names the configuration commands accept.

#include "command_groups.h"
#include "config_names.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace kovrel::kovrelctl {
namespace {

struct NamesOptions {
    bool json = false;
    bool assignable = false;
};

int PrintNames(const std::vector<NamedValue>& names, bool json) {
    if (json) {
        nlohmann::json out = nlohmann::json::array();
        for (const NamedValue& entry : names) {
            out.push_back(entry.name);
        }
        std::cout << out.dump(2) << "\n";
        return kExitOk;
    }
    for (const NamedValue& entry : names) {
        std::cout << entry.name << "\n";
    }
    return kExitOk;
}

} // namespace

void AddConfigNamesCommands(CommandLine& cli) {
    auto options = std::make_shared<NamesOptions>();
    auto* keys = cli.App().add_subcommand(
        "keys", "List the key names: what key:NAME and macro actions send (default), or with "
                "--assignable the keys that set can change.");
    keys->add_flag("--assignable", options->assignable, "List the keys set can change");
    keys->add_flag("--json", options->json, "Print JSON: [names]");
    cli.OnRun(keys, [options] {
        return PrintNames(options->assignable ? AssignableKeys() : SendableKeys(), options->json);
    });

    auto* media = cli.App().add_subcommand("media", "List the media functions (media:NAME).");
    media->add_flag("--json", options->json, "Print JSON: [names]");
    cli.OnRun(media, [options] { return PrintNames(MediaNames(), options->json); });

    auto* functions =
        cli.App().add_subcommand("functions", "List the office functions (function:NAME).");
    functions->add_flag("--json", options->json, "Print JSON: [names]");
    cli.OnRun(functions, [options] { return PrintNames(FunctionNames(), options->json); });
}

} // namespace kovrel::kovrelctl

// kovrelctl macro add|list|delete: the macros on the keyboard.

#include "app_reload.h"
#include "command_groups.h"
#include "config_names.h"
#include "config_session.h"

#include "platform/text.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace kovrel::kovrelctl {
namespace {

struct MacroOptions {
    std::string name;
    std::string actions;
    int cycles = 1;
    bool json = false;
};

// Position of the macro named `name` (without regard to case), or -1.
int FindMacro(const std::vector<MacroRecord>& macros, const std::string& name) {
    for (std::size_t m = 0; m < macros.size(); ++m) {
        if (SameName(platform::ToUtf8(macros[m].name), name)) {
            return static_cast<int>(m);
        }
    }
    return -1;
}

int RunAdd(const MacroOptions& options) {
    const std::u16string name = CutMacroName(platform::FromUtf8(options.name));
    if (name.empty()) {
        return Fail(kExitUsage, "a macro needs a name");
    }
    std::vector<MacroAction> actions;
    std::string error;
    if (!ParseActions(options.actions, actions, error)) {
        return Fail(kExitUsage, error);
    }
    ConfigSession session;
    if (const int rc = session.OpenAndRead(); rc != kExitOk) {
        return rc;
    }
    ConfigurationStore& working = WorkingStore();
    {
        const auto lock = working.Acquire();
        auto& macros = working.Data().macros;
        if (FindMacro(macros, platform::ToUtf8(name)) >= 0) {
            return Fail(kExitFailed, "the keyboard already has a macro named \"" +
                                         platform::ToUtf8(name) +
                                         "\"; choose another name or delete that one first");
        }
        if (macros.size() >= static_cast<std::size_t>(kMaxMacros)) {
            return Fail(kExitFailed, "the keyboard already holds 100 macros, the most it can; "
                                     "delete one first");
        }
        MacroRecord macro;
        macro.name = name;
        macro.cycles = static_cast<std::uint8_t>(options.cycles);
        macro.macroId = SmallestFreeMacroId(macros);
        macro.actions = std::move(actions);
        macros.push_back(std::move(macro));
    }
    return session.ApplyAndSave();
}

int RunList(const MacroOptions& options) {
    ConfigSession session;
    if (const int rc = session.OpenAndRead(); rc != kExitOk) {
        return rc;
    }
    ConfigurationStore& working = WorkingStore();
    const auto lock = working.Acquire();
    const auto& macros = working.Data().macros;
    if (options.json) {
        nlohmann::json out = nlohmann::json::array();
        for (std::size_t m = 0; m < macros.size(); ++m) {
            nlohmann::json actions = nlohmann::json::array();
            for (const MacroAction& a : macros[m].actions) {
                actions.push_back({{"key", KeyLabel(a.key)},
                                   {"state", a.state == 0 ? "down" : "up"},
                                   {"delay", a.delay}});
            }
            out.push_back({{"position", m + 1},
                           {"name", platform::ToUtf8(macros[m].name)},
                           {"cycles", macros[m].cycles},
                           {"actions", actions}});
        }
        std::cout << out.dump(2) << "\n";
        return kExitOk;
    }
    for (std::size_t m = 0; m < macros.size(); ++m) {
        std::cout << m + 1 << ". " << platform::ToUtf8(macros[m].name) << " (cycles "
                  << int(macros[m].cycles) << "): " << FormatActions(macros[m].actions) << "\n";
    }
    return kExitOk;
}

int RunDelete(const MacroOptions& options) {
    ConfigSession session;
    if (const int rc = session.OpenAndRead(); rc != kExitOk) {
        return rc;
    }
    ConfigurationStore& working = WorkingStore();
    {
        const auto lock = working.Acquire();
        Configuration& data = working.Data();
        const int position = FindMacro(data.macros, options.name);
        if (position < 0) {
            std::vector<NamedValue> names;
            for (const MacroRecord& macro : data.macros) {
                names.push_back({platform::ToUtf8(macro.name), 0});
            }
            std::string error;
            FindName(names, options.name, "macro on the keyboard", error);
            return Fail(kExitFailed, error);
        }
        const std::uint16_t id = data.macros[position].macroId;
        data.macros.erase(data.macros.begin() + position);
        // Keys that played it go back to their default, as when the editor commits.
        for (KeyRecord& record : data.records) {
            if (record.Is(AssignmentKind::Macro) && record.value == id) {
                record = KeyRecord{0, record.aux, 0, record.mark, record.reserved};
            }
        }
    }
    return session.ApplyAndSave();
}

} // namespace

void AddConfigMacroCommands(CommandLine& cli) {
    auto options = std::make_shared<MacroOptions>();
    auto* group = cli.App().add_subcommand("macro", "The macros on the keyboard.");
    group->require_subcommand(1);

    auto* add =
        group->add_subcommand("add", "Add a macro to the keyboard and write all three profiles.");
    add->add_option("NAME", options->name, "Its name (unique without regard to case)")->required();
    add->add_option("ACTIONS", options->actions,
                    "\"KEY down|up DELAY, ...\": the key (kovrelctl keys), press or release, and "
                    "the pause after it in ms (0-40000, rounded down to tens)")
        ->required();
    add->add_option("--cycles", options->cycles, "How often the keyboard plays it, 1 to 255")
        ->check(CLI::Range(1, 255));
    cli.OnRun(add, [options] { return NotifiedOnSuccess(RunAdd(*options)); });

    auto* list = group->add_subcommand("list", "List the keyboard's macros.");
    list->add_flag("--json", options->json,
                   "Print JSON: [{\"position\": 1.., \"name\", \"cycles\", \"actions\": "
                   "[{\"key\", \"state\": down|up, \"delay\": ms}]}]");
    list->footer("Text output: \"P. NAME (cycles C): KEY down|up MS, ...\" per macro.");
    cli.OnRun(list, [options] { return RunList(*options); });

    auto* remove = group->add_subcommand(
        "delete", "Delete a macro from the keyboard; keys that played it go back to default.");
    remove->add_option("NAME", options->name, "The macro's name")->required();
    cli.OnRun(remove, [options] { return NotifiedOnSuccess(RunDelete(*options)); });
}

} // namespace kovrel::kovrelctl

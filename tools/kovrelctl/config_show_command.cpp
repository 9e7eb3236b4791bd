// kovrelctl show FILE: what a configuration file holds, by key name.

#include "command_groups.h"
#include "config_names.h"
#include "config_session.h"

#include "platform/text.h"
#include "profiles/config_file.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace kovrel::kovrelctl {
namespace {

struct ShowOptions {
    std::string file;
    bool json = false;
};

std::string RecordLabel(int record) {
    if (record < kKeyRecords) {
        return KeyLabel(KeyOfIndex(record));
    }
    if (record >= kGRecordFirst && record < kGRecordEnd) {
        const int offset = record - kGRecordFirst;
        return "G" + std::to_string(offset % kGKeysPerBank + 1) +
               (offset >= kGKeysPerBank ? " (bank 2)" : "");
    }
    return "record " + std::to_string(record);
}

nlohmann::json ActionsJson(const MacroRecord& macro) {
    nlohmann::json actions = nlohmann::json::array();
    for (const MacroAction& a : macro.actions) {
        actions.push_back({{"key", KeyLabel(a.key)},
                           {"state", a.state == 0 ? "down" : "up"},
                           {"delay", a.delay}});
    }
    return actions;
}

int RunShow(const ShowOptions& options) {
    ConsoleMessages messages;
    if (profiles::ValidateConfigurationFile(options.file) != 1) {
        const std::string said = messages.Take();
        return Fail(kExitFailed, said.empty() ? "cannot read " + options.file +
                                                    " as a configuration file; check the path"
                                              : said);
    }
    ConfigurationStore store;
    if (profiles::LoadConfigurationFile(options.file, store) != 1) {
        return Fail(kExitFailed, "cannot read " + options.file + "; check the file");
    }
    const Configuration& c = store.Data();

    nlohmann::json profilesJson = nlohmann::json::array();
    nlohmann::json textsJson = nlohmann::json::array();
    for (int p = 0; p < kUsedAreas; ++p) {
        nlohmann::json assignments = nlohmann::json::array();
        for (int r = 0; r < kAreaRecords; ++r) {
            const KeyRecord& record = c.Record(p, r);
            if (record.Is(AssignmentKind::Default)) {
                continue;
            }
            const std::string label = AssignmentLabel(record, c.macros);
            const auto colon = label.find(':');
            assignments.push_back(
                {{"key", RecordLabel(r)},
                 {"record", r},
                 {"kind", KindLabel(record)},
                 {"value", colon == std::string::npos ? "" : label.substr(colon + 1)},
                 {"raw_value", record.value}});
            const TextEntry& text = c.texts[p * kAreaRecords + r];
            if (text.size != 0 && (record.Is(AssignmentKind::LaunchProgram) ||
                                   record.Is(AssignmentKind::TextBlock))) {
                textsJson.push_back({{"profile", p + 1},
                                     {"key", RecordLabel(r)},
                                     {"kind", KindLabel(record)},
                                     {"text", platform::ToUtf8(text.text)}});
            }
        }
        profilesJson.push_back({{"profile", p + 1}, {"assignments", assignments}});
    }
    nlohmann::json macrosJson = nlohmann::json::array();
    for (std::size_t m = 0; m < c.macros.size(); ++m) {
        const MacroRecord& macro = c.macros[m];
        macrosJson.push_back({{"position", m + 1},
                              {"id", macro.macroId},
                              {"name", platform::ToUtf8(macro.name)},
                              {"cycles", macro.cycles},
                              {"actions", ActionsJson(macro)}});
    }

    if (options.json) {
        std::cout << nlohmann::json{{"profiles", profilesJson},
                                    {"macros", macrosJson},
                                    {"texts", textsJson}}
                         .dump(2)
                  << "\n";
        return kExitOk;
    }
    for (int p = 0; p < kUsedAreas; ++p) {
        std::cout << "Profile " << p + 1 << ":\n";
        const auto& assignments = profilesJson[p]["assignments"];
        if (assignments.empty()) {
            std::cout << "  (every key default)\n";
        }
        for (const auto& a : assignments) {
            const std::string value = a["value"];
            std::cout << "  " << a["key"].get<std::string>() << ": " << a["kind"].get<std::string>()
                      << (value.empty() ? "" : ":" + value) << "\n";
        }
    }
    std::cout << "Macros:" << (c.macros.empty() ? " none" : "") << "\n";
    for (std::size_t m = 0; m < c.macros.size(); ++m) {
        const MacroRecord& macro = c.macros[m];
        std::cout << "  " << m + 1 << ". " << platform::ToUtf8(macro.name) << " (id "
                  << macro.macroId << ", cycles " << int(macro.cycles)
                  << "): " << FormatActions(macro.actions) << "\n";
    }
    if (!textsJson.empty()) {
        std::cout << "Texts:\n";
        for (const auto& t : textsJson) {
            std::cout << "  Profile " << t["profile"].get<int>() << ", "
                      << t["key"].get<std::string>() << " (" << t["kind"].get<std::string>()
                      << "): " << t["text"].get<std::string>() << "\n";
        }
    }
    return kExitOk;
}

} // namespace

void AddConfigShowCommand(CommandLine& cli) {
    auto options = std::make_shared<ShowOptions>();
    auto* show = cli.App().add_subcommand(
        "show", "Show a configuration file (.kvl): the assignments of each profile by key name, "
                "the macros with their actions, and the texts. Needs no keyboard.");
    show->add_option("FILE", options->file, "The configuration file")->required();
    show->add_flag(
        "--json", options->json,
        "Print JSON: {\"profiles\": [{\"profile\": 1-3, \"assignments\": [{\"key\", "
        "\"record\", \"kind\", \"value\", \"raw_value\"}]}], \"macros\": [{\"position\", "
        "\"id\", \"name\", \"cycles\", \"actions\": [{\"key\", \"state\": down|up, "
        "\"delay\": ms}]}], \"texts\": [{\"profile\", \"key\", \"kind\", \"text\"}]}");
    show->footer("Text output: \"Profile N:\" then \"  KEY: ASSIGNMENT\" per assigned key; "
                 "\"Macros:\" then \"  P. NAME (id I, cycles C): KEY down|up MS, ...\"; "
                 "\"Texts:\" when the file holds any.");
    cli.OnRun(show, [options] { return RunShow(*options); });
}

} // namespace kovrel::kovrelctl

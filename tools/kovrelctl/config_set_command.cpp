// kovrelctl set [--profile N] KEY ACTION: give one key of a profile a new assignment on the
// keyboard.

#include "app_reload.h"
#include "command_groups.h"
#include "config_names.h"
#include "config_session.h"

#include "model/keyboard_access.h"
#include "platform/text.h"

#include <memory>
#include <string>

namespace kovrel::kovrelctl {
namespace {

struct SetOptions {
    int profile = 0; // 1 to 3; 0: the keyboard's current profile
    std::string key;
    std::string action;
};

// The record an ACTION asks for; false with `error` set when it names nothing.
bool RecordOfAction(const std::string& action, const std::vector<MacroRecord>& macros,
                    KeyRecord& record, std::string& error) {
    const auto colon = action.find(':');
    const std::string kind = action.substr(0, colon);
    const std::string name = colon == std::string::npos ? "" : action.substr(colon + 1);
    record = KeyRecord{};
    if (colon == std::string::npos) {
        if (SameName(kind, "default")) {
            return true;
        }
        if (SameName(kind, "disabled")) {
            record.Set(AssignmentKind::Disabled);
            return true;
        }
    } else if (SameName(kind, "key")) {
        const auto key = FindName(SendableKeys(), name, "key", error);
        record.Set(AssignmentKind::Key, key.value_or(0));
        return key.has_value();
    } else if (SameName(kind, "media")) {
        const auto media = FindName(MediaNames(), name, "media function", error);
        record.Set(AssignmentKind::Media, media.value_or(0));
        return media.has_value();
    } else if (SameName(kind, "function")) {
        const auto function = FindName(FunctionNames(), name, "office function", error);
        record.Set(AssignmentKind::Function, function.value_or(0));
        return function.has_value();
    } else if (SameName(kind, "macro")) {
        std::vector<NamedValue> names;
        for (const MacroRecord& macro : macros) {
            names.push_back({platform::ToUtf8(macro.name), macro.macroId});
        }
        const auto id = FindName(names, name, "macro on the keyboard", error);
        if (!id) {
            return false;
        }
        record.Set(AssignmentKind::Macro, static_cast<std::uint32_t>(*id));
        for (const MacroRecord& macro : macros) {
            if (macro.macroId == *id) {
                record.aux = macro.cycles;
            }
        }
        return true;
    }
    error = "unknown action \"" + action +
            "\"; write default, disabled, key:NAME, macro:NAME, media:NAME or function:NAME";
    return false;
}

int RunSet(const SetOptions& options) {
    std::string error;
    const auto key = FindName(AssignableKeys(), options.key, "key", error);
    if (!key) {
        return Fail(kExitUsage, error + " (kovrelctl keys --assignable lists them)");
    }
    ConfigSession session;
    if (const int rc = session.OpenAndRead(); rc != kExitOk) {
        return rc;
    }
    ConfigurationStore& working = WorkingStore();
    {
        const auto lock = working.Acquire();
        KeyRecord record;
        if (!RecordOfAction(options.action, working.Data().macros, record, error)) {
            return Fail(kExitUsage, error);
        }
        const int area = options.profile != 0 ? options.profile - 1
                                              : ActiveProfile(session.Access().currentProfile);
        KeyRecord& target = working.Data().Record(area, KeyIndexOf(static_cast<KeyId>(*key)));
        record.mark = target.mark;
        target = record;
    }
    return session.ApplyAndSave();
}

} // namespace

void AddConfigSetCommand(CommandLine& cli) {
    auto options = std::make_shared<SetOptions>();
    auto* set = cli.App().add_subcommand(
        "set", "Give KEY of a profile a new assignment on the keyboard: reads the keyboard's "
               "configuration, changes the key and writes all three profiles.");
    set->add_option("--profile", options->profile,
                    "The profile, 1 to 3 (default: the keyboard's current profile)")
        ->check(CLI::Range(1, 3));
    set->add_option("KEY", options->key, "The key to change, by name (kovrelctl keys)")->required();
    set->add_option("ACTION", options->action,
                    "default, disabled, key:NAME, macro:NAME, media:NAME or function:NAME")
        ->required();
    cli.OnRun(set, [options] { return NotifiedOnSuccess(RunSet(*options)); });
}

} // namespace kovrel::kovrelctl

#include "config_names.h"

#include "model/key_controls.h"
#include "model/media_keys.h"
#include "model/office_functions.h"
#include "model/profile_block.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace kovrel::kovrelctl {
namespace {

// Media functions by index, in the program's English wording; the language file's names change
// with the user's language, these stay the same for scripts.
constexpr std::array<const char*, kMediaKeyCount> kMediaNames = {"Media Player",
                                                                 "Play/Pause",
                                                                 "Stop",
                                                                 "Previous Track",
                                                                 "Next Track",
                                                                 "Volume Down",
                                                                 "Volume Up",
                                                                 "Mute",
                                                                 "Browser Home",
                                                                 "Browser Refresh",
                                                                 "Browser Stop",
                                                                 "Browser Back",
                                                                 "Browser Forward",
                                                                 "Browser Favorites",
                                                                 "Browser Search",
                                                                 "My Computer",
                                                                 "Calculator",
                                                                 "Mail"};

constexpr std::array<const char*, kOfficeFunctionCount> kFunctionNames = {
    "Open", "New", "Undo", "Save", "Copy", "Cut", "Paste", "Find", "Select All", "Zoom-", "Zoom+"};

char Fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string Folded(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Fold);
    return out;
}

std::size_t Distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Folded(a) == Folded(b);
}

const std::vector<NamedValue>& AssignableKeys() {
    static const std::vector<NamedValue> names = [] {
        std::vector<NamedValue> out;
        for (const KeyControl& control : KeyControls()) {
            out.push_back({platform::ToUtf8(control.name), control.key});
        }
        return out;
    }();
    return names;
}

const std::vector<NamedValue>& SendableKeys() {
    static const std::vector<NamedValue> names = [] {
        std::vector<NamedValue> out;
        for (int p = 0; p < kKeyListSize; ++p) {
            out.push_back({platform::ToUtf8(KeyListName(p)), KeyListKey(p)});
        }
        return out;
    }();
    return names;
}

const std::vector<NamedValue>& MediaNames() {
    static const std::vector<NamedValue> names = [] {
        std::vector<NamedValue> out;
        for (int i = 0; i < kMediaKeyCount; ++i) {
            out.push_back({kMediaNames[i], i});
        }
        return out;
    }();
    return names;
}

const std::vector<NamedValue>& FunctionNames() {
    static const std::vector<NamedValue> names = [] {
        std::vector<NamedValue> out;
        for (int i = 0; i < kOfficeFunctionCount; ++i) {
            out.push_back({kFunctionNames[i], i});
        }
        return out;
    }();
    return names;
}

std::optional<int> FindName(const std::vector<NamedValue>& names, std::string_view name,
                            std::string_view what, std::string& error) {
    for (const NamedValue& entry : names) {
        if (SameName(entry.name, name)) {
            return entry.value;
        }
    }
    const std::string wanted = Folded(name);
    std::vector<std::string> close;
    for (const NamedValue& entry : names) {
        const std::string candidate = Folded(entry.name);
        const bool near =
            Distance(candidate, wanted) <= std::max<std::size_t>(1, wanted.size() / 3);
        const bool contains = wanted.size() >= 2 && candidate.find(wanted) != std::string::npos;
        if ((near || contains) && close.size() < 8) {
            close.push_back("\"" + entry.name + "\"");
        }
    }
    error = "unknown " + std::string(what) + " \"" + std::string(name) + "\"";
    if (close.empty()) {
        error += "; see the names it accepts";
    } else {
        error += "; did you mean ";
        for (std::size_t i = 0; i < close.size(); ++i) {
            error += (i == 0 ? "" : i + 1 == close.size() ? " or " : ", ") + close[i];
        }
        error += "?";
    }
    return std::nullopt;
}

std::string KeyLabel(KeyId key) {
    const int position = KeyListPosition(key);
    if (position >= 0 && position < kKeyListSize) {
        return platform::ToUtf8(KeyListName(position));
    }
    if (const int media = MediaIndexOfKey(key); media >= 0) {
        return kMediaNames[media];
    }
    if (key <= kLastKeyId && !KeySlotOf(key).name.empty()) {
        return platform::ToUtf8(KeySlotOf(key).name);
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%03x", static_cast<unsigned>(key));
    return text;
}

std::string KindLabel(const KeyRecord& record) {
    switch (static_cast<AssignmentKind>(record.kind)) {
    case AssignmentKind::Default:
        return "default";
    case AssignmentKind::Disabled:
        return "disabled";
    case AssignmentKind::Key:
        return "key";
    case AssignmentKind::LaunchProgram:
        return "launch-program";
    case AssignmentKind::Macro:
        return "macro";
    case AssignmentKind::StopMacro:
        return "stop-macro";
    case AssignmentKind::TextBlock:
        return "text-block";
    case AssignmentKind::Media:
        return "media";
    case AssignmentKind::Function:
        return "function";
    }
    return "kind-" + std::to_string(record.kind);
}

std::string AssignmentLabel(const KeyRecord& record, std::span<const MacroRecord> macros) {
    const std::string kind = KindLabel(record);
    switch (static_cast<AssignmentKind>(record.kind)) {
    case AssignmentKind::Key:
        return kind + ":" +
               (record.value <= kLastKeyId ? KeyLabel(static_cast<KeyId>(record.value)) : "");
    case AssignmentKind::Macro: {
        for (const MacroRecord& macro : macros) {
            if (macro.macroId == record.value) {
                return kind + ":" + platform::ToUtf8(macro.name);
            }
        }
        return kind + ": (no macro with id " + std::to_string(record.value) + ")";
    }
    case AssignmentKind::Media:
        return kind + ":" + (record.value < kMediaNames.size() ? kMediaNames[record.value] : "");
    case AssignmentKind::Function:
        return kind + ":" +
               (record.value < kFunctionNames.size() ? kFunctionNames[record.value] : "");
    default:
        return kind;
    }
}

std::string FormatActions(std::span<const MacroAction> actions) {
    std::string text;
    for (const MacroAction& action : actions) {
        if (!text.empty()) {
            text += ", ";
        }
        text += KeyLabel(action.key) + (action.state == 0 ? " down " : " up ") +
                std::to_string(action.delay);
    }
    return text;
}

bool ParseActions(std::string_view text, std::vector<MacroAction>& out, std::string& error) {
    out.clear();
    text = Trim(text);
    while (!text.empty()) {
        // One action: KEY down|up DELAY, then a comma or the end. The key name may itself hold
        // blanks or be ",", so the action ends at the first comma after its delay.
        std::size_t digitsEnd = std::string_view::npos;
        for (std::size_t i = 1; i <= text.size(); ++i) {
            if ((i == text.size() || text[i] == ',') && i > 0 &&
                std::isdigit(static_cast<unsigned char>(Trim(text.substr(0, i)).back()))) {
                digitsEnd = i;
                break;
            }
        }
        if (digitsEnd == std::string_view::npos) {
            error = "cannot read the action \"" + std::string(text) +
                    "\"; write each as KEY down|up DELAY, separated by commas";
            return false;
        }
        const std::string_view item = Trim(text.substr(0, digitsEnd));
        text = Trim(text.substr(std::min(text.size(), digitsEnd + 1)));
        const std::size_t delayStart = item.find_last_of(" \t");
        const std::string_view delayText = item.substr(delayStart + 1);
        const std::string_view head =
            Trim(item.substr(0, delayStart == std::string_view::npos ? 0 : delayStart));
        const std::size_t stateStart = head.find_last_of(" \t");
        if (delayStart == std::string_view::npos || stateStart == std::string_view::npos) {
            error = "cannot read the action \"" + std::string(item) +
                    "\"; write it as KEY down|up DELAY";
            return false;
        }
        const std::string_view state = head.substr(stateStart + 1);
        const std::string_view keyName = Trim(head.substr(0, stateStart));
        MacroAction action;
        if (SameName(state, "down")) {
            action.state = 0;
        } else if (SameName(state, "up")) {
            action.state = 1;
        } else {
            error = "the action \"" + std::string(item) + "\" says \"" + std::string(state) +
                    "\"; write down or up";
            return false;
        }
        if (delayText.size() > 6 ||
            delayText.find_first_not_of("0123456789") != std::string_view::npos) {
            error = "the delay of \"" + std::string(item) + "\" is not a number of ms up to 40000";
            return false;
        }
        const unsigned long delay = std::stoul(std::string(delayText));
        if (delay > 40000) {
            error = "the delay of \"" + std::string(item) + "\" is above 40000 ms; split the pause";
            return false;
        }
        action.delay = static_cast<std::uint32_t>(delay - delay % 10);
        const std::optional<int> key = FindName(SendableKeys(), keyName, "key", error);
        if (!key) {
            return false;
        }
        action.key = static_cast<KeyId>(*key);
        out.push_back(action);
        if (out.size() > static_cast<std::size_t>(kMaxMacroActions)) {
            error = "a macro holds at most 2000 actions";
            return false;
        }
    }
    return true;
}

} // namespace kovrel::kovrelctl

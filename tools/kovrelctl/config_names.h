#pragma once
// The names the configuration commands accept and print: keys, media functions, office
// functions, assignments and macro actions. Names match without regard to case; an unknown name
// gives an error that lists the close matches.

#include "model/key_record.h"
#include "model/key_table.h"
#include "model/macro_record.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovrel::kovrelctl {

struct NamedValue {
    std::string name;
    int value = 0;
};

// The keys a profile gives assignments to: the keyboard's 104 key buttons (value: key id).
const std::vector<NamedValue>& AssignableKeys();
// The keys an assignment or a macro action can send: the key list (value: key id).
const std::vector<NamedValue>& SendableKeys();
// The 18 media functions (value: media index) and the 11 office functions (value: index).
const std::vector<NamedValue>& MediaNames();
const std::vector<NamedValue>& FunctionNames();

// Finds `name` among `names`; on failure `error` says so, naming `what` and the close matches.
std::optional<int> FindName(const std::vector<NamedValue>& names, std::string_view name,
                            std::string_view what, std::string& error);

// A key's printed name: its key-list name, its media name, or its id as 0x%03x.
std::string KeyLabel(KeyId key);

// An assignment as `set` takes it: "default", "disabled", "key:B", "macro:NAME", "media:Mute",
// "function:Copy", and for kinds `set` does not make "stop-macro", "launch-program",
// "text-block" or "kind-N".
std::string AssignmentLabel(const KeyRecord& record, std::span<const MacroRecord> macros);
// The assignment's kind alone ("key", "macro", ...), for JSON.
std::string KindLabel(const KeyRecord& record);

// Macro actions as "A down 50, A up 0": key name, down or up, the pause after it in ms.
std::string FormatActions(std::span<const MacroAction> actions);
// Parses that form; delays are rounded down to tens of ms and may not exceed 40000. On failure
// `error` says what is wrong.
bool ParseActions(std::string_view text, std::vector<MacroAction>& out, std::string& error);

// Case-insensitive equality of two names (ASCII letters folded).
bool SameName(std::string_view a, std::string_view b);

} // namespace kovrel::kovrelctl

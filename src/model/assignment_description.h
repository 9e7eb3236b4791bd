#pragma once
// The tool-tip text of a key button or G button: its name, and for an assigned key what it was
// given ("Keys, Set: Key(A)", "Macro(name)", "Media(Mute)", "Function(Copy)").

#include "model/key_record.h"
#include "model/key_table.h"
#include "model/macro_record.h"

#include <span>
#include <string>
#include <string_view>

namespace kovrel {

struct AssignmentDescription {
    std::u16string toolTip;
    bool assigned = false; // the button shows its assigned look (kind not Default)
};

// `macros` is the working store's macro list (the caller holds its lock). A value that names
// nothing (no such macro, a media index of 18 or more, an office function of 11 or more, a key id
// above 0x17F) is described with an empty name.
AssignmentDescription DescribeAssignment(std::u16string_view buttonName, const KeyRecord& record,
                                         std::span<const MacroRecord> macros);
// For key button of `key` (named by KeyName) and G button 1-9 (named "G%d").
AssignmentDescription DescribeKeyAssignment(KeyId key, const KeyRecord& record,
                                            std::span<const MacroRecord> macros);
AssignmentDescription DescribeGAssignment(int gNumber, const KeyRecord& record,
                                          std::span<const MacroRecord> macros);

} // namespace kovrel

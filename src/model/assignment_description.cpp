#include "model/assignment_description.h"

#include "model/media_keys.h"
#include "model/office_functions.h"
#include "skin/core/language_table.h"

#include <string>

namespace kovrel {

AssignmentDescription DescribeAssignment(std::u16string_view buttonName, const KeyRecord& record,
                                         std::span<const MacroRecord> macros) {
    AssignmentDescription description;
    description.toolTip = std::u16string(buttonName);
    if (record.Is(AssignmentKind::Default)) {
        return description;
    }
    description.assigned = true;
    std::u16string& text = description.toolTip;
    text += LanguageText("KEY_PROMPT_SET");
    switch (static_cast<AssignmentKind>(record.kind)) {
    case AssignmentKind::Key:
        text += LanguageText("KEY_PROMPT_SINGLE");
        if (record.value <= kLastKeyId) {
            text += KeyName(static_cast<KeyId>(record.value));
        }
        text += u")";
        break;
    case AssignmentKind::Macro:
        text += LanguageText("KEY_PROMPT_MACRO");
        for (const MacroRecord& macro : macros) {
            if (macro.macroId == record.value) {
                text += macro.name;
                break;
            }
        }
        text += u")";
        break;
    case AssignmentKind::Media:
        text += LanguageText("KEY_PROMPT_MEDIA");
        if (record.value < kMediaKeyCount) {
            text += MediaKeyName(static_cast<int>(record.value));
        }
        text += u")";
        break;
    case AssignmentKind::Function:
        text += LanguageText("KEY_PROMPT_FUNCTION");
        if (record.value <= 0xFFFF) {
            text += OfficeFunctionName(static_cast<int>(record.value));
        }
        text += u")";
        break;
    default:
        break;
    }
    return description;
}

AssignmentDescription DescribeKeyAssignment(KeyId key, const KeyRecord& record,
                                            std::span<const MacroRecord> macros) {
    return DescribeAssignment(KeyName(key), record, macros);
}

AssignmentDescription DescribeGAssignment(int gNumber, const KeyRecord& record,
                                          std::span<const MacroRecord> macros) {
    std::u16string name = u"G";
    for (char c : std::to_string(gNumber)) {
        name.push_back(static_cast<char16_t>(c));
    }
    return DescribeAssignment(name, record, macros);
}

} // namespace kovrel

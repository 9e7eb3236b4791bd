#include "model/office_functions.h"

#include "model/profile_block.h"
#include "skin/core/language_table.h"

#include <array>

namespace kovrel {
namespace {

constexpr std::array<std::string_view, kOfficeFunctionCount> kEntries = {
    "FUNC_KEY_DESC1", "FUNC_KEY_DESC2",  "FUNC_KEY_DESC3", "FUNC_KEY_DESC4",
    "FUNC_KEY_DESC5", "FUNC_KEY_DESC6",  "FUNC_KEY_DESC7", "FUNC_KEY_DESC8",
    "FUNC_KEY_DESC9", "FUNC_KEY_DESC10", "FUNC_KEY_DESC11"};

} // namespace

std::string_view OfficeFunctionEntry(int index) {
    if (index < 0 || index >= kOfficeFunctionCount) {
        return {};
    }
    return kEntries[index];
}

std::u16string OfficeFunctionName(int index) {
    const std::string_view entry = OfficeFunctionEntry(index);
    return entry.empty() ? std::u16string() : LanguageText(entry);
}

} // namespace kovrel

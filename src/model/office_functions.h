#pragma once
// The office functions a key can be given (kind Function); the keyboard carries them out.

#include <string>
#include <string_view>

namespace kovrel {

// The language entry that names office function `index` (0-10), e.g. "FUNC_KEY_DESC1" for Open;
// empty outside 0-10.
std::string_view OfficeFunctionEntry(int index);
// Its current language text; empty outside 0-10.
std::u16string OfficeFunctionName(int index);

} // namespace kovrel

#pragma once
// Conversions between the core's UTF-16 texts and the UTF-8 of paths, the terminal and Qt's
// boundary. Invalid sequences become U+FFFD; nothing throws.

#include <string>
#include <string_view>

namespace kovrel::platform {

std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

} // namespace kovrel::platform

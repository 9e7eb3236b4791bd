#pragma once
// The fixed set of text keys of language.ini: the entries of the language table, in the order
// they are loaded, and the keys that windows read straight from the file.

#include <span>
#include <string_view>

namespace kovrel {

struct LanguageKeyInfo {
    std::string_view key;
    // The program's own wording: for a table entry its initial text before the first load; for
    // a directly read key only the English wording of reference (direct reads never fall back
    // to it). Empty when the file alone supplies the text. Line breaks are real line breaks.
    std::u16string_view builtIn;
};

// The entries of the language table, in load order.
std::span<const LanguageKeyInfo> LanguageTableEntries();

// The keys the main window, the menus, the About box and the key editor read directly from the
// file each time they need them (several also appear among the table's entries).
std::span<const LanguageKeyInfo> DirectLanguageKeys();

} // namespace kovrel

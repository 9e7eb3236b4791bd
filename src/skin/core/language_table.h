#pragma once
// The program-wide language table: every text the program shows, by its key in language.ini.
//
// Start-up calls LoadLanguageTable() once before any window exists; until then every entry holds
// its built-in wording (language_entries.h). Users read an entry by its key at the moment they
// show it and never keep it across a language switch.

#include <string>
#include <string_view>

namespace kovrel {

// The current text of the language entry named `key` (for example "MACRO_ERR_MAX"), as a copy:
// a language switch may replace entries while a worker thread reads them. Empty for an unknown
// key. Keys match without regard to case, as they do in the file.
std::u16string LanguageText(std::string_view key);

// Reads every entry from the chosen section of language.ini (language_file.h) and replaces its
// text: at most 259 characters, line-break escapes expanded, empty when the key or the file is
// missing. Readers on other threads see either all old or all new texts.
void LoadLanguageTable();

// The language part of a switch to Chinese (0) or English (1): sets the switch flag, stores the
// choice as "%d" under "language"/"language" in language.ini and under "LANGUAGE"/"language" in
// the per-user settings file (a failed write is ignored; the flag alone keeps English on for the
// run, and the per-user value carries the choice when the program folder is read-only), and
// reloads the table. Any value other than 1 means Chinese.
//
// It does not touch any window. The main window's handler of the switch commands calls it first
// and then re-applies its own texts: its button captions and tool tips read again with
// ReadLanguageString, the lighting panel's labels, the tray tool tip (KEYBOARD_TRAY_DESC), and a
// repaint.
void SwitchLanguage(int language);

// Puts every entry back to its built-in wording and the switch flag back to 0, as at program
// load. For tests.
void ResetLanguageTable();

} // namespace kovrel

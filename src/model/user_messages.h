#pragma once
// Messages to the user from the model and the profile operations: the platform's message box
// with a language text. Without an installed message box a message is dropped and a question
// answers its default.

#include <cstdint>
#include <string>
#include <string_view>

namespace kovrel {

// Shows the language entry `key` with an OK button.
void ShowLanguageMessage(std::string_view key);
// Shows a ready-made text with an OK button.
void ShowMessageText(const std::u16string& text);
// Asks the language entry `key` with Yes and No; true for Yes.
bool AskLanguageQuestion(std::string_view key, bool defaultYes);

// Fills the first %d (or %i, %u) of a language text with a number and the first %s with a text.
// "%%" gives "%"; anything else stays as written. Language texts are data, so nothing here
// reads beyond what it was given.
std::u16string FormatWithNumber(std::u16string_view pattern, std::int64_t number);
std::u16string FormatWithText(std::u16string_view pattern, std::u16string_view text);

} // namespace kovrel

#include "model/user_messages.h"

#include "platform/message_box.h"
#include "platform/services.h"
#include "skin/core/language_table.h"

namespace kovrel {
namespace {

// Replaces the first conversion whose letter is in `letters` by `replacement`.
std::u16string FormatFirst(std::u16string_view pattern, std::u16string_view letters,
                           std::u16string_view replacement) {
    std::u16string out;
    bool done = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c != u'%' || i + 1 >= pattern.size()) {
            out.push_back(c);
            continue;
        }
        if (pattern[i + 1] == u'%') {
            out.push_back(u'%');
            ++i;
            continue;
        }
        if (!done && letters.find(pattern[i + 1]) != std::u16string_view::npos) {
            out.append(replacement);
            done = true;
            ++i;
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::u16string Decimal(std::int64_t number) {
    std::u16string text;
    for (char c : std::to_string(number)) {
        text.push_back(static_cast<char16_t>(c));
    }
    return text;
}

} // namespace

void ShowMessageText(const std::u16string& text) {
    if (platform::MessageBox* box = platform::CurrentServices().messageBox) {
        box->Show(text, u"", platform::MessageButtons::Ok);
    }
}

void ShowLanguageMessage(std::string_view key) {
    ShowMessageText(LanguageText(key));
}

bool AskLanguageQuestion(std::string_view key, bool defaultYes) {
    const auto defaultAnswer =
        defaultYes ? platform::MessageAnswer::Yes : platform::MessageAnswer::No;
    platform::MessageBox* box = platform::CurrentServices().messageBox;
    if (box == nullptr) {
        return defaultYes;
    }
    return box->Show(LanguageText(key), u"", platform::MessageButtons::YesNo, defaultAnswer) ==
           platform::MessageAnswer::Yes;
}

std::u16string FormatWithNumber(std::u16string_view pattern, std::int64_t number) {
    return FormatFirst(pattern, u"diu", Decimal(number));
}

std::u16string FormatWithText(std::u16string_view pattern, std::u16string_view text) {
    return FormatFirst(pattern, u"s", text);
}

} // namespace kovrel

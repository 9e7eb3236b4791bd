#pragma once
// The framework's standard message box, as the core asks for it.

#include <string>

namespace kovrel::platform {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class MessageBox {
public:
    virtual ~MessageBox() = default;

    // Shows `text` with `caption` and waits for the answer. With YesNo, `defaultAnswer` is the
    // button that Enter picks (Yes or No). Implementations marshal to the interface thread.
    virtual MessageAnswer Show(const std::u16string& text, const std::u16string& caption,
                               MessageButtons buttons = MessageButtons::Ok,
                               MessageAnswer defaultAnswer = MessageAnswer::Yes) = 0;
};

} // namespace kovrel::platform

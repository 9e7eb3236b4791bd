#pragma once
// The way of the configuration commands to the keyboard: the keyboard session, then the arrival
// reads (so the macro memory size and the keyboard's layout are known), and messages of the
// model printed as error lines instead of message boxes. Reading the keyboard's configuration
// puts it into the working store; applying writes all three profiles and then the working
// configuration file, which keeps mirroring the keyboard.

#include "keyboard_session.h"

#include "model/configuration_store.h"
#include "model/keyboard_access.h"
#include "platform/message_box.h"
#include "platform/services.h"

#include <string>
#include <vector>

namespace kovrel::kovrelctl {

// Collects the model's messages as one-line texts (questions get their default), so a command
// prints them as its error line or, after a success, as a note.
class ConsoleMessages final : public platform::MessageBox {
public:
    ConsoleMessages();
    ~ConsoleMessages() override;
    ConsoleMessages(const ConsoleMessages&) = delete;
    ConsoleMessages& operator=(const ConsoleMessages&) = delete;

    platform::MessageAnswer Show(const std::u16string& text, const std::u16string& caption,
                                 platform::MessageButtons buttons,
                                 platform::MessageAnswer defaultAnswer) override;

    // The messages so far, joined by "; ", and forgets them.
    std::string Take();

private:
    platform::MessageBox* previous_ = nullptr;
    std::vector<std::string> lines_;
};

class ConfigSession {
public:
    // Opens the keyboard and runs the arrival reads; kExitOk or the exit status (printed).
    int Open();
    KeyboardAccess Access() { return KeyboardAccess::Of(session_.Link()); }
    ConsoleMessages& Messages() { return messages_; }

    // Reads the keyboard's configuration into the working store; kExitOk or the exit status.
    int ReadConfiguration();
    // Open, then ReadConfiguration: what every command that changes the configuration starts
    // with.
    int OpenAndRead();
    // Applies the working store to all three profiles and saves the working file; kExitOk or
    // the exit status.
    int ApplyAndSave();

private:
    ConsoleMessages messages_;
    KeyboardSession session_;
};

} // namespace kovrel::kovrelctl

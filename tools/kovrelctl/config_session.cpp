#include "config_session.h"

#include "command_line.h"

#include "device/arrival.h"
#include "model/apply_configuration.h"
#include "platform/text.h"
#include "profiles/config_file.h"

#include <iostream>

namespace kovrel::kovrelctl {

ConsoleMessages::ConsoleMessages() : previous_(platform::CurrentServices().messageBox) {
    platform::CurrentServices().messageBox = this;
}

ConsoleMessages::~ConsoleMessages() {
    platform::CurrentServices().messageBox = previous_;
}

platform::MessageAnswer ConsoleMessages::Show(const std::u16string& text, const std::u16string&,
                                              platform::MessageButtons buttons,
                                              platform::MessageAnswer defaultAnswer) {
    std::string line;
    bool blank = false;
    for (char c : platform::ToUtf8(text)) {
        const bool space = c == '\r' || c == '\n' || c == ' ' || c == '\t';
        if (space) {
            blank = !line.empty();
            continue;
        }
        if (blank) {
            line += ' ';
            blank = false;
        }
        line += c;
    }
    lines_.push_back(line);
    return buttons == platform::MessageButtons::Ok ? platform::MessageAnswer::Ok : defaultAnswer;
}

std::string ConsoleMessages::Take() {
    std::string joined;
    for (const std::string& line : lines_) {
        joined += (joined.empty() ? "" : "; ") + line;
    }
    lines_.clear();
    return joined;
}

int ConfigSession::Open() {
    if (const int rc = session_.Open(); rc != kExitOk) {
        return rc;
    }
    const device::ArrivalResult arrival =
        device::ReadArrivalData(session_.Protocol(), session_.Link().keyboard);
    if (arrival.layout != device::result::kSuccess) {
        return CommandFailed(arrival.layout, "read the keyboard's default layout");
    }
    if (arrival.info != device::result::kSuccess) {
        return CommandFailed(arrival.info, "read the information block");
    }
    return kExitOk;
}

int ConfigSession::OpenAndRead() {
    if (const int rc = Open(); rc != kExitOk) {
        return rc;
    }
    return ReadConfiguration();
}

int ConfigSession::ReadConfiguration() {
    Configuration configuration;
    if (!profiles::ReadKeyboardConfiguration(Access(), configuration)) {
        return Fail(kExitFailed, "cannot read the keyboard's configuration; reconnect the "
                                 "keyboard and try again");
    }
    WorkingStore().Replace(std::move(configuration));
    return kExitOk;
}

int ConfigSession::ApplyAndSave() {
    ConfigurationStore& working = WorkingStore();
    const auto lock = working.Acquire();
    if (ApplyConfiguration(Access(), true) != 1) {
        const std::string said = messages_.Take();
        if (!said.empty()) {
            return Fail(kExitFailed, said);
        }
        return Fail(kExitFailed, "writing the configuration to the keyboard failed; the keyboard "
                                 "may hold part of it: run the command again");
    }
    profiles::SaveWorkingFile(working);
    // A note that the macro names were left out goes to stderr; the command still succeeded.
    if (const std::string said = messages_.Take(); !said.empty()) {
        std::cerr << "kovrelctl: " << said << "\n";
    }
    return kExitOk;
}

} // namespace kovrel::kovrelctl

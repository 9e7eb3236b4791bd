#include "keyboard_session.h"

#include "command_line.h"
#include "daemon_start.h"

#include <string>

namespace kovrel::kovrelctl {

int KeyboardSession::Open() {
    if (!EnsureDaemon()) {
        return Fail(kExitFailed, "cannot start Varnolt; check that it is installed beside "
                                 "kovrelctl");
    }
    link_.emplace();
    switch (link_->Open()) {
    case device::BindResult::Ready:
        break;
    case device::BindResult::NoLibrary:
    case device::BindResult::MissingExport:
        return Fail(kExitFailed, "cannot load libOndrel.so; check that it is installed beside "
                                 "kovrelctl");
    case device::BindResult::InitFailed:
        return Fail(kExitFailed, "the device service did not start; try again");
    }
    if (link_->channel.QueryDeviceCount() <= 0) {
        return Fail(kExitNoKeyboard, "no keyboard found; connect the keyboard (or start Varnolt "
                                     "with VARNOLT_VIRTUAL=1) and try again");
    }
    return kExitOk;
}

int CommandFailed(int result, std::string_view what) {
    const std::string action(what);
    switch (result) {
    case device::result::kNoKeyboard:
        return Fail(kExitNoKeyboard,
                    "cannot " + action + ": no keyboard; connect it and try again");
    case device::result::kRefused:
        return Fail(kExitFailed, "cannot " + action +
                                     ": the device service refused the report; check that "
                                     "Varnolt is running and try again");
    case device::result::kNoReply:
        return Fail(kExitFailed, "cannot " + action +
                                     ": the keyboard did not answer; reconnect it and try again");
    case device::result::kStatusError:
        return Fail(kExitFailed,
                    "cannot " + action + ": the keyboard reported an error; try again");
    case device::result::kStatusBusy:
        return Fail(kExitFailed, "cannot " + action + ": the keyboard is busy; try again");
    default:
        return Fail(kExitFailed,
                    "cannot " + action + " (result " + std::to_string(result) + "); try again");
    }
}

} // namespace kovrel::kovrelctl

#pragma once
// A kovrelctl command's way to the keyboard: the daemon (started if needed), then the device
// link over libOndrel.so exactly as the application uses it.

#include "device/device_link.h"

#include <optional>
#include <string_view>

namespace kovrel::kovrelctl {

class KeyboardSession {
public:
    // Binds the device service and checks that a keyboard is present. Returns kExitOk, or the
    // exit status after printing what went wrong.
    int Open();

    device::DeviceLink& Link() { return *link_; }
    device::CommandProtocol& Protocol() { return link_->protocol; }

private:
    std::optional<device::DeviceLink> link_;
};

// The exit status and error line for a command operation's result other than 1. `what` names
// the operation ("read the information block").
int CommandFailed(int result, std::string_view what);

} // namespace kovrel::kovrelctl

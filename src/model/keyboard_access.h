#pragma once
// What the configuration operations need of the device link: the command protocol, the facts
// about the connected keyboard (its DefaultLayout and macro memory size) and the current-profile
// cache.

#include "device/command_protocol.h"
#include "device/connected_keyboard.h"
#include "device/current_profile.h"
#include "device/device_link.h"

namespace kovrel {

struct KeyboardAccess {
    device::CommandProtocol& protocol;
    device::ConnectedKeyboard& keyboard;
    device::CurrentProfile& currentProfile;

    static KeyboardAccess Of(device::DeviceLink& link) {
        return {link.protocol, link.keyboard, link.currentProfile};
    }
};

// The active profile: the keyboard's current profile as the device layer has it (Get current
// profile), 0 while it is not known.
int ActiveProfile(device::CurrentProfile& currentProfile);

} // namespace kovrel

#pragma once
// The device link as the application and kovrelctl put it together: the service binding, the
// request channel, the command protocol on a clock, the current-profile cache and the facts
// about the connected keyboard. The parts stay usable on their own; this only wires them.

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/connected_keyboard.h"
#include "device/current_profile.h"
#include "device/request_channel.h"
#include "device/service_binding.h"

namespace kovrel::device {

struct DeviceLink {
    explicit DeviceLink(Clock& clock = SystemClock())
        : channel(service), protocol(channel, clock), currentProfile(protocol) {}

    // Binds the service (Init included) and runs the channel's start-up sequence. Anything but
    // Ready means the process ends (silently, at start-up).
    BindResult Open(const char* libraryName = ONDREL_LIBRARY_NAME) {
        const BindResult bound = service.Load(libraryName);
        if (bound == BindResult::Ready) {
            channel.Open();
        }
        return bound;
    }

    ServiceBinding service;
    RequestChannel channel;
    CommandProtocol protocol;
    CurrentProfile currentProfile;
    ConnectedKeyboard keyboard;
};

} // namespace kovrel::device

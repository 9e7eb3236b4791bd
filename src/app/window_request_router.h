#pragma once
// Answers the requests of other starts and of kovrelctl for the main window: the two instance
// messages and command ids are posted to it through the window link (so a quit runs after the
// answer went out), and a reload runs the main window's reload routine.

#include "app/instance_server.h"

#include <functional>
#include <string>

namespace kovrel::platform {
class WindowLink;
}

namespace kovrel::app {

class WindowRequestRouter final : public InstanceRequestHandler {
public:
    // Reloads the configuration and the lighting state from the keyboard on the interface thread
    // and returns the status line: instance::kReloaded, or instance::kKeptUnappliedChanges when
    // the window holds changes not yet applied (it keeps them).
    using Reload = std::function<std::string()>;

    explicit WindowRequestRouter(platform::WindowLink& window);
    void SetReload(Reload reload);

    std::string HandleInstanceRequest(const instance::Request& request) override;

private:
    platform::WindowLink& window_;
    Reload reload_;
};

} // namespace kovrel::app

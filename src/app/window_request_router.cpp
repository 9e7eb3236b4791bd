#include "app/window_request_router.h"

#include "app/window_message_handler.h"
#include "platform/window_link.h"

namespace kovrel::app {

WindowRequestRouter::WindowRequestRouter(platform::WindowLink& window) : window_(window) {}

void WindowRequestRouter::SetReload(Reload reload) {
    reload_ = std::move(reload);
}

std::string WindowRequestRouter::HandleInstanceRequest(const instance::Request& request) {
    bool delivered = false;
    switch (request.kind) {
    case instance::Request::Kind::Message: {
        // Only the two messages meant for other instances; the window's other messages carry
        // the program's own state changes and are not for outsiders to send.
        const bool show =
            request.message == instance::kShowMessage && request.wParam == instance::kShowCode;
        const bool quit =
            request.message == instance::kQuitMessage && request.wParam == instance::kQuitCode;
        if (!show && !quit) {
            return std::string(instance::kRefused);
        }
        delivered = window_.PostMessage(request.message, request.wParam, 0);
        break;
    }
    case instance::Request::Kind::Command:
        delivered = window_.PostMessage(kCommandMessage, request.command, 0);
        break;
    case instance::Request::Kind::Reload:
        if (!reload_) {
            return std::string(instance::kNoWindow);
        }
        return reload_();
    }
    return std::string(delivered ? instance::kDelivered : instance::kNoWindow);
}

} // namespace kovrel::app

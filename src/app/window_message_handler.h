#pragma once
// What the main window offers the window link: its message map for window messages (including
// command messages) and its timers. The link calls both on the interface thread only.

#include "platform/window_link.h"

#include <cstdint>

namespace kovrel::app {

// A command id reaches the window as this message with the id in wParam and lParam 0 (a
// command posted on behalf of a control carries that control's handle there instead).
inline constexpr std::uint32_t kCommandMessage = 0x0111;

class WindowMessageHandler {
public:
    virtual ~WindowMessageHandler() = default;

    // Handles one message; the result is what SendMessage returns.
    virtual std::intptr_t HandleWindowMessage(std::uint32_t message, platform::WParam wParam,
                                              platform::LParam lParam) = 0;
    // A window timer fired; it keeps firing until killed.
    virtual void HandleTimer(std::uint32_t id) = 0;
};

} // namespace kovrel::app

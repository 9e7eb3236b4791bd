#pragma once
// How the core reaches the main window without knowing any toolkit. The application implements
// it on the interface thread; tests use platform/fakes.h.

#include <cstdint>

namespace kovrel::platform {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;

class WindowLink {
public:
    virtual ~WindowLink() = default;

    // Delivers the message to the main window and returns once it has been handled, with the
    // handler's result. Callable from any thread; called on the interface thread it runs the
    // handler directly. Returns 0 when there is no window.
    virtual std::intptr_t SendMessage(std::uint32_t message, WParam wParam, LParam lParam) = 0;

    // Queues the message for the main window and returns at once. Returns false when there is
    // no window to queue it for.
    virtual bool PostMessage(std::uint32_t message, WParam wParam, LParam lParam) = 0;

    // Arms (or re-arms) the window timer with this id; it fires on the interface thread every
    // `milliseconds` until killed. Callable from any thread.
    virtual void SetTimer(std::uint32_t id, std::uint32_t milliseconds) = 0;
    virtual void KillTimer(std::uint32_t id) = 0;
};

} // namespace kovrel::platform

#pragma once
// The requests registered with the library, by handle. They belong to the library, not to the
// daemon connection, so they survive a daemon restart.

#include "ondrel/ondrel.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace kovrel::ondrel {

class Registrations {
public:
    struct Listener {
        std::uint32_t handle;
        OndrelCallback callback;
        std::uint32_t code;
    };

    // A new non-zero handle. `listens`: the request receives notifications of its code
    // (standing reads); status writes only hold a handle.
    std::uint32_t Add(OndrelCallback callback, std::uint32_t code, bool listens);
    // True when the handle was registered.
    bool Remove(std::uint32_t handle);
    void Clear();
    // The listening requests of `code`, in registration order.
    std::vector<Listener> ListenersOf(std::uint32_t code) const;
    // Still registered? Checked right before each call, so a request cancelled while others
    // are being notified is not called any more.
    bool Contains(std::uint32_t handle) const;

private:
    struct Entry {
        Listener listener;
        bool listens;
    };

    mutable std::mutex mutex_;
    std::uint32_t next_ = 1;
    std::vector<Entry> entries_;
};

} // namespace kovrel::ondrel

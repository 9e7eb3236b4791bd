#pragma once
// Facts about the connected keyboard that the arrival reads bring in: its DefaultLayout (the
// built-in copy until a read succeeds) and the size of its macro memory (0 until an information
// block has been read). Replaced by the device-change worker, read by the interface thread: the
// layout under a lock, the size as an atomic.

#include "device/commands.h"

#include <atomic>
#include <mutex>

namespace kovrel::device {

class ConnectedKeyboard {
public:
    ConnectedKeyboard();

    ProfileBlockBytes DefaultLayout() const;
    void SetDefaultLayout(const ProfileBlockBytes& layout);

    // Bytes of macro memory: byte 11 of the information block times 128.
    int MacroMemorySize() const { return macroMemorySize_.load(); }
    void SetMacroMemorySize(int bytes) { macroMemorySize_.store(bytes); }

private:
    mutable std::mutex mutex_;
    ProfileBlockBytes layout_;
    std::atomic<int> macroMemorySize_{0};
};

} // namespace kovrel::device

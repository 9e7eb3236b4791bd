#pragma once
// The information-block operations: reading the 44-byte block, and the keyboard's current
// on-board profile (offset 10) with its cache.
//
// The cache is an atomic: the interface thread reads and sets it, the device-change worker
// forgets it when the keyboard goes away.

#include "device/commands.h"

#include <atomic>

namespace kovrel::device {

inline constexpr std::size_t kInfoCurrentProfile = 10;
inline constexpr std::size_t kInfoMacroUnits = 11;
inline constexpr std::size_t kInfoEffectList = 12;
inline constexpr int kNoProfile = -1;

// ReadInfoBlock under another name, for the callers that speak of the block.
int ReadInformationBlock(CommandProtocol& protocol, InfoBlock& block);

class CurrentProfile {
public:
    explicit CurrentProfile(CommandProtocol& protocol) : protocol_(protocol) {}

    // The cached value if one is held; otherwise reads the block, caches offset 10 and returns
    // it; -1 when the read fails.
    int Get();

    // n < 0: does nothing and returns 0. n above 2: returns -201 without sending (the keyboard
    // has three profiles). Otherwise reads the block (on failure returns its result and keeps the
    // cache), sets offset 10 to n and writes it back: on success caches n, on failure caches -1
    // so that the next Get asks the keyboard. Returns the result of the last exchange.
    int Set(int n);

    // Drops the cached value (the keyboard went away).
    void Forget() { cached_.store(kNoProfile); }

    // The cached value, -1 when none is held; never talks to the keyboard.
    int Cached() const { return cached_.load(); }

private:
    CommandProtocol& protocol_;
    std::atomic<int> cached_{kNoProfile};
};

} // namespace kovrel::device

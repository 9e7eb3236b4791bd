#pragma once
// The effects a keyboard offers: the effect list of its information block (offsets 12 to 43, in
// display order, zeros skipped) as a table of (list position, effect code), with lookups both
// ways. Rebuilt from the mirrored block whenever the lighting panel refreshes.

#include "device/commands.h"

#include <span>
#include <vector>

namespace kovrel::lighting {

inline constexpr int kFirstEffect = 1;
inline constexpr int kLastEffect = 20;
inline constexpr int kUserColoursEffect = 20;
inline constexpr std::size_t kEffectListSlots = 32;

struct EffectEntry {
    int position = 0; // in the effect list box, from 0
    int code = 0;

    friend bool operator==(const EffectEntry&, const EffectEntry&) = default;
};

class EffectTable {
public:
    EffectTable() = default;
    static EffectTable FromInfoBlock(const device::InfoBlock& block);

    std::span<const EffectEntry> Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

    // The code at a list position; 0 for a position outside the table.
    int CodeAt(int position) const;
    // The first list position holding the code; -1 when the keyboard does not offer it.
    int PositionOf(int code) const;
    bool Offers(int code) const { return PositionOf(code) >= 0; }

private:
    std::vector<EffectEntry> entries_;
};

} // namespace kovrel::lighting

#include "lighting/core/effect_table.h"

#include "device/current_profile.h"

namespace kovrel::lighting {

EffectTable EffectTable::FromInfoBlock(const device::InfoBlock& block) {
    EffectTable table;
    for (std::size_t i = device::kInfoEffectList; i < block.size(); ++i) {
        if (block[i] != 0) {
            table.entries_.push_back(
                EffectEntry{static_cast<int>(table.entries_.size()), block[i]});
        }
    }
    return table;
}

int EffectTable::CodeAt(int position) const {
    if (position < 0 || position >= static_cast<int>(entries_.size())) {
        return 0;
    }
    return entries_[static_cast<std::size_t>(position)].code;
}

int EffectTable::PositionOf(int code) const {
    for (const EffectEntry& entry : entries_) {
        if (entry.code == code) {
            return entry.position;
        }
    }
    return -1;
}

} // namespace kovrel::lighting

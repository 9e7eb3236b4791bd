#pragma once
// The lighting mirror: the program's one copy of the keyboard's lighting state, read and edited
// on the interface thread. Between reloads it is what the panel edits; every edit is written
// through to the keyboard at once (lighting_device.h).
//
// The keyboard's current profile is not kept here: the device link's CurrentProfile holds the
// one cached value.

#include "device/commands.h"
#include "lighting/core/colour.h"
#include "lighting/core/effect_table.h"
#include "lighting/core/lighting_record.h"

#include <array>

namespace kovrel::lighting {

inline constexpr int kProfiles = 3;
// LED positions of one profile's per-key colour image (6 rows x 21 columns).
inline constexpr int kLedPositions = 126;

using ProfileKeyColours = std::array<Rgb, kLedPositions>;

struct LightingMirror {
    // The profile p whose record the panel edits, 0 to 2; not the same thing as the keyboard's
    // current profile, although the profile buttons keep them together.
    int selectedProfile = 0;
    device::InfoBlock info{};
    EffectTable effects;
    std::array<LightingRecord, kProfiles> records{};
    LightingFields fields; // record p, unpacked
    std::array<ProfileKeyColours, kProfiles> keyColours{};
    bool viewOn = false; // the lighting view flag, as the settings file holds it

    // Selects profile p (values outside 0 to 2 are ignored) and unpacks its record.
    void SelectProfile(int profile);
    // Rebuilds the effect table from the mirrored information block.
    void RefreshEffectTable() { effects = EffectTable::FromInfoBlock(info); }
};

} // namespace kovrel::lighting

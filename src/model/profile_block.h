#pragma once
// The keyboard's key block of one profile: 126 three-byte key actions in the keyboard's own slot
// order. Which key a slot belongs to is learnt from the keyboard's factory block (its
// DefaultLayout): slot s belongs to the key whose usage sits in slot s there.

#include "model/configuration_store.h"
#include "model/key_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kovrel {

inline constexpr int kProfileSlots = 126;
inline constexpr std::size_t kProfileBlockBytes = 378;
inline constexpr int kOfficeFunctionCount = 11;

using ProfileBlock = std::array<std::uint8_t, kProfileBlockBytes>;
using KeyAction = std::array<std::uint8_t, 3>;

KeyAction SlotAction(std::span<const std::uint8_t, kProfileBlockBytes> block, int slot);

// The key of a key action: a keyboard-page usage (02 02 u), a modifier (02 01 m, the lowest bit),
// a consumer usage (03 lo hi) or a desktop usage (04 lo hi); 0 for anything else.
KeyId SlotKey(const KeyAction& action);

// Builds the block of one area: the DefaultLayout, with each slot whose key has a record that
// says otherwise set by the record's kind. A value that indexes no table entry (a media index of
// 18 or more, an office function of 11 or more, a key id above 0x17F) leaves the slot as the
// DefaultLayout has it. Macro ids become positions in the configuration's own macro list (0 when
// the id is not in it). The caller holds the store's lock.
void EncodeProfileBlock(const Configuration& configuration, int area,
                        const ProfileBlock& defaultLayout, ProfileBlock& out);
// The same, taking the store's lock.
void EncodeProfileBlock(ConfigurationStore& store, int area, const ProfileBlock& defaultLayout,
                        ProfileBlock& out);

// Reads a block back into the 512 records of one area: slots equal to the DefaultLayout stay
// Default; others become the assignment they encode (macro positions n as id n + 1), or
// Disabled. The G codes are set in records 256-273.
void DecodeProfileBlock(const ProfileBlock& block, const ProfileBlock& defaultLayout,
                        AreaRecords out);

} // namespace kovrel

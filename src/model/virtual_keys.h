#pragma once
// From keyboard events, as a thread keyboard hook sees them (virtual-key code and the flags
// word: bits 16-23 scan code, bit 24 extended key), to key ids.

#include "model/key_table.h"

#include <cstdint>
#include <span>

namespace kovrel {

// For each virtual-key code v, the key id whose (first) virtual-key code is v, or 0. VK_SHIFT,
// VK_CONTROL and VK_MENU give the left-hand keys; shared codes: 0x0D -> 0x01C, 0x2C -> 0x137,
// 0xA1 -> 0x036; 0xFF -> 0.
std::span<const KeyId, 256> VirtualKeyTable();

// The key of a virtual-key code; 0 for codes above 0xFF.
KeyId KeyOfVirtualKey(std::uint32_t virtualKey);

// The key of a hook event; s = bits 16-24 of flags, f = the key of v:
// s = 0x036 gives 0x036; v = 0xFF gives s; no scan code gives f; s when its slot has v as
// either virtual-key code; s when its low byte equals the key index of f; otherwise f.
// The result may be above 0x17F (the 9-bit scan field); key-table lookups treat it as empty.
KeyId KeyFromHookEvent(std::uint32_t virtualKey, std::uint32_t flags);

} // namespace kovrel

#include "model/virtual_keys.h"

#include "model/key_table_data.h"

namespace kovrel {
namespace {

using key_data::kKeyTable;

constexpr std::uint8_t kVkShift = 0x10;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;
// Code of the keys the system has no virtual-key code for; the hook's scan code decides.
constexpr std::uint8_t kVkNone = 0xFF;

// For each code the lowest slot's key with that (first) virtual-key code, then the codes that
// stand for either hand and the one shared code where the higher key wins.
constexpr std::array<KeyId, 256> BuildVirtualKeyTable() {
    std::array<KeyId, 256> table{};
    for (int index = kKeyTableSize - 1; index > 0; --index) {
        const std::uint8_t vk = kKeyTable[index].virtualKey;
        if (vk != 0)
            table[vk] = KeyOfIndex(index);
    }
    table[kVkShift] = 0x02A;
    table[kVkControl] = 0x01D;
    table[kVkMenu] = 0x038;
    table[0x2C] = 0x137; // Print Screen, not Sys Req
    table[kVkNone] = kNoKey;
    return table;
}

constexpr std::array<KeyId, 256> kVirtualKeyTable = BuildVirtualKeyTable();

static_assert(kVirtualKeyTable[0x0D] == 0x01C, "Enter, not Num Enter");
static_assert(kVirtualKeyTable[0xA1] == 0x036, "Right Shift, not its twin 0x136");
static_assert(kVirtualKeyTable[0x24] == 0x147, "Home; Num 7 has 0x24 only with Num Lock off");

} // namespace

std::span<const KeyId, 256> VirtualKeyTable() {
    return kVirtualKeyTable;
}

KeyId KeyOfVirtualKey(std::uint32_t virtualKey) {
    return virtualKey < kVirtualKeyTable.size() ? kVirtualKeyTable[virtualKey] : kNoKey;
}

KeyId KeyFromHookEvent(std::uint32_t virtualKey, std::uint32_t flags) {
    const KeyId s = static_cast<KeyId>((flags >> 16) & 0x1FF);
    const KeyId f = KeyOfVirtualKey(virtualKey);
    // A thread hook reports both Shift keys as VK_SHIFT; the scan code tells the right one.
    if (s == 0x036)
        return 0x036;
    if (virtualKey == kVkNone)
        return s;
    if ((s & 0xFF) == 0)
        return f;
    const KeySlot& slot = KeySlotOf(s);
    if (slot.virtualKey != 0 &&
        (slot.virtualKey == virtualKey || slot.virtualKeyNumLockOff == virtualKey))
        return s;
    if ((s & 0xFF) == KeyIndexOf(f))
        return s;
    return f;
}

} // namespace kovrel

#include "model/profile_block.h"

#include "model/key_usage.h"
#include "model/media_keys.h"

#include <algorithm>

namespace kovrel {

KeyAction SlotAction(std::span<const std::uint8_t, kProfileBlockBytes> block, int slot) {
    return {block[3 * slot], block[3 * slot + 1], block[3 * slot + 2]};
}

namespace {

void SetSlot(ProfileBlock& block, int slot, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2) {
    block[3 * slot] = b0;
    block[3 * slot + 1] = b1;
    block[3 * slot + 2] = b2;
}

// The key action a record asks for; false when the slot keeps its DefaultLayout action.
bool ActionOfRecord(const KeyRecord& record, std::span<const MacroRecord> macros, KeyAction& out) {
    switch (static_cast<AssignmentKind>(record.kind)) {
    case AssignmentKind::Disabled:
    case AssignmentKind::TextBlock:
        out = {0, 0, 0};
        return true;
    case AssignmentKind::Key: {
        if (record.value > kLastKeyId) {
            return false;
        }
        const auto key = static_cast<KeyId>(record.value);
        if (const std::uint8_t bit = ModifierBit(key); bit != 0) {
            out = {0x02, 0x01, bit};
            return true;
        }
        const HidUsage usage = KeyToUsage(key);
        const std::uint8_t u =
            usage.page == kPageKeyboard ? static_cast<std::uint8_t>(usage.usage) : std::uint8_t{0};
        out = {0x02, 0x02, u};
        return true;
    }
    case AssignmentKind::Macro:
        out = {0x05, 0x01, static_cast<std::uint8_t>(MacroPositionIn(macros, record.value))};
        return true;
    case AssignmentKind::StopMacro:
        out = {0x05, 0x02, 0x00};
        return true;
    case AssignmentKind::Media: {
        if (record.value >= kMediaKeyCount) {
            return false;
        }
        const std::uint16_t usage = MediaConsumerUsage(static_cast<int>(record.value));
        out = {0x03, static_cast<std::uint8_t>(usage & 0xFF),
               static_cast<std::uint8_t>(usage >> 8)};
        return true;
    }
    case AssignmentKind::Function:
        if (record.value >= kOfficeFunctionCount) {
            return false;
        }
        out = {0x05, 0x05, static_cast<std::uint8_t>(record.value & 0xFF)};
        return true;
    default: // Default, LaunchProgram and kinds this program does not know
        return false;
    }
}

} // namespace

KeyId SlotKey(const KeyAction& action) {
    switch (action[0]) {
    case 2:
        if (action[1] == 2) {
            return UsageToKey(kPageKeyboard, action[2]);
        }
        return ModifierKey(action[2]);
    case 3:
        return UsageToKey(kPageConsumer, static_cast<std::uint16_t>(action[1] | (action[2] << 8)));
    case 4:
        return UsageToKey(kPageGenericDesktop,
                          static_cast<std::uint16_t>(action[1] | (action[2] << 8)));
    default:
        return kNoKey;
    }
}

void EncodeProfileBlock(const Configuration& configuration, int area,
                        const ProfileBlock& defaultLayout, ProfileBlock& out) {
    out = defaultLayout;
    const ConstAreaRecords records = configuration.Area(area);
    for (int s = 0; s < kProfileSlots; ++s) {
        const KeyId key = SlotKey(SlotAction(defaultLayout, s));
        if (key == kNoKey) {
            continue;
        }
        KeyAction action;
        if (ActionOfRecord(records[KeyIndexOf(key)], configuration.macros, action)) {
            SetSlot(out, s, action[0], action[1], action[2]);
        }
    }
}

void EncodeProfileBlock(ConfigurationStore& store, int area, const ProfileBlock& defaultLayout,
                        ProfileBlock& out) {
    const auto lock = store.Acquire();
    EncodeProfileBlock(store.Data(), area, defaultLayout, out);
}

void DecodeProfileBlock(const ProfileBlock& block, const ProfileBlock& defaultLayout,
                        AreaRecords out) {
    std::fill(out.begin(), out.end(), KeyRecord{});
    SetGCodes(out);
    for (int s = 0; s < kProfileSlots; ++s) {
        const KeyAction d = SlotAction(defaultLayout, s);
        const KeyAction b = SlotAction(block, s);
        if (b == d) {
            continue;
        }
        const KeyId key = SlotKey(d);
        if (key == kNoKey) {
            continue;
        }
        KeyRecord& record = out[KeyIndexOf(key)];
        record.Set(AssignmentKind::Disabled);
        if (b[0] == 5 && b[1] == 1) {
            record.Set(AssignmentKind::Macro, b[2] + 1u);
        } else if (b[0] == 5 && b[1] == 2) {
            record.Set(AssignmentKind::StopMacro);
        } else if (b[0] == 5 && b[1] == 5) {
            record.Set(AssignmentKind::Function, b[2]);
        } else if (b[0] == 3) {
            const int media =
                MediaIndexOfConsumerUsage(static_cast<std::uint16_t>(b[1] | (b[2] << 8)));
            if (media >= 0) {
                record.Set(AssignmentKind::Media, static_cast<std::uint32_t>(media));
            }
        } else if (b[0] == 2 && b[1] == 2) {
            if (const KeyId k2 = UsageToKey(kPageKeyboard, b[2]); k2 != kNoKey) {
                record.Set(AssignmentKind::Key, k2);
            }
        } else if (b[0] == 2 && b[1] == 1) {
            record.Set(AssignmentKind::Key, ModifierKey(b[2]));
        }
    }
}

} // namespace kovrel

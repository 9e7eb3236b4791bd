#include "model/key_controls.h"
#include "model/key_table.h"
#include "model/key_usage.h"
#include "model/media_keys.h"
#include "model/virtual_keys.h"
#include "skin/core/language_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <string>

namespace kovrel {
namespace {

std::u16string UnknownName(KeyId key) {
    return FormatUnknownKeyName(LanguageText("UNKNOWN_KEY"), key);
}

// --- Key ids, key indexes, skin keys -------------------------------------------------------

TEST(KeyIndex, MapsBothRangesAndBack) {
    struct Case {
        KeyId key;
        int index;
    };
    for (const Case& c : {Case{0x001, 0x01}, Case{0x01E, 0x1E}, Case{0x07F, 0x7F}, Case{0x100, 128},
                          Case{0x147, 0xC7}, Case{0x17F, 255}}) {
        EXPECT_EQ(KeyIndexOf(c.key), c.index) << std::hex << c.key;
        EXPECT_EQ(KeyOfIndex(c.index), c.key) << std::hex << c.key;
    }
}

TEST(KeyIndex, SkinKeyUsesTheIndex) {
    EXPECT_EQ(SkinKeyOf(0x147), "KEY_0C7");
    EXPECT_EQ(SkinKeyOf(0x01E), "KEY_01E");
    EXPECT_EQ(SkinKeyOf(0x17F), "KEY_0FF");
}

// Any 16-bit key id, however it was obtained, stays inside the table.
TEST(KeyIndex, EveryIdBeyondTheTableIsAnEmptySlot) {
    for (unsigned id = 0x180; id <= 0xFFFF; ++id) {
        const auto key = static_cast<KeyId>(id);
        ASSERT_EQ(KeyIndexOf(key), 0) << std::hex << id;
        ASSERT_EQ(KeySlotOf(key).usageByte, 0);
        ASSERT_TRUE(KeySlotOf(key).name.empty());
        ASSERT_EQ(KeyListPosition(key), kNoListPosition);
        ASSERT_EQ(KeyToUsage(key), HidUsage{});
        ASSERT_EQ(ModifierBit(key), 0);
        ASSERT_FALSE(IsMediaKey(key));
        ASSERT_EQ(ControlOfKey(key), 0);
    }
    EXPECT_EQ(KeyName(0x1C5), u"Unknown Key: 1c5");
    EXPECT_EQ(KeyName(0xFFFF), u"Unknown Key: ffff");
    for (int index : {-1, 256, 100000})
        EXPECT_EQ(KeyOfIndex(index), kNoKey);
}

// --- Names ------------------------------------------------------------------------------------

TEST(KeyName, NamesAndUnknownKeys) {
    EXPECT_EQ(KeyName(0x001), u"Esc");
    EXPECT_EQ(KeyName(0x148), u"\u2191");
    EXPECT_EQ(KeyName(0x02B), u"\\");
    EXPECT_EQ(KeyName(0x17E), u"Calendar");
    EXPECT_EQ(KeyName(0x0FF), u"Unknown Key: 0ff");
    EXPECT_EQ(KeyName(0x000), u"Unknown Key: 000");
    EXPECT_EQ(KeyName(0x055), u"Unknown Key: 055");
}

TEST(KeyName, MediaKeysAreNamedByTheLanguage) {
    for (const MediaKey& media : MediaKeys()) {
        const std::u16string text = LanguageText(media.languageEntry);
        EXPECT_EQ(KeyName(media.key), text.empty() ? UnknownName(media.key) : text)
            << media.languageEntry;
    }
}

TEST(KeyName, BufferCutsToCapacity) {
    std::array<char16_t, 16> buffer;
    buffer.fill(u'#');
    EXPECT_EQ(KeyName(0x00E, std::span(buffer).first(4)), 3u);
    EXPECT_EQ(std::u16string(buffer.data()), u"Bac");
    EXPECT_EQ(buffer[4], u'#');

    EXPECT_EQ(KeyName(0x00E, std::span(buffer).first(10)), 9u); // "Backspace" and terminator
    EXPECT_EQ(std::u16string(buffer.data()), u"Backspace");
    EXPECT_EQ(KeyName(0x00E, std::span(buffer).first(1)), 0u);
    EXPECT_EQ(buffer[0], u'\0');
    buffer[0] = u'#';
    EXPECT_EQ(KeyName(0x00E, std::span<char16_t>()), 0u);
    EXPECT_EQ(buffer[0], u'#');
}

// The pattern is language text, so anything a translator writes must be harmless.
TEST(KeyName, UnknownKeyPatternIsData) {
    struct Case {
        std::u16string_view pattern;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"Unknown Key: %03x", u"Unknown Key: 05a"},
        {u"%X", u"5A"},
        {u"%d", u"90"},
        {u"%5u|", u"   90|"},
        {u"%-4x|", u"5a  |"},
        {u"%.4x", u"005a"},
        {u"100%% %03x", u"100% 05a"},
        {u"%s %03x", u"%s 05a"},
        {u"%03x %x", u"05a %x"},
        {u"%ls", u"%ls"},
        {u"key %", u"key %"},
        {u"%03", u"%03"},
        {u"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatUnknownKeyName(c.pattern, 0x05A), c.expected);
    EXPECT_EQ(FormatUnknownKeyName(u"%999999999x", 0x05A).size(), 259u);
}

// --- Key list ---------------------------------------------------------------------------------

TEST(KeyList, HoldsTheHundredAndSixNamesInOrder) {
    const std::u16string_view expected[kKeyListSize] = {
        u"A",        u"B",       u"C",           u"D",           u"E",
        u"F",        u"G",       u"H",           u"I",           u"J",
        u"K",        u"L",       u"M",           u"N",           u"O",
        u"P",        u"Q",       u"R",           u"S",           u"T",
        u"U",        u"V",       u"W",           u"X",           u"Y",
        u"Z",        u"1",       u"2",           u"3",           u"4",
        u"5",        u"6",       u"7",           u"8",           u"9",
        u"0",        u"Enter",   u"Esc",         u"Backspace",   u"Tab",
        u"Space",    u"-",       u"=",           u"[",           u"]",
        u"\\",       u";",       u"'",           u"`",           u",",
        u".",        u"/",       u"F1",          u"F2",          u"F3",
        u"F4",       u"F5",      u"F6",          u"F7",          u"F8",
        u"F9",       u"F10",     u"F11",         u"F12",         u"Print Screen",
        u"Pause",    u"Break",   u"Insert",      u"Delete",      u"Home",
        u"End",      u"Page Up", u"Page Down",   u"\u2191",      u"\u2193",
        u"\u2190",   u"\u2192",  u"Scroll Lock", u"Caps Lock",   u"Num Lock",
        u"Num /",    u"Num *",   u"Num -",       u"Num +",       u"Num Enter",
        u"Num 1",    u"Num 2",   u"Num 3",       u"Num 4",       u"Num 5",
        u"Num 6",    u"Num 7",   u"Num 8",       u"Num 9",       u"Num 0",
        u"Num .",    u"K45",     u"App",         u"Ctrl",        u"Shift",
        u"Alt",      u"Win",     u"Right Ctrl",  u"Right Shift", u"Right Alt",
        u"Right Win"};
    std::set<KeyId> keys;
    for (int position = 0; position < kKeyListSize; ++position) {
        EXPECT_EQ(KeyListName(position), expected[position]) << position;
        const KeyId key = KeyListKey(position);
        EXPECT_EQ(KeyName(key), expected[position]) << position;
        EXPECT_EQ(KeyListPosition(key), position) << position;
        EXPECT_EQ(KeyList()[position], key);
        keys.insert(key);
    }
    EXPECT_EQ(keys.size(), static_cast<std::size_t>(kKeyListSize));
}

TEST(KeyList, TiesAndPositionsOutsideTheList) {
    EXPECT_EQ(KeyListKey(103), 0x036);
    EXPECT_EQ(KeyListPosition(0x136), 103);
    EXPECT_GT(KeyListPosition(0x174), 105);
    EXPECT_GT(KeyListPosition(0x120), 105); // media keys are picked elsewhere
    for (int position : {-1, 106, 255, 1 << 20}) {
        EXPECT_EQ(KeyListKey(position), kNoKey) << position;
        EXPECT_TRUE(KeyListName(position).empty()) << position;
    }
}

// --- Usages -----------------------------------------------------------------------------------

TEST(KeyUsage, DecodesTheUsageByte) {
    struct Case {
        KeyId key;
        HidUsage usage;
    };
    for (const Case& c :
         {Case{0x01E, {7, 0x04}}, Case{0x036, {7, 0xE5}}, Case{0x15E, {1, 0x81}},
          Case{0x163, {1, 0x83}}, Case{0x120, {12, 0xE2}}, Case{0x16D, {12, 0x183}},
          Case{0x054, {0, 0}}, Case{0x174, {12, 0}}, Case{0x170, {0, 0}}, Case{0x000, {0, 0}}}) {
        EXPECT_EQ(KeyToUsage(c.key), c.usage) << std::hex << c.key;
    }
}

TEST(KeyUsage, UsageToKeyTakesTheLowestSlot) {
    struct Case {
        std::uint16_t page;
        std::uint16_t usage;
        KeyId key;
    };
    const Case cases[] = {
        {7, 0x48, 0x045},                  // Pause, not Break
        {7, 0xE5, 0x036},                  // Right Shift, not its twin
        {7, 0x46, 0x137},                  // Print Screen
        {7, 0x04, 0x01E},                  // A
        {12, 0x0E2, 0x120},                // Mute
        {12, 0x0CD, 0x122},                // Play/Pause
        {1, 0x81, 0x15E},                  // Power
        {1, 0x84, 0},                      // desktop usages beyond wake up
        {7, 0x00, 0},                      // no usage
        {12, 0x000, 0},                    // what the unused consumer bytes decode to
        {7, 0xFF, 0},       {7, 0x104, 0}, // not a byte
        {7, 0xC2, 0},                      // a consumer encoding, not a keyboard usage
        {7, 0x81, 0},                      // a desktop encoding, not a keyboard usage
        {12, 0x123, 0},     {3, 0x04, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UsageToKey(c.page, c.usage), c.key) << c.page << " " << std::hex << c.usage;
}

TEST(KeyUsage, RoundTripsOverTheWholeTable) {
    int keysWithUsage = 0;
    for (int index = 0; index < kKeyTableSize; ++index) {
        const KeyId key = KeyOfIndex(index);
        const HidUsage usage = KeyToUsage(key);
        if (usage.usage == 0)
            continue;
        ++keysWithUsage;
        // Two keys share a usage with a lower slot, which wins.
        const KeyId expected = key == 0x146 ? 0x045 : key == 0x136 ? 0x036 : key;
        EXPECT_EQ(UsageToKey(usage.page, usage.usage), expected) << std::hex << key;
    }
    EXPECT_EQ(keysWithUsage, 118 + 18); // every named key but Sys Req and F13; the media keys
}

// --- Modifiers --------------------------------------------------------------------------------

TEST(Modifiers, BitsAndKeys) {
    const std::array<KeyId, 8> byBit = {0x01D, 0x02A, 0x038, 0x15B, 0x11D, 0x036, 0x138, 0x15C};
    for (int bit = 0; bit < 8; ++bit) {
        EXPECT_EQ(ModifierBit(byBit[bit]), 1 << bit);
        EXPECT_EQ(ModifierKey(static_cast<std::uint8_t>(1 << bit)), byBit[bit]);
    }
    EXPECT_EQ(ModifierBit(0x136), 0);
    EXPECT_EQ(ModifierBit(0x01E), 0);
    EXPECT_EQ(ModifierBit(0), 0);
    EXPECT_EQ(ModifierKey(0x03), 0x01D);
    EXPECT_EQ(ModifierKey(0x60), 0x036);
    EXPECT_EQ(ModifierKey(0), kNoKey);
}

// --- Virtual keys and hook events -------------------------------------------------------------

TEST(VirtualKeys, SharedCodesAndBothHands) {
    const auto table = VirtualKeyTable();
    EXPECT_EQ(table[0x10], 0x02A);
    EXPECT_EQ(table[0x11], 0x01D);
    EXPECT_EQ(table[0x12], 0x038);
    EXPECT_EQ(table[0x0D], 0x01C);
    EXPECT_EQ(table[0x2C], 0x137);
    EXPECT_EQ(table[0xA1], 0x036);
    EXPECT_EQ(table[0xFF], kNoKey);
    EXPECT_EQ(table[0x00], kNoKey);
    EXPECT_EQ(KeyOfVirtualKey(0x100), kNoKey);

    // Every entry names a key with that code, and every key with a code is found by it unless
    // it loses a shared code.
    for (int vk = 0; vk < 256; ++vk) {
        if (table[vk] != kNoKey && (vk < 0x10 || vk > 0x12)) {
            EXPECT_EQ(KeySlotOf(table[vk]).virtualKey, vk) << std::hex << vk;
        }
    }
    const std::set<KeyId> losers = {0x11C, 0x054, 0x136};
    for (int index = 1; index < kKeyTableSize; ++index) {
        const KeyId key = KeyOfIndex(index);
        const std::uint8_t vk = KeySlotOf(key).virtualKey;
        if (vk == 0 || vk == 0xFF || losers.contains(key))
            continue;
        EXPECT_EQ(table[vk], key) << std::hex << key;
    }
}

TEST(VirtualKeys, KeyFromHookEvent) {
    constexpr std::uint32_t kExtended = 1u << 24;
    const auto scan = [](std::uint32_t code) { return code << 16; };
    struct Case {
        std::uint32_t vk;
        std::uint32_t flags;
        KeyId key;
        const char* what;
    };
    const Case cases[] = {
        {0x24, scan(0x47), 0x047, "numeric-pad 7, Num Lock off"},
        {0x24, scan(0x47) | kExtended, 0x147, "Home"},
        {0x67, scan(0x47), 0x047, "numeric-pad 7, Num Lock on"},
        {0x10, scan(0x36), 0x036, "right Shift"},
        {0x10, scan(0x2A), 0x02A, "left Shift"},
        {0xA0, scan(0x36), 0x036, "right Shift wins over any code"},
        {0x0D, scan(0x1C) | kExtended, 0x11C, "numeric-pad Enter"},
        {0x0D, scan(0x1C), 0x01C, "Enter"},
        {0x2C, scan(0x54), 0x054, "Sys Req"},
        {0x2C, scan(0x37) | kExtended, 0x137, "Print Screen"},
        {0x41, 0, 0x01E, "no scan code: the code decides"},
        {0x41, scan(0x30), 0x01E, "scan code of another key: the code decides"},
        {0xFF, scan(0x70), 0x070, "no code: the scan code decides"},
        {0xFF, scan(0xFF) | kExtended, 0x1FF, "9-bit scan field beyond the table"},
        {0x24, scan(0xC7), 0x0C7, "scan code whose low byte is the index of Home"},
        {0x41, scan(0x1E) | (1u << 31) | (1u << 30), 0x01E, "release bits are ignored"},
        {0x1234, 0, kNoKey, "code beyond the table"},
        {0x1234, scan(0x1E), kNoKey, "code beyond the table, scan of A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyFromHookEvent(c.vk, c.flags), c.key) << c.what;
}

// --- Media keys and synthetic presses ---------------------------------------------------------

TEST(MediaKeys, AgreeWithTheKeyTableAndTheConsumerUsages) {
    ASSERT_EQ(MediaKeys().size(), 18u);
    for (int i = 0; i < kMediaKeyCount; ++i) {
        const MediaKey& media = MediaKeys()[i];
        const KeySlot& slot = KeySlotOf(media.key);
        EXPECT_EQ(slot.usageByte, media.usageByte);
        EXPECT_EQ(slot.virtualKey, media.virtualKey);
        EXPECT_EQ(slot.languageEntry, media.languageEntry);
        EXPECT_EQ(ConsumerUsages()[media.usageByte - 0xC0], media.consumerUsage);
        EXPECT_EQ(KeyToUsage(media.key), (HidUsage{kPageConsumer, media.consumerUsage}));
        EXPECT_TRUE(IsMediaKey(media.key));
        EXPECT_EQ(MediaIndexOfKey(media.key), i);
        EXPECT_EQ(MediaIndexOfConsumerUsage(media.consumerUsage), i);
        EXPECT_EQ(MediaKeyOf(i), media.key);
        EXPECT_EQ(MediaKeyName(i), LanguageText(media.languageEntry));
    }
    EXPECT_EQ(MediaKeys()[7].key, 0x120);
    EXPECT_EQ(MediaKeys()[7].languageEntry, "MEDIA_MUTE_8");
    EXPECT_FALSE(IsMediaKey(0x174));
    EXPECT_FALSE(IsMediaKey(kNoKey));
    EXPECT_EQ(MediaIndexOfConsumerUsage(0), -1);
    for (int index : {-1, 18, 1000}) {
        EXPECT_EQ(MediaKeyOf(index), kNoKey);
        EXPECT_EQ(MediaConsumerUsage(index), 0);
        EXPECT_TRUE(MediaKeyName(index).empty());
    }
}

TEST(SyntheticPress, OnlyTheFourKeys) {
    for (KeyId key : {0x054, 0x071, 0x072, 0x137})
        EXPECT_TRUE(NeedsSyntheticPress(key)) << std::hex << key;
    for (KeyId key : {0x000, 0x037, 0x070, 0x237})
        EXPECT_FALSE(NeedsSyntheticPress(key)) << std::hex << key;
}

// --- Key controls -----------------------------------------------------------------------------

TEST(KeyControls, KeyButtonsMatchTheKeyTable) {
    const auto controls = KeyControls();
    ASSERT_EQ(controls.size(), 104u);
    std::set<int> leds;
    std::set<std::string> skinKeys;
    int previousIndex = -1;
    for (int n = 0; n < kKeyButtonCount; ++n) {
        const KeyControl& c = controls[n];
        EXPECT_EQ(c.kind, KeyControlKind::Key);
        EXPECT_GT(KeyIndexOf(c.key), previousIndex) << "key-table order";
        previousIndex = KeyIndexOf(c.key);
        EXPECT_EQ(c.name, KeyName(c.key));
        EXPECT_FALSE(c.name.empty());
        EXPECT_LT(KeyListPosition(c.key), kKeyListSize) << std::hex << c.key;
        EXPECT_LE(c.ledPosition, 124);
        EXPECT_TRUE(leds.insert(c.ledPosition).second) << "LED shared: " << +c.ledPosition;

        // The skin key names this very key.
        const std::string skinKey = SkinKeyOf(c);
        EXPECT_EQ(skinKey, SkinKeyOf(c.key));
        unsigned index = 0;
        ASSERT_EQ(std::sscanf(skinKey.c_str(), "KEY_%3X", &index), 1);
        EXPECT_EQ(KeyOfIndex(static_cast<int>(index)), c.key);
        EXPECT_TRUE(skinKeys.insert(skinKey).second);

        EXPECT_EQ(KeyOfControl(c.controlId), c.key);
        EXPECT_EQ(LedPositionOfControl(c.controlId), c.ledPosition);
        EXPECT_EQ(KeyButtonNumberOfControl(c.controlId), n);
        EXPECT_EQ(ControlOfKey(c.key), c.controlId);
        EXPECT_EQ(GNumberOfControl(c.controlId), 0);
    }
    EXPECT_FALSE(leds.contains(kFnLedPosition));
    EXPECT_FALSE(leds.contains(kGKeyLedPosition));
}

TEST(KeyControls, GButtonsFnAndUnknownControls) {
    const auto g = GKeyControls();
    const int ids[kGButtonCount] = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};
    for (int i = 0; i < kGButtonCount; ++i) {
        EXPECT_EQ(g[i].controlId, ids[i]);
        EXPECT_EQ(g[i].kind, KeyControlKind::GKey);
        EXPECT_EQ(g[i].key, kNoKey);
        EXPECT_EQ(GNumberOfControl(ids[i]), i + 1);
        EXPECT_EQ(LedPositionOfControl(ids[i]), 125);
        EXPECT_EQ(SkinKeyOf(g[i]), "FUNC_G" + std::to_string(i + 1));
        EXPECT_EQ(g[i].name, u"G" + std::u16string(1, static_cast<char16_t>(u'1' + i)));
    }
    EXPECT_EQ(FnKeyControl().controlId, 1174);
    EXPECT_EQ(LedPositionOfControl(1174), 110);
    EXPECT_EQ(KeyOfControl(1174), kNoKey);
    EXPECT_EQ(SkinKeyOf(FnKeyControl()), "KEY_FN");

    EXPECT_EQ(KeyboardControls().size(), 114u);
    std::set<int> controlIds;
    for (const KeyControl& c : KeyboardControls())
        EXPECT_TRUE(controlIds.insert(c.controlId).second) << c.controlId;

    for (int unknown : {0, 999, 1005, 1057, 1121, 1139, 1144, 1173, -1}) {
        EXPECT_EQ(FindKeyControl(unknown), nullptr) << unknown;
        EXPECT_EQ(KeyOfControl(unknown), kNoKey);
        EXPECT_EQ(LedPositionOfControl(unknown), 0);
        EXPECT_EQ(GNumberOfControl(unknown), 0);
        EXPECT_EQ(KeyButtonNumberOfControl(unknown), -1);
    }
}

TEST(KeyControls, ShiftButtonsAndGrid) {
    EXPECT_EQ(KeyOfControl(1081), 0x036);
    EXPECT_EQ(LedPositionOfControl(1081), 97);
    EXPECT_EQ(KeyOfControl(1082), 0x02A);
    EXPECT_EQ(LedPositionOfControl(1082), 84);
    EXPECT_EQ(ControlOfKey(0x136), 0);
    // Esc is the grid's top-left corner; the numeric-pad point sits in the bottom row.
    EXPECT_EQ(LedRow(LedPositionOfControl(1022)), 0);
    EXPECT_EQ(LedColumn(LedPositionOfControl(1022)), 0);
    EXPECT_EQ(LedRow(LedPositionOfControl(1119)), 5);
    EXPECT_EQ(LedColumn(LedPositionOfControl(1119)), 19);
}

} // namespace
} // namespace kovrel

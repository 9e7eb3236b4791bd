#pragma once
// The constant data behind the key table and its neighbours, built at compile time. Only the
// key-table sources and their tests include this; everyone else uses the lookups.

#include "model/key_table.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kovrel::key_data {

inline constexpr std::uint8_t kNone = 0xFF;

// One row per named key (media keys apart). vkNumLockOff 0 means "same as vk".
struct KeyRow {
    KeyId id;
    std::u16string_view name;
    std::uint8_t listPosition; // kNone: not in the key list
    std::uint8_t vk;
    std::uint8_t vkNumLockOff;
    std::uint8_t usageByte;
    std::uint16_t control; // main-window key button, 0 for none
    std::uint8_t led;      // kNone without a key button
};

// In key id order, which is key index order.
inline constexpr KeyRow kKeyRows[] = {
    {0x001, u"Esc", 37, 0x1B, 0, 0x29, 1022, 0},
    {0x002, u"1", 26, 0x31, 0, 0x1E, 1030, 22},
    {0x003, u"2", 27, 0x32, 0, 0x1F, 1031, 23},
    {0x004, u"3", 28, 0x33, 0, 0x20, 1032, 24},
    {0x005, u"4", 29, 0x34, 0, 0x21, 1033, 25},
    {0x006, u"5", 30, 0x35, 0, 0x22, 1034, 26},
    {0x007, u"6", 31, 0x36, 0, 0x23, 1035, 27},
    {0x008, u"7", 32, 0x37, 0, 0x24, 1036, 28},
    {0x009, u"8", 33, 0x38, 0, 0x25, 1037, 29},
    {0x00A, u"9", 34, 0x39, 0, 0x26, 1038, 30},
    {0x00B, u"0", 35, 0x30, 0, 0x27, 1039, 31},
    {0x00C, u"-", 41, 0xBD, 0, 0x2D, 1040, 32},
    {0x00D, u"=", 42, 0xBB, 0, 0x2E, 1041, 33},
    {0x00E, u"Backspace", 38, 0x08, 0, 0x2A, 1043, 34},
    {0x00F, u"Tab", 39, 0x09, 0, 0x2B, 1056, 42},
    {0x010, u"Q", 16, 0x51, 0, 0x14, 1044, 43},
    {0x011, u"W", 22, 0x57, 0, 0x1A, 1045, 44},
    {0x012, u"E", 4, 0x45, 0, 0x08, 1046, 45},
    {0x013, u"R", 17, 0x52, 0, 0x15, 1047, 46},
    {0x014, u"T", 19, 0x54, 0, 0x17, 1048, 47},
    {0x015, u"Y", 24, 0x59, 0, 0x1C, 1049, 48},
    {0x016, u"U", 20, 0x55, 0, 0x18, 1050, 49},
    {0x017, u"I", 8, 0x49, 0, 0x0C, 1051, 50},
    {0x018, u"O", 14, 0x4F, 0, 0x12, 1052, 51},
    {0x019, u"P", 15, 0x50, 0, 0x13, 1053, 52},
    {0x01A, u"[", 43, 0xDB, 0, 0x2F, 1054, 53},
    {0x01B, u"]", 44, 0xDD, 0, 0x30, 1055, 54},
    {0x01C, u"Enter", 36, 0x0D, 0, 0x28, 1070, 76},
    {0x01D, u"Ctrl", 98, 0xA2, 0, 0xE0, 1083, 105},
    {0x01E, u"A", 0, 0x41, 0, 0x04, 1058, 64},
    {0x01F, u"S", 18, 0x53, 0, 0x16, 1059, 65},
    {0x020, u"D", 3, 0x44, 0, 0x07, 1060, 66},
    {0x021, u"F", 5, 0x46, 0, 0x09, 1061, 67},
    {0x022, u"G", 6, 0x47, 0, 0x0A, 1062, 68},
    {0x023, u"H", 7, 0x48, 0, 0x0B, 1063, 69},
    {0x024, u"J", 9, 0x4A, 0, 0x0D, 1064, 70},
    {0x025, u"K", 10, 0x4B, 0, 0x0E, 1065, 71},
    {0x026, u"L", 11, 0x4C, 0, 0x0F, 1066, 72},
    {0x027, u";", 46, 0xBA, 0, 0x33, 1067, 73},
    {0x028, u"'", 47, 0xDE, 0, 0x34, 1068, 74},
    {0x029, u"`", 48, 0xC0, 0, 0x35, 1029, 21},
    {0x02A, u"Shift", 99, 0xA0, 0, 0xE1, 1082, 84},
    {0x02B, u"\\", 45, 0xDC, 0, 0x31, 1042, 55},
    {0x02C, u"Z", 25, 0x5A, 0, 0x1D, 1071, 86},
    {0x02D, u"X", 23, 0x58, 0, 0x1B, 1072, 87},
    {0x02E, u"C", 2, 0x43, 0, 0x06, 1073, 88},
    {0x02F, u"V", 21, 0x56, 0, 0x19, 1074, 89},
    {0x030, u"B", 1, 0x42, 0, 0x05, 1075, 90},
    {0x031, u"N", 13, 0x4E, 0, 0x11, 1076, 91},
    {0x032, u"M", 12, 0x4D, 0, 0x10, 1077, 92},
    {0x033, u",", 49, 0xBC, 0, 0x36, 1078, 93},
    {0x034, u".", 50, 0xBE, 0, 0x37, 1079, 94},
    {0x035, u"/", 51, 0xBF, 0, 0x38, 1080, 95},
    {0x036, u"Right Shift", 103, 0xA1, 0, 0xE5, 1081, 97},
    {0x037, u"Num *", 81, 0x6A, 0, 0x55, 1106, 40},
    {0x038, u"Alt", 100, 0xA4, 0, 0xE2, 1085, 107},
    {0x039, u"Space", 40, 0x20, 0, 0x2C, 1090, 108},
    {0x03A, u"Caps Lock", 78, 0x14, 0, 0x39, 1069, 63},
    {0x03B, u"F1", 52, 0x70, 0, 0x3A, 1010, 1},
    {0x03C, u"F2", 53, 0x71, 0, 0x3B, 1011, 2},
    {0x03D, u"F3", 54, 0x72, 0, 0x3C, 1012, 3},
    {0x03E, u"F4", 55, 0x73, 0, 0x3D, 1013, 4},
    {0x03F, u"F5", 56, 0x74, 0, 0x3E, 1014, 5},
    {0x040, u"F6", 57, 0x75, 0, 0x3F, 1015, 6},
    {0x041, u"F7", 58, 0x76, 0, 0x40, 1023, 7},
    {0x042, u"F8", 59, 0x77, 0, 0x41, 1024, 8},
    {0x043, u"F9", 60, 0x78, 0, 0x42, 1025, 9},
    {0x044, u"F10", 61, 0x79, 0, 0x43, 1026, 10},
    {0x045, u"Pause", 65, 0x13, 0, 0x48, 1093, 16},
    {0x046, u"Scroll Lock", 77, 0x91, 0, 0x47, 1092, 15},
    {0x047, u"Num 7", 91, 0x67, 0x24, 0x5F, 1108, 59},
    {0x048, u"Num 8", 92, 0x68, 0x26, 0x60, 1109, 60},
    {0x049, u"Num 9", 93, 0x69, 0x21, 0x61, 1110, 61},
    {0x04A, u"Num -", 82, 0x6D, 0, 0x56, 1107, 41},
    {0x04B, u"Num 4", 88, 0x64, 0x25, 0x5C, 1112, 80},
    {0x04C, u"Num 5", 89, 0x65, 0x0C, 0x5D, 1113, 81},
    {0x04D, u"Num 6", 90, 0x66, 0x27, 0x5E, 1114, 82},
    {0x04E, u"Num +", 83, 0x6B, 0, 0x57, 1111, 62},
    {0x04F, u"Num 1", 85, 0x61, 0x23, 0x59, 1115, 101},
    {0x050, u"Num 2", 86, 0x62, 0x28, 0x5A, 1116, 102},
    {0x051, u"Num 3", 87, 0x63, 0x22, 0x5B, 1117, 103},
    {0x052, u"Num 0", 94, 0x60, 0x2D, 0x62, 1120, 123},
    {0x053, u"Num .", 95, 0x6E, 0x2E, 0x63, 1119, 124},
    {0x054, u"Sys Req", kNone, 0x2C, 0, 0x00, 0, kNone},
    {0x056, u"K45", 96, 0xE2, 0, 0x64, 0, kNone},
    {0x057, u"F11", 62, 0x7A, 0, 0x44, 1027, 11},
    {0x058, u"F12", 63, 0x7B, 0, 0x45, 1028, 12},
    {0x064, u"F13", kNone, 0x7C, 0, 0x00, 0, kNone},
    {0x070, u"ROMA (133)", kNone, 0xFF, 0, 0x88, 0, kNone},
    {0x071, u"KL", kNone, 0xE9, 0, 0x91, 0, kNone},
    {0x072, u"KR", kNone, 0xFF, 0, 0x90, 0, kNone},
    {0x073, u"K56", kNone, 0xC1, 0, 0x87, 0, kNone},
    {0x079, u"CHG (132)", kNone, 0xFF, 0, 0x8A, 0, kNone},
    {0x07B, u"N-CHG (131)", kNone, 0xEB, 0, 0x8B, 0, kNone},
    {0x07D, u"K14", kNone, 0xFF, 0, 0x89, 0, kNone},
    {0x07E, u"K107", kNone, 0xC2, 0, 0x85, 0, kNone},
    {0x11C, u"Num Enter", 84, 0x0D, 0, 0x58, 1118, 104},
    {0x11D, u"Right Ctrl", 102, 0xA3, 0, 0xE4, 1089, 113},
    {0x135, u"Num /", 80, 0x6F, 0, 0x54, 1105, 39},
    {0x136, u"Right Shift", 103, 0xA1, 0, 0xE5, 0, kNone},
    {0x137, u"Print Screen", 64, 0x2C, 0, 0x46, 1091, 14},
    {0x138, u"Right Alt", 104, 0xA5, 0, 0xE6, 1086, 109},
    {0x145, u"Num Lock", 79, 0x90, 0, 0x53, 1104, 38},
    {0x146, u"Break", 66, 0x03, 0, 0x48, 0, kNone},
    {0x147, u"Home", 69, 0x24, 0, 0x4A, 1095, 36},
    {0x148, u"\u2191", 73, 0x26, 0, 0x52, 1103, 99},
    {0x149, u"Page Up", 71, 0x21, 0, 0x4B, 1096, 37},
    {0x14B, u"\u2190", 75, 0x25, 0, 0x50, 1100, 119},
    {0x14D, u"\u2192", 76, 0x27, 0, 0x4F, 1102, 121},
    {0x14F, u"End", 70, 0x23, 0, 0x4D, 1098, 57},
    {0x150, u"\u2193", 74, 0x28, 0, 0x51, 1101, 120},
    {0x151, u"Page Down", 72, 0x22, 0, 0x4E, 1099, 58},
    {0x152, u"Insert", 67, 0x2D, 0, 0x49, 1094, 35},
    {0x153, u"Delete", 68, 0x2E, 0, 0x4C, 1097, 56},
    {0x15B, u"Win", 101, 0x5B, 0, 0xE3, 1084, 106},
    {0x15C, u"Right Win", 105, 0x5C, 0, 0xE7, 1087, 112},
    {0x15D, u"App", 97, 0x5D, 0, 0x65, 1088, 111},
    {0x15E, u"Power", kNone, 0xFF, 0, 0x81, 0, kNone},
    {0x15F, u"Sleep", kNone, 0x5F, 0, 0x82, 0, kNone},
    {0x163, u"Wake", kNone, 0xFF, 0, 0x83, 0, kNone},
    // Names only: these never reach the keyboard (usage byte 0, or 0xD2-0xD5, consumer usage 0).
    {0x16E, u"Pan Left", kNone, 0x88, 0, 0x00, 0, kNone},
    {0x16F, u"Pan Right", kNone, 0x89, 0, 0x00, 0, kNone},
    {0x170, u"Double Click", kNone, 0x8A, 0, 0x00, 0, kNone},
    {0x171, u"Left Button", kNone, 0x01, 0, 0x00, 0, kNone},
    {0x172, u"Right Button", kNone, 0x02, 0, 0x00, 0, kNone},
    {0x173, u"Middle Button", kNone, 0x04, 0, 0x00, 0, kNone},
    {0x174, u"Zoom-", kNone, 0x8B, 0, 0xD2, 0, kNone},
    {0x175, u"Zoom+", kNone, 0x8C, 0, 0xD3, 0, kNone},
    {0x176, u"Copy", kNone, 0x97, 0, 0x00, 0, kNone},
    {0x177, u"Cut", kNone, 0x98, 0, 0x00, 0, kNone},
    {0x178, u"Paste", kNone, 0x99, 0, 0x00, 0, kNone},
    {0x179, u"Minimize", kNone, 0x9A, 0, 0x00, 0, kNone},
    {0x17A, u"Maximize", kNone, 0x9B, 0, 0x00, 0, kNone},
    {0x17B, u"Word", kNone, 0x9C, 0, 0xD4, 0, kNone},
    {0x17C, u"Excel", kNone, 0x9D, 0, 0xD5, 0, kNone},
    {0x17D, u"PowerPoint", kNone, 0x9E, 0, 0x00, 0, kNone},
    {0x17E, u"Calendar", kNone, 0x9F, 0, 0x00, 0, kNone},
};

struct MediaRow {
    KeyId id;
    std::string_view languageEntry;
    std::uint8_t vk;
    std::uint8_t usageByte;
    std::uint16_t consumerUsage;
};

// In media index order.
inline constexpr MediaRow kMediaRows[] = {
    {0x16D, "MEDIA_PALYER_1", 0xB5, 0xC2, 0x183},        // 0
    {0x122, "MEDIA_PALY_PAUSE_2", 0xB3, 0xCE, 0x0CD},    // 1
    {0x124, "MEDIA_STOP_PALY_3", 0xB2, 0xCF, 0x0B7},     // 2
    {0x110, "MEDIA_PREV_TRACK_4", 0xB1, 0xD0, 0x0B6},    // 3
    {0x119, "MEDIA_Next_TRACK_5", 0xB0, 0xD1, 0x0B5},    // 4
    {0x12E, "MEDIA_V_LOW_6", 0xAE, 0xC1, 0x0EA},         // 5
    {0x130, "MEDIA_V_ADD_7", 0xAF, 0xC0, 0x0E9},         // 6
    {0x120, "MEDIA_MUTE_8", 0xAD, 0xCD, 0x0E2},          // 7
    {0x132, "MEDIA_WWW_HOME_9", 0xAC, 0xC7, 0x223},      // 8
    {0x167, "MEDIA_WWW_REFRESH_10", 0xA8, 0xCB, 0x227},  // 9
    {0x168, "MEDIA_WWW_STOP_11", 0xA9, 0xCA, 0x226},     // 10
    {0x16A, "MEDIA_WWW_BACK_12", 0xA6, 0xC8, 0x224},     // 11
    {0x169, "MEDIA_WWW_FORWARD_13", 0xA7, 0xC9, 0x225},  // 12
    {0x166, "MEDIA_WWW_FAVORITE_14", 0xAB, 0xCC, 0x22A}, // 13
    {0x165, "MEDIA_WWW_SEARCH_15", 0xAA, 0xC6, 0x221},   // 14
    {0x16B, "MEDIA_MY_PC_16", 0xB6, 0xC5, 0x194},        // 15
    {0x121, "MEDIA_CALC_17", 0xB7, 0xC4, 0x192},         // 16
    {0x16C, "MEDIA_MAIL_18", 0xB4, 0xC3, 0x18A},         // 17
};

// Consumer usages of usage bytes 0xC0-0xDF.
inline constexpr std::array<std::uint16_t, 32> kConsumerUsages = {
    0xE9,  0xEA,  0x183, 0x18A, 0x192, 0x194, 0x221, 0x223, 0x224, 0x225, 0x226,
    0x227, 0x22A, 0xE2,  0xCD,  0xB7,  0xB6,  0xB5,  0,     0,     0,     0,
    0,     0,     0,     0,     0,     0,     0,     0,     0,     0,
};

// Modifier keys by their bit in the HID modifier byte, bit 0 first.
inline constexpr std::array<KeyId, 8> kModifierKeys = {0x01D, 0x02A, 0x038, 0x15B,
                                                       0x11D, 0x036, 0x138, 0x15C};

inline constexpr std::array<KeyId, 4> kSyntheticPressKeys = {0x054, 0x071, 0x072, 0x137};

// G buttons G1 to G9.
inline constexpr std::array<std::uint16_t, 9> kGControls = {1000, 1001, 1002, 1003, 1004,
                                                            1140, 1141, 1142, 1143};

// A constant expression that is not one: the table builders call it to stop compilation on
// inconsistent data.
inline void DataError(const char*) {}

constexpr std::array<KeySlot, kKeyTableSize> BuildKeyTable() {
    std::array<KeySlot, kKeyTableSize> table{};
    for (const KeyRow& row : kKeyRows) {
        KeySlot& slot = table[KeyIndexOf(row.id)];
        if (!slot.name.empty() || slot.usageByte != 0)
            DataError("two rows for one key index");
        slot.name = row.name;
        slot.listPosition = row.listPosition;
        slot.virtualKey = row.vk;
        slot.virtualKeyNumLockOff = row.vkNumLockOff != 0 ? row.vkNumLockOff : row.vk;
        slot.usageByte = row.usageByte;
    }
    for (const MediaRow& row : kMediaRows) {
        KeySlot& slot = table[KeyIndexOf(row.id)];
        if (!slot.name.empty() || slot.usageByte != 0)
            DataError("media key on a named slot");
        slot.languageEntry = row.languageEntry;
        slot.virtualKey = row.vk;
        slot.virtualKeyNumLockOff = row.vk;
        slot.usageByte = row.usageByte;
    }
    return table;
}

inline constexpr std::array<KeySlot, kKeyTableSize> kKeyTable = BuildKeyTable();

} // namespace kovrel::key_data

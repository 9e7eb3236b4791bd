#include "lighting/core/preview_tables.h"

namespace kovrel::lighting::preview {
namespace {

constexpr std::array<std::uint8_t, 32> kRise = {
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<std::uint8_t, 32> kFall = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

constexpr std::array<Rgb, kRainbowSize> BuildRainbow() {
    std::array<Rgb, kRainbowSize> r{};
    for (std::size_t j = 0; j < 32; ++j) {
        const std::uint8_t u = kRise[j];
        const std::uint8_t d = kFall[j];
        r[j] = {255, u, 0};
        r[32 + j] = {d, 255, 0};
        r[64 + j] = {0, 255, u};
        r[96 + j] = {0, d, 255};
        r[128 + j] = {u, 0, 255};
        r[160 + j] = {255, 0, d};
    }
    return r;
}

constexpr std::array<std::uint8_t, 64> kRampValues = {
    3,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

// R from its 17th value to its end, then the same values backwards.
constexpr std::array<std::uint8_t, 96> BuildWave() {
    std::array<std::uint8_t, 96> w{};
    for (std::size_t i = 0; i < 48; ++i) {
        w[i] = kRampValues[16 + i];
        w[95 - i] = kRampValues[16 + i];
    }
    return w;
}

constexpr std::array<std::uint8_t, 129> BuildPulse() {
    std::array<std::uint8_t, 129> p{};
    constexpr std::uint8_t kAttack[] = {0,  4,   8,   14,  22,  33,  45,  61, 77,
                                        94, 114, 134, 158, 182, 206, 234, 255};
    constexpr std::uint8_t kTail[] = {20, 18, 16, 14, 12, 10, 9, 8, 7, 6, 5, 4, 3, 2, 2, 1, 0};
    std::size_t n = 0;
    for (std::uint8_t v : kAttack) {
        p[n++] = v;
    }
    for (int i = 62; i >= 16; --i) { // R's 248 down to 22
        p[n++] = kRampValues[static_cast<std::size_t>(i)];
    }
    for (std::uint8_t v : kTail) {
        p[n++] = v;
    }
    return p; // zeros from here up to index 128
}

constexpr std::array<std::uint8_t, 128> BuildBreath() {
    std::array<std::uint8_t, 128> b{};
    for (std::size_t i = 0; i < 64; ++i) {
        b[i] = kRampValues[i];
        b[127 - i] = kRampValues[i];
    }
    return b;
}

constexpr std::uint16_t _ = 0;

constexpr std::uint16_t kRing0[] = {1052};
constexpr std::uint16_t kRing1[] = {1038, 1051, 1065, 1066, 1053, 1039};
constexpr std::uint16_t kRing2[] = {1024, 1037, 1050, 1064, 1077, 1078, 1079, 1067, 1054, 1040};
constexpr std::uint16_t kRing3[] = {1023, 1036, 1049, 1063, 1076, 1086,
                                    1080, 1068, 1055, 1041, 1025};
constexpr std::uint16_t kRing4[] = {1015, 1035, 1048, 1062, 1075, 1174,
                                    1081, 1070, 1042, 1043, 1026, 1027};
constexpr std::uint16_t kRing5[] = {1014, 1034, 1047, 1061, 1074, 1090,
                                    1088, 1089, 1097, 1094, 1028};
constexpr std::uint16_t kRing6[] = {1013, 1033, 1046, 1060, 1073, 1100, 1103, 1098, 1095, 1091};
constexpr std::uint16_t kRing7[] = {1012, 1032, 1045, 1059, 1072, 1101,
                                    1102, 1099, 1096, 1093, 1092};
constexpr std::uint16_t kRing8[] = {1011, 1031, 1044, 1058, 1071, 1085, 1115, 1112, 1108, 1104};
constexpr std::uint16_t kRing9[] = {1010, 1030, 1056, 1069, 1082, 1084,
                                    1120, 1116, 1113, 1109, 1105};
constexpr std::uint16_t kRing10[] = {1022, 1029, 1083, 1119, 1117, 1114, 1110, 1106};
constexpr std::uint16_t kRing11[] = {1118, 1111, 1107};

constexpr std::array<std::span<const std::uint16_t>, kRingCount> kRings = {
    kRing0, kRing1, kRing2, kRing3, kRing4,  kRing5,
    kRing6, kRing7, kRing8, kRing9, kRing10, kRing11};

// Fisher-Yates over 0..103 driven by a fixed linear congruential sequence, so the order is the
// same on every build.
constexpr std::array<std::uint8_t, kRingKeys> BuildRandomOrder() {
    std::array<std::uint8_t, kRingKeys> order{};
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint8_t>(i);
    }
    std::uint32_t x = 0x2545F491u;
    for (std::size_t i = order.size() - 1; i > 0; --i) {
        x = x * 1664525u + 1013904223u;
        const std::size_t j = (x >> 8) % (i + 1);
        const std::uint8_t t = order[i];
        order[i] = order[j];
        order[j] = t;
    }
    return order;
}

} // namespace

const std::array<Rgb, kRainbowSize> kRainbow = BuildRainbow();
const std::array<std::uint8_t, 64> kRamp = kRampValues;
const std::array<std::uint8_t, 96> kWaveCurve = BuildWave();
const std::array<std::uint8_t, 129> kPulseCurve = BuildPulse();
const std::array<std::uint8_t, 128> kBreathCurve = BuildBreath();

// clang-format off
const std::array<std::array<std::uint16_t, kGridColumns>, kGridRows> kKeyGrid = {{
    {_, _, 1022, 1010, 1011, 1012, 1013, _, 1014, 1015, 1023, 1024, 1025, 1026, 1027, 1028, 1091, 1092, 1093, _, _, _, _},
    {_, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1043, 1043, 1094, 1095, 1096, 1104, 1105, 1106, 1107},
    {_, 1056, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1042, 1042, 1097, 1098, 1099, 1108, 1109, 1110, _},
    {_, 1069, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070, _, _, _, _, _, 1112, 1113, 1114, 1111},
    {_, 1082, 1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, _, _, 1081, 1081, _, 1103, _, 1115, 1116, 1117, 1118},
    {1083, 1084, 1085, _, _, _, 1090, _, _, 1086, 1086, 1174, 1088, _, 1089, 1089, 1100, 1101, 1102, 1120, 1120, 1119, _},
}};

const std::array<std::uint16_t, kRingKeys> kKeyRing = {
    1093, 1092, 1091, 1028, 1027, 1026, 1025, 1024, 1023, 1015, 1014, 1013, 1012, 1011, 1010, 1022,
    1029, 1056, 1069, 1082, 1083, 1084, 1085, 1090, 1086, 1174, 1088, 1089, 1100, 1101, 1102, 1120,
    1119, 1118, 1111, 1107, 1106, 1105, 1104, 1096, 1095, 1094, 1043, 1041, 1040, 1039, 1038, 1037,
    1036, 1035, 1034, 1033, 1032, 1031, 1030, 1044, 1058, 1071, 1072, 1073, 1074, 1075, 1076, 1077,
    1078, 1079, 1080, 1081, 1103, 1115, 1116, 1117, 1114, 1112, 1113, 1110, 1109, 1108, 1099, 1098,
    1097, 1042, 1055, 1054, 1053, 1052, 1051, 1050, 1049, 1048, 1047, 1046, 1045, 1059, 1060, 1061,
    1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070};
// clang-format on

const std::array<std::uint8_t, kRingKeys> kRandomOrder = BuildRandomOrder();

std::span<const std::uint16_t> Ring(int g) {
    if (g < 0 || g >= kRingCount) {
        return {};
    }
    return kRings[static_cast<std::size_t>(g)];
}

} // namespace kovrel::lighting::preview

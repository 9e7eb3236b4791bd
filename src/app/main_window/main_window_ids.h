#pragma once
// The main window's identifiers: template 102's control ids, its menu commands, its custom
// window messages with their four-character codes, and its timers.

#include <cstdint>

namespace kovrel::app::ids {

inline constexpr int kTemplate = 102;

// Controls of template 102 (each also the command id its button sends).
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kProfiles = 1005;    // FUNC_PROFILES, the scene button
inline constexpr int kApply = 1006;       // CONTROL2_APPLY
inline constexpr int kMacro = 1007;       // FUNC_MACRO
inline constexpr int kProfileMenu = 1009; // posted by the tray icon on a left click
inline constexpr int kWebLink = 1121;     // TESKAL_LINK
inline constexpr int kHelp = 1122;        // CONTROL_HELP
inline constexpr int kMinimize = 1123;    // CONTROL_MINIMIZE
inline constexpr int kClose = 1124;       // CONTROL_CLOSE
inline constexpr int kLockAB = 1128;      // LOCK_AB
inline constexpr int kFlip0 = 1129;       // FLIP_0, the indicator
inline constexpr int kFlip1 = 1130;       // FLIP_1
inline constexpr int kFlip2 = 1131;       // FLIP_2
inline constexpr int kLockCaps = 1125;    // LOCK_CAPS
inline constexpr int kLockNum = 1126;     // LOCK_NUM
inline constexpr int kLockScroll = 1127;  // LOCK_SCROLL
inline constexpr int kVersion = 1132;     // TESKAL_VER
inline constexpr int kLeftArrow = 1133;   // LEFT_ARROW
inline constexpr int kRightArrow = 1134;  // RIGHT_ARROW
inline constexpr int kProfile1 = 1135;    // FUNC_PROFILE1 .. FUNC_PROFILE3
inline constexpr int kDefault = 1138;     // FUNC_DEFAULT
inline constexpr int kMainMenu = 1139;    // CONTROL_MENU
inline constexpr int kSwitch = 1144;      // FUNC_SWITCH
inline constexpr int kModeList = 1146;    // the lighting mode list (lighting panel)
inline constexpr int kReport1 = 1147;     // FUNC_REPORT1; 2-4 are 1168-1170
inline constexpr int kBusy = 1177;        // CONTROL_JDTStatic, the busy indicator

// Menu and other commands.
inline constexpr int kSystemAbout = 16;
inline constexpr int kOpen = 32771;
inline constexpr int kAbout = 32773;
inline constexpr int kExit = 32774;
inline constexpr int kImport = 32776;
inline constexpr int kExport = 32777;
inline constexpr int kMenuClose = 32779;
inline constexpr int kFirmwareUpdate = 32780;
inline constexpr int kChinese = 32784;
inline constexpr int kEnglish = 32785;
inline constexpr int kProfileItemFirst = 9000; // 9000 + k: switch to profile k - 1
inline constexpr int kProfileItemLast = 9200;

// Custom window messages and their four-character codes.
inline constexpr std::uint32_t kTimeChangeMessage = 0x001E;
inline constexpr std::uint32_t kInitMessage = 0x4D4E;
inline constexpr std::uintptr_t kInitCode = 0x494E4954; // "INIT"
inline constexpr std::uint32_t kShowMessage = 0x5350;
inline constexpr std::uintptr_t kShowCode = 0x4F50454E; // "OPEN"
inline constexpr std::uint32_t kQuitMessage = 0x4D4B;
inline constexpr std::uintptr_t kQuitCode = 0x4C4C494B; // "KILL"
inline constexpr std::uint32_t kArrivedMessage = 0x5452;
inline constexpr std::uintptr_t kArrivedCode = 0x50524F46; // "PROF"
inline constexpr std::uint32_t kLeftMessage = 0x4753;
inline constexpr std::uint32_t kBankMessage = 0x5045;
inline constexpr std::uintptr_t kBankCode = 0x004C4544; // "LED"
inline constexpr std::uint32_t kSliderMessage = 0x28D1;

// Timers.
inline constexpr std::uint32_t kBusyTimer = 1050;     // 50 ms while Apply runs
inline constexpr std::uint32_t kLightingTimer = 1051; // one shot after a lighting event
inline constexpr std::uint32_t kPreviewTimer = 1052;  // 100 ms, then 50 ms

inline constexpr std::uint32_t kWindowMark = 0x4D41494E; // "MAIN"

} // namespace kovrel::app::ids

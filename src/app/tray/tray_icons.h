#pragma once
// The pictures of the tray's status icons, drawn at run time: 128 the program icon (no keyboard
// connected), 141 a keyboard is connected, 142 the keyboard reports an activity in progress.

#include <QIcon>

namespace kovrel::app {

inline constexpr int kIconProgram = 128;
inline constexpr int kIconConnected = 141;
inline constexpr int kIconActivity = 142;

// The icon of a resource id; an id without a picture gives an empty icon (shown blank).
QIcon StatusIcon(int resourceId);

} // namespace kovrel::app

#pragma once
// The reads that follow a keyboard's arrival, shared by the device-change worker and kovrelctl:
// the keyboard's default layout, then its information block for the macro memory size.

#include "device/commands.h"

namespace kovrel::device {

class ConnectedKeyboard;

inline constexpr int kMacroUnitBytes = 128;

struct ArrivalResult {
    int layout = 0; // result of ReadDefaultLayout; on failure the previous layout stays
    int info = 0;   // result of ReadInfoBlock; on failure the macro memory size stays
};

// On success of each read, replaces the keyboard's DefaultLayout and its macro memory size
// (byte 11 of the block x 128). The caller reports a failed layout read to the user.
ArrivalResult ReadArrivalData(CommandProtocol& protocol, ConnectedKeyboard& keyboard);

} // namespace kovrel::device

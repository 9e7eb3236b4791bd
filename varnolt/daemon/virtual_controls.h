#pragma once
// The test controls of the virtual keyboard, as the daemon's control frames offer them:
// plug, unplug, raise an event, dump the memories, read or clear the receive log, set the
// simulated transfer time, and inject faults.
//
// Fault descriptions (ControlOp::Fault), words separated by blanks, numbers decimal or 0x-hex:
//   drop N              the next N commands get no reply
//   wrong-code N        the next N replies carry another command code
//   status S N          the next N commands are answered with status byte S and not run
//   long N [SIZE]       the next N replies are SIZE bytes long (65..1024, default 80)
//   unplug-after N      the keyboard answers N more commands, then is unplugged
//   clear               disarms every fault

#include "varnolt/daemon/virtual_keyboard_host.h"
#include "varnolt/protocol/messages.h"

namespace kovrel::varnolt {

// Answers one control request; `host` is null when the daemon runs without the virtual
// keyboard. Status and Shutdown are the daemon's own and are not handled here.
ControlResultMessage HandleVirtualControl(VirtualKeyboardHost* host, const ControlRequest& request);

// The receive log as text (one entry a line: sequence, kind, hex bytes) or as a JSON array of
// {"sequence": n, "kind": "report"|"bank", "bytes": "hex"}.
std::string FormatLog(const std::vector<firmware::LogEntry>& log, bool json);

} // namespace kovrel::varnolt

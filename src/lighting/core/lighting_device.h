#pragma once
// The lighting operations over the command protocol: reloading the mirror from the keyboard and
// writing record fields and key colours of the selected profile p. Every write is one transfer,
// bracketed by BeginConfig and EndConfig.
//
// Writes update the mirror whatever the keyboard answers (the panel shows what the user chose);
// the result still tells callers that care, such as kovrelctl, whether every exchange succeeded:
// 1, or the first result other than 1.

#include "lighting/core/lighting_mirror.h"

#include <span>

namespace kovrel::device {
class CommandProtocol;
}

namespace kovrel::lighting {

// A field outside the 42 bytes of a record, an LED position outside 0 to 125, or a selected
// profile outside 0 to 2: refused without sending.
inline constexpr int kOutsideRecord = -202;

// Reloads the mirror: clears the mirrored effect list, reads the information block (on failure
// returns -1 with the records untouched and the effect list left empty), then in one transfer
// reads 56 bytes at 0, 42 and 84 and keeps the first 42 of each as records 0, 1 and 2; unpacks
// record p, rebuilds the effect table and reads the lighting view flag from the settings file.
// Returns 0. A record whose read fails keeps its previous copy and makes the result -1, so a
// failed read is never taken for the keyboard's settings.
int ReloadLightingState(device::CommandProtocol& protocol, LightingMirror& mirror);

// Writes the fields of record p in one transfer, one command-6 exchange per field, lowest offset
// first, and copies them into the mirror (record and unpacked fields).
int WriteRecordFields(device::CommandProtocol& protocol, LightingMirror& mirror,
                      std::span<const FieldWrite> fields);
int WriteRecordField(device::CommandProtocol& protocol, LightingMirror& mirror,
                     const FieldWrite& field);

// Writes the 35 default bytes at p x 42 and copies them into the mirror.
int RestoreDefaultRecord(device::CommandProtocol& protocol, LightingMirror& mirror);

// Writes the colour of one LED position of profile p and stores it in the image. The colours go
// to profile p's memory, which need not be the keyboard's current profile.
int WriteOneKeyColour(device::CommandProtocol& protocol, LightingMirror& mirror, int ledPosition,
                      Rgb colour);

// Sends profile p's image in eight pieces of 18 positions (54 bytes); the 18 positions past the
// 126 of the image carry zeros.
int WriteProfileKeyImage(device::CommandProtocol& protocol, const LightingMirror& mirror);

} // namespace kovrel::lighting

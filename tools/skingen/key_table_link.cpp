// The generator takes the keyboard's buttons from the program's key controls but not the rest of
// the key table, whose names of media and unknown keys are language texts and would pull the
// language layer into a build tool. The one key-table lookup the key controls need is this one;
// the skin test checks every key it produces against the full key table.

#include "model/key_table.h"

#include <cstdio>

namespace kovrel {

std::string SkinKeyOf(KeyId key) {
    // Key index: the id itself below 0x100, its low byte plus 128 from 0x100 to 0x17F.
    const unsigned index = key < 0x100 ? key : key <= kLastKeyId ? (key & 0xFFu) + 128u : 0u;
    char text[16];
    std::snprintf(text, sizeof text, "KEY_%03X", index);
    return text;
}

} // namespace kovrel

#pragma once
// The host side's built-in copy of the keyboard's factory key block, in use until a keyboard's
// own copy has been read.

#include "device/commands.h"

namespace kovrel::device {

const ProfileBlockBytes& BuiltInDefaultLayout();

} // namespace kovrel::device

#pragma once
// The silent end of the program when a window cannot be skinned (its background or outline
// picture is missing or unreadable): exit code 0, no message. It goes through one replaceable
// hook so that tests can observe it instead of losing their process.

#include <functional>

namespace kovrel::skin {

using SilentExitHook = std::function<void(int exitCode)>;

// Ends the program with exit code 0 through the installed hook. The default hook never
// returns; a test hook may, and the caller then carries on without the missing picture.
void EndProgramSilently();

// Installs `hook` (an empty function restores the default, std::exit) and returns the one it
// replaces.
SilentExitHook SetSilentExitHook(SilentExitHook hook);

} // namespace kovrel::skin

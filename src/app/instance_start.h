#pragma once
// The start-up decision between instances, before any window exists: "/Kill" sends the running
// instance the quit message; a second start sends it the show message (or, with "--command",
// the command ids instead). Both then end the process with exit code 0, also when no running
// instance answered. Otherwise this process holds the single-instance lock and runs.

#include "app/command_line.h"
#include "app/instance_lock.h"

#include <filesystem>

namespace kovrel::app {

enum class StartDecision { Run, Exit };

// `lock` stays held for the run when the decision is Run. A lock file that cannot be used at all
// does not stop the start: the program runs, without the guard.
StartDecision ClaimInstance(const CommandLine& line, InstanceLock& lock,
                            const std::filesystem::path& socketPath);

} // namespace kovrel::app

#pragma once
// The Launcher of a Linux desktop: programs are spawned from their argument vector (the PATH is
// searched when argv[0] has no slash), in a session of their own so they outlive the program and
// its terminal, and reaped when they end so none is left as a zombie. Documents and links open
// through xdg-open.

#include "platform/launcher.h"

namespace kovrel::platform {

class ProcessLauncher final : public Launcher {
public:
    bool StartProgram(const std::vector<std::string>& argv) override;
    bool OpenDocument(const std::string& pathOrUrl) override;
};

// Spawns like ProcessLauncher::StartProgram and gives the child's process id (0 when it did not
// start); the child is reaped in the background all the same.
int SpawnDetached(const std::vector<std::string>& argv);

} // namespace kovrel::platform

#pragma once
// Starting another program or opening a document or link, always from an argument vector
// (never a shell string).

#include <string>
#include <vector>

namespace kovrel::platform {

class Launcher {
public:
    virtual ~Launcher() = default;

    // Starts argv[0] with the remaining arguments, detached. True when the program started.
    virtual bool StartProgram(const std::vector<std::string>& argv) = 0;

    // Opens a file or a link with the desktop's handler (xdg-open). True when the handler started.
    virtual bool OpenDocument(const std::string& pathOrUrl) = 0;
};

} // namespace kovrel::platform

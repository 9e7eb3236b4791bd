#pragma once
// The program's command line: "/Kill" (quit the running instance and end), "/Start" (stay in
// the tray when the keyboard is first found), their Linux spellings "--kill" and "--start", all
// without regard to case, and "--command N" (have the running instance handle command id N).

#include <cstdint>
#include <string>
#include <vector>

namespace kovrel::app {

struct CommandLine {
    bool kill = false;
    bool start = false;
    std::vector<std::uint32_t> commands; // in the order given
};

// `arguments` are those after the program name, in order. "/Kill" ends the reading: the process
// ends there. "--command" takes the next argument when it is a command id (decimal, 1 to 65535);
// anything else is ignored, as is every unknown argument.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace kovrel::app

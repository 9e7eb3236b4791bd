#include "app/command_line.h"

#include "app/instance_protocol.h"

#include <algorithm>
#include <cctype>

namespace kovrel::app {

namespace {

bool SameWord(const std::string& argument, std::string_view word) {
    return argument.size() == word.size() &&
           std::equal(argument.begin(), argument.end(), word.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (SameWord(argument, "/Kill") || SameWord(argument, "--kill")) {
            line.kill = true;
            break;
        }
        if (SameWord(argument, "/Start") || SameWord(argument, "--start")) {
            line.start = true;
        } else if (SameWord(argument, "--command") && i + 1 < arguments.size()) {
            const auto id = instance::detail::Number(arguments[i + 1], 10);
            if (id && *id >= 1 && *id <= instance::kMaxCommandId) {
                line.commands.push_back(*id);
                ++i;
            }
        }
    }
    return line;
}

} // namespace kovrel::app

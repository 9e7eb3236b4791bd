#include "command_line.h"

#include <iostream>

namespace kovrel::kovrelctl {

CommandLine::CommandLine()
    : app_("kovrelctl: the keyboard's operations from the command line.\n"
           "Profiles are numbered 1 to 3. Exit status: 0 success, 1 the operation failed, "
           "2 usage error, 3 no keyboard.\n"
           "After a command changes the keyboard, a running Kovrel is asked to read it again; "
           "if it kept unapplied changes, kovrelctl prints a line saying so.",
           "kovrelctl") {
    app_.require_subcommand(1);
}

void CommandLine::OnRun(CLI::App* command, std::function<int()> handler) {
    handlers_.emplace_back(command, std::move(handler));
}

int CommandLine::Run(int argc, char** argv) {
    try {
        app_.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app_.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app_.exit(e);
    } catch (const CLI::ParseError& e) {
        std::string what = e.what();
        if (auto eol = what.find('\n'); eol != std::string::npos) {
            what.resize(eol);
        }
        return Fail(kExitUsage, what + "; see kovrelctl --help");
    }
    // The deepest chosen command that has a handler runs.
    for (auto it = handlers_.rbegin(); it != handlers_.rend(); ++it) {
        if (it->first->parsed()) {
            return it->second();
        }
    }
    return Fail(kExitUsage, "no command given; see kovrelctl --help");
}

int Fail(int code, std::string_view message) {
    std::cerr << "kovrelctl: " << message << "\n";
    return code;
}

} // namespace kovrel::kovrelctl

#pragma once
// The conventions every kovrelctl command follows:
//   - profiles are numbered 1 to 3, as on the keyboard and in the window, in arguments and output;
//   - exit status 0 success, 1 the operation failed, 2 usage error, 3 no keyboard;
//   - an error is one line on stderr that says what to do;
//   - every reading command takes --json, and its --help lists the fields it prints.
// Each command group lives in its own file and registers itself through CommandLine::OnRun.

#include <CLI/CLI.hpp>

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace kovrel::kovrelctl {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,
    kExitUsage = 2,
    kExitNoKeyboard = 3,
};

class CommandLine {
public:
    CommandLine();

    CLI::App& App() { return app_; }

    // `handler` runs when `command` is the one chosen on the command line; its result is the
    // exit status.
    void OnRun(CLI::App* command, std::function<int()> handler);

    int Run(int argc, char** argv);

private:
    CLI::App app_;
    std::vector<std::pair<CLI::App*, std::function<int()>>> handlers_;
};

// Prints "kovrelctl: <message>" on stderr and returns `code`.
int Fail(int code, std::string_view message);

} // namespace kovrel::kovrelctl

#pragma once
// Running Varnolt and kovrelctl from tests: private runtime, state and config folders for the
// test process, a daemon with the virtual keyboard started and stopped on demand, and programs
// run to completion with their output captured.

#include "varnolt/protocol/control_client.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kovrel::testing {

// Folders of this test process, made once and set as XDG_RUNTIME_DIR, XDG_STATE_HOME and
// XDG_CONFIG_HOME before any thread starts (call it first thing in a test). Removed at exit.
struct TestFolders {
    std::filesystem::path root, runtime, state, config;
    static const TestFolders& Get();
};

// The folder of the test executable, where Varnolt and kovrelctl are built too.
std::filesystem::path BinFolder();

class DaemonProcess {
public:
    // `env`: extra NAME=value entries for the daemon. The virtual keyboard is on and keeps its
    // memories in `stateFile` (default: a file of this test's own under TestFolders::state).
    explicit DaemonProcess(std::vector<std::string> env = {});
    ~DaemonProcess();
    DaemonProcess(const DaemonProcess&) = delete;
    DaemonProcess& operator=(const DaemonProcess&) = delete;

    // Starts the daemon and waits until it answers. False when it did not.
    bool Start();
    // SIGTERM (the daemon saves and leaves) and wait; returns its exit status.
    int Stop();
    // SIGKILL and wait: a crash.
    void Kill();
    bool Running() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    const std::filesystem::path& StateFile() const { return stateFile_; }
    std::vector<std::string> Environment() const;

private:
    std::vector<std::string> env_;
    std::filesystem::path stateFile_;
    pid_t pid_ = 0;
};

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with extra environment entries to its end; output captured.
RunResult RunProgram(const std::vector<std::string>& argv,
                     const std::vector<std::string>& env = {});

// A connected control client (fails the test when the daemon does not answer).
varnolt::ControlClient ConnectControl();

// One "key=value" field of the daemon's status text; -1 when absent or not a number.
long long StatusField(varnolt::ControlClient& client, const std::string& key);

// How many command reports with this command code the virtual keyboard's receive log holds
// (-1, and a failed expectation, when the daemon does not answer).
int LoggedCommands(varnolt::ControlClient& client, std::uint8_t code);

} // namespace kovrel::testing

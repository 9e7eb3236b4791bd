#include "daemon_process.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kovrel::testing {
namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const auto name = entry.substr(0, entry.find('=') + 1);
        bool overridden = false;
        for (const auto& x : extra) {
            overridden = overridden || x.rfind(name, 0) == 0;
        }
        if (!overridden) {
            env.push_back(entry);
        }
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) {
        out.push_back(s.data());
    }
    out.push_back(nullptr);
    return out;
}

pid_t Spawn(std::vector<std::string> argv, std::vector<std::string> env, int outFd, int errFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    }
    if (errFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    }
    auto args = Pointers(argv);
    auto envp = Pointers(env);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : 0;
}

int WaitExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

const TestFolders& TestFolders::Get() {
    static const TestFolders folders = [] {
        TestFolders f;
        char pattern[] = "/tmp/kovrel-link-test-XXXXXX";
        f.root = ::mkdtemp(pattern);
        f.runtime = f.root / "run";
        f.state = f.root / "state";
        f.config = f.root / "config";
        std::filesystem::create_directories(f.state);
        std::filesystem::create_directories(f.config);
        ::mkdir(f.runtime.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", f.runtime.c_str(), 1);
        ::setenv("XDG_STATE_HOME", f.state.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", f.config.c_str(), 1);
        ::unsetenv("VARNOLT_VIRTUAL");
        ::unsetenv("VARNOLT_STATE_FILE");
        ::unsetenv("VARNOLT_VIRTUAL_DELAY_US");
        static std::filesystem::path toRemove = f.root;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(toRemove, ec);
        });
        return f;
    }();
    return folders;
}

std::filesystem::path BinFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

DaemonProcess::DaemonProcess(std::vector<std::string> env) : env_(std::move(env)) {
    static std::atomic<int> counter{0};
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    stateFile_ = TestFolders::Get().state / ((test ? std::string(test->name()) : "daemon") + "-" +
                                             std::to_string(counter++) + ".kvkb");
}

DaemonProcess::~DaemonProcess() {
    if (pid_ > 0) {
        Stop();
    }
}

std::vector<std::string> DaemonProcess::Environment() const {
    std::vector<std::string> env = env_;
    for (std::string fallback :
         {std::string("VARNOLT_VIRTUAL=1"), "VARNOLT_STATE_FILE=" + stateFile_.string()}) {
        const auto name = fallback.substr(0, fallback.find('=') + 1);
        if (std::none_of(env_.begin(), env_.end(),
                         [&](const std::string& e) { return e.rfind(name, 0) == 0; })) {
            env.push_back(fallback);
        }
    }
    return env;
}

bool DaemonProcess::Start() {
    TestFolders::Get();
    pid_ = Spawn({(BinFolder() / "Varnolt").string()}, MergedEnvironment(Environment()), -1, -1);
    if (pid_ <= 0) {
        return false;
    }
    varnolt::ControlClient client;
    if (!client.Connect(std::chrono::seconds(20))) {
        return false;
    }
    // The answer must come from this daemon, not from one left by an earlier test.
    return client.Welcome().daemonPid == static_cast<std::uint32_t>(pid_);
}

int DaemonProcess::Stop() {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, SIGTERM);
    const int status = WaitExit(pid_);
    pid_ = 0;
    return status;
}

void DaemonProcess::Kill() {
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGKILL);
    WaitExit(pid_);
    pid_ = 0;
}

RunResult RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    TestFolders::Get();
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t pid = Spawn(argv, MergedEnvironment(env), out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    RunResult result;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
        }
    }
    result.exitCode = pid > 0 ? WaitExit(pid) : -1;
    return result;
}

varnolt::ControlClient ConnectControl() {
    varnolt::ControlClient client;
    EXPECT_TRUE(client.Connect(std::chrono::seconds(10)));
    return client;
}

int LoggedCommands(varnolt::ControlClient& client, std::uint8_t code) {
    const auto log = client.Call(varnolt::ControlOp::Log, 1);
    EXPECT_TRUE(log);
    if (!log) {
        return -1;
    }
    int count = 0;
    for (const auto& entry : nlohmann::json::parse(log->text)) {
        const auto bytes = entry.at("bytes").get<std::string>();
        if (entry.at("kind") == "report" && bytes.size() >= 8 &&
            std::stoi(bytes.substr(6, 2), nullptr, 16) == code) {
            ++count;
        }
    }
    return count;
}

long long StatusField(varnolt::ControlClient& client, const std::string& key) {
    const auto result = client.Call(varnolt::ControlOp::Status);
    if (!result) {
        return -1;
    }
    const auto& text = result->text;
    const auto at = text.find(key + "=");
    if (at == std::string::npos || (at > 0 && text[at - 1] != '\n')) {
        return -1;
    }
    return std::atoll(text.c_str() + at + key.size() + 1);
}

} // namespace kovrel::testing

// Start-up of the Kovrel application on the virtual keyboard under offscreen: the time from
// starting the process to the handled initialisation message (the tray is ready), and the
// resident memory right after. Each iteration starts Kovrel ("--start": it stays in the tray),
// waits until the instance answers a message queued behind its initialisation message, reads
// its VmRSS and has it quit. The daemon Kovrel starts serves every iteration and is stopped at
// the end. Everything runs in temporary runtime, state, config and home folders.

#include "app/instance_client.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kovrel::app::instance::Answer;
using kovrel::app::instance::Request;
using kovrel::app::instance::SendRequest;

fs::path BinFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

struct Folders {
    fs::path root;
    Folders() {
        char pattern[] = "/tmp/kovrel-startup-bench-XXXXXX";
        root = ::mkdtemp(pattern);
        for (const char* name : {"state", "config", "home"}) {
            fs::create_directories(root / name);
        }
        fs::create_directory(root / "run");
        fs::permissions(root / "run", fs::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        ::setenv("HOME", (root / "home").c_str(), 1);
        ::setenv("VARNOLT_VIRTUAL", "1", 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ~Folders() {
        // The daemon the first start launched.
        std::ifstream lock(root / "run" / "varnolt.lock");
        pid_t daemon = 0;
        if (lock >> daemon && daemon > 0) {
            ::kill(daemon, SIGTERM);
        }
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

pid_t StartKovrel() {
    const std::string program = (BinFolder() / "Kovrel").string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(program.c_str(), program.c_str(), "--start", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return -1;
}

void BM_StartToTrayReady(benchmark::State& state) {
    static Folders folders;
    const fs::path socket = kovrel::app::instance::InstanceSocketPath();
    long rss = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const pid_t pid = StartKovrel();
        // A message the window ignores, queued behind its initialisation message.
        Answer answer;
        do {
            answer = SendRequest(Request::Message(0x4D4E, 0), socket);
            if (answer.status != Answer::Status::Answered) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        } while (answer.status != Answer::Status::Answered);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
        state.PauseTiming();
        rss = ResidentKiB(pid);
        SendRequest(Request::Quit(), socket);
        int status = 0;
        ::waitpid(pid, &status, 0);
        state.ResumeTiming();
    }
    state.counters["rss_KiB"] = static_cast<double>(rss);
}
BENCHMARK(BM_StartToTrayReady)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();

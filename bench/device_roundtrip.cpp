// One keyboard command through the whole stack: src/device's send-and-wait, libOndrel.so, the
// Varnolt daemon and its virtual keyboard, and the reply back. With no simulated transfer time
// this is our own overhead per command; with 1 ms per report each way it shows how close a
// command comes to the 2 ms floor a real keyboard sets. Median and 99th percentile are reported
// as counters (microseconds).
//
// The daemon runs in private temporary folders, started and stopped by the benchmark.

#include "device/current_profile.h"
#include "device/device_link.h"
#include "varnolt/protocol/control_client.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace kovrel;

class BenchDaemon {
public:
    BenchDaemon() {
        char pattern[] = "/tmp/kovrel-bench-XXXXXX";
        root_ = ::mkdtemp(pattern);
        const auto runtime = root_ / "run";
        ::mkdir(runtime.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_STATE_HOME", (root_ / "state").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        ::setenv("VARNOLT_VIRTUAL", "1", 1);
        const auto program =
            std::filesystem::read_symlink("/proc/self/exe").parent_path() / "Varnolt";
        std::string path = program.string();
        char* argv[] = {path.data(), nullptr};
        posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ);
        ready_ = control_.Connect(std::chrono::seconds(10));
    }
    ~BenchDaemon() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    bool Ready() const { return ready_; }
    void SetDelay(std::int64_t microseconds) {
        control_.Call(varnolt::ControlOp::SetDelay, microseconds);
    }

private:
    std::filesystem::path root_;
    pid_t pid_ = 0;
    varnolt::ControlClient control_;
    bool ready_ = false;
};

BenchDaemon& Daemon() {
    static BenchDaemon daemon;
    return daemon;
}

device::DeviceLink& Link() {
    static device::DeviceLink* link = [] {
        auto* l = new device::DeviceLink;
        if (l->Open() != device::BindResult::Ready) {
            std::fprintf(stderr, "cannot load libOndrel.so\n");
        }
        return l;
    }();
    return *link;
}

void CommandRoundTrip(benchmark::State& state) {
    if (!Daemon().Ready()) {
        state.SkipWithError("Varnolt did not start");
        return;
    }
    Daemon().SetDelay(state.range(0));
    auto& link = Link();
    std::vector<double> samples;
    samples.reserve(100000);
    device::InfoBlock block{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int result = device::ReadInformationBlock(link.protocol, block);
        const auto end = std::chrono::steady_clock::now();
        if (result != 1) {
            state.SkipWithError("command failed");
            return;
        }
        samples.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(samples.begin(), samples.end());
    if (!samples.empty()) {
        state.counters["median_us"] = samples[samples.size() / 2];
        state.counters["p99_us"] = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    }
}

} // namespace

// Argument: simulated transfer time per report each way, microseconds.
BENCHMARK(CommandRoundTrip)->Arg(0)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();

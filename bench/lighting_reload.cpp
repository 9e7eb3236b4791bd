// A full Reload lighting state (information block, then three record reads bracketed by the
// transfer commands) against the virtual keyboard hosted by the service stand-in, with the
// simulated USB transfer time per report each way as the argument. Six commands cross the wire,
// and closing the transfer pauses 10 ms first.

#include "device/device_link.h"
#include "lighting/core/lighting_device.h"
#include "platform/fakes.h"
#include "platform/temporary_home.h"
#include "profiles/settings.h"
#include "standin.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace kovrel;

void ReloadLighting(benchmark::State& state) {
    static platform::TemporaryHome home; // the settings file the reload reads
    platform::FakeServices services;
    profiles::InitialiseSettings(home.Path() / "Documents", home.Path() / "program");
    standin::Reset();
    device::DeviceLink link;
    if (link.Open(standin::kStandinLibraryName) != device::BindResult::Ready) {
        state.SkipWithError("cannot load the service stand-in");
        return;
    }
    standin::WaitIdle();
    standin::Keyboard().SetRoundTripDelay(std::chrono::microseconds(state.range(0)));
    lighting::LightingMirror mirror;
    for (auto _ : state) {
        if (lighting::ReloadLightingState(link.protocol, mirror) != 0) {
            state.SkipWithError("reload failed");
            return;
        }
    }
}

} // namespace

// Argument: simulated transfer time per report each way, microseconds.
BENCHMARK(ReloadLighting)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

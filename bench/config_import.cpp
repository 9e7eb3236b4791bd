// A full import against the virtual keyboard (through the service stand-in) with 1 ms simulated
// transfer per report each way: validate, load, BeginConfig, a macro image of about 4 KB, the
// three profile blocks and EndConfig. A real keyboard sets a floor of 2 ms per command; the
// counters give the commands sent and that floor, to compare with the measured time.

#include "device/arrival.h"
#include "device/device_link.h"
#include "model/macro_image.h"
#include "profiles/config_file.h"
#include "profiles/config_file_format.h"
#include "profiles/settings.h"
#include "standin.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace kovrel;

// Ten macros whose named image is just under 4096 bytes, and assignments in all three profiles.
Configuration ImportedConfiguration() {
    Configuration c = EmptyConfiguration();
    for (int m = 0; m < 10; ++m) {
        MacroRecord macro;
        macro.name = u"Macro" + std::u16string(1, static_cast<char16_t>(u'0' + m));
        macro.macroId = static_cast<std::uint16_t>(m + 1);
        for (int a = 0; a < 97; ++a) {
            macro.actions.push_back({20, 0x01E, static_cast<std::uint16_t>(a % 2)});
        }
        c.macros.push_back(std::move(macro));
    }
    for (int p = 0; p < 3; ++p) {
        c.Record(p, 0x01E).Set(AssignmentKind::Macro, 1);
        c.Record(p, 0x030).Set(AssignmentKind::Media, 7);
        c.Record(p, 0x02E).Set(AssignmentKind::Disabled);
    }
    return c;
}

void BM_ImportThreeProfilesAndMacros(benchmark::State& state) {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kovrel-bench-import-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "Documents" / "Tavik");
    profiles::InitialiseSettings(root / "Documents", root / "program");
    Configuration c = ImportedConfiguration();
    const auto file = root / "import.kvl";
    {
        const auto bytes = profiles::SerializeConfiguration(c);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    standin::Reset();
    device::DeviceLink link;
    if (link.Open(standin::kStandinLibraryName) != device::BindResult::Ready ||
        device::ReadArrivalData(link.protocol, link.keyboard).info != 1) {
        state.SkipWithError("no keyboard");
        return;
    }
    standin::Keyboard().SetRoundTripDelay(std::chrono::microseconds(1000));
    std::uint64_t before = 0;
    std::uint64_t commands = 0;
    for (auto _ : state) {
        before = standin::Keyboard().ReportsReceived();
        const auto result = profiles::ImportConfigurationFile(file, KeyboardAccess::Of(link));
        commands = standin::Keyboard().ReportsReceived() - before;
        if (!result.loaded || result.applied != 1) {
            state.SkipWithError("import failed");
            break;
        }
    }
    state.counters["commands"] = static_cast<double>(commands);
    state.counters["floor_ms"] = static_cast<double>(commands * 2);
    state.counters["macro_image_bytes"] = static_cast<double>(MacroImageSizes(c.macros).withNames);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ImportThreeProfilesAndMacros)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();

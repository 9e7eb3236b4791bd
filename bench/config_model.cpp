// The configuration model at its largest: a store with 100 macros of 2000 actions encoded into a
// macro image and three profile blocks, the largest macro image the format can address decoded,
// and that configuration written to and loaded from a configuration file (1.65 MB).

#include "device/default_layout.h"
#include "model/macro_image.h"
#include "model/profile_block.h"
#include "profiles/config_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace kovrel;

Configuration LargestConfiguration(int actionsPerMacro) {
    Configuration c = EmptyConfiguration();
    for (int m = 0; m < kMaxMacros; ++m) {
        MacroRecord macro;
        macro.name = u"Macro number " + std::u16string(1, static_cast<char16_t>(u'A' + m % 26));
        macro.macroId = static_cast<std::uint16_t>(m + 1);
        macro.cycles = 1;
        for (int a = 0; a < actionsPerMacro; ++a) {
            macro.actions.push_back({10u * (a % 100), static_cast<KeyId>(0x01E + a % 10),
                                     static_cast<std::uint16_t>(a % 2)});
        }
        c.macros.push_back(std::move(macro));
    }
    for (int p = 0; p < 3; ++p) {
        for (int r = 0; r < kKeyRecords; r += 3) {
            c.Record(p, r).Set(AssignmentKind::Macro, static_cast<std::uint32_t>(r % 100 + 1));
        }
    }
    return c;
}

void BM_EncodeImages(benchmark::State& state) {
    const Configuration c = LargestConfiguration(kMaxMacroActions);
    const ProfileBlock& layout = device::BuiltInDefaultLayout();
    for (auto _ : state) {
        auto image = EncodeMacroImage(c.macros, true);
        ProfileBlock block;
        for (int p = 0; p < 3; ++p) {
            EncodeProfileBlock(c, p, layout, block);
            benchmark::DoNotOptimize(block);
        }
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_EncodeImages)->Unit(benchmark::kMillisecond);

// Offsets in the image are 16 bits wide: 100 macros of 160 actions is the largest image whose
// entries can all be addressed (about 64 KB).
void BM_DecodeImages(benchmark::State& state) {
    const Configuration c = LargestConfiguration(160);
    const auto image = EncodeMacroImage(c.macros, false);
    ProfileBlock block;
    EncodeProfileBlock(c, 0, device::BuiltInDefaultLayout(), block);
    std::vector<MacroRecord> macros;
    std::array<KeyRecord, kAreaRecords> area;
    for (auto _ : state) {
        if (DecodeMacroImage(image, macros) != kMaxMacros) {
            state.SkipWithError("image refused");
            break;
        }
        for (int p = 0; p < 3; ++p) {
            DecodeProfileBlock(block, device::BuiltInDefaultLayout(), area);
        }
        benchmark::DoNotOptimize(area);
    }
    state.counters["image_bytes"] = static_cast<double>(image.size());
}
BENCHMARK(BM_DecodeImages)->Unit(benchmark::kMillisecond);

std::filesystem::path BenchFile() {
    return std::filesystem::temp_directory_path() /
           ("kovrel-bench-" + std::to_string(::getpid()) + ".kvl");
}

void BM_WriteConfigurationFile(benchmark::State& state) {
    ConfigurationStore store;
    store.Replace(LargestConfiguration(kMaxMacroActions));
    const auto path = BenchFile();
    for (auto _ : state) {
        if (!profiles::WriteConfigurationFile(path, store)) {
            state.SkipWithError("write failed");
            break;
        }
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteConfigurationFile)->Unit(benchmark::kMillisecond);

void BM_ValidateAndLoadConfigurationFile(benchmark::State& state) {
    ConfigurationStore store;
    store.Replace(LargestConfiguration(kMaxMacroActions));
    const auto path = BenchFile();
    profiles::WriteConfigurationFile(path, store);
    for (auto _ : state) {
        if (profiles::ValidateConfigurationFile(path) != 1 ||
            profiles::LoadConfigurationFile(path, store) != 1) {
            state.SkipWithError("load failed");
            break;
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ValidateAndLoadConfigurationFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

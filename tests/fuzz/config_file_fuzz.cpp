// Fuzz target: a configuration file's bytes as an import would read them. Whatever the bytes, the
// header test and the read answer without reading past the end; a file that reads cleanly writes
// back to bytes that read cleanly again.

#include "model/configuration_header.h"
#include "profiles/config_file_format.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (size >= kovrel::kHeaderSize) {
        (void)kovrel::HeaderPassesTest(file.first<kovrel::kHeaderSize>());
    }
    kovrel::Configuration configuration;
    if (kovrel::profiles::ParseConfiguration(file, configuration) !=
        kovrel::profiles::ParseResult::Ok) {
        return 0;
    }
    const auto written = kovrel::profiles::SerializeConfiguration(configuration);
    kovrel::Configuration again;
    if (kovrel::profiles::ParseConfiguration(written, again) != kovrel::profiles::ParseResult::Ok ||
        again.macros != configuration.macros || again.records != configuration.records) {
        std::abort();
    }
    return 0;
}

// Fuzz target: a macro image as the keyboard's memory hands it back. Decoding refuses what does
// not hold together and never reads past the bytes given; what it accepts encodes and decodes to
// the same macros.

#include "model/macro_image.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<kovrel::MacroRecord> macros;
    const int n = kovrel::DecodeMacroImage(std::span<const std::uint8_t>(data, size), macros);
    if (n < 0) {
        if (!macros.empty()) {
            std::abort();
        }
        return 0;
    }
    if (static_cast<std::size_t>(n) != macros.size() || n > kovrel::kMaxMacros) {
        std::abort();
    }
    std::vector<kovrel::MacroRecord> again;
    if (kovrel::DecodeMacroImage(kovrel::EncodeMacroImage(macros, true), again) != n) {
        std::abort();
    }
    return 0;
}

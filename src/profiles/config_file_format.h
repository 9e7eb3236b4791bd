#pragma once
// The configuration file's bytes: the 64-byte header and the 2048 key records (32832 bytes),
// the macro records (16512 bytes each), then the text area of NUL-terminated UTF-16 strings
// that records of kinds LaunchProgram and TextBlock point at by byte offset.

#include "model/configuration_store.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kovrel::profiles {

// The file image of a configuration. Bytes 0-31 of the header are rebuilt from the macro count
// and the text total; each record of kind LaunchProgram or TextBlock whose text is set and still
// fits the text total gets its text laid out and its value set to the text's offset (so the
// configuration is changed too).
std::vector<std::uint8_t> SerializeConfiguration(Configuration& configuration);

enum class ParseResult {
    Ok,
    Truncated,     // shorter than its header and counts promise
    TooManyMacros, // more than 100 macros, or a macro with more than 2000 actions
    BadText,       // a text offset or string outside the text area
};

// Reads a file image without testing the header's marks (that is validation's job) but with
// every count and offset checked against the bytes given: nothing is read past their end. On
// Ok `out` holds the file's header, records, macros and texts (each text's size counted into the
// text total).
ParseResult ParseConfiguration(std::span<const std::uint8_t> file, Configuration& out);

} // namespace kovrel::profiles

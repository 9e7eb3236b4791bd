#pragma once

// Builds command reports the way a host does, so tests speak the wire byte by byte.

#include "firmware/virtual_keyboard.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kovrel::firmware::test {

using Bytes = std::vector<std::uint8_t>;

// 0x04, checksum, code, length, address, 0, data (zero padded to 64 bytes).
Bytes MakeReport(std::uint8_t code, std::uint8_t length, std::uint16_t address,
                 std::span<const std::uint8_t> data = {});

// Sends one report and returns its only reply (fails the test if there is not exactly one).
Bytes Exchange(VirtualKeyboard& keyboard, const Bytes& report);

// Reply status and data bytes.
std::uint8_t Status(const Bytes& reply);
Bytes Data(const Bytes& reply, std::size_t count = 56);

} // namespace kovrel::firmware::test

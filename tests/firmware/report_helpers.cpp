#include "report_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kovrel::firmware::test {

Bytes MakeReport(std::uint8_t code, std::uint8_t length, std::uint16_t address,
                 std::span<const std::uint8_t> data) {
    Bytes report(64, 0);
    report[0] = 0x04;
    report[3] = code;
    report[4] = length;
    report[5] = static_cast<std::uint8_t>(address & 0xFF);
    report[6] = static_cast<std::uint8_t>(address >> 8);
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), 56), report.begin() + 8);
    unsigned sum = 0;
    for (std::size_t i = 3; i < 64; ++i) {
        sum += report[i];
    }
    report[1] = static_cast<std::uint8_t>(sum & 0xFF);
    report[2] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
    return report;
}

Bytes Exchange(VirtualKeyboard& keyboard, const Bytes& report) {
    auto replies = keyboard.HandleReport(report);
    EXPECT_EQ(replies.size(), 1u);
    if (replies.empty()) {
        return Bytes(64, 0);
    }
    EXPECT_EQ(replies[0].size(), 64u);
    return replies[0];
}

std::uint8_t Status(const Bytes& reply) {
    return reply.at(7);
}

Bytes Data(const Bytes& reply, std::size_t count) {
    return Bytes(reply.begin() + 8, reply.begin() + 8 + static_cast<std::ptrdiff_t>(count));
}

} // namespace kovrel::firmware::test

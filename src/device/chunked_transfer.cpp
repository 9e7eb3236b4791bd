#include "device/chunked_transfer.h"

#include "device/command_protocol.h"
#include "device/command_report.h"

#include <algorithm>

namespace kovrel::device {

namespace {

int Transfer(CommandProtocol& protocol, std::uint8_t code, std::uint16_t base,
             std::span<const std::uint8_t> source, std::span<std::uint8_t> target) {
    const std::size_t total = source.empty() ? target.size() : source.size();
    Report report = MakeReport(code, 0, 0);
    for (std::size_t offset = 0; offset < total; offset += kReportDataSize) {
        const std::size_t n = offset + kReportDataSize < total ? kReportDataSize : total - offset;
        const auto address = static_cast<std::uint16_t>(base + offset);
        report[ONDREL_OFFSET_LENGTH] = static_cast<std::uint8_t>(n);
        report[ONDREL_OFFSET_ADDRESS] = static_cast<std::uint8_t>(address & 0xFF);
        report[ONDREL_OFFSET_ADDRESS + 1] = static_cast<std::uint8_t>(address >> 8);
        if (!source.empty()) {
            std::copy_n(source.begin() + offset, n, report.begin() + ONDREL_OFFSET_DATA);
        }
        StampChecksum(report);
        Report reply{};
        std::size_t received = 0;
        int result = protocol.SendCommand(report, reply, received);
        if (result == result::kSuccess) {
            result = StatusResult(reply[ONDREL_OFFSET_STATUS]);
        }
        if (result != result::kSuccess) {
            return result;
        }
        if (!target.empty()) {
            std::copy_n(reply.begin() + ONDREL_OFFSET_DATA, n, target.begin() + offset);
        }
    }
    return result::kSuccess;
}

} // namespace

int ReadChunked(CommandProtocol& protocol, std::uint8_t code, std::uint16_t base,
                std::span<std::uint8_t> block) {
    return Transfer(protocol, code, base, {}, block);
}

int WriteChunked(CommandProtocol& protocol, std::uint8_t code, std::uint16_t base,
                 std::span<const std::uint8_t> block) {
    return Transfer(protocol, code, base, block, {});
}

} // namespace kovrel::device

#include "device/command_report.h"

#include <algorithm>

namespace kovrel::device {

std::uint16_t SumLow16(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (const std::uint8_t b : bytes) {
        sum += b;
    }
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void StampChecksum(Report& report) {
    const std::uint16_t sum = SumLow16(std::span(report).subspan(ONDREL_OFFSET_COMMAND));
    report[ONDREL_OFFSET_CHECKSUM] = static_cast<std::uint8_t>(sum & 0xFF);
    report[ONDREL_OFFSET_CHECKSUM + 1] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
}

Report MakeReport(std::uint8_t code, std::uint8_t length, std::uint16_t address) {
    Report report{};
    report[0] = ONDREL_REPORT_ID_COMMAND;
    report[ONDREL_OFFSET_COMMAND] = code;
    report[ONDREL_OFFSET_LENGTH] = length;
    report[ONDREL_OFFSET_ADDRESS] = static_cast<std::uint8_t>(address & 0xFF);
    report[ONDREL_OFFSET_ADDRESS + 1] = static_cast<std::uint8_t>(address >> 8);
    report[ONDREL_OFFSET_STATUS] = 0;
    return report;
}

Report PadReport(std::span<const std::uint8_t> bytes) {
    Report report{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kReportSize), report.begin());
    return report;
}

int StatusResult(std::uint8_t status) {
    if (status == kStatusErrorByte) {
        return result::kStatusError;
    }
    if (status == kStatusBusyByte) {
        return result::kStatusBusy;
    }
    return result::kSuccess;
}

} // namespace kovrel::device

#include "device/commands.h"

#include "device/chunked_transfer.h"
#include "device/clock.h"
#include "device/command_protocol.h"

#include <algorithm>

namespace kovrel::device {

namespace {

// Sends one report and maps the reply's status; `data`, when given, receives reply bytes 8 on.
int Exchange(CommandProtocol& protocol, Report& report, std::span<std::uint8_t> data = {}) {
    StampChecksum(report);
    Report reply{};
    std::size_t received = 0;
    const int sent = protocol.SendCommand(report, reply, received);
    if (sent != result::kSuccess) {
        return sent;
    }
    const int status = StatusResult(reply[ONDREL_OFFSET_STATUS]);
    if (status != result::kSuccess) {
        return status;
    }
    std::copy_n(reply.begin() + ONDREL_OFFSET_DATA, std::min(data.size(), kReportDataSize),
                data.begin());
    return result::kSuccess;
}

bool ValidProfile(int profile) {
    return profile >= 0 && profile < kProfileCount;
}

} // namespace

int BeginConfig(CommandProtocol& protocol) {
    Report report = MakeReport(command::kBeginConfig, 0, 0);
    return Exchange(protocol, report);
}

int EndConfig(CommandProtocol& protocol) {
    protocol.TimeSource().Sleep(kRetryPause);
    Report report = MakeReport(command::kEndConfig, 0, 0);
    return Exchange(protocol, report);
}

int ReadInfoBlock(CommandProtocol& protocol, InfoBlock& block) {
    Report report = MakeReport(command::kReadInfoBlock, kInfoBlockSize, 0);
    return Exchange(protocol, report, block);
}

int WriteInfoBlock(CommandProtocol& protocol, const InfoBlock& block) {
    Report report = MakeReport(command::kWriteInfoBlock, kInfoBlockSize, 0);
    std::copy(block.begin(), block.end(), report.begin() + ONDREL_OFFSET_DATA);
    return Exchange(protocol, report);
}

int ReadMemory(CommandProtocol& protocol, std::uint8_t length, std::uint16_t address,
               MemoryChunk& data) {
    Report report = MakeReport(command::kReadMemory, length, address);
    return Exchange(protocol, report, data);
}

int WriteMemory(CommandProtocol& protocol, std::span<const std::uint8_t> data,
                std::uint16_t address) {
    const std::size_t n = std::min(data.size(), kReportDataSize);
    Report report = MakeReport(command::kWriteMemory, static_cast<std::uint8_t>(n), address);
    std::copy_n(data.begin(), n, report.begin() + ONDREL_OFFSET_DATA);
    return Exchange(protocol, report);
}

int ReadProfileBlock(CommandProtocol& protocol, int profile, ProfileBlockBytes& block) {
    if (!ValidProfile(profile)) {
        return result::kBadProfile;
    }
    return ReadChunked(protocol, command::kReadProfileBlock,
                       static_cast<std::uint16_t>(profile * kProfileBlockSize), block);
}

int WriteProfileBlock(CommandProtocol& protocol, int profile, const ProfileBlockBytes& block) {
    if (!ValidProfile(profile)) {
        return result::kBadProfile;
    }
    return WriteChunked(protocol, command::kWriteProfileBlock,
                        static_cast<std::uint16_t>(profile * kProfileBlockSize), block);
}

int ReadMacroImage(CommandProtocol& protocol, std::span<std::uint8_t> image) {
    return ReadChunked(protocol, command::kReadMacroImage, 0, image);
}

int WriteMacroImage(CommandProtocol& protocol, std::span<const std::uint8_t> image) {
    return WriteChunked(protocol, command::kWriteMacroImage, 0, image);
}

int ReadDefaultLayout(CommandProtocol& protocol, ProfileBlockBytes& layout) {
    return ReadChunked(protocol, command::kReadDefaultLayout, 0, layout);
}

int WriteKeyColours(CommandProtocol& protocol, std::span<const std::uint8_t> data, int keySlot,
                    int profile) {
    if (!ValidProfile(profile)) {
        return result::kBadProfile;
    }
    const std::size_t n = std::min(data.size(), kReportDataSize);
    const auto address = static_cast<std::uint16_t>(keySlot * 3 + profile * 512);
    Report report = MakeReport(command::kWriteKeyColours, static_cast<std::uint8_t>(n), address);
    std::copy_n(data.begin(), n, report.begin() + ONDREL_OFFSET_DATA);
    return Exchange(protocol, report);
}

int EnterBootMode(CommandProtocol& protocol) {
    Report report{};
    report[0] = ONDREL_REPORT_ID_COMMAND;
    report[ONDREL_OFFSET_COMMAND] = command::kBootMode;
    report[ONDREL_OFFSET_LENGTH] = command::kBootMode;
    const int sent = protocol.SendReportNoWait(report);
    if (sent == 1) {
        return result::kSuccess;
    }
    return sent == 0 ? result::kNoKeyboard : result::kRefused;
}

} // namespace kovrel::device

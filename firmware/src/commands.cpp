#include "commands.h"

#include <algorithm>
#include <numeric>

namespace kovrel::firmware::detail {

namespace {

constexpr std::size_t kChecksumOffset = ONDREL_OFFSET_CHECKSUM;
constexpr std::size_t kCodeOffset = ONDREL_OFFSET_COMMAND;
constexpr std::size_t kLengthOffset = ONDREL_OFFSET_LENGTH;
constexpr std::size_t kAddressOffset = ONDREL_OFFSET_ADDRESS;
constexpr std::size_t kStatusOffset = ONDREL_OFFSET_STATUS;
constexpr std::uint8_t kInfoLength = static_cast<std::uint8_t>(kInfoBlockSize); // 0x2C

// How a memory command moves bytes.
enum class Access { Read, ReadFull, Write };

struct MemoryCommand {
    std::uint8_t code;
    Access access;
    std::span<std::uint8_t> (*memory)(KeyboardMemory&);
};

std::span<std::uint8_t> Settings(KeyboardMemory& m) {
    return m.settings;
}
std::span<std::uint8_t> Profiles(KeyboardMemory& m) {
    return m.profiles;
}
std::span<std::uint8_t> Macros(KeyboardMemory& m) {
    return m.macro_memory;
}
std::span<std::uint8_t> Layout(KeyboardMemory& m) {
    return m.default_layout;
}
std::span<std::uint8_t> Colours(KeyboardMemory& m) {
    return m.key_colours;
}

// Every command that addresses a memory by (length, address). The settings read always returns
// a full report of data, whatever length was asked for; the host relies on that.
constexpr MemoryCommand kMemoryCommands[] = {
    {command::kReadMemory, Access::ReadFull, Settings},
    {command::kWriteMemory, Access::Write, Settings},
    {command::kReadProfileBlock, Access::Read, Profiles},
    {command::kWriteProfileBlock, Access::Write, Profiles},
    {command::kReadMacroImage, Access::Read, Macros},
    {command::kWriteMacroImage, Access::Write, Macros},
    {command::kReadDefaultLayout, Access::Read, Layout},
    {command::kWriteKeyColours, Access::Write, Colours},
};

Reply Begin(std::span<const std::uint8_t> report) {
    Reply reply{};
    reply[0] = kCommandReportId;
    // Echo code, length and address so a reply can be told apart in a log.
    for (std::size_t i = kCodeOffset; i < kStatusOffset && i < report.size(); ++i) {
        reply[i] = report[i];
    }
    return reply;
}

Reply Finish(Reply reply, std::uint8_t status) {
    reply[kStatusOffset] = status;
    Seal(reply);
    return reply;
}

Reply RunMemoryCommand(const MemoryCommand& cmd, KeyboardMemory& memory, Reply reply,
                       std::size_t length, std::size_t address,
                       std::span<const std::uint8_t> data) {
    const std::span<std::uint8_t> target = cmd.memory(memory);
    if (length > kReportDataSize || address > target.size() || length > target.size() - address) {
        return Finish(reply, kStatusError);
    }
    auto out = reply.begin() + kReportDataOffset;
    switch (cmd.access) {
    case Access::Write:
        std::copy_n(data.begin(), length, target.begin() + address);
        break;
    case Access::Read:
        std::copy_n(target.begin() + address, length, out);
        break;
    case Access::ReadFull:
        std::copy_n(target.begin() + address, std::min(kReportDataSize, target.size() - address),
                    out);
        break;
    }
    return Finish(reply, kStatusSuccess);
}

} // namespace

std::uint16_t Checksum(std::span<const std::uint8_t> report) {
    const auto body = report.subspan(std::min(report.size(), kCodeOffset));
    return static_cast<std::uint16_t>(std::accumulate(body.begin(), body.end(), 0u));
}

void Seal(Reply& reply) {
    const std::uint16_t sum = Checksum(reply);
    reply[kChecksumOffset] = static_cast<std::uint8_t>(sum & 0xFF);
    reply[kChecksumOffset + 1] = static_cast<std::uint8_t>(sum >> 8);
}

bool IsBootModeReport(std::span<const std::uint8_t> report) {
    if (report.size() != kReportSize) {
        return false;
    }
    for (std::size_t i = 0; i < kReportSize; ++i) {
        std::uint8_t expected = 0;
        if (i == 0) {
            expected = kCommandReportId;
        } else if (i == kCodeOffset || i == kLengthOffset) {
            expected = command::kBootMode;
        }
        if (report[i] != expected) {
            return false;
        }
    }
    return true;
}

Reply StatusReply(std::span<const std::uint8_t> report, std::uint8_t status) {
    return Finish(Begin(report), status);
}

Reply RunCommand(KeyboardMemory& memory, std::span<const std::uint8_t> report) {
    Reply reply = Begin(report);
    if (report.size() != kReportSize || report[0] != kCommandReportId) {
        return Finish(reply, kStatusError);
    }
    const std::uint16_t sum =
        static_cast<std::uint16_t>(report[kChecksumOffset] | (report[kChecksumOffset + 1] << 8));
    if (sum != Checksum(report)) {
        return Finish(reply, kStatusError);
    }
    const std::uint8_t code = report[kCodeOffset];
    const std::size_t length = report[kLengthOffset];
    const std::size_t address = report[kAddressOffset] | (report[kAddressOffset + 1] << 8);
    const auto data = report.subspan(kReportDataOffset, kReportDataSize);

    switch (code) {
    case command::kBeginConfig:
    case command::kEndConfig:
        if (length != 0 || address != 0) {
            return Finish(reply, kStatusError);
        }
        memory.config_open = code == command::kBeginConfig;
        return Finish(reply, kStatusSuccess);
    case command::kReadInfoBlock:
        if (length != kInfoLength || address != 0) {
            return Finish(reply, kStatusError);
        }
        std::copy(memory.info.begin(), memory.info.end(), reply.begin() + kReportDataOffset);
        return Finish(reply, kStatusSuccess);
    case command::kWriteInfoBlock:
        if (length != kInfoLength || address != 0 || data[kInfoCurrentProfile] >= kProfileCount) {
            return Finish(reply, kStatusError);
        }
        // Only the opaque head and the current profile are the host's to write; the macro
        // memory size and the effect list describe the hardware and stay as they are.
        std::copy_n(data.begin(), kInfoCurrentProfile + 1, memory.info.begin());
        return Finish(reply, kStatusSuccess);
    default:
        break;
    }
    for (const MemoryCommand& cmd : kMemoryCommands) {
        if (cmd.code == code) {
            return RunMemoryCommand(cmd, memory, reply, length, address, data);
        }
    }
    return Finish(reply, kStatusError);
}

} // namespace kovrel::firmware::detail

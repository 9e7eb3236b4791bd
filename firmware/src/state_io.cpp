#include "firmware/state_io.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>

namespace kovrel::firmware {

namespace {

constexpr std::array<std::uint8_t, 4> kMark = {'K', 'V', 'K', 'B'};
constexpr std::uint16_t kFlagConfigOpen = 1;
constexpr std::uint16_t kFlagBootMode = 2;
constexpr std::uint16_t kFlagGBank = 4;

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

class Writer {
public:
    void U16(std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    void Bytes(std::span<const std::uint8_t> bytes) {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    void Section(std::span<const std::uint8_t> bytes) {
        U16(static_cast<std::uint16_t>(bytes.size()));
        Bytes(bytes);
    }
    std::vector<std::uint8_t> out;
};

// Reads forward through a buffer; every read fails once the buffer is exhausted.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
    bool U16(std::uint16_t& v) {
        if (in_.size() - pos_ < 2) {
            return false;
        }
        v = static_cast<std::uint16_t>(in_[pos_] | (in_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    bool Bytes(std::span<std::uint8_t> out) {
        if (in_.size() - pos_ < out.size()) {
            return false;
        }
        std::copy_n(in_.begin() + pos_, out.size(), out.begin());
        pos_ += out.size();
        return true;
    }
    // A section whose stored length must equal the target's size.
    bool Section(std::span<std::uint8_t> out) {
        std::uint16_t length = 0;
        return U16(length) && length == out.size() && Bytes(out);
    }
    bool AtEnd() const { return pos_ == in_.size(); }

private:
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
};

std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

void HexDump(std::string& text, const char* title, std::span<const std::uint8_t> bytes) {
    text += title;
    text += " (" + std::to_string(bytes.size()) + " bytes)\n";
    for (std::size_t line = 0; line < bytes.size(); line += 16) {
        char offset[24];
        std::snprintf(offset, sizeof offset, "  %04zX:", line);
        text += offset;
        for (std::size_t i = line; i < line + 16 && i < bytes.size(); ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, " %02X", bytes[i]);
            text += byte;
        }
        text += '\n';
    }
}

std::vector<int> EffectList(const InfoBlock& info) {
    std::vector<int> effects;
    for (std::size_t i = kInfoEffectList; i < kInfoBlockSize; ++i) {
        if (info[i] != 0) {
            effects.push_back(info[i]);
        }
    }
    return effects;
}

} // namespace

std::vector<std::uint8_t> SerializeMemory(const KeyboardMemory& memory) {
    Writer w;
    w.Bytes(kMark);
    w.U16(kStateFormatVersion);
    w.U16(static_cast<std::uint16_t>((memory.config_open ? kFlagConfigOpen : 0) |
                                     (memory.boot_mode ? kFlagBootMode : 0) |
                                     ((memory.g_bank & 1) ? kFlagGBank : 0)));
    w.Section(memory.info);
    w.Section(memory.settings);
    w.Section(memory.key_colours);
    w.Section(memory.profiles);
    w.Section(memory.default_layout);
    w.Section(memory.macro_memory);
    w.U32(Crc32(w.out));
    return std::move(w.out);
}

std::optional<KeyboardMemory> DeserializeMemory(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) {
        return std::nullopt;
    }
    const auto body = bytes.first(bytes.size() - 4);
    const auto tail = bytes.last(4);
    const std::uint32_t stored = static_cast<std::uint32_t>(tail[0]) | (tail[1] << 8) |
                                 (tail[2] << 16) | (static_cast<std::uint32_t>(tail[3]) << 24);
    if (stored != Crc32(body)) {
        return std::nullopt;
    }
    Reader r(body);
    std::array<std::uint8_t, 4> mark{};
    std::uint16_t version = 0;
    std::uint16_t flags = 0;
    if (!r.Bytes(mark) || mark != kMark || !r.U16(version) || version != kStateFormatVersion ||
        !r.U16(flags) || (flags & ~(kFlagConfigOpen | kFlagBootMode | kFlagGBank)) != 0) {
        return std::nullopt;
    }
    KeyboardMemory memory;
    if (!r.Section(memory.info) || memory.info[kInfoCurrentProfile] >= kProfileCount ||
        !r.Section(memory.settings) || !r.Section(memory.key_colours) ||
        !r.Section(memory.profiles) || !r.Section(memory.default_layout)) {
        return std::nullopt;
    }
    memory.macro_memory.resize(std::size_t{memory.info[kInfoMacroUnits]} * kMacroUnit);
    if (!r.Section(memory.macro_memory) || !r.AtEnd()) {
        return std::nullopt;
    }
    memory.config_open = (flags & kFlagConfigOpen) != 0;
    memory.boot_mode = (flags & kFlagBootMode) != 0;
    memory.g_bank = (flags & kFlagGBank) ? 1 : 0;
    return memory;
}

std::string DumpText(const KeyboardMemory& memory) {
    std::string text = "Virtual keyboard\n";
    text += "  current profile " + std::to_string(memory.info[kInfoCurrentProfile]) +
            ", macro memory " + std::to_string(memory.macro_memory.size()) + " bytes, G bank " +
            std::to_string(memory.g_bank) + ", configuration " +
            (memory.config_open ? "open" : "closed") + ", boot mode " +
            (memory.boot_mode ? "on" : "off") + "\n  effects:";
    for (int effect : EffectList(memory.info)) {
        text += " " + std::to_string(effect);
    }
    text += "\n";
    HexDump(text, "Information block", memory.info);
    HexDump(text, "Settings memory", memory.settings);
    HexDump(text, "Per-key colours", memory.key_colours);
    for (std::size_t p = 0; p < kProfileCount; ++p) {
        const std::string title = "Profile block " + std::to_string(p);
        HexDump(text, title.c_str(),
                std::span(memory.profiles).subspan(p * kProfileBlockSize, kProfileBlockSize));
    }
    HexDump(text, "Default layout", memory.default_layout);
    HexDump(text, "Macro memory", memory.macro_memory);
    return text;
}

std::string DumpJson(const KeyboardMemory& memory) {
    const std::span<const std::uint8_t> settings = memory.settings;
    const std::span<const std::uint8_t> profiles = memory.profiles;
    nlohmann::json lighting = nlohmann::json::array();
    nlohmann::json blocks = nlohmann::json::array();
    for (std::size_t p = 0; p < kProfileCount; ++p) {
        const auto record = settings.subspan(p * kLightingRecordSize, kLightingRecordSize);
        lighting.push_back({{"effect", record[0]},
                            {"brightness", record[1]},
                            {"speed", record[2]},
                            {"direction", record[3]},
                            {"multicolour", record[4]},
                            {"colour", {record[5], record[6], record[7]}},
                            {"bytes", Hex(record)}});
        blocks.push_back(Hex(profiles.subspan(p * kProfileBlockSize, kProfileBlockSize)));
    }
    const nlohmann::json j = {
        {"format", kStateFormatVersion},
        {"current_profile", memory.info[kInfoCurrentProfile]},
        {"macro_memory_units", memory.info[kInfoMacroUnits]},
        {"effects", EffectList(memory.info)},
        {"config_open", memory.config_open},
        {"boot_mode", memory.boot_mode},
        {"g_bank", memory.g_bank},
        {"info_block", Hex(memory.info)},
        {"lighting", lighting},
        {"settings", Hex(memory.settings)},
        {"key_colours", Hex(memory.key_colours)},
        {"profile_blocks", blocks},
        {"default_layout", Hex(memory.default_layout)},
        {"macro_memory", Hex(memory.macro_memory)},
    };
    return j.dump(2);
}

} // namespace kovrel::firmware

#include "varnolt/daemon/virtual_controls.h"

#include <charconv>
#include <sstream>
#include <string_view>
#include <vector>

namespace kovrel::varnolt {
namespace {

constexpr std::int64_t kMaxCount = 1000000;

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ' && text[j] != '\t') {
            ++j;
        }
        if (j > i) {
            words.push_back(text.substr(i, j - i));
        }
        i = j;
    }
    return words;
}

bool ParseNumber(std::string_view word, std::int64_t low, std::int64_t high, std::int64_t& out) {
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        word.remove_prefix(2);
        base = 16;
    }
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

ControlResultMessage Result(const ControlRequest& request, std::int32_t status, std::string text) {
    return ControlResultMessage{request.seq, status, std::move(text)};
}

ControlResultMessage ApplyFault(VirtualKeyboardHost& host, const ControlRequest& request) {
    auto& kb = host.Device();
    const auto words = Words(request.text);
    auto bad = [&](const std::string& why) { return Result(request, kControlBadArgument, why); };
    if (words.empty()) {
        return bad("no fault given");
    }
    const std::string_view what = words[0];
    std::int64_t n = 0;
    if (what == "clear" && words.size() == 1) {
        kb.ClearFaults();
    } else if (what == "drop" && words.size() == 2 && ParseNumber(words[1], 0, kMaxCount, n)) {
        kb.DropReplies(static_cast<int>(n));
    } else if (what == "wrong-code" && words.size() == 2 &&
               ParseNumber(words[1], 0, kMaxCount, n)) {
        kb.AnswerWrongCode(static_cast<int>(n));
    } else if (what == "status" && words.size() == 3) {
        std::int64_t status = 0;
        if (!ParseNumber(words[1], 0, 255, status) || !ParseNumber(words[2], 0, kMaxCount, n)) {
            return bad("status wants a status byte 0..255 and a count");
        }
        kb.AnswerStatus(static_cast<std::uint8_t>(status), static_cast<int>(n));
    } else if (what == "long" && (words.size() == 2 || words.size() == 3) &&
               ParseNumber(words[1], 0, kMaxCount, n)) {
        std::int64_t size = 80;
        if (words.size() == 3 &&
            !ParseNumber(words[2], 65, static_cast<std::int64_t>(kMaxReplyBytes), size)) {
            return bad("long wants a reply size of 65 to 1024 bytes");
        }
        kb.AnswerLong(static_cast<int>(n), static_cast<std::size_t>(size));
    } else if (what == "unplug-after" && words.size() == 2 &&
               ParseNumber(words[1], 0, kMaxCount, n)) {
        kb.UnplugAfter(static_cast<int>(n));
    } else {
        return bad("unknown fault; use drop N, wrong-code N, status S N, long N [SIZE], "
                   "unplug-after N or clear");
    }
    return Result(request, kControlOk, {});
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (auto b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 15]);
    }
    return text;
}

} // namespace

std::string FormatLog(const std::vector<firmware::LogEntry>& log, bool json) {
    std::ostringstream out;
    if (json) {
        out << "[";
    }
    bool first = true;
    for (const auto& entry : log) {
        const char* kind = entry.kind == firmware::LogEntry::Kind::Report ? "report" : "bank";
        if (json) {
            out << (first ? "" : ",") << "\n  {\"sequence\": " << entry.sequence << ", \"kind\": \""
                << kind << "\", \"bytes\": \"" << Hex(entry.bytes) << "\"}";
        } else {
            out << entry.sequence << " " << kind << " " << Hex(entry.bytes) << "\n";
        }
        first = false;
    }
    if (json) {
        out << (first ? "]\n" : "\n]\n");
    }
    return out.str();
}

ControlResultMessage HandleVirtualControl(VirtualKeyboardHost* host,
                                          const ControlRequest& request) {
    if (!host) {
        return Result(request, kControlNoVirtualKeyboard,
                      "the daemon runs without the virtual keyboard; start it with "
                      "VARNOLT_VIRTUAL=1");
    }
    switch (request.op) {
    case ControlOp::Plug:
        host->Plug();
        return Result(request, kControlOk, {});
    case ControlOp::Unplug:
        host->Unplug();
        return Result(request, kControlOk, {});
    case ControlOp::RaiseEvent:
        if (request.number < 0 || request.number > 0xFFFF) {
            return Result(request, kControlBadArgument, "event code must be 0 to 0xFFFF");
        }
        if (!host->RaiseEvent(static_cast<std::uint16_t>(request.number))) {
            return Result(request, kControlFailed,
                          "the virtual keyboard is unplugged; plug it in first");
        }
        return Result(request, kControlOk, {});
    case ControlOp::Dump:
        return Result(request, kControlOk,
                      request.number == 1 ? host->Device().DumpJson() : host->Device().DumpText());
    case ControlOp::Log:
        return Result(request, kControlOk, FormatLog(host->Device().Log(), request.number == 1));
    case ControlOp::ClearLog:
        host->Device().ClearLog();
        return Result(request, kControlOk, {});
    case ControlOp::Fault:
        return ApplyFault(*host, request);
    case ControlOp::SetDelay:
        if (request.number < 0 || request.number > 10'000'000) {
            return Result(request, kControlBadArgument, "delay must be 0 to 10000000 microseconds");
        }
        host->SetDelay(std::chrono::microseconds(request.number));
        return Result(request, kControlOk, {});
    case ControlOp::Status:
    case ControlOp::Shutdown:
        break;
    }
    return Result(request, kControlBadArgument, "unknown control");
}

} // namespace kovrel::varnolt

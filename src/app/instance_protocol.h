#pragma once
// What one start of the program says to the running instance over the per-user local socket
// (the socket's place: app/instance_paths.h; a client: app/instance_client.h). Header-only and
// free of Qt, so kovrelctl can include it as it is.
//
// One exchange per connection, every line UTF-8 ending in '\n', at most kMaxLineLength bytes:
//
//   instance -> client   "KOVREL 4D41494E"            the main window's mark; a peer that does
//                                                     not greet with it is never addressed
//   client -> instance   "MESSAGE 5350 4F50454E"      an instance message: message and wParam in
//                                                     hexadecimal (show 5350/4F50454E, quit
//                                                     4D4B/4C4C494B)
//                        "COMMAND 32785"              a command id for the main window (decimal)
//                        "RELOAD"                     reload from the keyboard (kovrelctl, after
//                                                     it changed the keyboard)
//   instance -> client   one status line, then the instance closes the connection:
//                        "delivered", "reloaded", "kept unapplied changes", "no window",
//                        "refused"
//
// Any other request is answered "refused".

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kovrel::app::instance {

inline constexpr std::uint32_t kMainWindowMark = 0x4D41494E; // "MAIN"
inline constexpr std::string_view kGreeting = "KOVREL 4D41494E";

// The two messages between instances (lParam is always 0).
inline constexpr std::uint32_t kShowMessage = 0x5350;
inline constexpr std::uint32_t kShowCode = 0x4F50454E; // "OPEN"
inline constexpr std::uint32_t kQuitMessage = 0x4D4B;
inline constexpr std::uint32_t kQuitCode = 0x4C4C494B; // "KILL"

inline constexpr std::size_t kMaxLineLength = 256;

// Status lines of the running instance.
inline constexpr std::string_view kDelivered = "delivered";
inline constexpr std::string_view kReloaded = "reloaded";
inline constexpr std::string_view kKeptUnappliedChanges = "kept unapplied changes";
inline constexpr std::string_view kNoWindow = "no window";
inline constexpr std::string_view kRefused = "refused";

struct Request {
    enum class Kind { Message, Command, Reload };
    Kind kind = Kind::Message;
    std::uint32_t message = 0; // Message
    std::uint32_t wParam = 0;  // Message
    std::uint32_t command = 0; // Command: 1 to 65535

    static Request Message(std::uint32_t message, std::uint32_t wParam) {
        return {Kind::Message, message, wParam, 0};
    }
    static Request Show() { return Message(kShowMessage, kShowCode); }
    static Request Quit() { return Message(kQuitMessage, kQuitCode); }
    static Request Command(std::uint32_t id) { return {Kind::Command, 0, 0, id}; }
    static Request Reload() { return {Kind::Reload, 0, 0, 0}; }

    bool operator==(const Request&) const = default;
};

inline constexpr std::uint32_t kMaxCommandId = 0xFFFF; // a command message carries 16 bits

namespace detail {

inline std::string Hex(std::uint32_t value) {
    char buffer[9];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string text(buffer, end);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The whole of `text` as a number in `base`; nothing for anything else (signs, blanks, junk,
// overflow).
inline std::optional<std::uint32_t> Number(std::string_view text, int base) {
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Splits off the first word (up to a single blank).
inline std::string_view NextWord(std::string_view& rest) {
    const auto blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return word;
}

} // namespace detail

// The request line, without its '\n'.
inline std::string FormatRequest(const Request& request) {
    switch (request.kind) {
    case Request::Kind::Message:
        return "MESSAGE " + detail::Hex(request.message) + " " + detail::Hex(request.wParam);
    case Request::Kind::Command:
        return "COMMAND " + std::to_string(request.command);
    case Request::Kind::Reload:
        return "RELOAD";
    }
    return {};
}

// A request line (without its '\n'); nothing when it is not one of the forms above.
inline std::optional<Request> ParseRequest(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::string_view rest = line;
    const std::string_view verb = detail::NextWord(rest);
    if (verb == "RELOAD" && rest.empty()) {
        return Request::Reload();
    }
    if (verb == "COMMAND") {
        const auto id = detail::Number(detail::NextWord(rest), 10);
        if (id && *id >= 1 && *id <= kMaxCommandId && rest.empty()) {
            return Request::Command(*id);
        }
        return std::nullopt;
    }
    if (verb == "MESSAGE") {
        const auto message = detail::Number(detail::NextWord(rest), 16);
        const auto wParam = detail::Number(detail::NextWord(rest), 16);
        if (message && wParam && rest.empty()) {
            return Request::Message(*message, *wParam);
        }
    }
    return std::nullopt;
}

} // namespace kovrel::app::instance

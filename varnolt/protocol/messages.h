#pragma once
// The messages between Varnolt and its clients (libOndrel.so and kovrelctl).
//
// Every frame on the socket is
//     u32 body length N (little-endian, 2 <= N <= kMaxFrameBody)
//     u8  protocol version (kProtocolVersion)
//     u8  message type
//     ... payload of the type, laid out below, every length bounded.
// A frame whose length, version, type or payload does not fit is malformed; the daemon drops
// the client that sent it and goes on serving the others.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace kovrel::varnolt {

inline constexpr std::uint8_t kProtocolVersion = 1;
inline constexpr std::size_t kFrameLengthSize = 4;
inline constexpr std::uint32_t kMaxFrameBody = 1u << 20;
inline constexpr std::size_t kReportSize = 64;
// Bank writes and event reports are single reports. A reply is one report too, but a faulty
// keyboard may answer longer; such a reply is carried as it came so the host can cut it.
inline constexpr std::size_t kMaxReportBytes = 64;
inline constexpr std::size_t kMaxReplyBytes = 1024;
inline constexpr std::size_t kMaxKeyboards = 64;
inline constexpr std::size_t kMaxNameBytes = 256;
inline constexpr std::size_t kMaxTextBytes = kMaxFrameBody - 64;

enum class MessageType : std::uint8_t {
    // daemon to client
    Welcome = 0x01,          // KeyboardList: the first message on every connection
    KeyboardsChanged = 0x02, // KeyboardList: sent to every client when a keyboard comes or goes
    Reply = 0x03,            // ReplyMessage: only to the client whose report it answers
    Event = 0x04,            // EventMessage: a keyboard event, to every client
    ControlResult = 0x05,    // ControlResultMessage: answers one ControlRequest
    // client to daemon
    Report = 0x10,    // ReportMessage: a 64-byte report for the first keyboard
    BankWrite = 0x11, // BankWriteMessage: the G-key bank bytes, forwarded without a reply
    Control = 0x12,   // ControlRequest: test controls of the virtual keyboard
};

// u32 daemon pid, u32 count (<= kMaxKeyboards), count x text name (u32 length <= kMaxNameBytes).
struct KeyboardList {
    std::uint32_t daemonPid = 0;
    std::vector<std::string> names;
};
struct WelcomeMessage {
    KeyboardList list;
};
struct KeyboardsChangedMessage {
    KeyboardList list;
};
// u32 length (<= kMaxReplyBytes), bytes.
struct ReplyMessage {
    std::vector<std::uint8_t> bytes;
};
// u32 length (<= kMaxReportBytes), the keyboard's event report as it came (0x06, code
// little-endian, ...).
struct EventMessage {
    std::vector<std::uint8_t> bytes;
};
// 64 bytes, no length.
struct ReportMessage {
    std::array<std::uint8_t, kReportSize> bytes{};
};
// u32 length (<= kMaxReportBytes), bytes.
struct BankWriteMessage {
    std::vector<std::uint8_t> bytes;
};

enum class ControlOp : std::uint8_t {
    Plug = 1,
    Unplug = 2,
    RaiseEvent = 3, // number: event code 0..0xFFFF
    Dump = 4,       // number: 0 text, 1 JSON
    Log = 5,        // number: 0 text, 1 JSON
    Fault = 6,      // text: the fault description, see virtual_controls.h
    Status = 7,     // queue and keyboard state as text "key=value" lines
    SetDelay = 8,   // number: simulated transfer time per report each way, microseconds
    ClearLog = 9,
    Shutdown = 10,
    kLast = Shutdown,
};

// u32 sequence, u8 op, i64 number, text (u32 length <= kMaxTextBytes).
struct ControlRequest {
    std::uint32_t seq = 0;
    ControlOp op = ControlOp::Status;
    std::int64_t number = 0;
    std::string text;
};

enum ControlStatus : std::int32_t {
    kControlOk = 0,
    kControlFailed = 1,
    kControlBadArgument = 2,
    kControlNoVirtualKeyboard = 3,
};

// u32 sequence, i32 status (ControlStatus), text (u32 length <= kMaxTextBytes).
struct ControlResultMessage {
    std::uint32_t seq = 0;
    std::int32_t status = kControlOk;
    std::string text;
};

using Message = std::variant<WelcomeMessage, KeyboardsChangedMessage, ReplyMessage, EventMessage,
                             ControlResultMessage, ReportMessage, BankWriteMessage, ControlRequest>;

// The whole frame, length prefix included.
std::vector<std::uint8_t> EncodeFrame(const Message& message);

// Decodes a frame body (version, type and payload, without the length prefix). Nothing when
// anything is out of bounds, unknown or left over.
std::optional<Message> DecodeBody(std::span<const std::uint8_t> body);

// Collects bytes from a stream socket and cuts them into frame bodies.
class FrameReader {
public:
    enum class Result { Frame, NeedMore, Malformed };

    void Append(std::span<const std::uint8_t> bytes);
    // Frame: `body` holds the next body. Malformed: the announced length is out of range; the
    // stream cannot be resynchronised and the peer must be dropped.
    Result Next(std::vector<std::uint8_t>& body);
    std::size_t Buffered() const { return buffer_.size() - start_; }

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;
};

} // namespace kovrel::varnolt

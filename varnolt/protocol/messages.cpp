#include "varnolt/protocol/messages.h"

#include "varnolt/protocol/byte_io.h"

namespace kovrel::varnolt {
namespace {

void PutList(ByteWriter& w, const KeyboardList& list) {
    w.U32(list.daemonPid);
    w.U32(static_cast<std::uint32_t>(list.names.size()));
    for (const auto& name : list.names) {
        w.Text(name);
    }
}

bool GetList(ByteReader& r, KeyboardList& list) {
    std::uint32_t count = 0;
    if (!r.U32(list.daemonPid) || !r.U32(count) || count > kMaxKeyboards) {
        return false;
    }
    list.names.resize(count);
    for (auto& name : list.names) {
        if (!r.Text(name, kMaxNameBytes)) {
            return false;
        }
    }
    return true;
}

struct Encoder {
    ByteWriter& w;
    void operator()(const WelcomeMessage& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::Welcome));
        PutList(w, m.list);
    }
    void operator()(const KeyboardsChangedMessage& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::KeyboardsChanged));
        PutList(w, m.list);
    }
    void operator()(const ReplyMessage& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::Reply));
        w.Blob(m.bytes);
    }
    void operator()(const EventMessage& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::Event));
        w.Blob(m.bytes);
    }
    void operator()(const ControlResultMessage& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::ControlResult));
        w.U32(m.seq);
        w.I32(m.status);
        w.Text(m.text);
    }
    void operator()(const ReportMessage& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::Report));
        w.Bytes(m.bytes);
    }
    void operator()(const BankWriteMessage& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::BankWrite));
        w.Blob(m.bytes);
    }
    void operator()(const ControlRequest& m) {
        w.U8(static_cast<std::uint8_t>(MessageType::Control));
        w.U32(m.seq);
        w.U8(static_cast<std::uint8_t>(m.op));
        w.I64(m.number);
        w.Text(m.text);
    }
};

std::optional<Message> DecodePayload(MessageType type, ByteReader& r) {
    switch (type) {
    case MessageType::Welcome: {
        WelcomeMessage m;
        if (!GetList(r, m.list)) {
            return std::nullopt;
        }
        return m;
    }
    case MessageType::KeyboardsChanged: {
        KeyboardsChangedMessage m;
        if (!GetList(r, m.list)) {
            return std::nullopt;
        }
        return m;
    }
    case MessageType::Reply: {
        ReplyMessage m;
        if (!r.Blob(m.bytes, kMaxReplyBytes)) {
            return std::nullopt;
        }
        return m;
    }
    case MessageType::Event: {
        EventMessage m;
        if (!r.Blob(m.bytes, kMaxReportBytes)) {
            return std::nullopt;
        }
        return m;
    }
    case MessageType::ControlResult: {
        ControlResultMessage m;
        if (!r.U32(m.seq) || !r.I32(m.status) || !r.Text(m.text, kMaxTextBytes)) {
            return std::nullopt;
        }
        return m;
    }
    case MessageType::Report: {
        ReportMessage m;
        for (auto& b : m.bytes) {
            if (!r.U8(b)) {
                return std::nullopt;
            }
        }
        return m;
    }
    case MessageType::BankWrite: {
        BankWriteMessage m;
        if (!r.Blob(m.bytes, kMaxReportBytes)) {
            return std::nullopt;
        }
        return m;
    }
    case MessageType::Control: {
        ControlRequest m;
        std::uint8_t op = 0;
        if (!r.U32(m.seq) || !r.U8(op) || !r.I64(m.number) || !r.Text(m.text, kMaxTextBytes)) {
            return std::nullopt;
        }
        if (op < 1 || op > static_cast<std::uint8_t>(ControlOp::kLast)) {
            return std::nullopt;
        }
        m.op = static_cast<ControlOp>(op);
        return m;
    }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::uint8_t> EncodeFrame(const Message& message) {
    ByteWriter body;
    body.U8(kProtocolVersion);
    std::visit(Encoder{body}, message);
    ByteWriter frame;
    frame.U32(static_cast<std::uint32_t>(body.Data().size()));
    frame.Bytes(body.Data());
    return frame.Take();
}

std::optional<Message> DecodeBody(std::span<const std::uint8_t> body) {
    ByteReader r(body);
    std::uint8_t version = 0, type = 0;
    if (!r.U8(version) || !r.U8(type) || version != kProtocolVersion) {
        return std::nullopt;
    }
    auto message = DecodePayload(static_cast<MessageType>(type), r);
    if (!message || !r.Finished()) {
        return std::nullopt;
    }
    return message;
}

void FrameReader::Append(std::span<const std::uint8_t> bytes) {
    // Compact now and then, so a long-lived connection does not grow its buffer forever.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

FrameReader::Result FrameReader::Next(std::vector<std::uint8_t>& body) {
    const std::size_t available = buffer_.size() - start_;
    if (available < kFrameLengthSize) {
        return Result::NeedMore;
    }
    ByteReader r{std::span<const std::uint8_t>(buffer_).subspan(start_, kFrameLengthSize)};
    std::uint32_t length = 0;
    r.U32(length);
    // Judged before the body arrives, so an oversized announcement is refused without
    // buffering it.
    if (length < 2 || length > kMaxFrameBody) {
        return Result::Malformed;
    }
    if (available - kFrameLengthSize < length) {
        return Result::NeedMore;
    }
    const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + kFrameLengthSize);
    body.assign(first, first + length);
    start_ += kFrameLengthSize + length;
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return Result::Frame;
}

} // namespace kovrel::varnolt

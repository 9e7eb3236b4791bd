// The daemon's frames: every message survives encoding, a stream cut anywhere reassembles, and
// every out-of-bounds frame is refused rather than read past.

#include "varnolt/protocol/byte_io.h"
#include "varnolt/protocol/messages.h"

#include <gtest/gtest.h>

using namespace kovrel::varnolt;

namespace {

std::vector<std::uint8_t> Body(const Message& m) {
    auto frame = EncodeFrame(m);
    return {frame.begin() + kFrameLengthSize, frame.end()};
}

std::vector<std::uint8_t> RawBody(std::uint8_t type, const std::vector<std::uint8_t>& payload,
                                  std::uint8_t version = kProtocolVersion) {
    ByteWriter w;
    w.U8(version);
    w.U8(type);
    w.Bytes(payload);
    return w.Take();
}

} // namespace

TEST(VarnoltProtocol, EveryMessageRoundTrips) {
    ReportMessage report;
    for (std::size_t i = 0; i < report.bytes.size(); ++i) {
        report.bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    const std::vector<Message> messages = {
        WelcomeMessage{{1234, {"Virtual keyboard", "Other"}}},
        KeyboardsChangedMessage{{99, {}}},
        ReplyMessage{std::vector<std::uint8_t>(80, 0xAB)},
        EventMessage{{0x06, 0x01, 0x04}},
        ControlResultMessage{7, kControlBadArgument, "why"},
        report,
        BankWriteMessage{{0x05, 0x03}},
        ControlRequest{9, ControlOp::Fault, -5, "drop 2"},
    };
    for (const auto& m : messages) {
        const auto decoded = DecodeBody(Body(m));
        ASSERT_TRUE(decoded) << "index " << m.index();
        EXPECT_EQ(EncodeFrame(*decoded), EncodeFrame(m)) << "index " << m.index();
    }
}

TEST(VarnoltProtocol, StreamCutAnywhereReassembles) {
    auto a = EncodeFrame(EventMessage{{0x06, 0xFF, 0x02}});
    auto b = EncodeFrame(ControlRequest{1, ControlOp::Status, 0, ""});
    std::vector<std::uint8_t> stream = a;
    stream.insert(stream.end(), b.begin(), b.end());
    FrameReader reader;
    std::vector<std::uint8_t> body;
    int frames = 0;
    for (auto byte : stream) {
        reader.Append(std::span(&byte, 1));
        while (reader.Next(body) == FrameReader::Result::Frame) {
            EXPECT_TRUE(DecodeBody(body));
            ++frames;
        }
    }
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(reader.Buffered(), 0u);
}

TEST(VarnoltProtocol, OutOfBoundsLengthsAreRefusedBeforeTheBody) {
    for (std::uint32_t length : {0u, 1u, kMaxFrameBody + 1, 0xFFFFFFFFu}) {
        ByteWriter w;
        w.U32(length);
        FrameReader reader;
        reader.Append(w.Data());
        std::vector<std::uint8_t> body;
        EXPECT_EQ(reader.Next(body), FrameReader::Result::Malformed) << length;
    }
}

TEST(VarnoltProtocol, MalformedBodiesAreRefused) {
    ByteWriter longText;
    longText.U32(1);
    longText.U8(static_cast<std::uint8_t>(ControlOp::Status));
    longText.I64(0);
    longText.U32(1000); // text longer than what follows
    ByteWriter tooManyKeyboards;
    tooManyKeyboards.U32(1);
    tooManyKeyboards.U32(kMaxKeyboards + 1);
    ByteWriter longReply;
    longReply.U32(kMaxReplyBytes + 1);
    longReply.Bytes(std::vector<std::uint8_t>(kMaxReplyBytes + 1, 0));
    ByteWriter badOp;
    badOp.U32(1);
    badOp.U8(0);
    badOp.I64(0);
    badOp.U32(0);
    auto reportBody = Body(ReportMessage{});
    std::vector<std::uint8_t> trailing = reportBody;
    trailing.push_back(0);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> body;
    };
    const std::vector<Case> cases = {
        {"wrong version", RawBody(0x04, {0, 0, 0, 0}, 2)},
        {"unknown type", {kProtocolVersion, 0x7F}},
        {"short report", {reportBody.begin(), reportBody.begin() + 20}},
        {"trailing byte", trailing},
        {"text past the end", RawBody(0x12, longText.Data())},
        {"too many keyboards", RawBody(0x01, tooManyKeyboards.Data())},
        {"reply too long", RawBody(0x03, longReply.Data())},
        {"control op 0", RawBody(0x12, badOp.Data())},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(DecodeBody(c.body)) << c.name;
    }
}

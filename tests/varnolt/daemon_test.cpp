// Varnolt as a process, driven over its socket: one instance per user, the report queue's rules,
// replies to their own client only, events to all, malformed input dropping only its sender,
// and the virtual keyboard's memory across restarts.

#include "daemon_process.h"

#include "varnolt/protocol/byte_io.h"
#include "varnolt/protocol/runtime_paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

using namespace kovrel::varnolt;
using kovrel::testing::ConnectControl;
using kovrel::testing::DaemonProcess;
using kovrel::testing::RunProgram;
using kovrel::testing::StatusField;

namespace {

constexpr auto kWait = std::chrono::seconds(10);

ReportMessage Command(std::uint8_t code, std::uint8_t length = 0, std::uint16_t address = 0,
                      std::uint8_t data = 0) {
    ReportMessage m;
    m.bytes[0] = 0x04;
    m.bytes[3] = code;
    m.bytes[4] = length;
    m.bytes[5] = static_cast<std::uint8_t>(address);
    m.bytes[6] = static_cast<std::uint8_t>(address >> 8);
    if (data != 0) {
        m.bytes[8] = data;
    }
    unsigned sum = 0;
    for (std::size_t i = 3; i < 64; ++i) {
        sum += m.bytes[i];
    }
    m.bytes[1] = static_cast<std::uint8_t>(sum);
    m.bytes[2] = static_cast<std::uint8_t>(sum >> 8);
    return m;
}

// The next reply on this connection, skipping events and keyboard-list changes.
std::optional<ReplyMessage> NextReply(ControlClient& client,
                                      std::chrono::milliseconds wait = kWait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < deadline) {
        auto m = client.Receive(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
        if (!m) {
            return std::nullopt;
        }
        if (auto* reply = std::get_if<ReplyMessage>(&*m)) {
            return *reply;
        }
    }
    return std::nullopt;
}

std::uint8_t CodeOf(const ReplyMessage& reply) {
    return reply.bytes.size() > 3 ? reply.bytes[3] : 0;
}

void Control(ControlClient& client, ControlOp op, std::int64_t number = 0, std::string text = {}) {
    const auto result = client.Call(op, number, std::move(text));
    ASSERT_TRUE(result);
    ASSERT_EQ(result->status, kControlOk) << result->text;
}

// True when the daemon closed this connection.
bool ClosedByDaemon(ControlClient& client) {
    for (;;) {
        auto m = client.Receive(kWait);
        if (!m) {
            return true;
        }
    }
}

} // namespace

TEST(VarnoltDaemon, SecondStartExitsZeroAndTheFirstKeepsServing) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    const auto second =
        RunProgram({(kovrel::testing::BinFolder() / "Varnolt").string()}, daemon.Environment());
    EXPECT_EQ(second.exitCode, 0);
    auto client = ConnectControl();
    EXPECT_EQ(client.Welcome().daemonPid, static_cast<std::uint32_t>(daemon.Pid()));
    EXPECT_EQ(StatusField(client, "keyboards"), 1);
}

TEST(VarnoltDaemon, CrashLeftoversDoNotBlockAStartAndTheSocketIsPrivate) {
    DaemonProcess first;
    ASSERT_TRUE(first.Start());
    first.Kill();
    const auto paths = ResolveRuntimePaths(false);
    ASSERT_TRUE(paths);
    EXPECT_TRUE(std::filesystem::exists(paths->socket)); // left behind by the crash
    DaemonProcess second;
    ASSERT_TRUE(second.Start());
    struct stat st {};
    ASSERT_EQ(::stat(paths->socket.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(VarnoltDaemon, EachReplyGoesOnlyToTheClientWhoseReportItAnswers) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    auto control = ConnectControl();
    // A slow keyboard, so both reports wait in the queue together.
    Control(control, ControlOp::SetDelay, 20000);
    Control(control, ControlOp::ClearLog);
    auto a = ConnectControl();
    auto b = ConnectControl();
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(a.Send(Command(3, 44)));     // read information block
        ASSERT_TRUE(b.Send(Command(15, 56, 0))); // read default layout, first chunk
        const auto ra = NextReply(a);
        const auto rb = NextReply(b);
        ASSERT_TRUE(ra && rb);
        EXPECT_EQ(CodeOf(*ra), 3);
        EXPECT_EQ(CodeOf(*rb), 15);
    }
    // Nobody got a reply meant for someone else.
    EXPECT_FALSE(NextReply(a, std::chrono::milliseconds(100)));
    EXPECT_FALSE(NextReply(b, std::chrono::milliseconds(100)));
    const auto log = control.Call(ControlOp::Log);
    ASSERT_TRUE(log);
    EXPECT_EQ(std::count(log->text.begin(), log->text.end(), '\n'), 10);
}

TEST(VarnoltDaemon, ANewerReportReplacesTheClientsQueuedOne) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    auto control = ConnectControl();
    Control(control, ControlOp::SetDelay, 100000);
    Control(control, ControlOp::ClearLog);
    auto a = ConnectControl();
    auto b = ConnectControl();
    ASSERT_TRUE(a.Send(Command(3, 44)));     // outstanding
    ASSERT_TRUE(b.Send(Command(1)));         // queued ...
    ASSERT_TRUE(b.Send(Command(15, 56, 0))); // ... and replaced
    ASSERT_TRUE(NextReply(a));
    const auto rb = NextReply(b);
    ASSERT_TRUE(rb);
    EXPECT_EQ(CodeOf(*rb), 15);
    EXPECT_FALSE(NextReply(b, std::chrono::milliseconds(300)));
    EXPECT_EQ(StatusField(control, "sent"), 2);
}

TEST(VarnoltDaemon, ALostReplyFreesTheSlotAfterItsWait) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    auto control = ConnectControl();
    Control(control, ControlOp::Fault, 0, "drop 1");
    auto a = ConnectControl();
    ASSERT_TRUE(a.Send(Command(3, 44)));
    ASSERT_TRUE(a.Send(Command(15, 56, 0))); // waits behind the unanswered one
    const auto reply = NextReply(a);
    ASSERT_TRUE(reply);
    EXPECT_EQ(CodeOf(*reply), 15);
    EXPECT_EQ(StatusField(control, "timed_out"), 1);
    EXPECT_EQ(StatusField(control, "queued"), 0);
    EXPECT_EQ(StatusField(control, "outstanding"), 0);
}

TEST(VarnoltDaemon, TheBootModeReportAndBankWritesDoNotHoldTheSlot) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    auto control = ConnectControl();
    auto a = ConnectControl();
    ASSERT_TRUE(a.Send(BankWriteMessage{{0x05, 0x03}}));
    ReportMessage boot;
    boot.bytes[0] = 0x04;
    boot.bytes[3] = 0xEE;
    boot.bytes[4] = 0xEE;
    ASSERT_TRUE(a.Send(boot));
    ASSERT_TRUE(a.Send(Command(3, 44)));
    // Neither report without a reply held the slot: the command went straight out and was
    // answered, and no slot had to wait out its time.
    const auto reply = NextReply(a);
    ASSERT_TRUE(reply);
    EXPECT_EQ(CodeOf(*reply), 3);
    EXPECT_EQ(StatusField(control, "sent"), 3);
    EXPECT_EQ(StatusField(control, "timed_out"), 0);
    const auto log = control.Call(ControlOp::Log);
    ASSERT_TRUE(log);
    EXPECT_NE(log->text.find("bank 0503"), std::string::npos);
}

TEST(VarnoltDaemon, KeyboardEventsAndCountChangesReachEveryClient) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    auto control = ConnectControl();
    auto a = ConnectControl();
    auto b = ConnectControl();
    Control(control, ControlOp::RaiseEvent, 0x0401);
    Control(control, ControlOp::Unplug);
    for (auto* client : {&a, &b}) {
        auto m = client->Receive(kWait);
        ASSERT_TRUE(m);
        auto* event = std::get_if<EventMessage>(&*m);
        ASSERT_TRUE(event);
        ASSERT_GE(event->bytes.size(), 3u);
        EXPECT_EQ(event->bytes[0], 0x06);
        EXPECT_EQ(event->bytes[1] | (event->bytes[2] << 8), 0x0401);
        m = client->Receive(kWait);
        ASSERT_TRUE(m);
        auto* changed = std::get_if<KeyboardsChangedMessage>(&*m);
        ASSERT_TRUE(changed);
        EXPECT_TRUE(changed->list.names.empty());
    }
    const auto refused = control.Call(ControlOp::RaiseEvent, 0x0401);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, kControlFailed);
}

TEST(VarnoltDaemon, MalformedInputDropsOnlyItsSender) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    auto control = ConnectControl();

    auto frame = [](std::uint32_t length, std::vector<std::uint8_t> body) {
        ByteWriter w;
        w.U32(length);
        w.Bytes(body);
        return w.Take();
    };
    auto report = EncodeFrame(Command(3, 44));
    std::vector<std::uint8_t> shortReport(report.begin(), report.begin() + 30);
    ByteWriter shortLength;
    shortLength.U32(30 - 4);
    std::copy(shortLength.Data().begin(), shortLength.Data().end(), shortReport.begin());
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"empty frame", frame(0, {})},
        {"oversized frame", frame(kMaxFrameBody + 1, {kProtocolVersion, 0x10})},
        {"huge length", frame(0xFFFFFFFF, {})},
        {"wrong version", frame(2, {9, 0x10})},
        {"unknown type", frame(2, {kProtocolVersion, 0x55})},
        {"short report", shortReport},
        {"daemon's own message", EncodeFrame(WelcomeMessage{})},
        {"unknown control",
         frame(19, {kProtocolVersion, 0x12, 1, 0, 0, 0, 99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
    };
    for (const auto& c : cases) {
        auto bad = ConnectControl();
        ASSERT_TRUE(bad.SendRaw(c.bytes)) << c.name;
        EXPECT_TRUE(ClosedByDaemon(bad)) << c.name;
        // Everyone else is still served.
        ASSERT_TRUE(control.Send(Command(3, 44))) << c.name;
        EXPECT_TRUE(NextReply(control)) << c.name;
    }
    EXPECT_EQ(StatusField(control, "malformed"), static_cast<long long>(cases.size()));
}

TEST(VarnoltDaemon, AClientLeavingMidCommandLeavesNothingStuck) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    auto control = ConnectControl();
    Control(control, ControlOp::SetDelay, 50000);
    {
        auto leaving = ConnectControl();
        ASSERT_TRUE(leaving.Send(Command(3, 44))); // outstanding when it leaves
        auto other = ConnectControl();
        ASSERT_TRUE(other.Send(Command(15, 56, 0))); // queued behind it
        auto halfFrame = EncodeFrame(Command(1));
        halfFrame.resize(20);
        ASSERT_TRUE(leaving.SendRaw(halfFrame)); // and half a frame
        leaving.Close();
        const auto reply = NextReply(other);
        ASSERT_TRUE(reply);
        EXPECT_EQ(CodeOf(*reply), 15);
    }
    ASSERT_TRUE(control.Send(Command(3, 44)));
    ASSERT_TRUE(NextReply(control));
    EXPECT_EQ(StatusField(control, "queued"), 0);
    EXPECT_EQ(StatusField(control, "outstanding"), 0);
    EXPECT_EQ(StatusField(control, "timed_out"), 0);
    EXPECT_EQ(StatusField(control, "clients"), 1);
}

TEST(VarnoltDaemon, TheVirtualKeyboardKeepsItsMemoryAcrossRuns) {
    DaemonProcess daemon;
    ASSERT_TRUE(daemon.Start());
    {
        auto client = ConnectControl();
        ASSERT_TRUE(client.Send(Command(3, 44)));
        auto info = NextReply(client);
        ASSERT_TRUE(info);
        ReportMessage write = Command(4, 44);
        std::copy(info->bytes.begin() + 8, info->bytes.begin() + 52, write.bytes.begin() + 8);
        write.bytes[8 + 10] = 2; // current profile
        unsigned sum = 0;
        for (std::size_t i = 3; i < 64; ++i) {
            sum += write.bytes[i];
        }
        write.bytes[1] = static_cast<std::uint8_t>(sum);
        write.bytes[2] = static_cast<std::uint8_t>(sum >> 8);
        ASSERT_TRUE(client.Send(write));
        ASSERT_TRUE(NextReply(client));
    }
    EXPECT_EQ(daemon.Stop(), 0);
    ASSERT_TRUE(daemon.Start());
    auto client = ConnectControl();
    ASSERT_TRUE(client.Send(Command(3, 44)));
    const auto info = NextReply(client);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bytes[8 + 10], 2);
}

TEST(VarnoltDaemon, WithoutTheVirtualKeyboardControlsSayNoKeyboard) {
    DaemonProcess daemon({"VARNOLT_VIRTUAL=0"});
    ASSERT_TRUE(daemon.Start());
    auto client = ConnectControl();
    EXPECT_TRUE(client.Welcome().names.empty());
    const auto result = client.Call(ControlOp::Plug);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, kControlNoVirtualKeyboard);
}

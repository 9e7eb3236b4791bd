// kovrelctl end to end: Varnolt with the virtual keyboard, kovrelctl through src/device and the
// real libOndrel.so, and the virtual keyboard's receive log to see what arrived.

#include "daemon_process.h"

#include "app/instance_paths.h"
#include "app/instance_protocol.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using kovrel::testing::BinFolder;
using kovrel::testing::ConnectControl;
using kovrel::testing::DaemonProcess;
using kovrel::testing::LoggedCommands;
using kovrel::testing::RunProgram;
using kovrel::testing::RunResult;
using kovrel::testing::StatusField;
using kovrel::varnolt::ControlOp;

namespace {

RunResult Ctl(std::vector<std::string> args, std::vector<std::string> env = {}) {
    args.insert(args.begin(), (BinFolder() / "kovrelctl").string());
    // ThreadSanitizer's dlopen runs from its own runtime library, so the program's RUNPATH
    // ($ORIGIN) is not searched for libOndrel.so there; name the folder outright.
    env.push_back("LD_LIBRARY_PATH=" + BinFolder().string());
    return RunProgram(args, env);
}

int InfoProfile() {
    const auto info = Ctl({"info", "--json"});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    return nlohmann::json::parse(info.out).at("profile").get<int>();
}

namespace instance = kovrel::app::instance;

// A stand-in for the running application at the instance socket: greets with the main window's
// mark, reads one request line and answers `answer`. Serves one connection.
class FakeInstance {
public:
    explicit FakeInstance(std::string answer) {
        const auto path = instance::InstanceSocketPath();
        EXPECT_TRUE(instance::PrepareInstanceFolder(path.parent_path()));
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        ::unlink(path.c_str());
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(fd_, 1), 0);
        served_ = std::async(std::launch::async, [this, answer] { return Serve(answer); });
    }
    ~FakeInstance() {
        ::shutdown(fd_, SHUT_RDWR); // wakes a wait for a client that never came
        if (served_.valid()) {
            served_.wait();
        }
        ::close(fd_);
    }

    // The request line received; empty when nobody came within a minute.
    std::string Request() { return served_.get(); }

private:
    std::string Serve(const std::string& answer) {
        pollfd waiting{fd_, POLLIN, 0};
        if (::poll(&waiting, 1, 60000) != 1) {
            return {};
        }
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            return {};
        }
        const std::string greeting = std::string(instance::kGreeting) + "\n";
        ::send(client, greeting.data(), greeting.size(), MSG_NOSIGNAL);
        std::string line;
        char c = 0;
        while (::recv(client, &c, 1, 0) == 1 && c != '\n') {
            line.push_back(c);
        }
        const std::string reply = answer + "\n";
        ::send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(client);
        return line;
    }

    int fd_ = -1;
    std::future<std::string> served_;
};

class Kovrelctl : public ::testing::Test {
protected:
    void SetUp() override {
        kovrel::testing::TestFolders::Get();
        ASSERT_TRUE(daemon.Start());
    }
    DaemonProcess daemon;
};

} // namespace

TEST_F(Kovrelctl, ProfileTwoThenInfoShowsProfileTwo) {
    const auto set = Ctl({"profile", "2"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(InfoProfile(), 2);
    const auto text = Ctl({"profile"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, "Current profile: 2\n");
    const auto info = nlohmann::json::parse(Ctl({"info", "--json"}).out);
    EXPECT_EQ(info.at("macro_memory_bytes"), 4096);
    EXPECT_FALSE(info.at("effects").empty());
}

TEST_F(Kovrelctl, AProfileChangeAsksTheRunningApplicationToReload) {
    const std::string kept =
        "Kovrel kept its unapplied changes; apply or discard them in its window.\n";
    { // no instance ever ran: nothing extra
        const auto alone = Ctl({"profile", "2"});
        ASSERT_EQ(alone.exitCode, 0) << alone.err;
        EXPECT_EQ(alone.out, "");
    }
    {
        FakeInstance app{std::string(instance::kKeptUnappliedChanges)};
        const auto set = Ctl({"profile", "2"});
        ASSERT_EQ(set.exitCode, 0) << set.err;
        EXPECT_EQ(app.Request(), instance::FormatRequest(instance::Request::Reload()));
        EXPECT_EQ(set.out, kept);
    }
    {
        FakeInstance app{std::string(instance::kReloaded)};
        const auto set = Ctl({"profile", "3"});
        ASSERT_EQ(set.exitCode, 0) << set.err;
        EXPECT_EQ(app.Request(), instance::FormatRequest(instance::Request::Reload()));
        EXPECT_EQ(set.out, "");
    }
    // The instance has gone and left its socket file behind: nothing extra either.
    const auto stale = Ctl({"profile", "1"});
    ASSERT_EQ(stale.exitCode, 0) << stale.err;
    EXPECT_EQ(stale.out, "");
    // Reading the profile changes nothing and asks nothing.
    FakeInstance unasked{std::string(instance::kKeptUnappliedChanges)};
    EXPECT_EQ(Ctl({"profile"}).out, "Current profile: 1\n");
}

TEST_F(Kovrelctl, UnplugMeansNoKeyboardAndPlugBringsItBack) {
    ASSERT_EQ(Ctl({"virtual", "unplug"}).exitCode, 0);
    const auto info = Ctl({"info"});
    EXPECT_EQ(info.exitCode, 3);
    EXPECT_NE(info.err.find("no keyboard"), std::string::npos);
    EXPECT_EQ(std::count(info.err.begin(), info.err.end(), '\n'), 1);
    ASSERT_EQ(Ctl({"virtual", "plug"}).exitCode, 0);
    EXPECT_EQ(Ctl({"info"}).exitCode, 0);
}

TEST_F(Kovrelctl, ADroppedReplyIsRetriedAndNothingStaysQueued) {
    auto control = ConnectControl();
    ASSERT_EQ(Ctl({"virtual", "clear-log"}).exitCode, 0);
    ASSERT_EQ(Ctl({"virtual", "fault", "drop", "1"}).exitCode, 0);
    const auto profile = Ctl({"profile"});
    EXPECT_EQ(profile.exitCode, 0) << profile.err;
    EXPECT_EQ(LoggedCommands(control, 3), 2); // the dropped read and its retry
    EXPECT_EQ(StatusField(control, "queued"), 0);
    EXPECT_EQ(StatusField(control, "outstanding"), 0);
}

TEST_F(Kovrelctl, ClientsAtTheSameTimeEachGetTheirOwnReplies) {
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::SetDelay, 2000)); // reports overlap in the queue
    ASSERT_TRUE(control.Call(ControlOp::ClearLog));
    constexpr int kRounds = 4;
    auto setter = std::async(std::launch::async, [] {
        int failures = 0;
        for (int i = 0; i < kRounds; ++i) {
            failures += Ctl({"profile", "3"}).exitCode != 0;
        }
        return failures;
    });
    auto reader = std::async(std::launch::async, [] {
        int failures = 0;
        for (int i = 0; i < kRounds; ++i) {
            const auto info = Ctl({"info", "--json"});
            failures += info.exitCode != 0 || nlohmann::json::parse(info.out).at("effects").empty();
        }
        return failures;
    });
    EXPECT_EQ(setter.get(), 0);
    EXPECT_EQ(reader.get(), 0);
    // Every command was sent once: no reply went astray and had to be retried.
    EXPECT_EQ(LoggedCommands(control, 4), kRounds);     // profile writes
    EXPECT_EQ(LoggedCommands(control, 3), kRounds * 2); // reads: info, and before each write
    EXPECT_EQ(StatusField(control, "timed_out"), 0);
    EXPECT_EQ(InfoProfile(), 3);
}

TEST_F(Kovrelctl, TheKeyboardKeepsItsMemoryAcrossADaemonRestart) {
    ASSERT_EQ(Ctl({"profile", "3"}).exitCode, 0);
    EXPECT_EQ(daemon.Stop(), 0);
    ASSERT_TRUE(daemon.Start());
    EXPECT_EQ(InfoProfile(), 3);
}

TEST_F(Kovrelctl, UsageErrorsExitTwoWithOneLine) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"profile", "0"},
        {"profile", "4"},
        {"profile", "two"},
        {"boot"},
        {"virtual", "event", "0x10000"},
        {"virtual", "fault", "explode"},
        {"no-such-command"},
    };
    for (const auto& args : cases) {
        const auto result = Ctl(args);
        std::string joined;
        for (const auto& a : args) {
            joined += a + " ";
        }
        EXPECT_EQ(result.exitCode, 2) << joined << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1)
            << joined << result.err;
    }
}

TEST_F(Kovrelctl, BootSendsTheBootModeReport) {
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::ClearLog));
    const auto boot = Ctl({"boot", "--yes"});
    EXPECT_EQ(boot.exitCode, 0) << boot.err;
    EXPECT_EQ(LoggedCommands(control, 0xEE), 1);
}

TEST_F(Kovrelctl, VirtualControlsAnswerInText) {
    const auto status = Ctl({"virtual", "status", "--json"});
    ASSERT_EQ(status.exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(status.out).at("virtual"), "plugged");
    EXPECT_EQ(Ctl({"virtual", "event", "0x1802"}).exitCode, 0);
    EXPECT_EQ(InfoProfile(), 2);
    const auto dump = Ctl({"virtual", "dump", "--json"});
    ASSERT_EQ(dump.exitCode, 0);
    EXPECT_TRUE(nlohmann::json::accept(dump.out));
}

TEST(KovrelctlAlone, StartsTheDaemonWhenNoneRuns) {
    kovrel::testing::TestFolders::Get();
    DaemonProcess settings; // only for its private state file and environment
    const auto status = Ctl({"virtual", "status", "--json"}, settings.Environment());
    ASSERT_EQ(status.exitCode, 0) << status.err;
    EXPECT_EQ(nlohmann::json::parse(status.out).at("virtual"), "plugged");
    auto control = ConnectControl();
    ASSERT_TRUE(control.Call(ControlOp::Shutdown));
}

// One instance at a time: the lock, the local socket with its protocol, the routing of requests
// to the main window, what a second start and "/Kill" do, and the leftovers of a crashed
// instance.

#include "app/instance_client.h"
#include "app/instance_lock.h"
#include "app/instance_paths.h"
#include "app/instance_server.h"
#include "app/instance_start.h"
#include "app/window_message_handler.h"
#include "app/window_request_router.h"
#include "app_test_support.h"
#include "platform/fakes.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace kovrel::app {
namespace {

using instance::Answer;
using instance::Request;
using platform::FakeWindowLink;
using test::OnWorker;
using test::WaitUntil;

TEST(InstanceProtocolTest, RequestsRoundTrip) {
    const Request requests[] = {Request::Show(),
                                Request::Quit(),
                                Request::Command(32785),
                                Request::Command(1),
                                Request::Command(65535),
                                Request::Reload(),
                                Request::Message(0, 0xFFFFFFFF)};
    for (const Request& request : requests) {
        const std::string line = instance::FormatRequest(request);
        SCOPED_TRACE(line);
        EXPECT_EQ(instance::ParseRequest(line), request);
    }
    EXPECT_EQ(instance::FormatRequest(Request::Show()), "MESSAGE 5350 4F50454E");
    EXPECT_EQ(instance::FormatRequest(Request::Quit()), "MESSAGE 4D4B 4C4C494B");
    EXPECT_EQ(instance::FormatRequest(Request::Command(32785)), "COMMAND 32785");
    EXPECT_EQ(instance::ParseRequest("RELOAD\r"), Request::Reload());
}

TEST(InstanceProtocolTest, MalformedRequestsAreNotRequests) {
    for (const char* line :
         {"", "reload", "RELOAD now", "COMMAND", "COMMAND 0", "COMMAND 65536", "COMMAND -1",
          "COMMAND 12 13", "COMMAND 0x10", "COMMAND  5", "MESSAGE 5350", "MESSAGE 5350 ZZ",
          "MESSAGE 5350 4F50454E 0", "MESSAGE 123456789 0", "MESSAGE -1 0", "SHOW"}) {
        EXPECT_FALSE(instance::ParseRequest(line).has_value()) << line;
    }
}

class InstanceTest : public ::testing::Test {
protected:
    InstanceTest() {
        router.SetReload([this] { return reloadAnswer; });
    }

    Answer Send(const Request& request) {
        const auto socket = instance::InstanceSocketPath();
        return OnWorker([&] { return instance::SendRequest(request, socket); });
    }

    // A running instance: the lock and the server.
    void StartInstance() {
        ASSERT_EQ(lock.TryAcquire(), InstanceLock::Result::Acquired);
        ASSERT_TRUE(server.Listen(instance::InstanceSocketPath()));
    }

    StartDecision Claim(const std::vector<std::string>& arguments) {
        InstanceLock second(instance::InstanceLockPath());
        const auto socket = instance::InstanceSocketPath();
        const CommandLine line = ParseCommandLine(arguments);
        return OnWorker([&] { return ClaimInstance(line, second, socket); });
    }

    test::TemporaryRuntimeFolder runtime;
    FakeWindowLink window;
    WindowRequestRouter router{window};
    std::string reloadAnswer = std::string(instance::kReloaded);
    InstanceServer server{router};
    InstanceLock lock{instance::InstanceLockPath()};
};

TEST_F(InstanceTest, TheFolderIsPrivateToTheUser) {
    StartInstance();
    struct stat info {};
    ASSERT_EQ(::stat(instance::InstanceFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(instance::InstanceFolder(), runtime.Path() / "kovrel");
}

TEST_F(InstanceTest, OneLockHolderAtATime) {
    ASSERT_EQ(lock.TryAcquire(), InstanceLock::Result::Acquired);
    EXPECT_EQ(lock.TryAcquire(), InstanceLock::Result::Acquired); // again: still ours
    InstanceLock second(instance::InstanceLockPath());
    EXPECT_EQ(second.TryAcquire(), InstanceLock::Result::HeldByOther);
    lock.Release();
    EXPECT_EQ(second.TryAcquire(), InstanceLock::Result::Acquired);
}

TEST_F(InstanceTest, AFolderOpenToOthersIsNotUsed) {
    const auto folder = instance::InstanceFolder();
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(lock.TryAcquire(), InstanceLock::Result::Unavailable);
    // The start goes on without the guard.
    EXPECT_EQ(Claim({}), StartDecision::Run);
}

TEST_F(InstanceTest, RequestsReachTheMainWindowAndAreAnswered) {
    StartInstance();
    struct Case {
        Request request;
        std::string answer;
        std::vector<FakeWindowLink::Message> posted;
    };
    const Case cases[] = {
        {Request::Show(), "delivered", {{FakeWindowLink::Kind::Post, 0x5350, 0x4F50454E, 0}}},
        {Request::Quit(), "delivered", {{FakeWindowLink::Kind::Post, 0x4D4B, 0x4C4C494B, 0}}},
        {Request::Command(32785),
         "delivered",
         {{FakeWindowLink::Kind::Post, kCommandMessage, 32785, 0}}},
        {Request::Reload(), "reloaded", {}},
        // Only the two instance messages come from outside.
        {Request::Message(0x5452, 0x50524F46), "refused", {}},
        {Request::Message(0x5350, 0), "refused", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(instance::FormatRequest(c.request));
        window.Clear();
        const Answer answer = Send(c.request);
        EXPECT_EQ(answer.status, Answer::Status::Answered);
        EXPECT_EQ(answer.text, c.answer);
        const auto posted = window.Messages();
        ASSERT_EQ(posted.size(), c.posted.size());
        for (std::size_t i = 0; i < posted.size(); ++i) {
            EXPECT_EQ(posted[i].kind, c.posted[i].kind);
            EXPECT_EQ(posted[i].message, c.posted[i].message);
            EXPECT_EQ(posted[i].wParam, c.posted[i].wParam);
            EXPECT_EQ(posted[i].lParam, c.posted[i].lParam);
        }
    }
}

TEST_F(InstanceTest, ReloadWithUnappliedChangesSaysSo) {
    StartInstance();
    reloadAnswer = std::string(instance::kKeptUnappliedChanges);
    const Answer answer = Send(Request::Reload());
    EXPECT_EQ(answer.status, Answer::Status::Answered);
    EXPECT_EQ(answer.text, "kept unapplied changes");
}

TEST_F(InstanceTest, WithoutAWindowTheAnswerSaysSo) {
    StartInstance();
    window.SetPostResult(false);
    EXPECT_EQ(Send(Request::Show()).text, "no window");
    WindowRequestRouter bare(window);
    InstanceServer other(bare);
    server.Close();
    ASSERT_TRUE(other.Listen(instance::InstanceSocketPath()));
    EXPECT_EQ(Send(Request::Reload()).text, "no window");
}

// Talks to the server over a raw socket, byte by byte as a foreign client might.
std::string RawExchange(const std::string& bytes) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = instance::InstanceSocketPath().string();
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return "no connection";
    }
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    std::string received;
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
        received.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return received;
}

TEST_F(InstanceTest, ForeignOrOverlongRequestsAreRefused) {
    StartInstance();
    EXPECT_EQ(OnWorker([] { return RawExchange("HELLO\n"); }), "KOVREL 4D41494E\nrefused\n");
    EXPECT_EQ(OnWorker([] { return RawExchange(std::string(5000, 'A')); }),
              "KOVREL 4D41494E\nrefused\n");
    EXPECT_TRUE(window.Messages().empty());
}

TEST_F(InstanceTest, APeerWithoutTheMarkIsNeverAddressed) {
    const auto folder = instance::InstanceFolder();
    ASSERT_TRUE(instance::PrepareInstanceFolder(folder));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = instance::InstanceSocketPath().string();
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    std::string heard;
    std::thread impostor([&] {
        const int peer = ::accept(listener, nullptr, nullptr);
        const char greeting[] = "SOMETHING ELSE\n";
        ::send(peer, greeting, sizeof greeting - 1, MSG_NOSIGNAL);
        char buffer[256];
        ssize_t n = 0;
        while ((n = ::recv(peer, buffer, sizeof buffer, 0)) > 0) {
            heard.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(peer);
    });
    const Answer answer = instance::SendRequest(Request::Quit(), instance::InstanceSocketPath());
    impostor.join();
    ::close(listener);
    EXPECT_EQ(answer.status, Answer::Status::NotMarked);
    EXPECT_TRUE(heard.empty());
}

TEST_F(InstanceTest, NoInstanceAtAll) {
    EXPECT_EQ(Send(Request::Show()).status, Answer::Status::NoInstance);
    EXPECT_EQ(Claim({}), StartDecision::Run);
}

TEST_F(InstanceTest, ASecondStartShowsTheRunningInstanceAndEnds) {
    StartInstance();
    EXPECT_EQ(Claim({}), StartDecision::Exit);
    ASSERT_EQ(window.Messages().size(), 1u);
    EXPECT_EQ(window.Messages()[0].message, 0x5350u);
    EXPECT_EQ(window.Messages()[0].wParam, 0x4F50454Eu);
}

TEST_F(InstanceTest, KillQuitsTheRunningInstanceAndEndsWithOrWithoutOne) {
    EXPECT_EQ(Claim({"/Kill"}), StartDecision::Exit); // none runs
    StartInstance();
    EXPECT_EQ(Claim({"/kill", "/Start"}), StartDecision::Exit);
    ASSERT_EQ(window.Messages().size(), 1u);
    EXPECT_EQ(window.Messages()[0].message, 0x4D4Bu);
    EXPECT_EQ(window.Messages()[0].wParam, 0x4C4C494Bu);
}

TEST_F(InstanceTest, CommandsOfASecondStartGoToTheRunningInstanceInsteadOfShowing) {
    StartInstance();
    EXPECT_EQ(Claim({"--command", "32785", "--command", "32784"}), StartDecision::Exit);
    const auto messages = window.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, kCommandMessage);
    EXPECT_EQ(messages[0].wParam, 32785u);
    EXPECT_EQ(messages[1].wParam, 32784u);
}

TEST_F(InstanceTest, LeftoversOfACrashedInstanceDoNotBlockTheNextStart) {
    // A lock file and a socket file nobody listens at any more.
    ASSERT_TRUE(instance::PrepareInstanceFolder(instance::InstanceFolder()));
    {
        InstanceLock crashed(instance::InstanceLockPath());
        ASSERT_EQ(crashed.TryAcquire(), InstanceLock::Result::Acquired);
    }
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = instance::InstanceSocketPath().string();
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    EXPECT_EQ(Send(Request::Show()).status, Answer::Status::NoInstance);

    EXPECT_EQ(Claim({}), StartDecision::Run);
    StartInstance();
    EXPECT_EQ(Send(Request::Show()).text, "delivered");
}

TEST_F(InstanceTest, CloseRemovesTheSocket) {
    StartInstance();
    EXPECT_TRUE(std::filesystem::exists(instance::InstanceSocketPath()));
    server.Close();
    EXPECT_FALSE(std::filesystem::exists(instance::InstanceSocketPath()));
    EXPECT_EQ(Send(Request::Show()).status, Answer::Status::NoInstance);
}

// --- Two processes ---------------------------------------------------------------------------

QString StarterPath() {
    return QCoreApplication::applicationDirPath() + "/kovrel_instance_starter";
}

// Runs the starter to its end while this process keeps serving; its exit code, -1 if it crashed.
int RunStarter(const QStringList& arguments) {
    QProcess starter;
    starter.start(StarterPath(), arguments);
    if (!starter.waitForStarted()) {
        return -2;
    }
    WaitUntil([&] { return starter.state() == QProcess::NotRunning; });
    return starter.exitStatus() == QProcess::NormalExit ? starter.exitCode() : -1;
}

TEST_F(InstanceTest, TwoProcessesSecondStartAndKill) {
    StartInstance();
    EXPECT_EQ(RunStarter({}), 0);
    EXPECT_EQ(RunStarter({"/Kill"}), 0);
    const auto messages = window.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, 0x5350u);
    EXPECT_EQ(messages[1].message, 0x4D4Bu);

    server.Close();
    lock.Release();
    EXPECT_EQ(RunStarter({}), 3); // nobody runs: the starter would run itself
}

TEST_F(InstanceTest, TwoProcessesAKilledInstanceDoesNotBlock) {
    QProcess holder;
    holder.start(StarterPath(), {"--hold"});
    ASSERT_TRUE(holder.waitForStarted());
    ASSERT_TRUE(WaitUntil([&] { return holder.canReadLine(); }));
    EXPECT_EQ(holder.readLine().trimmed(), "held");
    InstanceLock second(instance::InstanceLockPath());
    EXPECT_EQ(second.TryAcquire(), InstanceLock::Result::HeldByOther);

    ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
    ASSERT_TRUE(WaitUntil([&] { return holder.state() == QProcess::NotRunning; }));
    EXPECT_TRUE(std::filesystem::exists(instance::InstanceSocketPath())); // left behind

    StartInstance();
    EXPECT_EQ(RunStarter({}), 0);
    ASSERT_EQ(window.Messages().size(), 1u);
    EXPECT_EQ(window.Messages()[0].message, 0x5350u);
}

} // namespace
} // namespace kovrel::app

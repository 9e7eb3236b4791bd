// The command line, the daemon launch and the named events of the start-up.

#include "app/command_line.h"
#include "app/daemon_launch.h"
#include "app/named_events.h"
#include "platform/fakes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <semaphore.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrel::app {
namespace {

TEST(CommandLineTest, Arguments) {
    struct Case {
        std::vector<std::string> arguments;
        bool kill;
        bool start;
        std::vector<std::uint32_t> commands;
    };
    const Case cases[] = {
        {{}, false, false, {}},
        {{"/Kill"}, true, false, {}},
        {{"/kILL"}, true, false, {}},
        {{"--kill"}, true, false, {}},
        {{"--KILL"}, true, false, {}},
        {{"/Start"}, false, true, {}},
        {{"/START"}, false, true, {}},
        {{"--start"}, false, true, {}},
        {{"/Start", "/Kill"}, true, true, {}},
        {{"/Kill", "/Start"}, true, false, {}}, // the process ends at /Kill
        {{"/Killer", "Start", "-start", "/Start="}, false, false, {}},
        {{"--command", "32785"}, false, false, {32785}},
        {{"--command", "32784", "--command", "32780"}, false, false, {32784, 32780}},
        {{"--command", "0", "--command", "65536", "--command", "x1"}, false, false, {}},
        {{"--command", "-5", "--command", " 12", "--command", "0x10"}, false, false, {}},
        {{"--command", "/Start"}, false, true, {}}, // not a command id: read as itself
        {{"--command"}, false, false, {}},
        {{"/Start", "--command", "32785"}, false, true, {32785}},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.arguments) {
            joined += "[" + a + "]";
        }
        SCOPED_TRACE(joined);
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.kill, c.kill);
        EXPECT_EQ(line.start, c.start);
        EXPECT_EQ(line.commands, c.commands);
    }
}

TEST(DaemonLaunchTest, StartsTheDaemonFromTheProgramFolderWithoutArguments) {
    platform::FakeLauncher launcher;
    launcher.SetResult(false); // a failed launch is not an error
    LaunchDaemon(launcher, "/opt/kovrel");
    EXPECT_EQ(launcher.Programs(),
              (std::vector<std::vector<std::string>>{{"/opt/kovrel/Varnolt"}}));

    launcher.Clear();
    LaunchDaemon(launcher, {}); // never from the current folder
    EXPECT_TRUE(launcher.Programs().empty());
}

class NamedEventsTest : public ::testing::Test {
protected:
    // A prefix of this test process, so a running program's events are never touched.
    const std::string prefix = "KovrelTest" + std::to_string(::getpid()) + "_Event_";

    bool Exists(int number) const {
        const std::string name = "/" + NamedEvents::Name(prefix, number);
        sem_t* s = ::sem_open(name.c_str(), 0);
        if (s == SEM_FAILED) {
            return false;
        }
        ::sem_close(s);
        return true;
    }
};

TEST_F(NamedEventsTest, Names) {
    EXPECT_EQ(NamedEvents::Name("Kovrel_Event_", 1), "Kovrel_Event_Main_01");
    EXPECT_EQ(NamedEvents::Name("Kovrel_Event_", 99), "Kovrel_Event_Main_99");
    EXPECT_EQ(NamedEvents::Name("Kovrel_Event_", 208), "Kovrel_Event_Main_208");
}

TEST_F(NamedEventsTest, AllAreCreatedUnsignalledPrivateAndUnlinkedAtClose) {
    {
        NamedEvents events(prefix);
        EXPECT_EQ(events.Created(), kNamedEventCount);
        for (int number : {1, 2, 100, 207, 208}) {
            EXPECT_TRUE(Exists(number)) << number;
        }
        EXPECT_FALSE(Exists(209));

        const std::string name = "/" + NamedEvents::Name(prefix, 1);
        sem_t* s = ::sem_open(name.c_str(), 0);
        ASSERT_NE(s, SEM_FAILED);
        int value = -1;
        ::sem_getvalue(s, &value);
        EXPECT_EQ(value, 0);
        ::sem_close(s);
        // glibc keeps named semaphores as files in /dev/shm.
        struct stat info {};
        if (::stat(("/dev/shm/sem." + name.substr(1)).c_str(), &info) == 0) {
            EXPECT_EQ(info.st_mode & 0777, 0600u);
        }

        events.Close();
        EXPECT_EQ(events.Created(), 0);
        EXPECT_FALSE(Exists(1));
        EXPECT_FALSE(Exists(208));
    }
    EXPECT_FALSE(Exists(1));
}

TEST_F(NamedEventsTest, EventsLeftByACrashedRunAreTakenOverAndRemoved) {
    const std::string name = "/" + NamedEvents::Name(prefix, 5);
    sem_t* left = ::sem_open(name.c_str(), O_CREAT, 0600, 0);
    ASSERT_NE(left, SEM_FAILED);
    ::sem_close(left);
    {
        NamedEvents events(prefix);
        EXPECT_EQ(events.Created(), kNamedEventCount);
    }
    EXPECT_FALSE(Exists(5));
}

TEST_F(NamedEventsTest, AFailureIsIgnored) {
    // Names with a second slash are refused by the system: nothing is created, nothing breaks.
    NamedEvents events("bad/" + prefix);
    EXPECT_EQ(events.Created(), 0);
    events.Close();
}

} // namespace
} // namespace kovrel::app

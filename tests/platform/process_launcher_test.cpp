#include "platform/process_launcher.h"
#include "platform/temporary_home.h"
#include "test_files.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace kovrel::platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

// Waits (generously: shared machines are slow) until `done` holds.
template <typename Predicate>
bool Eventually(Predicate done) {
    for (int i = 0; i < 1000; ++i) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// Written by the child once it has finished writing, so the test never reads half a file.
bool Complete(const fs::path& file) {
    const std::string text = ReadBytes(file);
    return !text.empty() && text.back() == '\n';
}

TEST(ProcessLauncher, PassesArgumentsVerbatimInASessionOfItsOwnAndLeavesNoZombie) {
    TemporaryHome home;
    const fs::path out = home.Path() / "out.txt";
    const std::string script =
        "read pid comm state ppid pgrp sid rest < /proc/$$/stat; "
        "printf '%s|' \"$@\" > \"$0.tmp\"; echo \"$$ $sid\" >> \"$0.tmp\"; mv \"$0.tmp\" \"$0\"";
    const int pid = SpawnDetached({"sh", "-c", script, out.string(), "two words", "$HOME", "*"});
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Eventually([&] { return Complete(out); }));
    // The arguments arrive untouched (no shell expansion), and the child leads its own session.
    const std::string id = std::to_string(pid);
    EXPECT_EQ(ReadBytes(out), "two words|$HOME|*|" + id + " " + id + "\n");
    // Reaped once it ended: no /proc entry is left behind.
    EXPECT_TRUE(Eventually([&] { return !fs::exists("/proc/" + std::to_string(pid)); }));
}

TEST(ProcessLauncher, ReportsProgramsThatCannotStart) {
    ProcessLauncher launcher;
    EXPECT_FALSE(launcher.StartProgram({}));
    EXPECT_FALSE(launcher.StartProgram({""}));
    EXPECT_FALSE(launcher.StartProgram({"/nonexistent/Varnolt"}));
    EXPECT_FALSE(launcher.StartProgram({"kovrel-no-such-program-anywhere"}));
    EXPECT_FALSE(launcher.OpenDocument(""));
}

TEST(ProcessLauncher, OpensDocumentsThroughXdgOpen) {
    TemporaryHome home;
    const fs::path bin = home.Path() / "bin";
    fs::create_directories(bin);
    const fs::path out = home.Path() / "opened.txt";
    WriteBytes(bin / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + out.string() +
                                     ".tmp\"\nmv \"" + out.string() + ".tmp\" \"" + out.string() +
                                     "\"\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    ::setenv("PATH", (bin.string() + ":" + savedPath).c_str(), 1);

    ProcessLauncher launcher;
    EXPECT_TRUE(launcher.OpenDocument("-odd name.html"));
    EXPECT_TRUE(Eventually([&] { return Complete(out); }));
    EXPECT_EQ(ReadBytes(out), "./-odd name.html\n");
    ::setenv("PATH", savedPath.c_str(), 1);
}

} // namespace
} // namespace kovrel::platform

#include "platform/atomic_file.h"
#include "platform/file_system_calls.h"
#include "platform/ini.h"
#include "platform/temporary_home.h"
#include "test_files.h"

#include <cerrno>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <string>

namespace kovrel::platform {
namespace {

namespace fs = std::filesystem;
using testing::FolderNames;
using testing::ReadBytes;
using testing::WriteBytes;

// The real calls, with failures scripted per call kind: each queued errno makes one call fail
// that way; `maxWrite` cuts every write short.
class ScriptedCalls final : public FileSystemCalls {
public:
    std::deque<int> openErrors, writeErrors, fsyncErrors, closeErrors, renameErrors;
    std::size_t maxWrite = 0; // 0: no limit
    bool writeReturnsZero = false;
    int writes = 0;

    int Open(const char* path, int flags, mode_t mode) override {
        if (Fail(openErrors))
            return -1;
        return SystemFileSystemCalls().Open(path, flags, mode);
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        ++writes;
        if (Fail(writeErrors))
            return -1;
        if (writeReturnsZero)
            return 0;
        if (maxWrite && size > maxWrite)
            size = maxWrite;
        return SystemFileSystemCalls().Write(fd, data, size);
    }
    int Fsync(int fd) override {
        return Fail(fsyncErrors) ? -1 : SystemFileSystemCalls().Fsync(fd);
    }
    int Close(int fd) override {
        const int rc = SystemFileSystemCalls().Close(fd); // the descriptor goes either way
        return Fail(closeErrors) ? -1 : rc;
    }
    int Rename(const char* from, const char* to) override {
        return Fail(renameErrors) ? -1 : SystemFileSystemCalls().Rename(from, to);
    }
    int Unlink(const char* path) override { return SystemFileSystemCalls().Unlink(path); }

private:
    static bool Fail(std::deque<int>& errors) {
        if (errors.empty())
            return false;
        errno = errors.front();
        errors.pop_front();
        return errno != 0;
    }
};

class AtomicFile : public ::testing::Test {
protected:
    TemporaryHome home;
    fs::path folder = home.Path() / "data";
    fs::path target = folder / "file.bin";
    void SetUp() override { fs::create_directories(folder); }
};

TEST_F(AtomicFile, WritesAndReplacesWithoutLeavingTemporaryFiles) {
    ASSERT_TRUE(WriteFileAtomically(target, std::string_view("first")));
    EXPECT_EQ(ReadBytes(target), "first");
    const std::string binary("\0\x01\xFF\r\n", 5);
    ASSERT_TRUE(WriteFileAtomically(target, binary));
    EXPECT_EQ(ReadBytes(target), binary);
    ASSERT_TRUE(WriteFileAtomically(target, std::string_view()));
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"file.bin"});
}

TEST_F(AtomicFile, KeepsPermissionsAndWritesThroughSymbolicLinks) {
    WriteBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = folder / "link.bin";
    fs::create_symlink(target, link);
    ASSERT_TRUE(WriteFileAtomically(link, std::string_view("new")));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(AtomicFile, LeavesAReadOnlyFileAlone) {
    WriteBytes(target, "[LANGUAGE]\nlanguage=1\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(WriteFileAtomically(target, std::string_view("x")));
    EXPECT_FALSE(WriteIniString(u"LANGUAGE", u"language", u"0", target));
    EXPECT_EQ(ReadBytes(target), "[LANGUAGE]\nlanguage=1\n");
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"file.bin"});
}

TEST_F(AtomicFile, FailsWhenTheFolderIsMissingOrTheTargetIsAFolder) {
    EXPECT_FALSE(WriteFileAtomically(folder / "missing" / "file.bin", std::string_view("x")));
    EXPECT_FALSE(fs::exists(folder / "missing"));
    fs::create_directory(folder / "sub");
    EXPECT_FALSE(WriteFileAtomically(folder / "sub", std::string_view("x")));
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"sub"});
}

TEST_F(AtomicFile, RetriesInterruptedAndShortWrites) {
    ScriptedCalls calls;
    calls.openErrors = {EINTR};
    calls.writeErrors = {EINTR, 0, EINTR};
    calls.fsyncErrors = {EINTR};
    calls.maxWrite = 3;
    ScopedFileSystemCalls installed(calls);
    const std::string content = "a longer content cut into many short writes";
    ASSERT_TRUE(WriteFileAtomically(target, content));
    EXPECT_EQ(ReadBytes(target), content);
    EXPECT_GT(calls.writes, static_cast<int>(content.size() / 3));
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"file.bin"});
}

TEST_F(AtomicFile, FailureLeavesTargetUnchangedAndNoTemporaryFile) {
    struct Case {
        const char* name;
        void (*script)(ScriptedCalls&);
    };
    const Case cases[] = {
        {"open fails", [](ScriptedCalls& c) { c.openErrors = {EACCES}; }},
        {"disk full", [](ScriptedCalls& c) { c.writeErrors = {ENOSPC}; }},
        {"disk full after a short write",
         [](ScriptedCalls& c) {
             c.maxWrite = 2;
             c.writeErrors = {0, ENOSPC};
         }},
        {"write makes no progress", [](ScriptedCalls& c) { c.writeReturnsZero = true; }},
        {"fsync fails", [](ScriptedCalls& c) { c.fsyncErrors = {EIO}; }},
        {"close reports a delayed error", [](ScriptedCalls& c) { c.closeErrors = {EIO}; }},
        {"rename fails", [](ScriptedCalls& c) { c.renameErrors = {EXDEV}; }},
    };
    for (const Case& c : cases) {
        WriteBytes(target, "original");
        ScriptedCalls calls;
        c.script(calls);
        {
            ScopedFileSystemCalls installed(calls);
            EXPECT_FALSE(WriteFileAtomically(target, std::string_view("replacement"))) << c.name;
        }
        EXPECT_EQ(ReadBytes(target), "original") << c.name;
        EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"file.bin"}) << c.name;
    }
}

TEST_F(AtomicFile, IniWriteFailureKeepsTheFile) {
    WriteBytes(target, "[S]\nk=1\n");
    ScriptedCalls calls;
    calls.renameErrors = {ENOSPC};
    {
        ScopedFileSystemCalls installed(calls);
        EXPECT_FALSE(WriteIniString(u"S", u"k", u"2", target));
    }
    EXPECT_EQ(ReadBytes(target), "[S]\nk=1\n");
    EXPECT_EQ(ReadIniString(u"S", u"k", u"", target), u"1");
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"file.bin"});
}

} // namespace
} // namespace kovrel::platform

#include "platform/paths.h"
#include "platform/temporary_home.h"
#include "test_files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace kovrel::platform {
namespace {

namespace fs = std::filesystem;
using testing::WriteBytes;

TEST(Paths, ProgramFolderIsTheExecutablesFolderNotTheCurrentOne) {
    const fs::path before = fs::current_path();
    ASSERT_EQ(::chdir("/"), 0);
    const fs::path folder = ProgramFolder();
    ASSERT_EQ(::chdir(before.c_str()), 0);
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_EQ(folder, fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_NE(folder, fs::path("/"));
    EXPECT_EQ(&ProgramFolder(), &ProgramFolder()); // built once
}

TEST(Paths, ConfigAndSettingsFileFollowXdgConfigHome) {
    TemporaryHome home;
    EXPECT_EQ(UserConfigFolder(), home.ConfigFolder());
    EXPECT_EQ(UserSettingsFile(), home.ConfigFolder() / "Kovrel_Ostrel" / "Kovrel.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserConfigFolder(), home.Path() / ".config");
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(UserConfigFolder(), home.Path() / ".config");
}

TEST(Paths, DocumentsFolderFromUserDirs) {
    TemporaryHome home;
    const fs::path dirs = home.ConfigFolder() / "user-dirs.dirs";
    struct Case {
        const char* file; // null: no user-dirs.dirs at all
        fs::path expected;
    };
    const Case cases[] = {
        {nullptr, home.Path() / "Documents"},
        {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
         home.Path() / "Dokumente"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n", home.Path() / "My \"Docs\""},
        {"XDG_DOCUMENTS_DIR=\"/srv/shared docs\"\n", fs::path("/srv/shared docs")},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", home.Path()},
        {"#XDG_DOCUMENTS_DIR=\"$HOME/Commented\"\n", home.Path() / "Documents"},
        {"XDG_DOCUMENTS_DIR=\"relative\"\n", home.Path() / "Documents"},
        {"XDG_MUSIC_DIR=\"$HOME/Music\"\n", home.Path() / "Documents"},
    };
    for (const Case& c : cases) {
        fs::remove(dirs);
        if (c.file)
            WriteBytes(dirs, c.file);
        EXPECT_EQ(DocumentsFolder(), c.expected) << (c.file ? c.file : "(no file)");
    }
}

} // namespace
} // namespace kovrel::platform

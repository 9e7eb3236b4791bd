// kovrelctl's configuration commands end to end: Varnolt with the virtual keyboard, kovrelctl
// through the real libOndrel.so, the keyboard's memories read back from the daemon's dump.

#include "daemon_process.h"

#include "model/key_usage.h"
#include "model/macro_image.h"
#include "model/profile_block.h"
#include "profiles/config_file.h"
#include "profiles/config_file_format.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>

using kovrel::testing::BinFolder;
using kovrel::testing::ConnectControl;
using kovrel::testing::DaemonProcess;
using kovrel::testing::RunProgram;
using kovrel::testing::RunResult;
using kovrel::varnolt::ControlOp;

namespace kovrel {
namespace {

namespace fs = std::filesystem;

constexpr KeyId kKeyA = 0x01E;
constexpr KeyId kKeyB = 0x030;

std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

std::vector<std::uint8_t> FromHex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Assignments of every kind in all three profiles, G keys too, and three macros whose ids are
// not their positions + 1.
Configuration ImportedConfiguration() {
    Configuration c = EmptyConfiguration();
    c.macros = {
        MacroRecord{u"Greeting", 2, 0, 5, {{120, kKeyA, 0}, {30, kKeyA, 1}, {0, 0x11D, 0}}},
        MacroRecord{u"Mute twice", 255, 0, 2, {{40000, 0x120, 0}, {10, 0x120, 1}}},
        MacroRecord{u"Empty", 1, 0, 9, {}},
    };
    for (int p = 0; p < 3; ++p) {
        c.Record(p, KeyIndexOf(kKeyA)).Set(AssignmentKind::Key, kKeyB);
        c.Record(p, KeyIndexOf(kKeyB)).Set(AssignmentKind::Disabled);
        c.Record(p, KeyIndexOf(0x02E)).Set(AssignmentKind::Macro, p == 1 ? 2 : 5);
        c.Record(p, KeyIndexOf(0x02E)).aux = 2;
        c.Record(p, KeyIndexOf(0x020)).Set(AssignmentKind::StopMacro);
        c.Record(p, KeyIndexOf(0x012))
            .Set(AssignmentKind::Media, static_cast<std::uint32_t>(p + 3));
        c.Record(p, KeyIndexOf(0x021))
            .Set(AssignmentKind::Function, static_cast<std::uint32_t>(p + 8));
        c.Record(p, KeyIndexOf(0x022)).Set(AssignmentKind::Key, 0x11D); // a modifier
        c.Record(p, KeyIndexOf(0x023)).Set(AssignmentKind::LaunchProgram);
        c.SetText(p * 512 + KeyIndexOf(0x023), u"/usr/bin/true");
        c.Record(p, KeyIndexOf(0x017)).Set(AssignmentKind::TextBlock);
        c.SetText(p * 512 + KeyIndexOf(0x017), u"typed");
        c.Record(p, GRecordNumber(0, 1)).Set(AssignmentKind::Macro, 9);
        c.Record(p, GRecordNumber(0, 1)).aux = 0x0301;
    }
    return c;
}

class KovrelctlConfig : public ::testing::Test {
protected:
    void SetUp() override {
        const auto& folders = kovrel::testing::TestFolders::Get();
        home = folders.root / ("home-" + std::to_string(::getpid()) + "-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(home / "Documents" / "Tavik");
        ASSERT_TRUE(daemon.Start());
    }

    RunResult Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), (BinFolder() / "kovrelctl").string());
        return RunProgram(args, {"HOME=" + home.string()});
    }

    nlohmann::json Dump() {
        auto control = ConnectControl();
        const auto dump = control.Call(ControlOp::Dump, 1);
        EXPECT_TRUE(dump);
        return nlohmann::json::parse(dump->text);
    }

    fs::path File(const std::string& name) const { return home / name; }
    fs::path WorkingFile() const { return home / "Documents" / "Tavik" / "$Profile0"; }

    void ImportRich() {
        Configuration c = ImportedConfiguration();
        WriteBytes(File("in.kvl"), profiles::SerializeConfiguration(c));
        const auto result = Ctl({"import", File("in.kvl").string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    fs::path home;
    DaemonProcess daemon;
};

TEST_F(KovrelctlConfig, ImportWritesTheBlocksAndTheMacroImage) {
    ImportRich();
    const nlohmann::json dump = Dump();
    const auto layoutBytes = FromHex(dump.at("default_layout").get<std::string>());
    ProfileBlock layout{};
    ASSERT_EQ(layoutBytes.size(), layout.size());
    std::copy(layoutBytes.begin(), layoutBytes.end(), layout.begin());
    const Configuration c = ImportedConfiguration();
    for (int p = 0; p < 3; ++p) {
        ProfileBlock expected;
        EncodeProfileBlock(c, p, layout, expected);
        EXPECT_EQ(dump.at("profile_blocks").at(p).get<std::string>(), Hex(expected)) << p;
    }
    const std::string image = Hex(EncodeMacroImage(c.macros, true));
    EXPECT_EQ(dump.at("macro_memory").get<std::string>().substr(0, image.size()), image);
    EXPECT_FALSE(dump.at("config_open").get<bool>());
}

TEST_F(KovrelctlConfig, ExportGivesBackWhatTheKeyboardCanHold) {
    ImportRich();
    const auto result = Ctl({"export", File("out.kvl").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ConfigurationStore store;
    ASSERT_EQ(profiles::LoadConfigurationFile(File("out.kvl"), store), 1);
    const Configuration& back = store.Data();
    const Configuration in = ImportedConfiguration();

    for (int p = 0; p < 3; ++p) {
        for (int r = 0; r < kKeyRecords; ++r) {
            const KeyRecord& o = in.Record(p, r);
            const KeyRecord& b = back.Record(p, r);
            switch (static_cast<AssignmentKind>(o.kind)) {
            case AssignmentKind::LaunchProgram:
                EXPECT_TRUE(b.Is(AssignmentKind::Default)) << p << " " << r;
                break;
            case AssignmentKind::TextBlock:
                EXPECT_TRUE(b.Is(AssignmentKind::Disabled)) << p << " " << r;
                break;
            case AssignmentKind::Macro:
                EXPECT_TRUE(b.Is(AssignmentKind::Macro));
                EXPECT_EQ(b.value, o.value == 5 ? 1u : 2u); // positions + 1
                break;
            default:
                EXPECT_EQ(b.kind, o.kind) << p << " " << r;
                EXPECT_EQ(b.value, o.value) << p << " " << r;
            }
        }
        for (int r = kGRecordFirst; r < kGRecordEnd; ++r) {
            EXPECT_EQ(back.Record(p, r), (KeyRecord{0, GCodeOfRecord(r), 0, 0, 0}))
                << p << " " << r;
        }
    }
    ASSERT_EQ(back.macros.size(), in.macros.size());
    for (std::size_t m = 0; m < in.macros.size(); ++m) {
        EXPECT_EQ(back.macros[m].name, in.macros[m].name);
        EXPECT_EQ(back.macros[m].cycles, in.macros[m].cycles);
        EXPECT_EQ(back.macros[m].actions, in.macros[m].actions);
        EXPECT_EQ(back.macros[m].macroId, m + 1);
    }
}

TEST_F(KovrelctlConfig, SetMacroCommandsAndTheWorkingFile) {
    ImportRich();
    WriteBytes(WorkingFile(), {}); // the working file exists: every change keeps it in step

    auto r = Ctl({"set", "--profile", "2", "c", "media:mute"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Ctl({"macro", "add", "Shout", "--cycles", "3", "A down 55, A up 0, , down 10, , up 7"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Ctl({"set", "--profile", "3", "F", "macro:SHOUT"});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    ConfigurationStore store;
    ASSERT_EQ(profiles::LoadConfigurationFile(WorkingFile(), store), 1);
    EXPECT_TRUE(store.Data().Record(1, KeyIndexOf(0x02E)).Is(AssignmentKind::Media));
    EXPECT_EQ(store.Data().Record(1, KeyIndexOf(0x02E)).value, 7u);
    ASSERT_EQ(store.Data().macros.size(), 4u);
    EXPECT_EQ(store.Data().macros[3].name, u"Shout");
    EXPECT_EQ(store.Data().macros[3].cycles, 3);
    EXPECT_EQ(
        store.Data().macros[3].actions,
        (std::vector<MacroAction>{{50, kKeyA, 0}, {0, kKeyA, 1}, {10, 0x033, 0}, {0, 0x033, 1}}));
    EXPECT_TRUE(store.Data().Record(2, KeyIndexOf(0x021)).Is(AssignmentKind::Macro));

    r = Ctl({"macro", "list", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto list = nlohmann::json::parse(r.out);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list.at(3).at("name"), "Shout");
    EXPECT_EQ(list.at(3).at("actions").at(0).at("delay"), 50);

    // Deleting the first macro: its keys go back to default, the others follow their macros.
    r = Ctl({"macro", "delete", "greeting"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(profiles::LoadConfigurationFile(WorkingFile(), store), 1);
    EXPECT_EQ(store.Data().macros.size(), 3u);
    EXPECT_TRUE(store.Data().Record(0, KeyIndexOf(0x02E)).Is(AssignmentKind::Default));
    const KeyRecord& shout = store.Data().Record(2, KeyIndexOf(0x021));
    ASSERT_TRUE(shout.Is(AssignmentKind::Macro));
    const auto& macros = store.Data().macros;
    const auto played = std::find_if(macros.begin(), macros.end(), [&](const MacroRecord& m) {
        return m.macroId == shout.value;
    });
    ASSERT_NE(played, macros.end());
    EXPECT_EQ(played->name, u"Shout");
    // On the keyboard F plays the macro at Shout's new position.
    r = Ctl({"export", File("after.kvl").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(profiles::LoadConfigurationFile(File("after.kvl"), store), 1);
    EXPECT_EQ(store.Data().Record(2, KeyIndexOf(0x021)).value, 3u);
    EXPECT_EQ(store.Data().macros[2].name, u"Shout");
}

TEST_F(KovrelctlConfig, ErrorsSayWhatToDo) {
    ImportRich();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string says;
    };
    const Case cases[] = {
        {{"set", "Ctrll", "default"}, 2, "\"Ctrl\""},
        {{"set", "A", "media:Mutte"}, 2, "\"Mute\""},
        {{"set", "A", "jump"}, 2, "key:NAME"},
        {{"macro", "add", "greeting", "A down 10"}, 1, "already has a macro"},
        {{"macro", "add", "X", "A sideways 10"}, 2, "down or up"},
        {{"macro", "add", "X", "A down 50000"}, 2, "40000"},
        {{"macro", "delete", "Greting"}, 1, "\"Greeting\""},
    };
    for (const Case& c : cases) {
        const auto r = Ctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }

    // A damaged file is refused and the keyboard keeps what it had.
    const std::string before = Dump().at("profile_blocks").dump();
    auto bytes = ReadBytes(File("in.kvl"));
    bytes.resize(bytes.size() - 3);
    WriteBytes(File("cut.kvl"), bytes);
    const auto r = Ctl({"import", File("cut.kvl").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("import failed"), std::string::npos) << r.err;
    EXPECT_EQ(Dump().at("profile_blocks").dump(), before);
}

TEST_F(KovrelctlConfig, ShowListsAFileByKeyName) {
    Configuration c = ImportedConfiguration();
    WriteBytes(File("in.kvl"), profiles::SerializeConfiguration(c));
    auto r = Ctl({"show", File("in.kvl").string(), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto shown = nlohmann::json::parse(r.out);
    const auto& first = shown.at("profiles").at(0).at("assignments").at(0);
    EXPECT_EQ(first.at("key"), "E"); // records in key index order: E (0x012) first
    EXPECT_EQ(first.at("kind"), "media");
    EXPECT_EQ(first.at("value"), "Previous Track");
    EXPECT_EQ(shown.at("macros").at(1).at("name"), "Mute twice");
    EXPECT_EQ(shown.at("texts").size(), 6u);
    r = Ctl({"show", File("in.kvl").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("  A: key:B\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1. Greeting (id 5, cycles 2): A down 120, A up 30, Right Ctrl down 0"),
              std::string::npos)
        << r.out;
}

} // namespace
} // namespace kovrel

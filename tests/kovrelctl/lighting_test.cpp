// kovrelctl lighting and colours end to end: Varnolt with the virtual keyboard, kovrelctl
// through the real libOndrel.so, and the virtual keyboard's log and dump to see what arrived.
// kovrelctl gets a home of its own, so the user lighting files land in the test's folders.

#include "daemon_process.h"
#include "model/key_controls.h"
#include "platform/text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

using kovrel::testing::BinFolder;
using kovrel::testing::ConnectControl;
using kovrel::testing::DaemonProcess;
using kovrel::testing::RunProgram;
using kovrel::testing::RunResult;
using kovrel::varnolt::ControlOp;

namespace {

struct Report {
    int command = 0;
    int length = 0;
    int address = 0;
    std::vector<int> data;
};

int HexByte(const std::string& hex, std::size_t index) {
    return std::stoi(hex.substr(index * 2, 2), nullptr, 16);
}

class KovrelctlLighting : public ::testing::Test {
public:
    void SetUp() override {
        const auto& folders = kovrel::testing::TestFolders::Get();
        home = folders.root /
               ("home-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(home);
        ASSERT_TRUE(daemon.Start());
        control = ConnectControl();
    }

    RunResult Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), (BinFolder() / "kovrelctl").string());
        return RunProgram(args, {"HOME=" + home.string()});
    }

    nlohmann::json Json(std::vector<std::string> args) {
        const auto result = Ctl(std::move(args));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return nlohmann::json::parse(result.out, nullptr, false);
    }

    void ClearLog() { ASSERT_TRUE(control.Call(ControlOp::ClearLog)); }

    // The command reports the keyboard received since the last ClearLog, oldest first.
    std::vector<Report> Received() {
        std::vector<Report> reports;
        const auto log = control.Call(ControlOp::Log, 1);
        EXPECT_TRUE(log);
        for (const auto& entry : nlohmann::json::parse(log->text)) {
            const auto bytes = entry.at("bytes").get<std::string>();
            if (entry.at("kind") != "report" || bytes.size() < 128) {
                continue;
            }
            Report r;
            r.command = HexByte(bytes, 3);
            r.length = HexByte(bytes, 4);
            r.address = HexByte(bytes, 5) | (HexByte(bytes, 6) << 8);
            for (int i = 0; i < std::min(r.length, 56); ++i) {
                r.data.push_back(HexByte(bytes, static_cast<std::size_t>(8 + i)));
            }
            reports.push_back(r);
        }
        return reports;
    }

    // The keyboard's per-key colour memory in hex.
    std::string Dump() {
        const auto dump = control.Call(ControlOp::Dump, 1);
        EXPECT_TRUE(dump);
        return nlohmann::json::parse(dump->text).at("key_colours").get<std::string>();
    }

    // The colour at an LED position of a profile in the keyboard's per-key colour memory.
    std::vector<int> KeyColour(int profile, int led) {
        const auto hex = Dump();
        const auto at = static_cast<std::size_t>(profile * 512 + led * 3);
        return {HexByte(hex, at), HexByte(hex, at + 1), HexByte(hex, at + 2)};
    }

    std::filesystem::path home;
    DaemonProcess daemon;
    kovrel::varnolt::ControlClient control;
};

int LedOf(const char16_t* name) {
    for (const auto& key : kovrel::KeyControls()) {
        if (key.name == name) {
            return key.ledPosition;
        }
    }
    return -1;
}

} // namespace

TEST_F(KovrelctlLighting, WrittenFieldsReadBackInOneTransferLowestOffsetFirst) {
    ClearLog();
    const auto set = Ctl({"lighting", "--effect", "5", "--colour", "0,255,0"});
    ASSERT_EQ(set.exitCode, 0) << set.err;

    // After reading the records (their own transfer), the write transfer.
    const auto received = Received();
    auto lastRead = std::find_if(received.rbegin(), received.rend(),
                                 [](const Report& r) { return r.command == 5; });
    ASSERT_NE(lastRead, received.rend());
    std::vector<Report> writes(lastRead.base() + 1, received.end()); // past the read's command 2
    ASSERT_EQ(writes.size(), 5u);
    EXPECT_EQ(writes[0].command, 1);
    EXPECT_EQ(writes[1].command, 6);
    EXPECT_EQ(writes[1].address, 0);
    EXPECT_EQ(writes[1].data, std::vector<int>{5});
    EXPECT_EQ(writes[2].address, 4);
    EXPECT_EQ(writes[2].data, std::vector<int>{0}); // the colour turns multicolour off
    EXPECT_EQ(writes[3].address, 5);
    EXPECT_EQ(writes[3].data, (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(writes[4].command, 2);

    const auto record = Json({"lighting", "--json"});
    EXPECT_EQ(record.at("profile"), 1);
    EXPECT_EQ(record.at("effect"), 5);
    EXPECT_EQ(record.at("colour"), nlohmann::json::array({0, 255, 0}));
    EXPECT_EQ(record.at("multicolour"), false);
    EXPECT_EQ(record.at("brightness"), 4);
    EXPECT_EQ(record.at("report_rate"), 4); // the factory byte 255 shows the fourth button
}

TEST_F(KovrelctlLighting, OtherProfilesAndFieldsAndTheDefaultRecord) {
    ASSERT_EQ(Ctl({"lighting", "--profile", "3", "--brightness", "2", "--speed", "0", "--direction",
                   "first", "--fixed-colour", "blue", "--report-rate", "2", "--multicolour", "on"})
                  .exitCode,
              0);
    auto record = Json({"lighting", "--profile", "3", "--json"});
    EXPECT_EQ(record.at("brightness"), 2);
    EXPECT_EQ(record.at("speed"), 0);
    EXPECT_EQ(record.at("direction"), "first");
    EXPECT_EQ(record.at("fixed_colour"), "blue");
    EXPECT_EQ(record.at("report_rate"), 2);
    EXPECT_EQ(record.at("multicolour"), true);
    EXPECT_EQ(Json({"lighting", "--json"}).at("brightness"), 4); // profile 1 untouched

    ClearLog();
    ASSERT_EQ(Ctl({"lighting", "--profile", "3", "--restore-defaults"}).exitCode, 0);
    std::vector<Report> writes;
    for (const auto& r : Received()) {
        if (r.command == 6) {
            writes.push_back(r);
        }
    }
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].address, 84);
    EXPECT_EQ(writes[0].length, 35);
    record = Json({"lighting", "--profile", "3", "--json"});
    EXPECT_EQ(record.at("effect"), 1);
    EXPECT_EQ(record.at("brightness"), 4);
    EXPECT_EQ(record.at("colour"), nlohmann::json::array({255, 0, 0}));
}

TEST_F(KovrelctlLighting, BadValuesAreRefusedNamingTheValueAndRange) {
    struct Case {
        std::vector<std::string> args;
        std::string mention;
    };
    const std::vector<Case> cases = {
        {{"lighting", "--brightness", "7"}, "7"},
        {{"lighting", "--speed", "5"}, "5"},
        {{"lighting", "--effect", "21"}, "21"},
        {{"lighting", "--effect", "19"}, "19"}, // not offered by the virtual keyboard
        {{"lighting", "--colour", "300,0,0"}, "300,0,0"},
        {{"lighting", "--colour", "1,2"}, "0 to 255"},
        {{"lighting", "--direction", "up"}, "up"},
        {{"lighting", "--report-rate", "0"}, "0"},
        {{"lighting", "--profile", "4"}, "4"},
        {{"colours", "set", "A", "0,0,256"}, "0 to 255"},
        {{"colours", "set", "NoSuchKey", "0,0,0"}, "NoSuchKey"},
        {{"colours", "set", "G1", "0,0,0"}, "G1"},
        {{"colours", "user-mode", "11"}, "11"},
    };
    ClearLog();
    for (const auto& c : cases) {
        const auto result = Ctl(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.args.back() << result.err;
        EXPECT_NE(result.err.find(c.mention), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    for (const auto& r : Received()) {
        EXPECT_NE(r.command, 6) << "a refused value was written";
        EXPECT_NE(r.command, 17) << "a refused colour was written";
    }
}

// Every key's colour in the keyboard's memory is the one the user lighting file gives it.
void ExpectKeyboardShowsTheFile(KovrelctlLighting& test, const nlohmann::json& shown) {
    const int profile = shown.at("profile").get<int>() - 1;
    const auto dump = test.Dump();
    for (const auto& key : shown.at("keys")) {
        const int led = key.at("led").get<int>();
        const auto at = static_cast<std::size_t>(profile * 512 + led * 3);
        const std::vector<int> keyboard = {HexByte(dump, at), HexByte(dump, at + 1),
                                           HexByte(dump, at + 2)};
        EXPECT_EQ(nlohmann::json(keyboard), key.at("colour")) << key.at("key");
    }
}

TEST_F(KovrelctlLighting, UserModeSendsTheFilesColoursToTheKeyboard) {
    ASSERT_EQ(Ctl({"colours", "user-mode", "1"}).exitCode, 0);
    auto shown = Json({"colours", "show", "--json"});
    EXPECT_EQ(shown.at("profile"), 1);
    EXPECT_EQ(shown.at("user_mode"), 1);
    EXPECT_EQ(shown.at("names").size(), 10u);
    EXPECT_EQ(shown.at("keys").size(), 105u); // 104 main keys and Fn
    ExpectKeyboardShowsTheFile(*this, shown);

    // Paint A in profile 2's selected mode: the keyboard and the file take it.
    const int mode = Json({"colours", "show", "--profile", "2", "--json"}).at("user_mode");
    ASSERT_EQ(Ctl({"colours", "set", "--profile", "2", "a", "0,0,255"}).exitCode, 0);
    EXPECT_EQ(KeyColour(1, LedOf(u"A")), (std::vector<int>{0, 0, 255}));
    shown = Json({"colours", "show", "--profile", "2", "--json"});
    for (const auto& key : shown.at("keys")) {
        if (key.at("key") == "A") {
            EXPECT_EQ(key.at("colour"), nlohmann::json::array({0, 0, 255}));
            EXPECT_EQ(key.at("base"), shown.at("tool") == "base"); // the tool decides the mark
        }
    }

    // Switching to another mode and back sends each mode's own colours.
    const int other = mode % 10 + 1;
    ASSERT_EQ(Ctl({"colours", "user-mode", "--profile", "2", std::to_string(other)}).exitCode, 0);
    shown = Json({"colours", "show", "--profile", "2", "--json"});
    EXPECT_EQ(shown.at("user_mode"), other);
    ExpectKeyboardShowsTheFile(*this, shown);
    ASSERT_EQ(Ctl({"colours", "user-mode", "--profile", "2", std::to_string(mode)}).exitCode, 0);
    EXPECT_EQ(KeyColour(1, LedOf(u"A")), (std::vector<int>{0, 0, 255}));
    ExpectKeyboardShowsTheFile(*this, Json({"colours", "show", "--profile", "2", "--json"}));
}

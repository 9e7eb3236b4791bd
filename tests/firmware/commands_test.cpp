#include "report_helpers.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kovrel::firmware::test {
namespace {

Bytes Pattern(std::size_t size, std::uint8_t start) {
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), start);
    return bytes;
}

TEST(FirmwareCommands, ReplyEchoesCodeAndCarriesItsOwnChecksum) {
    VirtualKeyboard keyboard;
    const Bytes reply = Exchange(keyboard, MakeReport(5, 56, 84));
    EXPECT_EQ(reply[0], 0x04);
    EXPECT_EQ(reply[3], 5);
    EXPECT_EQ(Status(reply), 0x00);
    unsigned sum = std::accumulate(reply.begin() + 3, reply.end(), 0u);
    EXPECT_EQ(reply[1] | (reply[2] << 8), static_cast<int>(sum & 0xFFFF));
}

TEST(FirmwareCommands, BeginAndEndConfigOpenAndCloseTheConfiguration) {
    VirtualKeyboard keyboard;
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(1, 0, 0))), 0x00);
    EXPECT_TRUE(keyboard.ConfigOpen());
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(2, 0, 0))), 0x00);
    EXPECT_FALSE(keyboard.ConfigOpen());
}

TEST(FirmwareCommands, InfoBlockReadIsTheLength44Form) {
    VirtualKeyboard keyboard;
    Bytes report = MakeReport(3, 44, 0);
    ASSERT_EQ(report[3] | (report[4] << 8), 0x2C03);
    const Bytes reply = Exchange(keyboard, report);
    ASSERT_EQ(Status(reply), 0x00);
    const Bytes info = Data(reply, 44);
    EXPECT_EQ(info[10], 0);  // current profile
    EXPECT_EQ(info[11], 32); // 32 x 128 bytes of macro memory
    Bytes effects(info.begin() + 12, info.end());
    Bytes expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};
    expected.resize(32, 0);
    EXPECT_EQ(effects, expected);
    EXPECT_EQ(keyboard.MacroMemory().size(), 4096u);
}

TEST(FirmwareCommands, InfoBlockWriteSetsHeadAndProfileButNotTheHardwareFields) {
    VirtualKeyboard keyboard;
    Bytes block = Data(Exchange(keyboard, MakeReport(3, 44, 0)), 44);
    const InfoBlock before = keyboard.Info();
    block[0] = 0x77;
    block[10] = 2;
    block[11] = 1; // the host cannot shrink the macro memory
    block[12] = 0;
    ASSERT_EQ(Status(Exchange(keyboard, MakeReport(4, 44, 0, block))), 0x00);
    const InfoBlock after = keyboard.Info();
    EXPECT_EQ(after[0], 0x77);
    EXPECT_EQ(keyboard.CurrentProfile(), 2);
    EXPECT_TRUE(std::equal(after.begin() + 11, after.end(), before.begin() + 11));
}

TEST(FirmwareCommands, SettingsReadReturnsAFullReportWhateverTheLength) {
    VirtualKeyboard keyboard;
    const Bytes settings = keyboard.Settings();
    // Record 2 and the 14 bytes after it: bytes 84 to 139.
    const Bytes reply = Exchange(keyboard, MakeReport(5, 56, 84));
    EXPECT_EQ(Data(reply), Bytes(settings.begin() + 84, settings.begin() + 140));
    const Bytes shortRead = Exchange(keyboard, MakeReport(5, 1, 42));
    EXPECT_EQ(Data(shortRead), Bytes(settings.begin() + 42, settings.begin() + 98));
    // Factory record: effect 1, brightness 4, speed 1, direction 0, multicolour on, red.
    EXPECT_EQ(Bytes(settings.begin() + 84, settings.begin() + 92),
              (Bytes{1, 4, 1, 0, 255, 255, 0, 0}));
}

TEST(FirmwareCommands, WritesLandAtTheirAddress) {
    struct Case {
        std::uint8_t code;
        std::uint16_t address;
        std::size_t length;
        std::vector<std::uint8_t> (*memory)(const VirtualKeyboard&);
        std::size_t offset; // where the bytes must appear in that memory
    };
    const Case cases[] = {
        {6, 47, 3, [](const VirtualKeyboard& k) { return k.Settings(); }, 47},
        {8, 2 * 378 + 336, 42,
         [](const VirtualKeyboard& k) {
             const auto b = k.ProfileBlock(2);
             return Bytes(b.begin(), b.end());
         },
         336},
        {10, 4040, 56, [](const VirtualKeyboard& k) { return k.MacroMemory(); }, 4040},
        {17, 5 * 3 + 512, 3, [](const VirtualKeyboard& k) { return k.KeyColours(); }, 527},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        VirtualKeyboard keyboard;
        const Bytes data = Pattern(c.length, 0x40);
        ASSERT_EQ(Status(Exchange(keyboard, MakeReport(c.code, static_cast<std::uint8_t>(c.length),
                                                       c.address, data))),
                  0x00);
        const Bytes memory = c.memory(keyboard);
        EXPECT_EQ(Bytes(memory.begin() + c.offset, memory.begin() + c.offset + c.length), data);
    }
}

TEST(FirmwareCommands, ChunkedReadsReassembleTheBlocks) {
    VirtualKeyboard keyboard;
    // Profile 2 at 756, 812, ..., 1092 (the last 42 bytes), like the host reads it.
    Bytes profile;
    for (std::size_t o = 0; o < 378; o += 56) {
        const auto n = static_cast<std::uint8_t>(std::min<std::size_t>(56, 378 - o));
        const Bytes reply =
            Exchange(keyboard, MakeReport(7, n, static_cast<std::uint16_t>(756 + o)));
        ASSERT_EQ(Status(reply), 0x00);
        const Bytes chunk = Data(reply, n);
        profile.insert(profile.end(), chunk.begin(), chunk.end());
    }
    Bytes layout;
    for (std::size_t o = 0; o < 378; o += 56) {
        const auto n = static_cast<std::uint8_t>(std::min<std::size_t>(56, 378 - o));
        const Bytes chunk =
            Data(Exchange(keyboard, MakeReport(15, n, static_cast<std::uint16_t>(o))), n);
        layout.insert(layout.end(), chunk.begin(), chunk.end());
    }
    const auto factory = keyboard.DefaultLayout();
    EXPECT_EQ(layout, Bytes(factory.begin(), factory.end()));
    EXPECT_EQ(profile, layout);
    // A few landmarks of the factory layout: six special slots, Escape, the macro-stop slot, the
    // two "=" slots and the two consumer keys.
    for (std::size_t s = 0; s < 6; ++s) {
        EXPECT_EQ(Bytes(layout.begin() + 3 * s, layout.begin() + 3 * s + 3), (Bytes{5, 0, 0}));
    }
    auto slot = [&](std::size_t s) {
        return Bytes(layout.begin() + 3 * s, layout.begin() + 3 * s + 3);
    };
    EXPECT_EQ(slot(8), (Bytes{2, 2, 0x29}));
    EXPECT_EQ(slot(53), (Bytes{5, 2, 2}));
    EXPECT_EQ(slot(54), (Bytes{2, 2, 0x2E}));
    EXPECT_EQ(slot(105), (Bytes{2, 2, 0x2E}));
    EXPECT_EQ(slot(112), (Bytes{3, 0xB6, 0}));
    EXPECT_EQ(slot(120), (Bytes{3, 0xCD, 0}));
    EXPECT_EQ(slot(125), (Bytes{2, 2, 0x63}));
    // The macro memory starts as an empty macro image.
    const Bytes header = Data(Exchange(keyboard, MakeReport(9, 16, 0)), 16);
    EXPECT_EQ(header, (Bytes{0xAA, 0x55, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(FirmwareCommands, BadAddressLengthOrCodeIsRefusedAndChangesNothing) {
    struct Case {
        const char* what;
        std::uint8_t code;
        std::uint8_t length;
        std::uint16_t address;
        std::uint8_t status;
    };
    const Case cases[] = {
        {"begin with a length", 1, 1, 0, 0xFF},
        {"end with an address", 2, 0, 1, 0xFF},
        {"info read of 43", 3, 43, 0, 0xFF},
        {"info read at 1", 3, 44, 1, 0xFF},
        {"info write of 45", 4, 45, 0, 0xFF},
        {"settings read, last full report", 5, 56, 200, 0x00},
        {"settings read past the end", 5, 56, 201, 0xFF},
        {"settings read of 57", 5, 57, 0, 0xFF},
        {"settings write, last byte", 6, 1, 255, 0x00},
        {"settings write past the end", 6, 2, 255, 0xFF},
        {"settings write of 57", 6, 57, 0, 0xFF},
        {"profile read, last chunk", 7, 42, 1092, 0x00},
        {"profile read past the end", 7, 43, 1092, 0xFF},
        {"profile write past the end", 8, 56, 1100, 0xFF},
        {"profile write far away", 8, 1, 0xFFFF, 0xFF},
        {"macro read, last chunk", 9, 56, 4040, 0x00},
        {"macro read past the end", 9, 56, 4041, 0xFF},
        {"macro write past the end", 10, 1, 4096, 0xFF},
        {"layout read, last chunk", 15, 42, 336, 0x00},
        {"layout read past the end", 15, 42, 337, 0xFF},
        {"key colours, last 54 bytes", 17, 54, 1482, 0x00},
        {"key colours past the end", 17, 54, 1483, 0xFF},
        {"key colours of 57", 17, 57, 0, 0xFF},
        {"unknown code 0", 0, 0, 0, 0xFF},
        {"unknown code 11", 11, 0, 0, 0xFF},
        {"unknown code 16", 16, 0, 0, 0xFF},
        {"unknown code 0x2C", 0x2C, 0, 0, 0xFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VirtualKeyboard keyboard;
        const KeyboardMemory before = keyboard.Memory();
        const Bytes reply =
            Exchange(keyboard, MakeReport(c.code, c.length, c.address, Pattern(56, 1)));
        EXPECT_EQ(reply[3], c.code);
        EXPECT_EQ(Status(reply), c.status);
        if (c.status != 0x00) {
            EXPECT_EQ(keyboard.Memory(), before);
        }
    }
}

TEST(FirmwareCommands, InfoWriteWithProfileAbove2IsRefused) {
    VirtualKeyboard keyboard;
    Bytes block = Data(Exchange(keyboard, MakeReport(3, 44, 0)), 44);
    block[0] = 0x99;
    block[10] = 3;
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(4, 44, 0, block))), 0xFF);
    EXPECT_EQ(keyboard.Info()[0], 'K');
    EXPECT_EQ(keyboard.CurrentProfile(), 0);
}

TEST(FirmwareCommands, WrongChecksumIsRefusedAndChangesNothing) {
    VirtualKeyboard keyboard;
    const KeyboardMemory before = keyboard.Memory();
    for (std::size_t byte : {1, 2}) {
        Bytes report = MakeReport(6, 3, 0, Bytes{9, 9, 9});
        report[byte] ^= 0x01;
        const Bytes reply = Exchange(keyboard, report);
        EXPECT_EQ(reply[3], 6);
        EXPECT_EQ(Status(reply), 0xFF);
    }
    // A data byte changed after the checksum was computed.
    Bytes report = MakeReport(6, 3, 0, Bytes{9, 9, 9});
    report[8] = 10;
    EXPECT_EQ(Status(Exchange(keyboard, report)), 0xFF);
    EXPECT_EQ(keyboard.Memory(), before);
}

TEST(FirmwareCommands, MalformedReportsAreRefused) {
    VirtualKeyboard keyboard;
    Bytes shortReport = MakeReport(1, 0, 0);
    shortReport.resize(63);
    EXPECT_EQ(Status(Exchange(keyboard, shortReport)), 0xFF);
    Bytes otherId = MakeReport(1, 0, 0);
    otherId[0] = 0x05;
    EXPECT_EQ(Status(Exchange(keyboard, otherId)), 0xFF);
    EXPECT_EQ(Status(Exchange(keyboard, Bytes{})), 0xFF);
    EXPECT_FALSE(keyboard.ConfigOpen());
}

TEST(FirmwareCommands, BootReportEntersBootModeWithoutReply) {
    VirtualKeyboard keyboard;
    Bytes boot(64, 0);
    boot[0] = 0x04;
    boot[3] = 0xEE;
    boot[4] = 0xEE;
    EXPECT_TRUE(keyboard.HandleReport(boot).empty());
    EXPECT_TRUE(keyboard.BootMode());
    // The loader takes no configuration commands.
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(3, 44, 0))), 0xFF);
    keyboard.Unplug();
    keyboard.Plug();
    EXPECT_FALSE(keyboard.BootMode());
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(3, 44, 0))), 0x00);
}

TEST(FirmwareCommands, NearBootReportsAreOrdinaryCommands) {
    VirtualKeyboard keyboard;
    Bytes withChecksum = MakeReport(0xEE, 0xEE, 0); // checksum bytes set: not the boot report
    EXPECT_EQ(Status(Exchange(keyboard, withChecksum)), 0xFF);
    Bytes trailing(64, 0);
    trailing[0] = 0x04;
    trailing[3] = 0xEE;
    trailing[4] = 0xEE;
    trailing[63] = 1;
    EXPECT_EQ(Status(Exchange(keyboard, trailing)), 0xFF);
    EXPECT_FALSE(keyboard.BootMode());
}

TEST(FirmwareCommands, LogKeepsReportsAndBankWritesInOrder) {
    VirtualKeyboard keyboard;
    const Bytes report = MakeReport(1, 0, 0);
    keyboard.HandleReport(report);
    keyboard.HandleBankWrite(Bytes{0x05, 0x03});
    const auto log = keyboard.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].kind, LogEntry::Kind::Report);
    EXPECT_EQ(log[0].bytes, report);
    EXPECT_EQ(log[1].kind, LogEntry::Kind::BankWrite);
    EXPECT_EQ(log[1].bytes, (Bytes{0x05, 0x03}));
    EXPECT_EQ(log[1].sequence, 1u);

    for (std::size_t i = 0; i < kLogCapacity; ++i) {
        keyboard.HandleReport(report);
    }
    const auto full = keyboard.Log();
    EXPECT_EQ(full.size(), kLogCapacity);
    EXPECT_EQ(full.front().sequence, 2u);
    EXPECT_EQ(full.back().sequence, kLogCapacity + 1);
    EXPECT_EQ(keyboard.ReportsReceived(), kLogCapacity + 1);
    keyboard.ClearLog();
    EXPECT_TRUE(keyboard.Log().empty());
}

TEST(FirmwareCommands, BankWriteSetsTheBankAndOthersAreIgnored) {
    VirtualKeyboard keyboard;
    keyboard.HandleBankWrite(Bytes{0x05, 0x03});
    EXPECT_EQ(keyboard.GBank(), 1);
    keyboard.HandleBankWrite(Bytes{0x05, 0x01});
    keyboard.HandleBankWrite(Bytes{0x04, 0x02});
    keyboard.HandleBankWrite(Bytes{0x05, 0x02, 0x00});
    EXPECT_EQ(keyboard.GBank(), 1);
    keyboard.HandleBankWrite(Bytes{0x05, 0x02});
    EXPECT_EQ(keyboard.GBank(), 0);
}

TEST(FirmwareCommands, MacroMemorySizeFollowsTheInfoBlock) {
    VirtualKeyboard keyboard;
    keyboard.SetMacroUnits(1);
    EXPECT_EQ(Data(Exchange(keyboard, MakeReport(3, 44, 0)), 44)[11], 1);
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(10, 56, 72))), 0x00);
    EXPECT_EQ(Status(Exchange(keyboard, MakeReport(10, 56, 73))), 0xFF);
    keyboard.SetEffectList(Bytes{20, 0, 3});
    const Bytes info = Data(Exchange(keyboard, MakeReport(3, 44, 0)), 44);
    EXPECT_EQ(Bytes(info.begin() + 12, info.begin() + 16), (Bytes{20, 0, 3, 0}));
}

} // namespace
} // namespace kovrel::firmware::test

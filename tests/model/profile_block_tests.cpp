// Building the keyboard's key block from key records and reading it back.

#include "device/default_layout.h"
#include "model/key_usage.h"
#include "model/media_keys.h"
#include "model/profile_block.h"

#include <gtest/gtest.h>

namespace kovrel {
namespace {

const ProfileBlock& Layout() {
    return device::BuiltInDefaultLayout();
}

// The slot of the built-in layout that belongs to a key.
int SlotOf(KeyId key) {
    for (int s = 0; s < kProfileSlots; ++s) {
        if (SlotKey(SlotAction(Layout(), s)) == key) {
            return s;
        }
    }
    ADD_FAILURE() << "no slot for key " << key;
    return 0;
}

constexpr KeyId kKeyA = 0x01E;

KeyAction EncodeOne(KeyRecord record, std::vector<MacroRecord> macros = {}) {
    Configuration configuration = EmptyConfiguration();
    configuration.macros = std::move(macros);
    configuration.Record(1, KeyIndexOf(kKeyA)) = record;
    ProfileBlock block;
    EncodeProfileBlock(configuration, 1, Layout(), block);
    return SlotAction(block, SlotOf(kKeyA));
}

KeyRecord Assigned(AssignmentKind kind, std::uint32_t value = 0) {
    KeyRecord record;
    record.Set(kind, value);
    return record;
}

TEST(SlotKey, ReadsEachPageAndNothingElse) {
    EXPECT_EQ(SlotKey({2, 2, 0x04}), kKeyA);
    EXPECT_EQ(SlotKey({2, 1, 0x10}), 0x11D);    // right Ctrl, a modifier bit
    EXPECT_EQ(SlotKey({3, 0xE2, 0x00}), 0x120); // mute, consumer page
    EXPECT_EQ(SlotKey({4, 0x81, 0x00}), 0x15E); // power, generic desktop page
    EXPECT_EQ(SlotKey({5, 1, 0}), kNoKey);
    EXPECT_EQ(SlotKey({0, 0, 0}), kNoKey);
    // Both "=" slots of the layout belong to the same key.
    EXPECT_EQ(SlotKey(SlotAction(Layout(), 54)), 0x00D);
    EXPECT_EQ(SlotKey(SlotAction(Layout(), 105)), 0x00D);
}

struct EncodeCase {
    const char* what;
    KeyRecord record;
    KeyAction expected;
};

TEST(EncodeProfileBlock, EachKindWritesItsKeyAction) {
    const KeyAction unchanged = SlotAction(Layout(), SlotOf(kKeyA));
    const std::vector<MacroRecord> macros = {MacroRecord{u"one", 1, 0, 7, {}},
                                             MacroRecord{u"two", 1, 0, 3, {}}};
    const EncodeCase cases[] = {
        {"default", Assigned(AssignmentKind::Default), unchanged},
        {"disabled", Assigned(AssignmentKind::Disabled), {0, 0, 0}},
        {"launch program keeps the slot", Assigned(AssignmentKind::LaunchProgram, 40), unchanged},
        {"text block", Assigned(AssignmentKind::TextBlock, 8), {0, 0, 0}},
        {"key B", Assigned(AssignmentKind::Key, 0x030), {2, 2, 0x05}},
        {"modifier key right Ctrl", Assigned(AssignmentKind::Key, 0x11D), {2, 1, 0x10}},
        {"media key as a key has no keyboard usage",
         Assigned(AssignmentKind::Key, 0x16D),
         {2, 2, 0}},
        {"macro by position", Assigned(AssignmentKind::Macro, 3), {5, 1, 1}},
        {"macro id not in the list", Assigned(AssignmentKind::Macro, 9), {5, 1, 0}},
        {"stop macro", Assigned(AssignmentKind::StopMacro), {5, 2, 0}},
        {"media mute", Assigned(AssignmentKind::Media, MediaIndexOfKey(0x120)), {3, 0xE2, 0}},
        {"office function", Assigned(AssignmentKind::Function, 10), {5, 5, 10}},
        {"unknown kind", Assigned(static_cast<AssignmentKind>(9), 1), unchanged},
        // Values that index no table entry leave the slot alone.
        {"media index 18", Assigned(AssignmentKind::Media, 18), unchanged},
        {"office function 11", Assigned(AssignmentKind::Function, 11), unchanged},
        {"key id above the table", Assigned(AssignmentKind::Key, 0x180), unchanged},
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(EncodeOne(c.record, macros), c.expected) << c.what;
    }
}

TEST(EncodeProfileBlock, OnlyTheEncodedAreaCountsAndGRecordsAreNotSent) {
    Configuration configuration = EmptyConfiguration();
    configuration.Record(0, KeyIndexOf(kKeyA)).Set(AssignmentKind::Disabled);
    configuration.Record(2, GRecordNumber(0, 1)).Set(AssignmentKind::Disabled);
    ProfileBlock block;
    EncodeProfileBlock(configuration, 2, Layout(), block);
    EXPECT_EQ(block, Layout());
}

TEST(DecodeProfileBlock, TheDefaultLayoutGivesDefaultRecordsWithGCodes) {
    std::array<KeyRecord, kAreaRecords> area;
    area.fill(Assigned(AssignmentKind::Disabled, 5));
    DecodeProfileBlock(Layout(), Layout(), area);
    for (int r = 0; r < kAreaRecords; ++r) {
        EXPECT_TRUE(area[r].Is(AssignmentKind::Default)) << r;
        EXPECT_EQ(area[r].value, 0u) << r;
    }
    EXPECT_EQ(area[256].aux, 0x0301);
    EXPECT_EQ(area[264].aux, 0x0309);
    EXPECT_EQ(area[265].aux, 0x1301);
    EXPECT_EQ(area[273].aux, 0x1309);
    EXPECT_EQ(area[274].aux, 0);
}

struct DecodeCase {
    KeyAction slot;
    AssignmentKind kind;
    std::uint32_t value;
};

TEST(DecodeProfileBlock, EachKeyActionGivesItsAssignment) {
    const DecodeCase cases[] = {
        {{5, 1, 3}, AssignmentKind::Macro, 4},
        {{5, 2, 0}, AssignmentKind::StopMacro, 0},
        {{5, 5, 7}, AssignmentKind::Function, 7},
        {{3, 0xE9, 0}, AssignmentKind::Media, 6},
        {{3, 0x00, 1}, AssignmentKind::Disabled, 0}, // usage 0x100 is no media usage
        {{2, 2, 0x05}, AssignmentKind::Key, 0x030},
        {{2, 2, 0xE8}, AssignmentKind::Disabled, 0}, // a usage no key has
        {{2, 1, 0x40}, AssignmentKind::Key, 0x138},  // right Alt
        {{0, 0, 0}, AssignmentKind::Disabled, 0},
        {{4, 0x81, 0}, AssignmentKind::Disabled, 0},
    };
    for (const DecodeCase& c : cases) {
        ProfileBlock block = Layout();
        const int s = SlotOf(kKeyA);
        std::copy(c.slot.begin(), c.slot.end(), block.begin() + 3 * s);
        std::array<KeyRecord, kAreaRecords> area;
        DecodeProfileBlock(block, Layout(), area);
        const KeyRecord& record = area[KeyIndexOf(kKeyA)];
        EXPECT_EQ(record.kind, static_cast<std::uint16_t>(c.kind))
            << int(c.slot[0]) << " " << int(c.slot[1]) << " " << int(c.slot[2]);
        EXPECT_EQ(record.value, c.value);
    }
}

TEST(ProfileBlock, EncodedAssignmentsDecodeToThemselves) {
    Configuration configuration = EmptyConfiguration();
    configuration.macros = {MacroRecord{u"m", 1, 0, 1, {}}, MacroRecord{u"n", 1, 0, 2, {}}};
    auto& area = configuration;
    area.Record(0, KeyIndexOf(0x01E)).Set(AssignmentKind::Key, 0x030);
    area.Record(0, KeyIndexOf(0x030)).Set(AssignmentKind::Disabled);
    area.Record(0, KeyIndexOf(0x02E)).Set(AssignmentKind::Macro, 2);
    area.Record(0, KeyIndexOf(0x020)).Set(AssignmentKind::StopMacro);
    area.Record(0, KeyIndexOf(0x012)).Set(AssignmentKind::Media, 3);
    area.Record(0, KeyIndexOf(0x021)).Set(AssignmentKind::Function, 4);
    area.Record(0, KeyIndexOf(0x022)).Set(AssignmentKind::Key, 0x11D);
    ProfileBlock block;
    EncodeProfileBlock(configuration, 0, Layout(), block);
    std::array<KeyRecord, kAreaRecords> decoded;
    DecodeProfileBlock(block, Layout(), decoded);
    for (int r = 0; r < kKeyRecords; ++r) {
        EXPECT_EQ(decoded[r], configuration.Record(0, r)) << r;
    }
}

} // namespace
} // namespace kovrel

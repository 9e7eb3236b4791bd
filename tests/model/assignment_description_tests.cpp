// Tool-tip texts of the key and G buttons.

#include "model/assignment_description.h"
#include "model/key_usage.h"
#include "model/media_keys.h"
#include "skin/core/language_table.h"

#include <gtest/gtest.h>

namespace kovrel {
namespace {

KeyRecord Assigned(AssignmentKind kind, std::uint32_t value = 0) {
    KeyRecord record;
    record.Set(kind, value);
    return record;
}

class DescribeAssignmentTest : public ::testing::Test {
protected:
    DescribeAssignmentTest() { ResetLanguageTable(); }
    std::vector<MacroRecord> macros = {MacroRecord{u"Combo", 1, 0, 5, {}}};
};

TEST_F(DescribeAssignmentTest, DefaultIsJustTheName) {
    const auto d = DescribeKeyAssignment(0x01E, KeyRecord{}, macros);
    EXPECT_EQ(d.toolTip, KeyName(0x01E));
    EXPECT_FALSE(d.assigned);
}

TEST_F(DescribeAssignmentTest, EachKindAddsItsPart) {
    const std::u16string set = u"G3" + LanguageText("KEY_PROMPT_SET");
    struct Case {
        KeyRecord record;
        std::u16string expected;
    };
    const Case cases[] = {
        {Assigned(AssignmentKind::Media, 7), set + u"Media(" + MediaKeyName(7) + u")"},
        {Assigned(AssignmentKind::Key, 0x030), set + u"Key(" + KeyName(0x030) + u")"},
        {Assigned(AssignmentKind::Macro, 5), set + u"Macro(Combo)"},
        {Assigned(AssignmentKind::Macro, 6), set + u"Macro()"},
        {Assigned(AssignmentKind::Function, 4), set + u"Function(Copy)"},
        {Assigned(AssignmentKind::Disabled), set},
        {Assigned(AssignmentKind::TextBlock), set},
        // Values that name nothing are described with an empty name.
        {Assigned(AssignmentKind::Media, 18), set + u"Media()"},
        {Assigned(AssignmentKind::Function, 11), set + u"Function()"},
        {Assigned(AssignmentKind::Key, 0x180), set + u"Key()"},
    };
    for (const Case& c : cases) {
        const auto d = DescribeGAssignment(3, c.record, macros);
        EXPECT_EQ(d.toolTip, c.expected) << c.record.kind << " " << c.record.value;
        EXPECT_TRUE(d.assigned);
    }
}

} // namespace
} // namespace kovrel

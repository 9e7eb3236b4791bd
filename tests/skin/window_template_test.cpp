// A window's template: controls made from the table, commands dispatched by id.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include <vector>

#include "skin/widgets/png_button.h"
#include "skin/widgets/skin_color_btn.h"
#include "skin/widgets/window_template.h"
#include "widget_test_support.h"

namespace kovrel::skin {
namespace {

class Marker : public QLabel {
public:
    using QLabel::QLabel;
};

constexpr ControlTemplate kControls[] = {
    {1, ControlKind::PushButton, true},
    {1135, ControlKind::ImageButton, true},
    {1152, ControlKind::ColorButton, false},
    {1177, ControlKind::Label, false},
    {1300, ControlKind::Custom, true, &CreateControl<Marker>},
};

TEST(WindowTemplate, CreatesTheControlsOfTheTable) {
    QWidget window;
    WindowTemplate layout(&window);
    layout.Create(kControls);

    ASSERT_NE(layout.ControlAs<CPngButton>(1135), nullptr);
    ASSERT_NE(layout.ControlAs<CSkinColorBtn>(1152), nullptr);
    ASSERT_NE(layout.ControlAs<QPushButton>(1), nullptr);
    ASSERT_NE(dynamic_cast<Marker*>(layout.Control(1300)), nullptr);
    EXPECT_EQ(layout.Control(9999), nullptr);
    EXPECT_EQ(layout.Control(1135)->parentWidget(), &window);
    EXPECT_EQ(WindowTemplate::ControlId(layout.Control(1177)), 1177);

    EXPECT_FALSE(layout.Control(1152)->isVisibleTo(&window));
    EXPECT_FALSE(layout.Control(1177)->isVisibleTo(&window));
    EXPECT_TRUE(layout.Control(1135)->isVisibleTo(&window));

    // Opening again makes no second set and gives back the initial visibility.
    QWidget* button = layout.Control(1135);
    layout.Control(1177)->show();
    layout.Create(kControls);
    EXPECT_EQ(layout.Control(1135), button);
    EXPECT_FALSE(layout.Control(1177)->isVisibleTo(&window));
    EXPECT_EQ(window.findChildren<CPngButton*>().size(), 1);
}

TEST(WindowTemplate, DispatchesCommandsById) {
    QWidget window;
    WindowTemplate layout(&window);
    layout.Create(kControls);
    std::vector<int> commands;
    for (int id : {1, 1135, 1152, 32773}) {
        layout.OnCommand(id, [&commands, id] { commands.push_back(id); });
    }

    test::Click(*layout.Control(1135));
    layout.ControlAs<QPushButton>(1)->click();
    layout.ControlAs<CSkinColorBtn>(1152)->SetColor(0x123456); // not a user's choice
    layout.ControlAs<CSkinColorBtn>(1152)->ShowPopup();        // the user's choice
    layout.ControlAs<CSkinColorBtn>(1152)->Popup()->ChooseSwatch(0);
    EXPECT_TRUE(layout.Dispatch(32773)); // a menu command
    EXPECT_FALSE(layout.Dispatch(32999));
    EXPECT_EQ(commands, (std::vector<int>{1135, 1, 1152, 32773}));
}

} // namespace
} // namespace kovrel::skin

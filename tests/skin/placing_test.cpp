// Placing controls from a skin file.

#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>

#include "skin/widgets/png_button.h"
#include "skin/widgets/skin_placing.h"
#include "skin_fixture.h"

namespace kovrel::skin {
namespace {

using test::SolidPicture;
using test::TempSkin;

class PlacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_file = m_skin.WriteText("Main.ini", "[BUTTONINFO]\n"
                                              "KEY_01E=100, 50, 30, 20\n"
                                              "FUNC_G1=1,1,40,20\n"
                                              "CONTROL_UsbStatic=20,30,60,15,extra\n"
                                              "CONTROL_BLFXStatic2=50,60,1,1\n"
                                              "LEFT_ARROW=200,10,16,16\n"
                                              "[BUTTONINFO2]\n"
                                              "UP_ARROW_LEFT1=32,0,16,16\n");
    }

    TempSkin m_skin;
    std::filesystem::path m_file;
    QWidget m_window;
    QImage m_picture = SolidPicture(400, 300, Qt::red);
    SkinFaces m_faces{&m_picture, &m_picture, &m_picture, &m_picture, &m_picture};
};

TEST_F(PlacingTest, MissingKeyDisablesOnlyThatButton) {
    CPngButton missing(&m_window);
    CPngButton present(&m_window);
    PlaceImageButton(missing, m_file, u"BUTTONINFO", u"KEY_030", m_faces);
    PlaceImageButton(present, m_file, u"BUTTONINFO", u"KEY_01E", m_faces);

    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(missing.isEnabled());
    EXPECT_EQ(present.geometry(), QRect(100, 50, 30, 20));
    EXPECT_TRUE(present.isEnabled());
    EXPECT_EQ(present.FaceOrigin(), QPoint(100, 50));
}

TEST_F(PlacingTest, ButtonAtOneOneIsDisabledWhateverItsSize) {
    CPngButton button(&m_window);
    PlaceImageButton(button, m_file, u"BUTTONINFO", u"FUNC_G1", m_faces);
    EXPECT_EQ(button.geometry(), QRect(1, 1, 40, 20));
    EXPECT_FALSE(button.isEnabled());
}

TEST_F(PlacingTest, WholeFileMissingDisablesEveryImageButton) {
    CPngButton button(&m_window);
    PlaceImageButton(button, m_skin.File("Gone.ini"), u"BUTTONINFO", u"KEY_01E", m_faces);
    EXPECT_EQ(button.geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(button.isEnabled());
}

TEST_F(PlacingTest, PlaceControlNeverDisables) {
    QLabel placed(&m_window);
    QLabel missing(&m_window);
    PlaceControl(placed, m_file, u"BUTTONINFO", u"CONTROL_UsbStatic");
    PlaceControl(missing, m_file, u"BUTTONINFO", u"CONTROL_Nothing");
    EXPECT_EQ(placed.geometry(), QRect(20, 30, 60, 15));
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_TRUE(missing.isEnabled());
}

TEST_F(PlacingTest, MoveControlKeepsTheSize) {
    QLabel label(&m_window);
    label.setGeometry(5, 5, 70, 25);
    MoveControl(label, m_file, u"BUTTONINFO", u"CONTROL_BLFXStatic2");
    EXPECT_EQ(label.geometry(), QRect(50, 60, 70, 25));
}

TEST_F(PlacingTest, ArrowButtonTakesItsFacesFromTheArrowPicture) {
    CPngButton arrow(&m_window);
    CPngButton missing(&m_window);
    PlaceArrowButton(arrow, m_file, u"BUTTONINFO", u"LEFT_ARROW", u"BUTTONINFO2", u"UP_ARROW_LEFT1",
                     &m_picture);
    PlaceArrowButton(missing, m_file, u"BUTTONINFO", u"RIGHT_ARROW", u"BUTTONINFO2",
                     u"DOWN_ARROW_LEFT1", &m_picture);
    EXPECT_EQ(arrow.geometry(), QRect(200, 10, 16, 16));
    EXPECT_EQ(arrow.FaceOrigin(), QPoint(32, 0));
    EXPECT_TRUE(arrow.isEnabled());
    // Never disabled, even where the skin has no such keys.
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_TRUE(missing.isEnabled());
}

} // namespace
} // namespace kovrel::skin

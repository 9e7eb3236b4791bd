// The image button: faces, the copy origin, colour and frame modes, captions, mouse and tool
// tip.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QSignalSpy>

#include <cmath>
#include <vector>

#include "skin/widgets/caption_layout.h"
#include "skin/widgets/png_button.h"
#include "skin/widgets/skin_tool_tip.h"
#include "skin_fixture.h"
#include "widget_test_support.h"

namespace kovrel::skin {
namespace {

using Face = CPngButton::Face;
using test::PixelOf;
using test::SolidPicture;

class PngButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.resize(300, 200);
        m_button = new CPngButton(&m_window);
        m_button->setGeometry(100, 50, 30, 20);
        m_button->SetSkinImages(100, 50, &m_normal, &m_hover, &m_pressed, &m_disabled, &m_checked);
        m_button->SetColorModeImages(&m_colorA, &m_colorB, false, false);
        m_window.show();
    }

    // Rests the mouse on the button until it reports hover.
    bool Hover() {
        test::SendMouse(*m_button, QEvent::MouseMove, {5, 5});
        return test::WaitUntil([&] { return m_button->IsHover(); });
    }

    QImage m_normal = SolidPicture(400, 300, QColor(10, 10, 10));
    QImage m_hover = SolidPicture(400, 300, QColor(20, 20, 20));
    QImage m_pressed = SolidPicture(400, 300, QColor(30, 30, 30));
    QImage m_disabled = SolidPicture(400, 300, QColor(40, 40, 40));
    QImage m_checked = SolidPicture(400, 300, QColor(50, 50, 50));
    QImage m_colorA = SolidPicture(400, 300, QColor(60, 60, 60));
    QImage m_colorB = SolidPicture(400, 300, QColor(70, 70, 70));
    QWidget m_window;
    CPngButton* m_button = nullptr;
};

TEST_F(PngButtonTest, FaceChoiceFirstMatchWins) {
    struct Case {
        const char* name;
        bool disabled, colorMode, selectorB, pressed, hover, checked;
        Face expected;
        QColor pixel;
    };
    const Case cases[] = {
        {"resting", false, false, false, false, false, false, Face::Normal, {10, 10, 10}},
        {"checked", false, false, false, false, false, true, Face::Checked, {50, 50, 50}},
        {"checked under the mouse shows hover",
         false,
         false,
         false,
         false,
         true,
         true,
         Face::Hover,
         {20, 20, 20}},
        {"pressed", false, false, false, true, true, true, Face::Pressed, {30, 30, 30}},
        {"colour mode wins over pressed",
         false,
         true,
         false,
         true,
         true,
         true,
         Face::ColorA,
         {60, 60, 60}},
        {"colour mode picture B",
         false,
         true,
         true,
         true,
         false,
         false,
         Face::ColorB,
         {70, 70, 70}},
        {"disabled under the mouse and checked",
         true,
         false,
         false,
         false,
         true,
         true,
         Face::Disabled,
         {40, 40, 40}},
        {"disabled in colour mode",
         true,
         true,
         true,
         false,
         false,
         false,
         Face::Disabled,
         {40, 40, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_button->setEnabled(true);
        m_button->SetColorModeImages(&m_colorA, &m_colorB, c.colorMode, c.selectorB);
        if (c.hover) {
            ASSERT_TRUE(Hover());
        }
        m_button->setDown(c.pressed);
        m_button->SetChecked(c.checked, false);
        m_button->setEnabled(!c.disabled);
        EXPECT_EQ(m_button->ChosenFace(), c.expected);
        EXPECT_EQ(PixelOf(*m_button, {3, 3}), c.pixel);
        m_button->setDown(false);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(m_button, &leave);
    }
}

TEST_F(PngButtonTest, FaceIsCopiedFromOnePixelUpAndLeftOfTheOrigin) {
    QImage picture = SolidPicture(400, 300, Qt::white);
    picture.setPixel(99, 49, 0xFFFF0000);
    picture.setPixel(100, 50, 0xFF00FF00);
    m_button->SetSkinImages(100, 50, &picture, &picture, &picture, &picture, &picture);
    const QImage shown = m_button->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::green));
    EXPECT_EQ(shown.pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(PngButtonTest, NewFacesClearHoverPressedAndTracking) {
    ASSERT_TRUE(Hover());
    m_button->setDown(true);
    EXPECT_TRUE(m_button->IsTracking());
    m_button->SetStateImages(&m_normal, &m_hover, &m_pressed, &m_disabled, &m_checked);
    EXPECT_FALSE(m_button->IsHover());
    EXPECT_FALSE(m_button->IsTracking());
    EXPECT_FALSE(m_button->isDown());
    EXPECT_EQ(m_button->FaceOrigin(), QPoint(100, 50));
}

TEST_F(PngButtonTest, EmptyFaceKeepsWhatTheButtonShowed) {
    EXPECT_EQ(PixelOf(*m_button, {3, 3}), QColor(10, 10, 10));
    m_button->SetStateImages(nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(PixelOf(*m_button, {3, 3}), QColor(10, 10, 10));
}

TEST_F(PngButtonTest, FrameAmountIsCappedWhileTheFrameIsOn) {
    m_button->SetFrameMode(0x0000FF, 250, true);
    EXPECT_EQ(m_button->FrameAmount(), 100);
    EXPECT_TRUE(m_button->IsFrameMode());
    m_button->SetFrameMode(0x0000FF, 250, false);
    EXPECT_EQ(m_button->FrameAmount(), 250);
    m_button->SetFrameMode(0x0000FF, 60, true);
    EXPECT_EQ(m_button->FrameAmount(), 60);
}

TEST_F(PngButtonTest, FrameIsDrawnOverTheOldFaceInsteadOfANewOne) {
    PixelOf(*m_button, {3, 3});
    m_button->SetFrameMode(0x0000FF, 10, true); // red
    const QImage shown = m_button->grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(10, 10, 10)); // inside: the old face
}

TEST_F(PngButtonTest, DoubleClickIsTwoClicks) {
    QSignalSpy clicked(m_button, &QAbstractButton::clicked);
    const QPoint at(5, 5);
    test::SendMouse(*m_button, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(*m_button, QEvent::MouseButtonRelease, at);
    test::SendMouse(*m_button, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    test::SendMouse(*m_button, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(PngButtonTest, PaintCallbackToldWhetherTheNormalFaceShowed) {
    std::vector<bool> calls;
    m_button->SetPaintCallback([&](CPngButton* button, bool normal) {
        EXPECT_EQ(button, m_button);
        calls.push_back(normal);
    });
    m_button->grab();
    m_button->SetChecked(true, false);
    m_button->grab();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_TRUE(calls.front());
    EXPECT_FALSE(calls.back());
}

TEST_F(PngButtonTest, ToolTipShowsAtOnceOnHoverWithTheAutomaticDelays) {
    m_button->SetTooltipText(QString(), true); // an empty text changes nothing
    EXPECT_EQ(m_button->ToolTip(), nullptr);

    m_button->SetTooltipText(QStringLiteral("Minimize"), true);
    ASSERT_NE(m_button->ToolTip(), nullptr);
    EXPECT_EQ(m_button->ToolTip()->InitialDelay(), 2000);
    EXPECT_EQ(m_button->ToolTip()->AutoPopDelay(), 20000);
    EXPECT_EQ(m_button->ToolTip()->ReshowDelay(), 400);
    EXPECT_TRUE(m_button->ToolTip()->HasTool());

    ASSERT_TRUE(Hover());
    CSkinToolTip* tip = m_button->ToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->Text(), QStringLiteral("Minimize"));
    EXPECT_TRUE(tip->IsShown());
    EXPECT_EQ(tip->InitialDelay(), 2000);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(m_button, &leave);
    EXPECT_FALSE(m_button->IsHover());
    EXPECT_FALSE(m_button->IsTracking());
    EXPECT_FALSE(tip->IsShown());
}

TEST(CaptionLayout, RotatedCaptionPlacement) {
    // 268 tenths of a degree, text 40 x 12 in a 100 x 30 rectangle:
    // theta = 26.8 degrees, W = trunc(40 cos) = 35, H = trunc(40 sin) = 18;
    // left += (100 - 35) / 2 - trunc(6 sin) = 32 - 2; bottom -= (30 - 18) / 2 - trunc(-6 cos) = 6
    // + 5.
    const CaptionRect moved = RotatedCaptionRect({0, 0, 100, 30}, 40, 12, 268);
    EXPECT_EQ(moved, (CaptionRect{30, 0, 100, 19}));

    // A text wider than the rectangle keeps its left edge.
    EXPECT_EQ(RotatedCaptionRect({0, 0, 30, 30}, 40, 12, 268).left, 0);
}

TEST_F(PngButtonTest, RotatedCaptionMovesByHalfTheSpareWidthLessHalfTheHeightTimesSin) {
    m_button->setGeometry(100, 50, 120, 40);
    m_button->setText(QStringLiteral("Ab"));
    m_button->SetCaptionFont(true, 9, QStringLiteral("Tahoma"), 0xFFFFFF);
    m_button->SetCaptionMargins(2, -2, 0, 0);
    m_button->SetCaptionAngle(268, true);

    const QFontMetrics metrics(m_button->CaptionFont());
    const int cx = metrics.horizontalAdvance(QStringLiteral("Ab"));
    const int cy = metrics.height();
    const double theta = 26.8 * 3.1415927 / 180.0;
    const int W = static_cast<int>(std::trunc(cx * std::cos(theta)));
    const int width = 120 - 2 - 2;
    ASSERT_LT(W, width);
    const int expectedLeft =
        2 + (width - W) / 2 - static_cast<int>(std::trunc(0.5 * cy * std::sin(theta)));
    EXPECT_EQ(m_button->CaptionTextRect().left, expectedLeft);
    EXPECT_EQ(m_button->CaptionFont().weight(), 956);
    m_button->grab(); // draws without trouble
}

TEST(CaptionLayout, FormatFlags) {
    EXPECT_EQ(caption_format::kDefault, 0x25u);
    const int flags = QtTextFlags(caption_format::kDefault);
    EXPECT_TRUE(flags & Qt::AlignHCenter);
    EXPECT_TRUE(flags & Qt::AlignVCenter);
    EXPECT_TRUE(flags & Qt::TextSingleLine);
    const CaptionOrigin origin = CaptionTextOrigin({0, 0, 100, 30}, 40, 10, 0x25);
    EXPECT_EQ(origin.x, 30);
    EXPECT_EQ(origin.y, 10);
}

} // namespace
} // namespace kovrel::skin

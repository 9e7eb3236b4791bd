// The colour button: its drawing, the palette, the "other" colour and the notification.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "skin/widgets/color_palette_popup.h"
#include "skin/widgets/skin_color_btn.h"
#include "skin/widgets/window_template.h"
#include "widget_test_support.h"

namespace kovrel::skin {
namespace {

class ColorButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.resize(200, 100);
        m_button = new CSkinColorBtn(&m_window);
        m_button->setGeometry(10, 10, 60, 20);
        m_button->SetColumnsNumber(10);
        m_button->EnableOtherButton(QStringLiteral("other"));
        m_window.show();
    }

    QWidget m_window;
    CSkinColorBtn* m_button = nullptr;
};

TEST_F(ColorButtonTest, DrawsSwatchGreyBoxAndArrow) {
    m_button->SetColor(MakeColorRef(255, 0, 0));
    const QImage shown = m_button->grab().toImage();
    // Swatch: left of (60 + 1) / 2 + 5 = 35.
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::red));
    // Drop-down box from 60 / 2 + 3 = 33 to the right edge, grey 0x94, 0x92, 0x8B.
    EXPECT_EQ(shown.pixelColor(45, 5), QColor(0x94, 0x92, 0x8B));
    // Arrow: (right - 11, middle - 2) .. (right - 5, middle - 2) .. (right - 8, middle + 1) with
    // right = 61 and middle = 10.
    EXPECT_EQ(shown.pixelColor(53, 9), QColor(Qt::black));

    // "Automatic" shows no colour in the swatch.
    m_button->SetColor(CSkinColorBtn::kAutomatic);
    EXPECT_NE(test::PixelOf(*m_button, {10, 10}), QColor(Qt::red));
    m_button->SetAutomaticColor(MakeColorRef(0, 0, 255));
    EXPECT_EQ(m_button->ShownColor(), MakeColorRef(0, 0, 255));
}

TEST_F(ColorButtonTest, PaletteHasTenColumnsAndAnOtherButton) {
    test::Click(*m_button);
    ColorPalettePopup* popup = m_button->Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Columns(), 10);
    EXPECT_EQ(popup->SwatchCount(), 20);
    EXPECT_TRUE(popup->HasOtherButton());
}

TEST_F(ColorButtonTest, ChoosingASwatchChangesTheColourAndTellsTheWindow) {
    m_button->SetPaletteColors({MakeColorRef(1, 2, 3), MakeColorRef(4, 5, 6)});
    QSignalSpy changed(m_button, &CSkinColorBtn::colorChanged);
    m_button->SetColor(MakeColorRef(9, 9, 9)); // a program change tells nobody
    EXPECT_EQ(changed.count(), 0);

    m_button->ShowPopup();
    ASSERT_NE(m_button->Popup(), nullptr);
    m_button->Popup()->ChooseSwatch(1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().front().value<ColorRef>(), MakeColorRef(4, 5, 6));
    EXPECT_EQ(m_button->GetColor(), MakeColorRef(4, 5, 6));
    EXPECT_TRUE(test::WaitUntil([&] { return m_button->Popup() == nullptr; }));
}

TEST_F(ColorButtonTest, OtherOpensTheColourDialogAndClosesThePalette) {
    QColor offered;
    int answers = 0;
    m_button->SetColor(MakeColorRef(0, 128, 0));
    m_button->SetOtherColorChooser([&](const QColor& initial, QWidget*) -> std::optional<QColor> {
        offered = initial;
        return ++answers == 1 ? std::optional<QColor>(QColor(12, 34, 56)) : std::nullopt;
    });
    QSignalSpy changed(m_button, &CSkinColorBtn::colorChanged);

    m_button->ShowPopup();
    m_button->Popup()->ChooseOther();
    EXPECT_EQ(offered, QColor(0, 128, 0));
    EXPECT_EQ(m_button->GetColor(), MakeColorRef(12, 34, 56));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(test::WaitUntil([&] { return m_button->Popup() == nullptr; }));

    // Cancelled: nothing changes, the palette still closes.
    m_button->ShowPopup();
    m_button->Popup()->ChooseOther();
    EXPECT_EQ(m_button->GetColor(), MakeColorRef(12, 34, 56));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(test::WaitUntil([&] { return m_button->Popup() == nullptr; }));
}

TEST_F(ColorButtonTest, LosingTheFocusClearsPressAndHover) {
    test::SendMouse(*m_button, QEvent::MouseMove, {5, 5});
    EXPECT_TRUE(m_button->IsHover());
    m_button->setDown(true);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(m_button, &out);
    EXPECT_FALSE(m_button->isDown());
    EXPECT_FALSE(m_button->IsHover());
}

} // namespace
} // namespace kovrel::skin

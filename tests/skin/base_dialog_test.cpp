// The skinned window base: pictures, size, outline region, painting, dragging, closing, and the
// silent end of the program when a picture is missing.

#include <gtest/gtest.h>

#include <QPainter>

#include <optional>
#include <vector>

#include "skin/widgets/base_dialog.h"
#include "skin/widgets/outline_region.h"
#include "skin/widgets/silent_exit.h"
#include "skin/widgets/skin_pictures.h"
#include "skin_fixture.h"
#include "widget_test_support.h"

namespace kovrel::skin {
namespace {

using test::SolidPicture;
using test::TempSkin;

// Records the silent ends of the program instead of ending it.
class ExitRecorder {
public:
    ExitRecorder() {
        m_previous = SetSilentExitHook([this](int code) { codes.push_back(code); });
    }
    ~ExitRecorder() { SetSilentExitHook(std::move(m_previous)); }
    std::vector<int> codes;

private:
    SilentExitHook m_previous;
};

// An outline of `size` whose one-pixel border is pure white, with one 0xFEFFFF pixel inside.
QImage BorderedOutline(QSize size) {
    QImage outline = SolidPicture(size.width(), size.height(), Qt::white);
    QPainter painter(&outline);
    painter.fillRect(QRect(1, 1, size.width() - 2, size.height() - 2), Qt::black);
    painter.end();
    outline.setPixel(5, 5, 0xFFFEFFFF);
    return outline;
}

class BaseDialogTest : public ::testing::Test {
protected:
    std::filesystem::path WriteScreen(const char* text) {
        return m_skin.WriteText("Win.ini", text);
    }

    TempSkin m_skin;
    ExitRecorder m_exits;
};

TEST_F(BaseDialogTest, TakesTheBackgroundSizeWhereItStands) {
    m_skin.SavePicture("back.bmp", SolidPicture(800, 600, Qt::darkGreen));
    m_skin.SavePicture("shape.bmp", BorderedOutline({800, 600}));
    const auto file = WriteScreen("[SCREEN]\nMain=back.bmp\nMask=shape.bmp\n");

    CBaseDialog dialog(131, nullptr, file, m_skin.Skins());
    dialog.setGeometry(40, 30, 200, 100);
    dialog.show();

    EXPECT_TRUE(m_exits.codes.empty());
    EXPECT_EQ(dialog.size(), QSize(800, 600));
    EXPECT_EQ(dialog.pos(), QPoint(40, 30));
    EXPECT_FALSE(dialog.IsBusy());
    EXPECT_EQ(test::PixelOf(dialog, {400, 300}), QColor(Qt::darkGreen));
}

TEST_F(BaseDialogTest, OutlineCutsPureWhiteOnly) {
    m_skin.SavePicture("back.bmp", SolidPicture(40, 30, Qt::blue));
    m_skin.SavePicture("shape.bmp", BorderedOutline({40, 30}));
    const auto file = WriteScreen("[SCREEN]\nMain=back.bmp\nMask=shape.bmp\n");

    CBaseDialog dialog(131, nullptr, file, m_skin.Skins());
    dialog.show();

    const QRegion& region = dialog.OutlineRegion();
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(39, 29)));
    EXPECT_FALSE(region.contains(QPoint(20, 0)));
    EXPECT_TRUE(region.contains(QPoint(1, 1)));
    EXPECT_TRUE(region.contains(QPoint(5, 5))); // 0xFEFFFF is not white
    EXPECT_EQ(region.boundingRect(), QRect(1, 1, 38, 28));
}

TEST_F(BaseDialogTest, AllWhiteOutlineKeepsTheRectangle) {
    m_skin.SavePicture("back.bmp", SolidPicture(40, 30, Qt::blue));
    m_skin.SavePicture("shape.bmp", SolidPicture(40, 30, Qt::white));
    const auto file = WriteScreen("[SCREEN]\nMain=back.bmp\nMask=shape.bmp\n");

    CBaseDialog dialog(131, nullptr, file, m_skin.Skins());
    dialog.show();

    EXPECT_TRUE(dialog.OutlineRegion().isEmpty());
    EXPECT_TRUE(dialog.mask().isEmpty());
    EXPECT_EQ(dialog.size(), QSize(40, 30));
}

TEST_F(BaseDialogTest, MissingMaskUsesTheBackground) {
    QImage back = BorderedOutline({40, 30});
    m_skin.SavePicture("back.bmp", back);
    const auto file = WriteScreen("[SCREEN]\nMain=back.bmp\n");

    CBaseDialog dialog(131, nullptr, file, m_skin.Skins());
    dialog.show();

    EXPECT_TRUE(m_exits.codes.empty());
    EXPECT_EQ(dialog.OutlineRegion(), RegionFromOutline(back));
    EXPECT_FALSE(dialog.OutlineRegion().contains(QPoint(0, 0)));
}

TEST_F(BaseDialogTest, MissingPictureEndsTheProgramWithCodeZero) {
    m_skin.SavePicture("back.bmp", SolidPicture(40, 30, Qt::blue));
    const char* screens[] = {
        "[SCREEN]\nMain=gone.bmp\nMask=back.bmp\n", // background file missing
        "[SCREEN]\nMain=back.bmp\nMask=gone.bmp\n", // outline file missing
        "[SCREEN]\nMask=back.bmp\n",                // no "Main": the path names the folder
        "[OTHER]\n",
    };
    m_skin.WriteText("broken.bmp", "this is no picture");
    for (const char* screen : screens) {
        m_exits.codes.clear();
        CBaseDialog dialog(131, nullptr, WriteScreen(screen), m_skin.Skins());
        dialog.show();
        EXPECT_EQ(m_exits.codes, std::vector<int>{0}) << screen;
    }
    m_exits.codes.clear();
    CBaseDialog unreadable(131, nullptr, WriteScreen("[SCREEN]\nMain=broken.bmp\n"),
                           m_skin.Skins());
    unreadable.show();
    EXPECT_EQ(m_exits.codes, std::vector<int>{0});
}

TEST_F(BaseDialogTest, ClosingReleasesThePicturesAndReopeningReadsThemAgain) {
    m_skin.SavePicture("back.bmp", SolidPicture(40, 30, Qt::blue));
    const auto file = WriteScreen("[SCREEN]\nMain=back.bmp\n");

    CBaseDialog dialog(131, nullptr, file, m_skin.Skins());
    dialog.show();
    ASSERT_FALSE(dialog.Background().isNull());
    EXPECT_TRUE(dialog.Template().Dispatch(CBaseDialog::kIdOk));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.Background().isNull());
    EXPECT_TRUE(dialog.Outline().isNull());

    m_skin.SavePicture("back.bmp", SolidPicture(60, 50, Qt::red));
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(60, 50));
    dialog.reject();
    EXPECT_TRUE(dialog.Background().isNull());
}

TEST_F(BaseDialogTest, PressOnTheBackgroundMovesTheWindow) {
    m_skin.SavePicture("back.bmp", SolidPicture(100, 80, Qt::blue));
    const auto file = WriteScreen("[SCREEN]\nMain=back.bmp\n");
    CBaseDialog dialog(131, nullptr, file, m_skin.Skins());
    dialog.move(100, 100);
    dialog.show();

    const QPoint grip(10, 10);
    const QPoint globalGrip = dialog.mapToGlobal(grip);
    test::SendMouse(dialog, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    // Whether the platform or the window moves it, the window follows the mouse.
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(50, 30)),
                     QPointF(globalGrip + QPoint(50, 30)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &move);
    test::SendMouse(dialog, QEvent::MouseButtonRelease, grip + QPoint(50, 30));
    EXPECT_EQ(dialog.pos(), QPoint(150, 130));
}

TEST(OutlineRegion, ManyRunsMakeTheSameRegionAsThePixels) {
    // A checkerboard gives far more than one batch of runs.
    QImage outline(120, 100, QImage::Format_RGB32);
    for (int y = 0; y < outline.height(); ++y) {
        for (int x = 0; x < outline.width(); ++x) {
            outline.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF102030);
        }
    }
    const QRegion region = RegionFromOutline(outline);
    int inside = 0;
    for (int y = 0; y < outline.height(); ++y) {
        for (int x = 0; x < outline.width(); ++x) {
            const bool expected = (x + y) % 2 == 0;
            ASSERT_EQ(region.contains(QPoint(x, y)), expected) << x << "," << y;
            inside += expected;
        }
    }
    EXPECT_EQ(inside, 6000);
    EXPECT_TRUE(RegionFromOutline(QImage()).isEmpty());
}

TEST(SkinPictures, RenderedAtTheWindowSizePlusAHundredAndBlackWhereNothingWasDrawn) {
    TempSkin skin;
    skin.SavePicture("state.png", SolidPicture(400, 50, Qt::red));
    QWidget window;
    window.resize(150, 120);

    const QImage picture = LoadSkinPicture(u"Skins\\state.png", skin.ProgramFolder());
    ASSERT_FALSE(picture.isNull());
    QImage rendered;
    RenderSkinPicture(rendered, picture, window);
    EXPECT_EQ(rendered.size(), QSize(250, 220));
    EXPECT_EQ(rendered.pixelColor(249, 0), QColor(Qt::red));  // cut at the right
    EXPECT_EQ(rendered.pixelColor(0, 60), QColor(Qt::black)); // below the picture

    QImage undecoded;
    RenderSkinPicture(undecoded, LoadSkinPicture(u"Skins\\gone.jpg", skin.ProgramFolder()), window);
    EXPECT_EQ(undecoded.size(), QSize(250, 220));
    EXPECT_EQ(undecoded.pixelColor(10, 10), QColor(Qt::black));
}

TEST(SkinPictures, StatePicturesAreRenderedOnce) {
    TempSkin skin;
    skin.SavePicture("main_normal.png", SolidPicture(50, 50, Qt::green));
    QWidget window;
    window.resize(50, 50);
    ReleaseStatePictures();

    EXPECT_EQ(FindStatePicture(u"Skins\\main_normal.png"), nullptr);
    const QImage* first =
        RenderStatePicture(u"Skins\\main_normal.png", window, skin.ProgramFolder());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->pixelColor(1, 1), QColor(Qt::green));
    // Changing the file or the window later changes nothing: it was decoded once.
    skin.SavePicture("main_normal.png", SolidPicture(50, 50, Qt::blue));
    window.resize(300, 300);
    EXPECT_EQ(RenderStatePicture(u"Skins\\main_normal.png", window, skin.ProgramFolder()), first);
    EXPECT_EQ(first->pixelColor(1, 1), QColor(Qt::green));
    EXPECT_EQ(FindStatePicture(u"Skins\\main_normal.png"), first);
    ReleaseStatePictures();
}

} // namespace
} // namespace kovrel::skin

// The About box: one at a time, its link and its two lines.

#include <gtest/gtest.h>

#include "controls/color_label.h"
#include "controls/hyperlink.h"
#include "dialogs/about_dialog.h"
#include "platform/fakes.h"
#include "skin/core/language_file.h"
#include "skin/core/skin_file.h"
#include "skin_fixture.h"
#include "widget_test_support.h"

namespace kovrel::dialogs {
namespace {

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_mainIni = m_skin.WriteText("Main.ini", "[SCREEN]\nLink=https://example.org/kovrel\n");
        const auto language =
            m_skin.WriteText("language.ini", "[LANGUAGE]\nlanguage=1\n"
                                             "[CHINESE]\nGUANYU_JIESHAO=zh\nGUANYU_BANQUAN=zh\n"
                                             "[ENGINSH]\nGUANYU_JIESHAO=Kovrel 1.0\n"
                                             "GUANYU_BANQUAN=\"(c) Halvorex \"\n");
        OverrideLanguageFiles(LanguageFiles{language, m_skin.ProgramFolder() / "user.ini"});
    }
    void TearDown() override {
        if (CAboutDlg* box = CAboutDlg::Current()) {
            box->OnCancel();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        OverrideLanguageFiles(std::nullopt);
    }

    skin::test::TempSkin m_skin;
    std::filesystem::path m_mainIni;
};

TEST_F(AboutDialogTest, OpenedTwiceIsOne) {
    CAboutDlg* first = CAboutDlg::Open(m_mainIni);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(CAboutDlg::Open(m_mainIni), nullptr);
    EXPECT_EQ(CAboutDlg::Current(), first);

    // OK ends it and allows the next request.
    first->Link(); // still alive until the event loop runs
    first->OnOK();
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(CAboutDlg::Current(), nullptr);
    CAboutDlg* second = CAboutDlg::Open(m_mainIni);
    ASSERT_NE(second, nullptr);
    second->reject();
    EXPECT_EQ(CAboutDlg::Current(), nullptr);
}

TEST_F(AboutDialogTest, ShowsTheLinkAndTheTwoLines) {
    platform::FakeServices services;
    CAboutDlg* box = CAboutDlg::Open(m_mainIni);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Link()->text(), QStringLiteral("https://example.org/kovrel"));
    EXPECT_EQ(box->Link()->URL(), QStringLiteral("https://example.org/kovrel"));
    EXPECT_EQ(box->VersionLine()->Text(), QStringLiteral("Kovrel 1.0"));
    EXPECT_EQ(box->RightsLine()->Text(), QStringLiteral("(c) Halvorex "));
    EXPECT_EQ(box->VersionLine()->TextColor(), QColor(Qt::black));

    skin::test::Click(*box->Link());
    EXPECT_EQ(services.launcher.Documents(),
              std::vector<std::string>{"https://example.org/kovrel"});
}

TEST_F(AboutDialogTest, LinkFallsBackToTheBuiltInAddress) {
    const auto bare = m_skin.WriteText("Bare.ini", "[SCREEN]\nMain=a.bmp\n");
    CAboutDlg* box = CAboutDlg::Open(bare);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Link()->URL(), QString::fromStdU16String(std::u16string(skin::kDefaultLink)));
}

} // namespace
} // namespace kovrel::dialogs

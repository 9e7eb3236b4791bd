// The message box on the interface thread, asked from a worker and from the interface thread,
// and answered at shutdown.

#include "app/qt_message_box.h"
#include "app_test_support.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <QPointer>

namespace kovrel::app {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using test::OnWorker;

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
};

class MessageBoxTest : public ::testing::Test {
protected:
    // Answers each box by clicking `button` once it runs, and notes what it showed.
    void AnswerWith(QMessageBox::StandardButton button) {
        QObject::connect(&boxes, &QtMessageBox::boxShown, &boxes, [this, button](QMessageBox* box) {
            seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                            box->standardButton(box->defaultButton()),
                            box->standardButton(box->escapeButton())});
            QTimer::singleShot(0, box, [box, button] { box->button(button)->click(); });
        });
    }

    QtMessageBox boxes;
    std::vector<SeenBox> seen;
};

TEST_F(MessageBoxTest, AQuestionFromAWorkerWaitsForTheAnswerOnTheInterfaceThread) {
    AnswerWith(QMessageBox::Yes);
    const MessageAnswer answer = OnWorker([&] {
        return boxes.Show(u"Restore the defaults?", u"Kovrel", MessageButtons::YesNo,
                          MessageAnswer::No);
    });
    EXPECT_EQ(answer, MessageAnswer::Yes);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Kovrel");
    EXPECT_EQ(seen[0].text, "Restore the defaults?");
    EXPECT_EQ(seen[0].icon, QMessageBox::Question);
    EXPECT_EQ(seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(seen[0].escapeButton, QMessageBox::No);
}

TEST_F(MessageBoxTest, AnOkBoxOnTheInterfaceThreadWithAnEmptyCaptionShowsTheProgramName) {
    AnswerWith(QMessageBox::Ok);
    EXPECT_EQ(boxes.Show(u"Reads the default keyboard layout failure", u""), MessageAnswer::Ok);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, QGuiApplication::applicationDisplayName());
    EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(seen[0].defaultButton, QMessageBox::Ok);
}

TEST_F(MessageBoxTest, AQuestionDefaultsToYesWhenAsked) {
    AnswerWith(QMessageBox::No);
    EXPECT_EQ(boxes.Show(u"?", u"", MessageButtons::YesNo, MessageAnswer::Yes), MessageAnswer::No);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].defaultButton, QMessageBox::Yes);
}

TEST_F(MessageBoxTest, CloseAnswersAWaitingWorkerWithTheDefaultAndClosesTheBox) {
    QPointer<QMessageBox> shown;
    bool visibleWhenClosed = false;
    // Closed from inside the box's own loop, as a quit arriving meanwhile would do.
    QObject::connect(&boxes, &QtMessageBox::boxShown, &boxes, [&](QMessageBox* box) {
        shown = box;
        QTimer::singleShot(0, &boxes, [&] {
            visibleWhenClosed = shown != nullptr && shown->isVisible();
            boxes.Close();
        });
    });
    const MessageAnswer answer =
        OnWorker([&] { return boxes.Show(u"?", u"", MessageButtons::YesNo, MessageAnswer::No); });
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_TRUE(visibleWhenClosed);
    ASSERT_TRUE(test::WaitUntil([&] { return shown == nullptr; }));
    EXPECT_EQ(boxes.Show(u"after", u""), MessageAnswer::Ok); // no box any more
}

} // namespace
} // namespace kovrel::app

// The real message boxes as the keyboard answers them.

#include "platform/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace varnet {
namespace {

// Enter takes the default button and Escape answers No: a question whose Yes
// deletes or discards keeps what is there on both.
TEST(MessageBoxes, EnterTakesTheDefaultButtonAndEscapeAnswersNo)
{
    WidgetMessageService boxes;
    const auto answer = [&boxes](bool defaultNo, Qt::Key key) {
        QString pressedOn;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            pressedOn = box->defaultButton()->text();
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key);
        });
        const bool yes = defaultNo ? boxes.yesNoDefaultNo("Delete?") : boxes.yesNo("Continue?");
        return std::tuple(pressedOn, yes);
    };
    EXPECT_EQ(answer(true, Qt::Key_Return), std::tuple("&No", false));
    EXPECT_EQ(answer(true, Qt::Key_Escape), std::tuple("&No", false));
    EXPECT_EQ(answer(false, Qt::Key_Return), std::tuple("&Yes", true));
    EXPECT_EQ(answer(false, Qt::Key_Escape), std::tuple("&Yes", false));
}

} // namespace
} // namespace varnet

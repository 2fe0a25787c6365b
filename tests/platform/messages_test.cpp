#include "platform/messages.h"

#include "platform/form.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// The real boxes: Enter takes the default button, Escape answers No; a
// question whose Yes deletes or discards keeps what is there on both.
TEST(MessageBoxes, EnterTakesTheDefaultButtonAndEscapeAnswersNo)
{
    const auto answer = [](bool defaultNo, Qt::Key key) {
        QString byDefault;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            byDefault = box->defaultButton()->text();
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key);
        });
        varnet::WidgetMessageService boxes;
        const bool yes = defaultNo ? boxes.yesNoDefaultNo("Delete?") : boxes.yesNo("Continue?");
        return std::tuple(byDefault, yes);
    };
    EXPECT_EQ(answer(true, Qt::Key_Return), std::tuple("&No", false));
    EXPECT_EQ(answer(true, Qt::Key_Escape), std::tuple("&No", false));
    EXPECT_EQ(answer(false, Qt::Key_Return), std::tuple("&Yes", true));
    EXPECT_EQ(answer(false, Qt::Key_Escape), std::tuple("&Yes", false));
}

// A box of a few words is as wide as its title as a window manager draws it,
// which would otherwise show only "...".
TEST(MessageBoxes, AShortBoxHasRoomForItsTitle)
{
    QApplication::setApplicationDisplayName(QStringLiteral("Varnet"));
    for (const bool question : {false, true}) {
        int width = 0;
        int needed = 1;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            std::tie(width, needed) = std::tuple(box->width(), varnet::TitleBarWidth(*box));
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        });
        varnet::WidgetMessageService boxes;
        question ? void(boxes.yesNo("Go?")) : boxes.ok("No filename");
        EXPECT_GE(width, needed) << question;
    }
}

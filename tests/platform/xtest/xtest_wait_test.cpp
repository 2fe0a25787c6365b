// Clicks on a private Xvfb server while a handler waits: held back by the
// wait and handed over as soon as it ends, with nothing else happening on the
// display. A program of its own: it needs the xcb platform.

#include "platform/wait.h"
#include "support/xcb_application.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
// Last: Xlib's macros (None, Bool ...) clash with the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace varnet {
namespace {

TEST(XTestWait, AClickDuringAWaitFromAClickOrATimerActsRightAfterTheWait)
{
    const testing::XcbApplication xcb("test_platform_xwait");
    if (!xcb.whyNot().empty())
        GTEST_SKIP() << xcb.whyNot();
    Display* x = XOpenDisplay(xcb.display().c_str());
    ASSERT_NE(x, nullptr);
    QWidget window;
    QPushButton start("Start", &window), cancel("Cancel", &window);
    cancel.move(0, 40);
    window.show();
    // The program's own loop until Cancel acts or the time is up. Nothing
    // else may wake it: a loop's quit would hand the click over too.
    const auto runFor = [&cancel](int ms) {
        QEventLoop loop;
        QObject::connect(&cancel, &QPushButton::clicked, &loop, &QEventLoop::quit);
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    for (int i = 0; i < 100 && !window.windowHandle()->isExposed(); ++i)
        runFor(50);
    const auto click = [x](QWidget& button) {
        const QPoint at = button.mapToGlobal(button.rect().center());
        XTestFakeMotionEvent(x, -1, at.x(), at.y(), CurrentTime);
        XTestFakeButtonEvent(x, 1, True, CurrentTime);
        XTestFakeButtonEvent(x, 1, False, CurrentTime);
        XSync(x, False);
    };

    QElapsedTimer clock;
    clock.start();
    int cancels = 0;
    qint64 waitEnded = -1; // while waiting
    const auto handlerThatWaits = [&] {
        waitEnded = -1;
        click(cancel);
        waitMs(300);
        waitEnded = clock.elapsed();
    };
    QObject::connect(&start, &QPushButton::clicked, handlerThatWaits);
    QObject::connect(&cancel, &QPushButton::clicked, [&] {
        ++cancels;
        ASSERT_GE(waitEnded, 0) << "Cancel acted inside the wait";
        EXPECT_LT(clock.elapsed() - waitEnded, 200);
    });
    for (const bool fromTimer : {false, true}) {
        cancels = 0;
        fromTimer ? QTimer::singleShot(0, handlerThatWaits) : click(start);
        runFor(2000);
        EXPECT_EQ(cancels, 1) << "from a " << (fromTimer ? "timer" : "click");
    }
    XCloseDisplay(x);
}

} // namespace
} // namespace varnet

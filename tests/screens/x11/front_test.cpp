// Windows opened from another window on a real X server under a window
// manager (openbox on a private 1280x720 Xvfb server): the window opened
// comes to the front with the keyboard, also when it is open already behind
// the other or minimized, and its frame lies on the screen. A program of
// its own: it needs the xcb platform.

#include "app/configscreen_fixture.h"
#include "app/shell.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"
#include "support/window_manager.h"
#include "support/xcb_application.h"

#include <QElapsedTimer>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <functional>
#include <memory>
// Last: Xlib's macros (None, Bool ...) clash with the headers above.
#include "support/root_windows.h"
#include <X11/extensions/XTest.h>

namespace varnet {
namespace {

using namespace varnet::testing;

std::unique_ptr<XcbApplication> xcb;
Display* x = nullptr;
// Empty when the tests can run here; otherwise why they skip.
std::string whyNot;

// Runs the program's events until `done` holds or `ms` have passed.
bool waitFor(const std::function<bool()>& done, int ms = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return done();
}

std::vector<Window> rootWindows(const char* property)
{
    return RootWindows(x, property);
}

// As the window manager has it: the active window, and the one on top.
bool activeAndOnTop(QWidget& window)
{
    XSync(x, False);
    const std::vector<Window> active = rootWindows("_NET_ACTIVE_WINDOW");
    const std::vector<Window> stacking = rootWindows("_NET_CLIENT_LIST_STACKING");
    return QApplication::activeWindow() == &window && !active.empty() && active[0] == window.winId() &&
           !stacking.empty() && stacking.back() == window.winId();
}

void clickAt(QPoint at)
{
    XTestFakeMotionEvent(x, -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(x, 1, True, CurrentTime);
    XTestFakeButtonEvent(x, 1, False, CurrentTime);
    XSync(x, False);
}

void clickLineOf(QListWidget& list, int row)
{
    const QRect line = list.visualItemRect(list.item(row));
    clickAt(list.viewport()->mapToGlobal(line.center()));
}

class WindowsInFront : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        if (!whyNot.empty())
            GTEST_SKIP() << whyNot;
        ConfigScreenTest::SetUp();
    }

    FakeSerialPorts ports_;
    ScriptedMessages messages_;
};

TEST_F(WindowsInFront, TheIOModuleWindowFromTheListComesToTheFrontEachTimeAndFitsTheScreen)
{
    gauge(1, 1);
    gauge(10, 10);
    FrmMainConfigure& s = screen();
    ASSERT_TRUE(waitFor([&] { return activeAndOnTop(s); })) << "the configuration screen does not show";
    const QRect free = s.screen()->availableGeometry();
    auto* list = child<QListWidget>(s, "Configlist");
    ASSERT_EQ(list->count(), 2);

    // Opened from the list, twice in a row, with the screen clicked between.
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        clickLineOf(*list, 1);
        ASSERT_TRUE(waitFor([] { return DefaultForm<ConfigIOM>::loaded(); }));
        ConfigIOM& iom = DefaultForm<ConfigIOM>::get();
        EXPECT_TRUE(waitFor([&] { return activeAndOnTop(iom); })) << "the I/O module window is not in front";
        EXPECT_TRUE(waitFor([&] { return free.contains(iom.frameGeometry()); })) << "its frame runs off the screen";
        // The screen, clicked on its title bar, comes over it ...
        clickAt(s.frameGeometry().topLeft() + QPoint(60, (s.geometry().top() - s.frameGeometry().top()) / 2));
        ASSERT_TRUE(waitFor([&] { return activeAndOnTop(s); }));
        // ... and its line brings the open window back.
        clickLineOf(*list, 1);
        EXPECT_TRUE(waitFor([&] { return activeAndOnTop(iom); })) << "the open window stays behind";
        if (opening == 1) {
            // Minimized, it comes back the same way.
            iom.minimize();
            ASSERT_TRUE(waitFor([&] { return !iom.isActiveWindow() && !iom.windowHandle()->isExposed(); }));
            clickLineOf(*list, 1);
            EXPECT_TRUE(waitFor([&] { return !iom.isMinimized() && activeAndOnTop(iom); }));
            DefaultForm<ConfigIOM>::unload();
            ASSERT_TRUE(waitFor([&] { return activeAndOnTop(s); }));
        }
    }

    // The function editor, higher than this screen, fits it with its frame.
    click(s, "cmdGetOffset");
    GetOffsetlist& editor = DefaultForm<GetOffsetlist>::get();
    EXPECT_TRUE(waitFor([&] { return activeAndOnTop(editor); }));
    EXPECT_TRUE(waitFor([&] { return free.contains(editor.frameGeometry()); }));
    EXPECT_GT(editor.frameGeometry().height(), editor.height()) << "framed by the window manager";
}

// "640x480+10+20"
std::string placeOf(const QRect& r)
{
    return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()).toStdString();
}

// Where `window` stands once the window manager has framed it and the
// program has had its look at the frame.
QRect framedAt(QWidget& window)
{
    EXPECT_TRUE(waitFor([&] { return window.isVisible() && window.frameGeometry().height() > window.height(); }));
    waitFor([] { return false; }, 500);
    return window.frameGeometry();
}

// Whether the window manager holds `window` minimized.
bool heldMinimized(QWidget& window)
{
    XSync(x, False);
    return HeldMinimized(x, window.winId());
}

// With a yoke configured the yoke status window comes back with the run
// window each time, minimized as the run's preparation shows it.
TEST_F(WindowsInFront, TheRunWindowAndTheConfigurationScreenComeBackWhereTheyWere)
{
    InstallShell();
    FakeUdpSockets sockets;
    std::tie(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
    Cfg.ComPortYoke1() = 3;
    DefaultForm<frmStatus>::get().show();
    QRect runAt;
    QRect screenAt;
    // Run window -> Configuration -> Close -> run window, made anew each way.
    for (int trip = 0; trip < 4; ++trip) {
        SCOPED_TRACE(trip);
        frmStatus& run = DefaultForm<frmStatus>::get();
        const QRect runNow = framedAt(run);
        ASSERT_TRUE(DefaultForm<frmStatusYoke>::loaded());
        EXPECT_TRUE(heldMinimized(DefaultForm<frmStatusYoke>::get())) << "the yoke status window";
        click(run, "CmdConfig");
        flushDeletes();
        FrmMainConfigure& s = DefaultForm<FrmMainConfigure>::get();
        const QRect screenNow = framedAt(s);
        click(s, "Command1");
        flushDeletes();
        if (trip == 0) {
            std::tie(runAt, screenAt) = std::tuple(runNow, screenNow);
            continue;
        }
        EXPECT_EQ(placeOf(runNow), placeOf(runAt)) << "the run window";
        EXPECT_EQ(placeOf(screenNow), placeOf(screenAt)) << "the configuration screen";
    }
}

} // namespace
} // namespace varnet

int main(int argc, char** argv)
{
    using namespace varnet;
    xcb = std::make_unique<varnet::testing::XcbApplication>("test_screens_x11", "1280x720x24");
    varnet::testing::WindowManager windowManager;
    whyNot = xcb->whyNot();
    if (whyNot.empty() && !(x = XOpenDisplay(xcb->display().c_str())))
        whyNot = "the private X server does not answer";
    if (x) {
        windowManager.start(xcb->display());
        // Running once it names itself on the root window; its start-up
        // ends a moment later (a window mapped in between stays unmanaged).
        const bool running = waitFor([] { return !rootWindows("_NET_SUPPORTING_WM_CHECK").empty(); }, 10000);
        waitFor([] { return false; }, 1000);
        if (!running)
            whyNot = "no window manager (openbox) could be started";
    }
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (x)
        XCloseDisplay(x);
    xcb.reset();
    return result;
}

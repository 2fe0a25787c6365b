// Types through the real X11 injector into a window of this test on a private
// Xvfb server, and checks what the window received. A program of its own:
// it needs the xcb platform, while the other tests run offscreen.

#include "platform/keystrokes.h"
#include "platform/messages.h"
#include "support/xcb_application.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace varnet {
namespace {

// Runs the event loop, user input included, until done() or the time is up.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.hasExpired(timeoutMs))
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Keeps every key press that reaches the line edit, as "Shift+F16".
struct PressLog : QObject {
    QStringList presses;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            presses.append(QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()).toString());
        return false;
    }
};

// A box would block the test: the injector must find the display usable.
struct NoBoxes final : MessageService {
    NoBoxes() { setMessageService(this); }
    ~NoBoxes() override { setMessageService(nullptr); }
    void ok(const QString& text) override { ADD_FAILURE() << "OK box: " << text.toStdString(); }
    bool yesNo(const QString& text) override { return ok(text), false; }
    std::optional<QString> input(const QString& prompt, const QString&) override { return ok(prompt), std::nullopt; }
};

TEST(XTestTyping, ShiftedEscapedCtrlNamedAndUnmappedKeysReachTheWindow)
{
    const testing::XcbApplication xcb("test_platform_xtest");
    if (!xcb.whyNot().empty())
        GTEST_SKIP() << xcb.whyNot();
    PressLog log;
    QLineEdit edit;
    edit.installEventFilter(&log);
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    ASSERT_TRUE(runUntil([&] { return edit.isActiveWindow() && edit.hasFocus(); })) << "the window never got the focus";
    NoBoxes noBoxes;
    X11KeystrokeInjector injector;

    // Types the sequence into an empty box and lets the window take it in
    // until it holds `text` and saw the key press `lastPress`.
    const auto type = [&](const QString& sequence, const QString& text, const QString& lastPress) {
        edit.clear();
        log.presses.clear();
        injector.inject(sequence);
        runUntil([&] { return edit.text() == text && log.presses.endsWith(lastPress); });
        EXPECT_EQ(edit.text(), text) << sequence.toStdString();
        EXPECT_TRUE(log.presses.endsWith(lastPress)) << log.presses.join(' ').toStdString();
    };
    type("+ab{+}{%}{}}", "Ab+%}", "Shift+}");
    // Ctrl+A selects everything, which the backspace then deletes.
    type("abc^a{BACKSPACE}z^+{ENTER}", "z", "Ctrl+Shift+Return");
    // Keys the keyboard map lacks go on spare key codes.
    type("\u00e9{F13}\u00c9\u00fe\u20ac+{F16}", "\u00e9\u00c9\u00fe\u20ac", "Shift+F16");
    EXPECT_TRUE(log.presses.contains("F13")) << log.presses.join(' ').toStdString();
}

} // namespace
} // namespace varnet

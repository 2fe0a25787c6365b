// How the program tests type and know that the program has taken what they typed: keys through
// XTEST on the test's own connection, and round trips that only a client which has handled
// everything before them answers. A barrier that let a test through without an answer would put
// the flakes of a busy machine back, so the answers that do not come are checked as well.

#include <QElapsedTimer>
#include <QString>

#include <optional>
#include <string>
#include <vector>
// Last: they bring Xlib, whose macros (None, Bool ...) clash with other headers.
#include "managed_fixture.h"
#include "support/private_xserver.h"

#include <X11/Xutil.h>

namespace varnet {
namespace {

using namespace varnet::testing;

// A window of a client of its own on a private display, with the keyboard: what it receives.
class BareWindow {
public:
    explicit BareWindow(const std::string& display) : x_(XOpenDisplay(display.c_str()))
    {
        if (!x_)
            return;
        w_ = XCreateSimpleWindow(x_, DefaultRootWindow(x_), 0, 0, 100, 100, 0, 0, 0);
        XSelectInput(x_, w_, KeyPressMask | ExposureMask);
        XMapWindow(x_, w_);
        // Viewable once it is exposed; only then may it take the keyboard.
        for (XEvent e; XWindowEvent(x_, w_, ExposureMask, &e), e.type != Expose;) {
        }
        XSetInputFocus(x_, w_, RevertToParent, CurrentTime);
        XSync(x_, False);
    }
    ~BareWindow()
    {
        if (x_)
            XCloseDisplay(x_);
    }

    // The key presses received so far but those of Shift and Ctrl themselves, as "Shift+a" (the
    // key's unshifted keysym, the modifiers held).
    std::vector<std::string> presses()
    {
        std::vector<std::string> got;
        XSync(x_, False);
        for (XEvent e; XCheckWindowEvent(x_, w_, KeyPressMask, &e);) {
            const KeySym key = XLookupKeysym(&e.xkey, 0);
            if (IsModifierKey(key))
                continue;
            got.push_back(std::string(e.xkey.state & ControlMask ? "Ctrl+" : "") +
                          (e.xkey.state & ShiftMask ? "Shift+" : "") + XKeysymToString(key));
        }
        return got;
    }

    Display* x_;
    Window w_ = 0;
};

TEST(TypeOnDisplay, TypesTheNotationWithItsModifiersAndLeavesOutWhatNoKeyTypes)
{
    PrivateXServer server;
    const std::string display = server.start();
    if (display.empty())
        GTEST_SKIP() << "no Xvfb server";
    BareWindow window(display);
    ASSERT_TRUE(window.x_);
    Display* x = XOpenDisplay(display.c_str());
    ASSERT_TRUE(x);

    const auto keys = parseKeySequence(QStringLiteral("+{TAB}A^a{ENTER}50{+}") + QChar(0xE9) + "{DOWN}");
    ASSERT_TRUE(keys);
    const std::vector<SequenceKey> left = TypeOnDisplay(x, *keys);
    // The server has delivered them all by now: nothing is waited for.
    EXPECT_EQ(window.presses(), (std::vector<std::string>{"Shift+Tab", "Shift+a", "Ctrl+a", "Return", "5", "0",
                                                          "Shift+equal", "Down"}));
    ASSERT_EQ(left.size(), 1u) << "the keyboard has no key for e-acute";
    EXPECT_EQ(left[0].character, QChar(0xE9));
    XCloseDisplay(x);
}

TEST(XRoundTrips, AnAnswerThatDoesNotComeIsNoAnswer)
{
    PrivateXServer server;
    const std::string display = server.start();
    if (display.empty())
        GTEST_SKIP() << "no Xvfb server";
    XRoundTrips answers(display);
    ASSERT_TRUE(answers);
    Display* x = XOpenDisplay(display.c_str());
    ASSERT_TRUE(x);

    // The clock moves on between two questions.
    const Time before = answers.serverTime();
    const Time after = answers.timeAfter(before);
    EXPECT_TRUE(XRoundTrips::Later(after, before));
    EXPECT_FALSE(XRoundTrips::Later(before, answers.serverTime()));
    EXPECT_TRUE(XRoundTrips::Later(2, 0xfffffff0)) << "the clock wraps";

    // A window whose client reads nothing does not answer its ping; with no window to ask (as for
    // a moment while the window manager frames one) there is no answer either, and a program gone
    // is not waited for.
    BareWindow silent(display);
    using Windows = std::optional<std::vector<Window>>;
    EXPECT_FALSE(answers.pinged(x, [&] { return Windows{{silent.w_}}; }, 300));
    EXPECT_FALSE(answers.pinged(x, [] { return Windows{std::vector<Window>{}}; }, 300));
    QElapsedTimer gone;
    gone.start();
    EXPECT_FALSE(answers.pinged(x, [] { return Windows{}; }, 10000));
    EXPECT_LT(gone.elapsed(), 5000) << "a program gone was waited for";
    // Nor does a window manager that is not there, nor a key that nobody handled.
    EXPECT_FALSE(answers.windowManagerAnswered(x, 300));
    EXPECT_FALSE(answers.keysTaken({silent.w_}, silent.w_, answers.serverTime(), 300));

    WindowManager openbox;
    if (!openbox.start(display))
        GTEST_SKIP() << "no openbox";
    EXPECT_TRUE(answers.windowManagerAnswered(x, 10000)) << "the window manager does not answer";
    XCloseDisplay(x);
}

// The program's own answers, under the window manager: what was typed or asked for has taken
// effect by the time type() and activate() return, windows that the keys open included, without a
// wait of the test's own.
constexpr const char* kRunWindow = "Control Program for X-Plane";
constexpr const char* kStartWindow = "VARNET";
constexpr const char* kScreen = "Varnet Configuration";

using TypedKeysTest = ProgramUnderWindowManagerTest;

TEST_F(TypedKeysTest, HaveTakenEffectWhenTypeReturns)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_TRUE(runStarted());
    const Window run = managedWindow(kRunWindow);
    ASSERT_NE(run, 0u);

    activate(run);
    EXPECT_EQ(focus(), run) << "the run window did not come back at once";
    // Back from its first control: Exit, Hide, Configuration; it opens the start window and the
    // screen, which both ask for the keyboard.
    type("+{TAB}+{TAB}+{TAB} ");
    const Window screen = managedWindow(kScreen);
    EXPECT_NE(screen, 0u) << "the configuration screen was not there at once";
    EXPECT_NE(managedWindow(kStartWindow), 0u) << "the start window was not there at once";
    EXPECT_EQ(focus(), screen) << "the keyboard was not on the screen at once";
    // Its Close (back from its first control) with nothing edited: a run window again (a new one),
    // alone.
    type("+{TAB} ");
    EXPECT_EQ(managedWindow(kScreen), 0u) << "the screen was still there";
    EXPECT_EQ(managedWindow(kStartWindow), 0u) << "the start window was still there";
    EXPECT_EQ(focus(), managedWindow(kRunWindow)) << "the keyboard was not on the run window at once";
    EXPECT_TRUE(endsCleanly());
}

} // namespace
} // namespace varnet

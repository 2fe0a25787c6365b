// A stand-alone I/O module's key switch on the real program, on a private X display under a window
// manager, as a cockpit builder meets it. With the run window minimized after the autostart, the
// key goes to the window that has the keyboard (here the test's own, standing in for the
// simulator) and no box shows. With the run window brought back, a plain switch still shows
// nothing, while the key switch shows a box (its text is checked in-process, tests/iomodules); the
// box is answered with Enter, and the run goes on polling the module and acts on the switch that
// changed behind the box. A yoke on a port of its own adds the yoke status window, which the
// autostart leaves minimized as it leaves the run window.

#include <tuple>
#include <vector>
// Last: it brings Xlib, whose macros (None, Bool ...) clash with other headers.
#include "managed_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kModuleCom = 2;
// A yoke on a port of its own puts the yoke status window beside the run window.
constexpr int kYokeCom = 3;
constexpr int kFlapsFunction = 60;
constexpr quint32 kFlapsGroup = 67;
constexpr int kPlainSwitch = 4;
constexpr int kKeySwitch = 9;
// Key number 1 with the character "k"; switching off types nothing.
constexpr Integer kKeyK = 0x0100 | 'k';

class StandAloneKeysTest : public ProgramUnderWindowManagerTest {
protected:
    void configure() override
    {
        Cfg.ComPortIOM = kModuleCom;
        Cfg.ComPortYoke1() = kYokeCom;
        defineFunction(kFlapsFunction, "FLAPS", kFlapsGroup);
        std::tie(Cfg.FunctionMinimum[kFlapsFunction], Cfg.FunctionMaximum[kFlapsFunction]) = std::tuple(0.0f, 1.0f);
        const int plain = Cfg.AddIOEntry();
        std::tie(Cfg.IOEntryGaugeID[plain], Cfg.IOEntryKind[plain], Cfg.IOEntryNumber[plain],
                 Cfg.IOEntryFunction[plain], Cfg.IOEntrySeqNr[plain], Cfg.IOEntryValue1[plain],
                 Cfg.IOEntryValue2[plain]) =
            std::tuple(kStandAloneIOM1, IOEntrySwitch, kPlainSwitch, kFlapsFunction, 1, 100.0f, 0.0f);
        const int key = Cfg.AddIOEntry();
        std::tie(Cfg.IOEntryGaugeID[key], Cfg.IOEntryKind[key], Cfg.IOEntryNumber[key], Cfg.IOEntrySeqNr[key],
                 Cfg.IOEntryKeyOn[key], Cfg.IOEntryKeyOff[key]) =
            std::tuple(kStandAloneIOM1, IOEntrySwitch, kKeySwitch, 100, kKeyK, 0);
        switches({});
    }

    void switches(std::initializer_list<int> on) { SetModuleSwitches(module_, on); }

    int polls() const { return ModulePolls(module_); }
    int pollsIn(int ms)
    {
        const int before = polls();
        waitMs(ms);
        return polls() - before;
    }

    // The test's own window, which takes the keys typed while it has the keyboard.
    bool showKeyTarget()
    {
        Display* d = x_.get();
        target_ = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 300, 200, 0, 0, 0);
        XStoreName(d, target_, "simulator");
        XSelectInput(d, target_, KeyPressMask);
        XMapRaised(d, target_);
        XSync(d, False);
        if (!xUntil([&] { return managedWindow("simulator") == target_; }, 3000))
            return false;
        activate(target_);
        return xUntil([&] { return focus() == target_; }, 3000);
    }

    // The keys the test's window received since the last call.
    std::vector<KeySym> keysTyped()
    {
        std::vector<KeySym> keys;
        XSync(x_.get(), False);
        XEvent e;
        while (XCheckWindowEvent(x_.get(), target_, KeyPressMask, &e))
            keys.push_back(XLookupKeysym(&e.xkey, 0));
        return keys;
    }

    Window target_ = 0;
    SimControlUnit module_{kModuleCom};
    SimControlUnit yoke_{kYokeCom};
};

TEST_F(StandAloneKeysTest, MinimizedTheKeyIsTypedShownItIsShownInABoxAndTheRunGoesOnAfterOK)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_TRUE(module_.ready());
    ASSERT_TRUE(runStarted());
    ASSERT_TRUE(waitForData(kFlapsGroup, 0, 3000)) << "the first reply finds the plain switch off";
    // After the autostart no window of the program is on the screen.
    for (const char* title : {"Control Program for X-Plane", "Force Feedback Yoke Status"}) {
        const Window w = managedWindow(title);
        EXPECT_TRUE(w != 0 && xUntil([&] { return iconic(w); }, 2000)) << title << " is not minimized";
    }
    ASSERT_TRUE(showKeyTarget()) << "the test's window does not get the keyboard";

    // Minimized, as the autostart leaves it: the key reaches the window that has the keyboard.
    switches({kKeySwitch});
    std::vector<KeySym> typed;
    xUntil([&] { return !(typed = keysTyped()).empty(); }, 3000);
    EXPECT_EQ(typed, std::vector<KeySym>{XStringToKeysym("k")}) << "the key was not typed";
    EXPECT_EQ(boxInFront(500), 0u) << "a box while the run window is minimized";

    // The run window brought back from its taskbar button.
    const Window run = managedWindow("Control Program for X-Plane");
    ASSERT_NE(run, 0u);
    activate(run);
    ASSERT_EQ(focus(), run) << "the run window does not come back";

    switches({});  // the key switch off: no key for it
    waitMs(300);
    switches({kPlainSwitch});
    EXPECT_TRUE(waitForData(kFlapsGroup, 1, 3000)) << "the plain switch did not reach X-Plane";
    EXPECT_EQ(boxInFront(500), 0u) << "a plain switch showed a box";

    switches({kPlainSwitch, kKeySwitch});
    const Window box = boxInFront(3000);
    ASSERT_NE(box, 0u) << "the key switch showed nothing while the run window is shown";
    EXPECT_TRUE(keysTyped().empty()) << "a key was typed while the run window is shown";

    // Behind the box the module's turn waits; the plain switch goes off meanwhile.
    xplane_.clearReceived();
    switches({kKeySwitch});
    waitMs(300);
    EXPECT_LE(pollsIn(500), 1) << "the module was polled again behind its own box";
    EXPECT_TRUE(answered(box, "{ENTER}")) << "Enter did not close the box";
    EXPECT_TRUE(waitForData(kFlapsGroup, 0, 3000)) << "the switch that changed behind the box was not acted on";
    const int perSecond = pollsIn(1000);
    EXPECT_GE(perSecond, 25) << "the run does not go on polling the module";
    EXPECT_EQ(boxInFront(300), 0u) << "a second box";
    EXPECT_TRUE(endsCleanly());
}

} // namespace
} // namespace varnet

// A load from a yoke window's Load/Save window while the run is up, on the real program under a
// window manager, worked with the keyboard as a user works it. The run walks the sim ports it
// opened for the configuration in memory; a load would lay the I/O entries out anew, and a
// stand-alone module's switch would then write the value of whatever port came first (the
// airspeed's DATA group) instead of its own. The load is refused with a box, and the switch
// reaches X-Plane on its own DATA group.

#include <tuple>
// Last: it brings Xlib, whose macros (None, Bool ...) clash with other headers.
#include "managed_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kModuleCom = 2;
constexpr int kYokeCom = 3;
constexpr int kNavLightsFunction = 61;
constexpr quint32 kNavLightsGroup = 106;
constexpr int kSwitch = 4;
// Long enough for a pressed button of a box to answer (a tenth of a second) on a busy machine.
constexpr int kPressedButtonMs = 1000;

class RunHoldsConfigurationTest : public ProgramUnderWindowManagerTest {
protected:
    void configure() override
    {
        Cfg.ComPortIOM = kModuleCom;
        Cfg.ComPortYoke1() = kYokeCom;
        defineFunction(kNavLightsFunction, "NAVLIGHTS", kNavLightsGroup);
        std::tie(Cfg.FunctionMinimum[kNavLightsFunction], Cfg.FunctionMaximum[kNavLightsFunction]) =
            std::tuple(0.0f, 1.0f);
        const int e = Cfg.AddIOEntry();
        std::tie(Cfg.IOEntryGaugeID[e], Cfg.IOEntryKind[e], Cfg.IOEntryNumber[e], Cfg.IOEntryFunction[e],
                 Cfg.IOEntrySeqNr[e], Cfg.IOEntryValue1[e], Cfg.IOEntryValue2[e]) =
            std::tuple(kStandAloneIOM1, IOEntrySwitch, kSwitch, kNavLightsFunction, 1, 100.0f, 0.0f);
        SetModuleSwitches(module_, {});
    }

    SimControlUnit module_{kModuleCom};
    SimControlUnit yoke_{kYokeCom};
};

TEST_F(RunHoldsConfigurationTest, ALoadFromAYokeWindowIsRefusedAndTheSwitchesKeepTheirOwnDataGroups)
{
    if (!x_ || !managed_)
        GTEST_SKIP() << "no X display with a window manager (openbox) for the program's windows";
    ASSERT_TRUE(module_.ready() && yoke_.ready());
    ASSERT_TRUE(runStarted());
    ASSERT_TRUE(waitForData(kNavLightsGroup, 0, 3000)) << "the first reply finds the switch off";

    // The yoke status window from its taskbar button, its "Yoke 1", that window's "Save / Load
    // Configuration", and "Load" for the configuration it proposes, the one in memory.
    activate(managedWindow("Force Feedback Yoke Status"));
    ASSERT_NE(windowWithKeyboard("Force Feedback Yoke Status"), 0u) << "the yoke status window does not come";
    type("{TAB} ");
    ASSERT_NE(windowWithKeyboard("Yoke 1"), 0u) << "Yoke 1 did not open yoke 1's window";
    type("{TAB} ");
    ASSERT_NE(windowWithKeyboard("Load/Save Configuration"), 0u) << "the Load/Save window did not open";
    type("{TAB}{TAB} ");
    const Window box = boxInFront(kBoundMs);
    ASSERT_NE(box, 0u) << "Load showed nothing";
    // Yes, were the box the question before a load: "y" presses its Yes, which answers a tenth of a
    // second later. The refusal has only OK, which "y" leaves alone (no sign of that comes: the box
    // is looked at for a while) and Enter takes.
    type("y");
    if (!xUntil([&] { return !shown(box); }, kPressedButtonMs)) {
        ASSERT_TRUE(answered(box, "{ENTER}")) << "the box does not close";
    }
    ASSERT_EQ(boxInFront(0), 0u) << "another box after the answer";

    xplane_.clearReceived();
    SetModuleSwitches(module_, {kSwitch});
    EXPECT_TRUE(waitForData(kNavLightsGroup, 1, 3000)) << "the switch did not reach X-Plane on its own group";
    EXPECT_TRUE(dataValues(kSpeedsGroup).empty()) << "the switch wrote the airspeed's DATA group";
    EXPECT_TRUE(endsCleanly());
}

} // namespace
} // namespace varnet

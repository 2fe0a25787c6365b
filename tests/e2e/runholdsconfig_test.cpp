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
    keys_.inject("{TAB} ");
    ASSERT_NE(windowWithKeyboard("Yoke 1"), 0u) << "Yoke 1 did not open yoke 1's window";
    keys_.inject("{TAB} ");
    ASSERT_NE(windowWithKeyboard("Load/Save Configuration"), 0u) << "the Load/Save window did not open";
    keys_.inject("{TAB}{TAB} ");
    const Window box = boxInFront(3000);
    ASSERT_NE(box, 0u) << "Load showed nothing";
    // Yes, were the box the question before a load; the refusal has only OK, which Enter takes.
    keys_.inject("y");
    waitMs(500);
    if (boxInFront(0) == box)
        keys_.inject("{ENTER}");
    ASSERT_TRUE(xUntil([&] { return boxInFront(0) == 0; }, 3000)) << "the box does not close";

    xplane_.clearReceived();
    SetModuleSwitches(module_, {kSwitch});
    EXPECT_TRUE(waitForData(kNavLightsGroup, 1, 3000)) << "the switch did not reach X-Plane on its own group";
    EXPECT_TRUE(dataValues(kSpeedsGroup).empty()) << "the switch wrote the airspeed's DATA group";
    EXPECT_TRUE(endsCleanly());
}

} // namespace
} // namespace varnet

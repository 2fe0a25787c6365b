// The ADF indicator's pointer calibration, test pointer and record; its
// compass poll runs against the simulated control unit.

#include "dialog_fixture.h"
#include "gauges/adfindicator.h"

#include <tuple>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class ADFIndicator : public testing::DialogTest {
protected:
    ConfigADF& open()
    {
        gauge(30, 108);
        OpenDialog<ConfigADF>();
        return DefaultForm<ConfigADF>::get();
    }
};

TEST_F(ADFIndicator, PointerCalibrationWrapsAndADeltaOutsideTheRuleSendsNothing)
{
    ConfigADF& d = open();
    auto* delta = child<QLineEdit>(d, "Needledelta");
    click(d, "cmdResetCalibrationPointer");
    click(d, "NR1");
    click(d, "NR1");
    click(d, "NR1");
    EXPECT_EQ(delta->text(), "4309");
    delta->setText("4300");
    click(d, "cmdNL10");
    EXPECT_EQ(delta->text(), "0");
    delta->setText("125");
    for (const char* name : {"cmdSetPointerCalibration", "cmdTestPointerCalibration", "cmdCalibrateCompass"})
        click(d, name);
    child<QSlider>(d, "SliderValue1")->setValue(90);
    child<QSlider>(d, "SliderSpeed")->setValue(0);
    // The box follows the slider, and its change sends once more.
    EXPECT_EQ(link_.commands(), (Commands{{9, 0}, {1, 0}, {6, -5}, {6, -5}, {6, -5}, {6, 50}, {9, 125}, {1, 0},
                                          {11, 1}, {5, 1079}, {5, 1079}, {3, 310}}));

    link_.clear();
    for (const char* bad : {"12x", "4320"}) {
        delta->setText(bad);
        messages_.expectOk(kPointerDeltaRule);
        click(d, "cmdSetPointerCalibration");
        messages_.expectOk(kPointerDeltaRule);
        click(d, "NL1");
        EXPECT_EQ(delta->text(), bad);
    }
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(CompassCourse(1), 0);
    EXPECT_EQ(CompassCourse(2), 359);
}

TEST_F(ADFIndicator, ApplyClearsBothAssignmentsAndWritesFunction32)
{
    ConfigADF& d = open();
    Cfg.GaugeRecPlate1[30] = 7;
    Cfg.GaugeRecFunction2[30] = 5;
    Cfg.GaugeRecPlate2[30] = 9;
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 30);
    EXPECT_EQ(std::tuple(r.type, r.function1, r.plate1, r.function2, r.plate2), std::tuple(108, 32, 0, 0, 9));
}

} // namespace
} // namespace varnet

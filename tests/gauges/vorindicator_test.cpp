// The VOR dialog's needle, disk and indicator commands, the course of a
// count and its record (the read-back itself runs on the bus).

#include "dialog_fixture.h"
#include "gauges/vorindicator.h"

#include <QCheckBox>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class VORIndicator : public testing::DialogTest {
protected:
    ConfigGaugeVOR& open(int type)
    {
        gauge(12, type);
        OpenDialog<ConfigGaugeVOR>();
        link_.clear();
        return DefaultForm<ConfigGaugeVOR>::get();
    }
};

TEST_F(VORIndicator, NeedleTestsAndTheirCentreCalibration)
{
    ConfigGaugeVOR& d = open(kVOR1);
    child<QSlider>(d, "SliderValue2")->setValue(500);
    click(d, "cmdCenterGSneedle");
    child<QLineEdit>(d, "BoxTestValue2")->textEdited("9");  // typing sends the slider's position again
    EXPECT_EQ(child<QLineEdit>(d, "BoxTestValue2")->text(), "500");
    click(d, "cmdClearCal");
    click(d, "cmdCenterLOC");  // already in the centre: still sent
    click(d, "cmdRecalibrate");
    click(d, "cmdCalibrateCompass");
    child<QSlider>(d, "SliderSpeed")->setValue(100);
    child<QSlider>(d, "Slider1")->setValue(0);
    EXPECT_EQ(link_.commands(), (Commands{{6, 500}, {9, 28}, {6, 500}, {9, 0}, {4, 0}, {5, 472}, {6, 472}, {5, 472},
                                          {1, 0}, {11, 1}, {3, 30}, {14, 250}}));
}

TEST_F(VORIndicator, AVOR2IgnoresTheGlideslopeAndCalibratesDownwards)
{
    ConfigGaugeVOR& d = open(kVOR2);
    click(d, "SetToFromFlag_2");
    click(d, "setGSflag_1");
    click(d, "CmdSetIndicators");
    click(d, "cmdCalibrateDisk");
    click(d, "cmdRestCalibrateDisk");
    EXPECT_EQ(link_.commands(), (Commands{{12, 3}, {13, 0x3000}, {13, 0x1E5C}, {13, 0x2CB8}, {10, 0}}));
    EXPECT_EQ(IndicatorWord(ToFromFlag::From, true, kVOR1), 7);
    EXPECT_EQ(IndicatorWord(ToFromFlag::None, false, kVOR1), 1);
    EXPECT_EQ(IndicatorCalibration(3900, kVOR1).at(1), 224 + 5 * 4096);
    for (auto [count, course] : {std::pair{1084, 0}, {0, 0}, {542, 180}, {1081, 1}, {1100, -5}})
        EXPECT_EQ(CourseFromCount(count), course) << count;
}

TEST_F(VORIndicator, ApplyWritesTheFixedFunctionAndTheWriteBlock)
{
    Cfg.GaugeRecPlate1[12] = 1;
    Cfg.GaugeRecFunction2[12] = 9;
    ConfigGaugeVOR& d = open(kVOR1);
    child<QCheckBox>(d, "CheckBlockWriteToSim")->setChecked(false);  // shown checked for plate 1
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 12);
    EXPECT_EQ((std::vector<int>{r.type, r.function1, r.plate1, r.function2}), (std::vector<int>{kVOR1, 31, 0, 0}));
}

} // namespace
} // namespace varnet

// The VOR dialog's needle, disk and indicator commands, its course
// read-back and its record.

#include "dialog_fixture.h"
#include "gauges/vorindicator.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;
using testing::SimControlUnit;

class VORIndicator : public testing::DialogTest {
protected:
    ConfigGaugeVOR& open(int type = kVOR1)
    {
        gauge(12, type);
        OpenDialog<ConfigGaugeVOR>();
        link_.clear();
        return DefaultForm<ConfigGaugeVOR>::get();
    }
    static QByteArray courseReply(int gaugeID, int count)
    {
        return SimControlUnit::reply(gaugeID, kVOR1, QByteArray("\0\0\0", 3) + char(count >> 8) + char(count & 0xFF));
    }
};

TEST_F(VORIndicator, NeedleTestsAndTheirCentreCalibration)
{
    ConfigGaugeVOR& d = open();
    child<QSlider>(d, "SliderValue1")->setValue(400);
    click(d, "cmdCenterLocNeedle");
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
    EXPECT_EQ(link_.commands(), (Commands{{5, 400}, {4, -72}, {6, 500}, {9, 28}, {6, 500}, {9, 0}, {4, 0}, {5, 472},
                                          {6, 472}, {5, 472}, {1, 0}, {11, 1}, {3, 30}, {14, 250}}));
}

TEST_F(VORIndicator, IndicatorWordsAndDiskCalibrationByType)
{
    ConfigGaugeVOR& vor1 = open(kVOR1);
    click(vor1, "SetToFromFlag_2");
    click(vor1, "setGSflag_1");
    click(vor1, "CmdSetIndicators");
    child<QSlider>(vor1, "Sliderindicator")->setValue(100);
    click(vor1, "cmdCalibrateDisk");
    click(vor1, "cmdRestCalibrateDisk");
    EXPECT_EQ(link_.commands(), (Commands{{12, 7}, {10, 100}, {13, 0x7064}, {13, 0x5208}, {13, 0x63AC}, {13, 0x2550},
                                          {13, 0x16F4}, {13, 0x3898}, {13, 0x4A3C}, {10, 0}}));
    click(vor1, "CmdClose");

    ConfigGaugeVOR& vor2 = open(kVOR2);
    click(vor2, "SetToFromFlag_2");
    click(vor2, "setGSflag_1");
    click(vor2, "CmdSetIndicators");
    click(vor2, "cmdCalibrateDisk");
    EXPECT_EQ(link_.commands(), (Commands{{12, 3}, {13, 0x3000}, {13, 0x1E5C}, {13, 0x2CB8}}));
    EXPECT_EQ(IndicatorWord(ToFromFlag::None, false, kVOR1), 1);
    EXPECT_EQ(IndicatorWord(ToFromFlag::To, false, kVOR2), 2);
    EXPECT_EQ(IndicatorCalibration(3900, kVOR1).at(1), 224 + 5 * 4096);
}

TEST_F(VORIndicator, CourseComesOnlyFromFreshRepliesOfItsOwnGauge)
{
    for (auto [count, course] : {std::pair{1084, 0}, {0, 0}, {542, 180}, {1081, 1}, {1100, -5}})
        EXPECT_EQ(CourseFromCount(count), course) << count;

    ConfigGaugeVOR& d = open();
    auto* box = child<QLineEdit>(d, "boxCourse");
    link_.replies[12] = courseReply(13, 542);  // another gauge's reply
    d.Form_Activate();
    waitMs(150);
    EXPECT_EQ(box->text(), "");
    EXPECT_GE(link_.sent.size(), 2u);
    link_.replies[12] = courseReply(12, 542);
    EXPECT_TRUE(waitUntil([&] { return box->text() == "180"; }, 1000));

    // Closed, the read-back stops.
    d.close();
    const std::size_t polls = link_.sent.size();
    waitMs(120);
    EXPECT_EQ(link_.sent.size(), polls);
}

TEST_F(VORIndicator, ApplyWritesTheFixedFunctionAndTheWriteBlock)
{
    Cfg.GaugeRecPlate1[12] = 1;
    Cfg.GaugeRecCategory2[12] = 4;
    Cfg.GaugeRecFunction2[12] = 9;
    ConfigGaugeVOR& d = open();
    EXPECT_EQ(child<QLineEdit>(d, "BoxGaugename")->text(), "Fixed Function: Test gauge");
    auto* block = child<QCheckBox>(d, "CheckBlockWriteToSim");
    EXPECT_TRUE(block->isChecked());
    block->setChecked(false);
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 12);
    EXPECT_EQ(r.type, kVOR1);
    EXPECT_EQ(r.function1, 31);
    EXPECT_EQ(r.plate1, 0);
    EXPECT_EQ(r.category2, 0);
    EXPECT_EQ(r.function2, 0);
    EXPECT_TRUE(link_.sent.empty());
}

} // namespace
} // namespace varnet

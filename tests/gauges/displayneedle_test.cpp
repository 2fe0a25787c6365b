// The display gauge's test display (value, text and the run's word), its
// combined light and display command, and what its Apply stores.

#include "dialog_fixture.h"
#include "gauges/displayneedle.h"
#include "gauges/needlelists.h"

#include <QGroupBox>
#include <QRadioButton>

namespace varnet {
namespace {

TEST(DisplayTest, TheRangeScaledByTheNeedleStaysWithinTheDisplay)
{
    EXPECT_EQ(DisplayTestTenths(7, 0, 130), 10);  // 9.6 tenths
    EXPECT_EQ(DisplayTestText(10), "01.0");
    EXPECT_EQ(DisplayTestTenths(944, 20, 120), 1000);  // the minimum only narrows the span
    EXPECT_EQ(DisplayTestText(1000), "100");
    EXPECT_EQ(DisplayTestTenths(944, 200, 100), 0);  // a minimum above the maximum
}

using DisplayGauge = testing::DialogTest;

TEST_F(DisplayGauge, DisplayGaugeSendsNeedleDisplayAndLightsAndStoresItsAssignment)
{
    Cfg.FunctionCategory[40] = 1;
    Cfg.FunctionSignalType[40] = kSignalGauge;
    Cfg.PlateValue[Cfg.AddPlate()][0] = 1;
    Cfg.PlateCount = 1;
    gauge(21, 2, 2);
    Cfg.GaugeRecCategory1[21] = 1;
    Cfg.GaugeRecFunction1[21] = 40;
    OpenDialog<ConfigGaugeSD>(&ConfigGaugeSD::GaugeSDinitialize);
    ConfigGaugeSD& d = DefaultForm<ConfigGaugeSD>::get();
    EXPECT_TRUE(link_.sent.empty());  // it opens with the light off and the display on
    EXPECT_TRUE(child<QRadioButton>(d, "DisplayOn")->isChecked());
    EXPECT_TRUE(child<QGroupBox>(d, "FrameBacklightMode")->isHidden());

    auto* needle = child<QSlider>(d, "SliderValue1");
    needle->setValue(944);
    EXPECT_EQ(child<QLineEdit>(d, "ActValDisp")->text(), "130");
    // A drag moves the needle; the display follows when it settles.
    needle->setSliderDown(true);
    needle->setValue(100);
    needle->setSliderDown(false);
    click(d, "cmdCentre");
    for (const char* option : {"DisplayOff", "LightOn", "DisplayOn", "LightOff", "Option4"})
        click(d, option);
    child<QSlider>(d, "SliderSpeed")->setValue(100);
    child<QLineEdit>(d, "MaxValDisp")->setText("1500");
    EXPECT_EQ(child<QLineEdit>(d, "MaxValDisp")->text(), "999");
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{{5, 944}, {6, 0x130B}, {5, 100}, {5, 100},
                                                                  {6, 0x13A8}, {5, 472}, {6, 0x65A0}, {8, 15},
                                                                  {8, 64}, {8, 192}, {8, 143}, {4, 1}, {3, 300}}));

    choose(d, "ComboSeqNr", "4");
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 21);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.category1, r.function1, r.seqNr1, r.plate1}),
              (std::vector<int>{2, 2, 1, 40, 4, 0}));
}

} // namespace
} // namespace varnet

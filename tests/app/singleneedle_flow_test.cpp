// A cockpit builder's way through the single-needle dialog: a saved
// configuration is loaded, the gauge is picked on the configuration screen,
// tested, and its plate is chosen in the plate window and handed to it.

#include "configscreen_fixture.h"
#include "gauges/platewindow.h"
#include "gauges/singleneedle.h"

#include <QComboBox>
#include <QSlider>

namespace varnet {
namespace {

using namespace varnet::testing;

class SingleNeedleFlow : public DialogScreenTest {
protected:
    void SetUp() override
    {
        DialogScreenTest::SetUp();
        // The cockpit as saved: a tachometer on GaugeID 7 with plate 0, and
        // a second engine plate to choose instead.
        Cfg.GaugeRecType[7] = 1;
        Cfg.GaugeRecModel[7] = 2;
        Cfg.GaugeRecCategory1[7] = 1;
        Cfg.GaugeRecFunction1[7] = 37;
        Cfg.GaugeRecSeqNr1[7] = 1;
        Cfg.FunctionNames[37] = "RPM";
        Cfg.FunctionCategory[37] = 1;
        Cfg.FunctionSignalType[37] = 4;
        for (const char* name : {"Tacho 3000", "Tacho 3500"}) {
            const int p = Cfg.AddPlate();
            Cfg.PlateName[p] = name;
            Cfg.PlateValue[p][0] = 1;
            Cfg.PlateValue[p][1] = Cfg.PlateSteps[p][1] = 1;
            Cfg.PlateValue[p][3] = Cfg.PlateValue[p][5] = 3000;
            Cfg.PlateSteps[p][3] = Cfg.PlateSteps[p][5] = 900;
        }
        Cfg.PlateCount = 2;
        saveAndLoad("cockpit.cfg");
        Session.ConfigChanged = 0;
    }
};

TEST_F(SingleNeedleFlow, PickTestAndCalibrateATachometer)
{
    FrmMainConfigure& s = screen();
    clickLine(s, "Configlist", 0);
    ASSERT_TRUE(DefaultForm<ConfigGaugeSN>::loaded());
    ConfigGaugeSN& d = DefaultForm<ConfigGaugeSN>::get();
    d.Form_Activate();
    EXPECT_EQ(child<QLineEdit>(d, "GaugeID")->text(), "7");
    EXPECT_TRUE(child<QLineEdit>(d, "GaugeID")->isReadOnly());
    EXPECT_EQ(child<QComboBox>(d, "GaugeFunction")->currentText(), "037.  RPM");
    EXPECT_EQ(child<QComboBox>(d, "ComboPlate")->currentText(), "000.  Tacho 3000");

    // The end-stop question comes once per activation.
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    child<QSlider>(d, "SliderValue1")->setValue(1000);
    child<QSlider>(d, "SliderValue1")->setValue(1010);
    d.Form_Activate();
    messages_.expectYesNo(kEndStopQuestion, false);
    child<QSlider>(d, "SliderValue1")->setValue(1020);
    click(d, "cmdSetHigh");
    click(d, "Option4");
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{{5, 1000}, {5, 1010}, {9, 1}, {4, 1}}));

    // Calibrate: the plate window opens for this gauge and its plate; the
    // other plate goes to the gauge from there.
    click(d, "cmdAdvanced");
    ASSERT_TRUE(DefaultForm<frmCalibrate>::loaded());
    frmCalibrate& plates = DefaultForm<frmCalibrate>::get();
    EXPECT_EQ(child<QLineEdit>(plates, "boxGaugeID")->text(), "7");
    auto* list = child<QListWidget>(plates, "ListPlates");
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(1);
    plates.model().ListPlates_Click(1);
    click(plates, "CmdPlateToGauge");
    EXPECT_EQ(Cfg.GaugeRecPlate1[7], 1);
    EXPECT_EQ(Session.ConfigChanged, 1);

    // Back in the dialog, the plate list shows the plate the gauge now has.
    d.Form_Activate();
    EXPECT_EQ(child<QComboBox>(d, "ComboPlate")->currentText(), "001.  Tacho 3500");
}

} // namespace
} // namespace varnet

#include "config/gaugetypes.h"
#include "dialog_fixture.h"
#include "gauges/platewindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

namespace varnet {
namespace {

class PlateWindow : public testing::DialogTest {
protected:
    static QLineEdit* box(QWidget& window, const char* name) { return child<QLineEdit>(window, name); }
    // As the user types: the box changes and tells so.
    static void type(QWidget& window, const char* name, const QString& text)
    {
        QLineEdit* edit = box(window, name);
        edit->setText(text);
        emit edit->textEdited(text);
    }
};

TEST_F(PlateWindow, CalibratesSavesAndAssignsThroughItsControls)
{
    gauge(12, SingleNeedleType);
    const int plate = Cfg.AddPlate();
    Cfg.PlateName[plate] = "RPM";
    Cfg.PlateValue[plate] = {1, 1, 0, 100, 0, 100};
    Cfg.PlateSteps[plate] = {0, 1, 0, 500, 0, 500};
    Cfg.GaugeRecPlate1[12] = 7;
    CalNeedleNr = 1;
    CalCategoryName = "Engines";
    CalFunctionName = "040.  RPM";
    CalFunctionNr = 40;
    CalSeqNr = 1;
    CalPlateNr = 0;

    OpenPlateWindow();
    frmCalibrate& w = DefaultForm<frmCalibrate>::get();
    EXPECT_EQ(w.windowTitle(), "Gaugeplate calibration");
    EXPECT_EQ(child<QListWidget>(w, "ListPlates")->item(0)->text(), "000.   RPM");
    EXPECT_EQ(box(w, "Curve1_1")->text(), "100");
    EXPECT_FALSE(box(w, "Curve1_2")->isEnabled());
    EXPECT_FALSE(child<QGroupBox>(w, "Frame1")->isEnabled());
    EXPECT_EQ(link_.sent.back(), (testing::SentCommand{12, 5, 500}));

    click(w, "CmdUpdatePlate");
    EXPECT_EQ(child<QLabel>(w, "CalibrationAction")->text(), "Updating Current Plate Calibration");
    // Another dialog opened meanwhile: the needle still moves on this gauge.
    CurrentGaugeID = 99;
    click(w, "cmdSliderPlus");
    EXPECT_EQ(link_.sent.back(), (testing::SentCommand{12, 5, 501}));
    click(w, "SetStep_1");
    EXPECT_EQ(box(w, "boxLinearStep_1")->text(), "501");
    type(w, "BoxValueToTransfer", "150");
    click(w, "boxValue_1");
    messages_.expectOk("Plate verified and no errors found");
    messages_.expectYesNo("This will update the current plate settings. Continue?", true);
    click(w, "cmdSavePlate");
    EXPECT_EQ(Cfg.PlateValue[plate][3], 150);
    EXPECT_EQ(Cfg.PlateSteps[plate][4 + 1], 501);
    EXPECT_EQ(box(w, "Curve1_1")->text(), "150");
    EXPECT_EQ(child<QLabel>(w, "CalibrationAction")->text(), "Current Plate Calibration Settings");

    click(w, "CmdPlateToGauge");
    EXPECT_EQ(Cfg.GaugeRecPlate1[12], 0);

    // A new plate becomes the one the opener hands over next.
    click(w, "CmdCreateNewPlate");
    type(w, "BoxNameNewPlate", "Boost");
    click(w, "cmdSetNewName");
    click(w, "CmdCalibrateNewPlate");
    type(w, "Curve1_1", "200");
    messages_.expectOk("Plate verified and no errors found");
    click(w, "CmdSaveNewPlate");
    EXPECT_EQ(CalPlateNr, 1);
    EXPECT_EQ(child<QListWidget>(w, "ListPlates")->currentItem()->text(), "001.   Boost");

    // The title bar's close unloads the window as "Close" does.
    w.close();
    EXPECT_FALSE(DefaultForm<frmCalibrate>::loaded());
}

} // namespace
} // namespace varnet

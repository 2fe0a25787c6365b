// The bus engine cluster's plate lists, the packed plate words Apply stores
// (and refuses when a plate does not fit), the plate window hand-over and
// its two speed scales.

#include "bus/sendpath.h"
#include "dialog_fixture.h"
#include "gauges/enginecluster.h"

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class EngineCluster : public testing::DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        // Plates 0..4 fuel, 5..8 engines, 9..10 cockpit, 11 radios.
        for (int category : {3, 3, 3, 3, 3, 1, 1, 1, 1, 6, 6, 5})
            plate(category);
        gauge(20, 8, 2, 3);
    }
    static void plate(int category)
    {
        const int p = Cfg.AddPlate();
        Cfg.PlateName[p] = "P" + std::to_string(p);
        Cfg.PlateValue[p][0] = category;
        Cfg.PlateCount = Integer(p + 1);
    }
    ConfigCessnaEngineCluster& open()
    {
        OpenDialog<ConfigCessnaEngineCluster>();
        link_.clear();
        return DefaultForm<ConfigCessnaEngineCluster>::get();
    }
    static QComboBox* plates(QWidget& d, int needle)
    {
        return child<QComboBox>(d, ("ComboPlate_" + std::to_string(needle - 1)).c_str());
    }
    static void choosePlate(QWidget& d, int needle, int plate)
    {
        QComboBox* c = plates(d, needle);
        c->setCurrentIndex(c->findText(QStringLiteral("%1.  P%2").arg(plate, 3, 10, QLatin1Char('0')).arg(plate)));
    }
};

TEST_F(EngineCluster, ApplyStoresEachPlateInItsFieldAndTheNextOpeningShowsThem)
{
    ConfigCessnaEngineCluster& d = open();
    EXPECT_EQ(plates(d, 1)->count(), 5);
    EXPECT_EQ(plates(d, 8)->itemText(1), "010.  P10");
    for (int needle = 1; needle <= 8; ++needle)
        choosePlate(d, needle, needle + 2);
    click(d, "CmdApply");
    EXPECT_FALSE(DefaultForm<ConfigCessnaEngineCluster>::loaded());
    const GaugeRecord r = GaugeRecord::Read(Cfg, 20);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.seqNr1, r.plate1, r.category2, r.seqNr2,
                                r.plate2, r.function1, r.function2}),
              (std::vector<int>{8, 2, 3, 3, 4, 0x0506, 7, 8, 0x090A, 299, 0}));

    // A stored plate of another category shows no selection; an unsaved
    // choice gives way to the record when the dialog is active again.
    Cfg.GaugeRecSeqNr2[20] = 11;
    ConfigCessnaEngineCluster& again = open();
    EXPECT_EQ(plates(again, 4)->currentText(), "006.  P6");
    EXPECT_EQ(plates(again, 6)->currentIndex(), -1);
    choosePlate(again, 1, 0);
    again.Form_Activate();
    EXPECT_EQ(plates(again, 1)->currentText(), "003.  P3");
}

TEST_F(EngineCluster, ApplyWritesNothingWhenAPlateDoesNotFitItsPacking)
{
    while (Cfg.PlateCount < 257)
        plate(1);
    for (const auto& [needle, plate] : std::vector<std::pair<int, int>>{{3, 128}, {4, 256}}) {
        ConfigCessnaEngineCluster& d = open();
        choosePlate(d, needle, plate);
        choose(d, "NewGaugeID", "30");
        messages_.expectOk(kAssignmentIncorrect);
        click(d, "CmdApply");
        ASSERT_TRUE(DefaultForm<ConfigCessnaEngineCluster>::loaded()) << needle;
        EXPECT_EQ(GaugeRecord::Read(Cfg, 20).function1, 0);
        EXPECT_EQ(Cfg.GaugeRecType[20], 8);
        EXPECT_TRUE(link_.newIDs.empty());
        click(d, "cmdClose");
    }
    // The largest plates that fit fill the word.
    ConfigCessnaEngineCluster& d = open();
    choosePlate(d, 3, 127);
    choosePlate(d, 4, 255);
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[20], 32767);
}

TEST_F(EngineCluster, CalHandsTheNeedleOfThisGaugeToThePlateWindow)
{
    ConfigCessnaEngineCluster& d = open();
    choosePlate(d, 2, 4);
    // The configuration screen has since been asked about another gauge.
    CurrentGaugeID = 99;
    CurrentGaugeTypeName = "Other";
    click(d, "cmdCalibrateFuelRight");
    EXPECT_TRUE(DefaultForm<frmCalibrate>::loaded());
    EXPECT_EQ(std::make_tuple(int(CurrentGaugeID), CurrentGaugeTypeName, int(CalNeedleNr), int(CalFunctionNr),
                              int(CalSeqNr), CalFunctionName, CalCategoryName, int(CalPlateNr)),
              std::make_tuple(20, std::string("Test gauge"), 2, 46, 2, std::string("046   Fuel Right"),
                              std::string("Fuel"), 4));
    click(d, "cmdCalibrateAMP");
    EXPECT_EQ(std::make_tuple(int(CalNeedleNr), CalCategoryName, int(CalPlateNr)),
              std::make_tuple(8, std::string("Cockpit"), 0));
}

TEST_F(EngineCluster, TestSlidersAndTheTwoSpeedScales)
{
    ConfigCessnaEngineCluster& d = open();
    for (int n = 0; n < 8; ++n)
        child<QSlider>(d, ("SliderValue1_" + std::to_string(n)).c_str())->setValue(10 * n + 1);
    auto* speed = child<QSlider>(d, "SliderSpeed");
    speed->setSliderDown(true);
    speed->setSliderPosition(90);
    speed->setSliderPosition(80);
    speed->setSliderDown(false);
    speed->setValue(0);
    EXPECT_EQ(link_.commands(), (Commands{{4, 1}, {5, 11}, {6, 21}, {9, 31}, {10, 41}, {11, 51}, {12, 61}, {13, 71},
                                          {3, 600}, {3, 1000}, {3, 30}, {3, 110}}));
}

} // namespace
} // namespace varnet

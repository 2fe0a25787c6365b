// The digital altimeter dialog: what opening sends, the air pressure read
// from text, the needle offset, intensities, lights and its record.

#include "dialog_fixture.h"
#include "gauges/digitalaltimeter.h"

#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class DigitalAltimeter : public testing::DialogTest {
protected:
    // With `allSet`: three digits, slave and the knob through the simulator.
    ConfigGaugeAD& open(int model, int version, bool allSet)
    {
        gauge(12, 101, model, version);
        Cfg.GaugeRecPlate1[12] = allSet ? 1 : 0;
        Cfg.GaugeRecFunction2[12] = allSet ? -1 : 0;
        Cfg.GaugeRecSeqNr2[12] = allSet ? 1 : 0;
        OpenDialog<ConfigGaugeAD>();
        return DefaultForm<ConfigGaugeAD>::get();
    }
};

TEST_F(DigitalAltimeter, OpeningSetsTheGaugeAsTheRecordSaysAndTheUnitIsWrittenAtOnce)
{
    ConfigGaugeAD& d = open(2, 4, true);
    EXPECT_TRUE(child<QRadioButton>(d, "Slave")->isChecked());
    click(d, "Option1");
    click(d, "cmdClose");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1}, {5, 273}, {14, 1}, {5, 256}}));
    EXPECT_EQ(Cfg.GaugeRecModel[12], 1);
}

TEST(AltimeterPressure, ExactDecimalsWithinTheRule)
{
    for (auto [text, inHg, word] : {std::tuple{"29.92", true, 2992}, {"0.29", true, 29}, {"29,92", true, 2900},
                                    {"29.929", true, 2992}, {"1013.9", false, 1013}, {"9999", false, 9999}})
        EXPECT_EQ(AirPressureWord(text, inHg), word) << text;
    for (auto [text, inHg] : {std::pair{"100", true}, {"-0.01", true}, {"----------", true}, {"abc", false},
                              {"10000", false}, {"12345678901234567890", false}})
        EXPECT_FALSE(AirPressureWord(text, inHg)) << text;
    EXPECT_EQ(AirPressureText(3000, true), "30");
    EXPECT_EQ(AirPressureText(1013, false), "1013");
}

TEST_F(DigitalAltimeter, NeedleOffsetIntensitiesLightsAndAltitude)
{
    ConfigGaugeAD& d = open(1, 4, false);
    link_.clear();
    auto* delta = child<QLineEdit>(d, "Needledelta");
    for (auto [start, nudge, result] : {std::tuple{"1067", "NL1", "0"}, {"0", "NR1", "1068"}, {"5", "NR10", "1068"},
                                        {"70", "NL10", "80"}}) {
        delta->setText(QString::fromLatin1(start));
        click(d, nudge);
        EXPECT_EQ(delta->text(), result) << start << nudge;
    }
    click(d, "Command1");
    for (const char* bad : {"65536", "abc"}) {
        delta->setText(QString::fromLatin1(bad));
        messages_.expectOk(RangeRule("The needle offset", 0, 65535));
        click(d, "Command1");
    }
    click(d, "Command2");
    click(d, "cmdSetDay");
    click(d, "cmdSetNight");
    child<QSlider>(d, "SliderIntensityAlt")->setValue(31);
    child<QSlider>(d, "SliderPressIntensity")->setValue(31);
    click(d, "cmdSetDay");
    click(d, "DisplayOff");
    child<QSlider>(d, "SliderValue1")->setValue(-5000);
    click(d, "cmdsetzero");
    EXPECT_EQ(link_.commands(),
              (Commands{{11, 33}, {11, 31}, {11, 22}, {11, 42}, {6, 80}, {6, 0}, {10, 0x1010}, {8, 143}, {10, 0x5050},
                        {8, 192}, {8, 192}, {10, 257}, {8, 143}, {8, 143}, {8, 15}, {4, -5000}, {4, 0}}));
}

TEST_F(DigitalAltimeter, ApplyWritesTheFixedAssignmentAndUninstallAsksNothing)
{
    ConfigGaugeAD& d = open(2, 4, true);
    link_.clear();
    click(d, "Command6");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 12);
    EXPECT_EQ((std::vector<int>{r.category1, r.function1, r.seqNr1, r.plate1, r.function2, r.seqNr2, r.model}),
              (std::vector<int>{8, 4, 1, 1, -1, 1, 2}));
    EXPECT_EQ(link_.commands(), (Commands{{9, 1026}}));

    click(open(2, 4, true), "CmdUninstall");
    EXPECT_FALSE(DefaultForm<ConfigGaugeAD>::loaded());
    EXPECT_EQ((std::vector<int>{Cfg.GaugeRecType[12], Cfg.GaugeRecFunction2[12], Cfg.GaugeRecModel[12]}),
              (std::vector<int>{0, -1, 2}));
}

} // namespace
} // namespace varnet

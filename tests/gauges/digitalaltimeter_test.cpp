// The digital altimeter dialog: what opening sends, the air pressure typed
// and read back, the needle offset, intensities, lights and its record.

#include "dialog_fixture.h"
#include "gauges/digitalaltimeter.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class DigitalAltimeter : public testing::DialogTest {
protected:
    // mBar, three digits, slave and the knob through the simulator.
    ConfigGaugeAD& open(int model = 2, int version = 4, bool allSet = true)
    {
        gauge(12, 101, model, version);
        Cfg.GaugeRecPlate1[12] = allSet ? 1 : 0;
        Cfg.GaugeRecFunction2[12] = allSet ? -1 : 0;
        Cfg.GaugeRecSeqNr2[12] = allSet ? 1 : 0;
        OpenDialog<ConfigGaugeAD>();
        return DefaultForm<ConfigGaugeAD>::get();
    }
    void type(ConfigGaugeAD& d, const char* box, const char* text)
    {
        child<QLineEdit>(d, box)->setText(QString::fromLatin1(text));
    }
};

TEST_F(DigitalAltimeter, OpeningSetsTheGaugeAsTheRecordSays)
{
    ConfigGaugeAD& d = open(2, 4, true);
    EXPECT_EQ(link_.commands(), (Commands{{5, 1}, {5, 273}, {14, 1}}));
    EXPECT_TRUE(child<QRadioButton>(d, "Slave")->isChecked());
    EXPECT_FALSE(child<QGroupBox>(d, "FrameIntensity")->isHidden());
    click(d, "cmdClose");

    link_.clear();
    ConfigGaugeAD& plain = open(1, 3, false);
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}}));
    EXPECT_TRUE(child<QGroupBox>(plain, "FrameTestKnob")->isHidden());
    // The unit is written at once and kept by Cancel.
    click(plain, "Option2");
    click(plain, "cmdClose");
    EXPECT_EQ(Cfg.GaugeRecModel[12], 2);
    EXPECT_EQ(link_.commands().back(), (std::pair{5, 1}));
}

TEST_F(DigitalAltimeter, AirPressureIsReadAsExactDecimalsAndRefusedOutsideItsRule)
{
    ConfigGaugeAD& d = open(1, 4, false);
    link_.clear();
    for (const char* text : {"29.92", "0.29", "29,92", "29.929"}) {
        type(d, "boxAirPress", text);
        click(d, "cmdWriteAirPress");
    }
    for (const char* text : {"100", "-0.01", "----------", "abc", "12345678901234567890"}) {
        type(d, "boxAirPress", text);
        messages_.expectOk(kAirPressureRule);
        click(d, "cmdWriteAirPress");
    }
    click(d, "Option2");
    for (const char* text : {"1013", "9999"}) {
        type(d, "boxAirPress", text);
        click(d, "cmdWriteAirPress");
    }
    type(d, "boxAirPress", "10000");
    messages_.expectOk(kAirPressureRule);
    click(d, "cmdWriteAirPress");
    EXPECT_EQ(link_.commands(), (Commands{{12, 2992}, {12, 29}, {12, 2900}, {12, 2992}, {5, 1}, {12, 1013}, {12, 9999}}));
}

TEST_F(DigitalAltimeter, ReadShowsPressureKnobAndRotation)
{
    ConfigGaugeAD& d = open(1, 4, false);
    link_.replies[12] = testing::SimControlUnit::reply(12, 101, QByteArray::fromHex("000000 0BB0 00 01 00 7F"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(child<QLineEdit>(d, "boxAirPress")->text(), "29.92");
    EXPECT_TRUE(child<QCheckBox>(d, "CheckPressViaFS")->isChecked());
    EXPECT_EQ(child<QLineEdit>(d, "BoxPressRotation")->text(), "-1");

    click(d, "Option2");
    link_.replies[12] = testing::SimControlUnit::reply(12, 101, QByteArray::fromHex("000000 03F5 00 00 00 80"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(child<QLineEdit>(d, "boxAirPress")->text(), "1013");
    EXPECT_EQ(child<QLineEdit>(d, "BoxPressRotation")->text(), "0");
    // Nothing read: the boxes stay.
    link_.replies.clear();
    click(d, "CmdReadAirPress");
    EXPECT_EQ(child<QLineEdit>(d, "boxAirPress")->text(), "1013");
}

TEST_F(DigitalAltimeter, NeedleOffsetIntensitiesLightsAndAltitude)
{
    ConfigGaugeAD& d = open(1, 4, false);
    link_.clear();
    auto* delta = child<QLineEdit>(d, "Needledelta");
    for (auto [start, nudge, result] : {std::tuple{"1067", "NL1", "0"}, {"0", "NR1", "1068"}, {"5", "NR10", "1068"}}) {
        delta->setText(QString::fromLatin1(start));
        click(d, nudge);
        EXPECT_EQ(delta->text(), result) << start << nudge;
    }
    delta->setText("70");
    click(d, "NL10");
    click(d, "Command1");
    const QString rule = RangeRule("The needle offset", 0, 65535);
    for (const char* bad : {"65536", "-1", "abc"}) {
        delta->setText(QString::fromLatin1(bad));
        messages_.expectOk(rule);
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
    click(d, "cmdsetzero");
    EXPECT_EQ(link_.commands(),
              (Commands{{11, 33}, {11, 31}, {11, 22}, {11, 42}, {6, 80}, {6, 0}, {10, 0x1010}, {8, 143}, {10, 0x5050},
                        {8, 192}, {8, 192}, {10, 257}, {8, 143}, {8, 143}, {8, 15}, {4, -5000}, {4, 0}, {4, 0}}));
}

TEST_F(DigitalAltimeter, ApplyWritesTheFixedAssignmentAndTellsTheGaugeItsUnit)
{
    Cfg.GaugeRecCategory2[12] = 3;
    ConfigGaugeAD& d = open(2, 4, true);
    link_.clear();
    click(d, "Command6");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 12);
    EXPECT_EQ((std::vector<int>{r.category1, r.function1, r.seqNr1, r.plate1, r.function2, r.seqNr2, r.model}),
              (std::vector<int>{8, 4, 1, 1, -1, 1, 2}));
    EXPECT_EQ(r.category2, 3);
    EXPECT_EQ(link_.commands(), (Commands{{9, 1026}}));
    EXPECT_FALSE(DefaultForm<ConfigGaugeAD>::loaded());

    // Uninstall asks nothing and leaves the slave and knob settings.
    open(2, 4, true);
    click(DefaultForm<ConfigGaugeAD>::get(), "CmdUninstall");
    EXPECT_EQ(Cfg.GaugeRecType[12], 0);
    EXPECT_EQ(Cfg.GaugeRecFunction2[12], -1);
    EXPECT_EQ(Cfg.GaugeRecModel[12], 2);
}

} // namespace
} // namespace varnet

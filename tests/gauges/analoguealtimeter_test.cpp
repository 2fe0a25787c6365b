// The analogue altimeter's unit, role and knob words, the air pressure
// written and read back, the needle calibration counter, its status poll,
// and what Apply stores and tells the gauge.

#include "dialog_fixture.h"
#include "gauges/analoguealtimeter.h"
#include "platform/wait.h"

#include <QCheckBox>
#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class AnalogueAltimeter : public testing::DialogTest {
protected:
    ConfigAnalogueAltimeter& open(int unit = 1, int role = 0, int knobViaSim = 0, bool poll = false)
    {
        gauge(41, 101, unit, 5);
        Cfg.GaugeRecFunction2[41] = Integer(role);
        Cfg.GaugeRecSeqNr2[41] = Byte(knobViaSim);
        OpenDialog<ConfigAnalogueAltimeter>();
        ConfigAnalogueAltimeter& d = DefaultForm<ConfigAnalogueAltimeter>::get();
        if (!poll)
            d.TimerScan().stop();
        return d;
    }
    // A reply of the altimeter with `bytes` at their 1-based positions.
    void reply(std::initializer_list<std::pair<int, int>> bytes)
    {
        QByteArray r(25, '\0');
        r[1] = char(41);
        r[24] = char(0xFF);
        for (const auto& [position, value] : bytes)
            r[position - 1] = char(value);
        link_.replies[41] = r;
    }
};

TEST_F(AnalogueAltimeter, StoredSettingsTheirWordsTestSlidersAndApply)
{
    ConfigAnalogueAltimeter& d = open(2, -1, 1);
    EXPECT_TRUE(child<QRadioButton>(d, "Slave")->isChecked());
    EXPECT_EQ(child<QLineEdit>(d, "BoxGaugename")->text(), "Analogue Altimeter (range -2000  to +40000 feet)");
    // The unit is written at once; the knob bit of a unit choice counts
    // from version 4.
    click(d, "Option1");
    EXPECT_EQ(Cfg.GaugeRecModel[41], 1);
    Cfg.GaugeRecVersion[41] = 3;
    for (const char* control : {"Option2", "PressEffectsAlt", "CheckBlockReset"})
        click(d, control);
    Cfg.GaugeRecVersion[41] = 5;
    auto* altitude = child<QSlider>(d, "SliderValue1");
    altitude->setValue(-2000);
    for (const char* control : {"CmdPlus", "cmdsetzero"})
        click(d, control);
    altitude->setValue(40000);
    click(d, "CmdPlus");
    for (int position : {5, 15, 100})
        child<QSlider>(d, "SliderSpeed")->setValue(position);
    click(d, "Master");
    click(d, "Command6");
    EXPECT_EQ(link_.commands(), (Commands{{5, 1}, {5, 17 + 256}, {5, 256}, {5, 1}, {5, 17}, {13, 1}, {4, -2000},
                                          {4, -1999}, {4, 0}, {4, 40000}, {3, 16}, {3, 14}, {3, 6}, {9, 5 * 256 + 2}}));
    const GaugeRecord r = GaugeRecord::Read(Cfg, 41);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.function1, r.seqNr1, r.plate1, r.function2,
                                r.seqNr2}),
              (std::vector<int>{101, 2, 5, 8, 4, 1, 0, 0, 0}));
    // A unit as stored sends nothing on opening; Slave is stored as -1.
    link_.clear();
    ConfigAnalogueAltimeter& again = open();
    click(again, "Slave");
    click(again, "Command6");
    EXPECT_EQ(Cfg.GaugeRecFunction2[41], -1);
    EXPECT_EQ(link_.commands(), (Commands{{9, 5 * 256 + 1}}));
}

TEST_F(AnalogueAltimeter, PressuresAreReadAsDecimalsAndRefusedOutsideTheirRange)
{
    ConfigAnalogueAltimeter& d = open();
    auto* box = child<QLineEdit>(d, "boxAirPress");
    for (const char* typed : {"29.92", "32.05", "100", "abc"}) {
        box->setText(typed);
        if (!QByteArray(typed).contains('.'))
            messages_.expectOk(kAirPressureRule);
        click(d, "cmdWriteAirPress");
    }
    click(d, "Option2");
    box->setText("998.75");
    click(d, "cmdWriteAirPress");
    EXPECT_EQ(link_.commands(), (Commands{{12, 2992}, {12, 3205}, {5, 1}, {12, 998}}));

    // Read back: 2992 hundredths in inHg mode, the knob's offset from 128.
    click(d, "Option1");
    reply({{7, 0x0B}, {8, 0xB0}, {10, 1}, {12, 120}});
    click(d, "CmdReadAirPress");
    EXPECT_EQ(box->text(), "29.92");
    EXPECT_TRUE(child<QCheckBox>(d, "CheckPressViaFS")->isChecked());
    EXPECT_EQ(child<QLineEdit>(d, "BoxPressRotation")->text(), "-8");
}

TEST_F(AnalogueAltimeter, NeedleCalibrationCounterWrapsAndRefusesWhatIsNoStep)
{
    ConfigAnalogueAltimeter& d = open();
    auto* delta = child<QLineEdit>(d, "Needledelta");
    click(d, "Option1000Feet");
    delta->setText("7");
    click(d, "Command2");
    EXPECT_TRUE(d.TimerScan().active());
    d.TimerScan().stop();
    click(d, "NL1");
    EXPECT_EQ(delta->text(), "4319");
    delta->setText("4300");
    for (const char* control : {"NR10", "NR1", "Command1"})
        click(d, control);
    const QString rule = RangeRule(QStringLiteral("Needledelta"), 0, kNeedledeltaTop);
    for (const char* bad : {"abc", "4320"}) {
        delta->setText(bad);
        messages_.expectOk(rule);
        click(d, "Command1");
        messages_.expectOk(rule);
        click(d, "NR1");
    }
    EXPECT_EQ(link_.commands(), (Commands{{10, 2}, {11, 4319}, {11, 0}, {11, 10}, {6, 10}, {10, 0}}));
}

TEST_F(AnalogueAltimeter, StatusPollShowsMovingNeedlesAndStopsWithTheTitleBar)
{
    ConfigAnalogueAltimeter& d = open(1, 0, 0, true);
    auto* status = child<QLineEdit>(d, "boxStatus");
    reply({{16, 1}});
    d.TimerScan().tick();
    EXPECT_EQ(status->text(), "Busy moving Needle(s)");
    reply({{16, 0}});
    child<QSlider>(d, "SliderValue1")->setValue(500);
    link_.clear();
    d.TimerScan().tick();
    EXPECT_EQ(status->text(), "Ready");
    // The status request carries the altitude under test.
    EXPECT_EQ(link_.commands().front(), (std::pair<int, int>{7, 500}));

    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000)) << "the poll runs every 200 ms";
    d.close();
    EXPECT_FALSE(DefaultForm<ConfigAnalogueAltimeter>::loaded());
    const std::size_t sent = link_.sent.size();
    waitMs(450);
    EXPECT_EQ(link_.sent.size(), sent);
}

} // namespace
} // namespace varnet

// The light-aircraft clock's time, display and option commands, its typed
// values, read-back and synchronisation mode.

#include "dialog_fixture.h"
#include "gauges/lightclock.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/fake_clock.h"

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class LightClock : public testing::DialogTest {
protected:
    ConfigCessnaClock& open(int syncMode = 0, int id = 17)
    {
        gauge(id, 109);
        Cfg.GaugeRecPlate1[id] = Integer(syncMode);
        OpenDialog<ConfigCessnaClock>();
        return DefaultForm<ConfigCessnaClock>::get();
    }
    static void type(ConfigCessnaClock& d, const char* box, const QString& text)
    {
        child<QLineEdit>(d, box)->setText(text);
    }
    static QString text(ConfigCessnaClock& d, const char* box) { return child<QLineEdit>(d, box)->text(); }

    testing::FakeClock clock_{QDateTime(QDate(2026, 3, 1), QTime(10, 20, 30))};
};

TEST_F(LightClock, TimesTemperaturesAndVoltageReachTheClock)
{
    ConfigCessnaClock& d = open();
    click(d, "CmdSetUT");
    EXPECT_EQ((QStringList{text(d, "UniversalTimeHours"), text(d, "UniversalTimeMinutes"),
                           text(d, "UniversalTimeSeconds"), text(d, "LocalTimeMinutes"), text(d, "LocalTimeSeconds")}),
              (QStringList{"10", "20", "30", "20", "30"}));
    clock_.set(QDateTime(QDate(2026, 3, 1), QTime(23, 59, 59)));
    click(d, "CmdSetUT");
    type(d, "FThrs", "01");
    type(d, "FTmin", "30");
    click(d, "Command1");
    type(d, "LocalTimeHours", "7");
    click(d, "cmdSetLT");
    type(d, "boxVoltLow", "5");
    click(d, "cmdSetVoltage");
    click(d, "cmdSetCelcius");
    type(d, "boxCelcius", "-3.5");
    click(d, "cmdSetCelcius");
    click(d, "cmdSetFahrenheit");
    EXPECT_EQ(link_.commands(), (Commands{{5, 37230}, {5, -20864}, {6, 5400}, {4, 7}, {9, 6149}, {11, 20},
                                          {11, -4}, {12, 34}}));

    // Values that are no numbers or do not fit: the rule, nothing sent.
    link_.clear();
    type(d, "LocalTimeHours", "x");
    messages_.expectOk(kLocalHoursRule);
    click(d, "cmdSetLT");
    type(d, "FTmin", "75");
    messages_.expectOk(kFlightTimeRule);
    click(d, "Command1");
    type(d, "boxVoltHigh", "256");
    messages_.expectOk(kVoltageRule);
    click(d, "cmdSetVoltage");
    type(d, "boxFahrenheit", "");
    messages_.expectOk(kTemperatureRule);
    click(d, "cmdSetFahrenheit");
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(LightClock, BlinkerSounderLightAndDisplayWords)
{
    ConfigCessnaClock& d = open();
    for (const char* option : {"OptionSecondsBlinkerDot", "OptionSecondsBlinkerSpace", "OptionSecondsBlinkerdisabled",
                               "OptionSounderDisable", "OptionSounderEnable", "DisplayOff", "LightOn", "DisplayOn",
                               "LightOff"})
        click(d, option);
    EXPECT_EQ(link_.commands(), (Commands{{13, 165}, {13, 32}, {13, 0}, {10, 0}, {10, 1}, {8, 0}, {8, 64},
                                          {8, 192}, {8, 128}}));
}

TEST_F(LightClock, ReadTimeFillsTheBoxesFromTheReply)
{
    ConfigCessnaClock& d = open();
    link_.replies[17] =
        testing::SimControlUnit::reply(17, 109, QByteArray::fromHex("0000000E000000 0C0509 00 002D03"));
    click(d, "CmdReadAirPress");
    QStringList shown;
    for (const char* box : {"LocalTimeHours", "UniversalTimeHours", "UniversalTimeMinutes", "UniversalTimeSeconds",
                            "LocalTimeMinutes", "LocalTimeSeconds", "FThrs", "FTmin", "FTsec"})
        shown << text(d, box);
    EXPECT_EQ(shown, (QStringList{"14", "12", "5", "9", "5", "9", "0", "45", "3"}));
}

TEST_F(LightClock, SyncModeComesFromItsOwnRecordAndAnUnknownOneIsKept)
{
    ConfigCessnaClock& d = open(2);
    auto* list = child<QComboBox>(d, "ComboClockSyncMode");
    EXPECT_EQ(list->currentText(), "FS time -> Clock");
    list->setCurrentIndex(1);
    choose(d, "NewGaugeID", "40");
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 40);
    EXPECT_EQ(r.type, 109);
    EXPECT_EQ(r.plate1, 1);
    EXPECT_EQ(r.function1, 10);
    EXPECT_EQ(r.category1, 8);
    EXPECT_EQ(r.seqNr1, 1);
    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{17, 40}}));
    EXPECT_EQ(Session.GaugeRecBusStatus[17], 1);
    EXPECT_EQ(Session.GaugeRecBusStatus[40], 2);

    // A mode the list cannot show: nothing selected, and Apply keeps it. An
    // activation after the screen moved on to another gauge reads this one.
    ConfigCessnaClock& unknown = open(5, 18);
    gauge(19, 109);
    Cfg.GaugeRecPlate1[19] = 1;
    unknown.Form_Activate();
    EXPECT_EQ(child<QComboBox>(unknown, "ComboClockSyncMode")->currentIndex(), -1);
    click(unknown, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[18], 5);
    EXPECT_EQ(Cfg.GaugeRecPlate1[19], 1);
    EXPECT_EQ(Cfg.GaugeRecFunction1[19], 0);
}

} // namespace
} // namespace varnet

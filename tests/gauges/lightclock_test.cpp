// The light-aircraft clock's time, display and option commands, its typed
// values, read-back and synchronisation mode.

#include "dialog_fixture.h"
#include "gauges/lightclock.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/fake_clock.h"

#include <tuple>

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
    QStringList texts(std::initializer_list<const char*> boxes)
    {
        QStringList out;
        for (const char* box : boxes)
            out << child<QLineEdit>(DefaultForm<ConfigCessnaClock>::get(), box)->text();
        return out;
    }
    void type(const char* box, const QString& text)
    {
        child<QLineEdit>(DefaultForm<ConfigCessnaClock>::get(), box)->setText(text);
    }

    testing::FakeClock clock_{QDateTime(QDate(2026, 3, 1), QTime(10, 20, 30))};
};

TEST_F(LightClock, TimesTemperaturesAndVoltageReachTheClockAndTypedFaultsSendNothing)
{
    ConfigCessnaClock& d = open();
    click(d, "CmdSetUT");
    EXPECT_EQ(texts({"UniversalTimeHours", "UniversalTimeMinutes", "UniversalTimeSeconds", "LocalTimeMinutes",
                     "LocalTimeSeconds"}),
              (QStringList{"10", "20", "30", "20", "30"}));
    clock_.set(QDateTime(QDate(2026, 3, 1), QTime(23, 59, 59)));
    click(d, "CmdSetUT");
    type("FThrs", "01");
    type("FTmin", "30");
    type("LocalTimeHours", "7");
    type("boxVoltLow", "5");
    for (const char* name : {"Command1", "cmdSetLT", "cmdSetVoltage", "cmdSetCelcius", "cmdSetFahrenheit"})
        click(d, name);
    type("boxCelcius", "-3.5");
    click(d, "cmdSetCelcius");
    EXPECT_EQ(link_.commands(),
              (Commands{{5, 37230}, {5, -20864}, {6, 5400}, {4, 7}, {9, 6149}, {11, 20}, {12, 34}, {11, -4}}));

    link_.clear();
    for (auto [box, text, button, rule] : {std::tuple{"LocalTimeHours", "x", "cmdSetLT", kLocalHoursRule},
                                           {"FTmin", "75", "Command1", kFlightTimeRule},
                                           {"boxVoltHigh", "256", "cmdSetVoltage", kVoltageRule},
                                           {"boxFahrenheit", "", "cmdSetFahrenheit", kTemperatureRule}}) {
        type(box, text);
        messages_.expectOk(rule);
        click(d, button);
    }
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(LightClock, OptionWordsAndTheReadBack)
{
    ConfigCessnaClock& d = open();
    for (const char* option : {"OptionSecondsBlinkerDot", "OptionSecondsBlinkerSpace", "OptionSecondsBlinkerdisabled",
                               "OptionSounderDisable", "OptionSounderEnable", "DisplayOff", "LightOn", "DisplayOn",
                               "LightOff"})
        click(d, option);
    EXPECT_EQ(link_.commands(), (Commands{{13, 165}, {13, 32}, {13, 0}, {10, 0}, {10, 1}, {8, 0}, {8, 64},
                                          {8, 192}, {8, 128}}));

    link_.replies[17] = testing::SimControlUnit::reply(17, 109, QByteArray::fromHex("0000000E000000 0C0509 00 002D03"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(texts({"LocalTimeHours", "UniversalTimeHours", "LocalTimeMinutes", "LocalTimeSeconds", "FThrs", "FTmin",
                     "FTsec"}),
              (QStringList{"14", "12", "5", "9", "0", "45", "3"}));
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
    EXPECT_EQ(std::tuple(r.type, r.plate1, r.function1, r.category1, r.seqNr1), std::tuple(109, 1, 10, 8, 1));
    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{17, 40}}));

    // Activated after the screen moved on to another gauge: still its own.
    ConfigCessnaClock& unknown = open(5, 18);
    gauge(19, 109);
    Cfg.GaugeRecPlate1[19] = 1;
    unknown.Form_Activate();
    EXPECT_EQ(child<QComboBox>(unknown, "ComboClockSyncMode")->currentIndex(), -1);
    click(unknown, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[18], 5);
    EXPECT_EQ(Cfg.GaugeRecFunction1[19], 0);
}

} // namespace
} // namespace varnet

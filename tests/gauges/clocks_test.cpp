// The two clock dialogs: the airliner clock's date and time words,
// brightness, needle calibration and options; the light-aircraft clock's
// time, display and option commands, its typed values and read-back; and
// the synchronisation mode each keeps in its own record.

#include "dialog_fixture.h"
#include "gauges/airlinerclock.h"
#include "gauges/lightclock.h"
#include "gauges/timewords.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/fake_clock.h"

#include <tuple>

namespace varnet {
namespace {

using testing::Commands;

class Clocks : public testing::DialogTest {
protected:
    ConfigBoeingClock& airliner(int options = 0, int timeMode = 0)
    {
        std::tie(Cfg.GaugeRecPlate1[23], Cfg.GaugeRecPlate2[23]) = std::tuple(options, timeMode);
        auto& d = show<ConfigBoeingClock>(23, 104);
        link_.clear();
        return d;
    }
    static ConfigCessnaClock& light(int syncMode = 0, int id = 17)
    {
        Cfg.GaugeRecPlate1[id] = Integer(syncMode);
        return show<ConfigCessnaClock>(id, 109);
    }
    static QStringList texts(QWidget& d, std::initializer_list<const char*> boxes)
    {
        QStringList out;
        for (const char* box : boxes)
            out << text(d, box);
        return out;
    }
    static int syncMode(QWidget& d) { return child<QComboBox>(d, "ComboClockSyncMode")->currentIndex(); }

    testing::FakeClock clock_{QDateTime(QDate(2026, 12, 5), QTime(10, 0, 0))};
};

TEST_F(Clocks, AirlinerSetDateTimeSendsTheThreeWordsInOrder)
{
    auto& d = airliner();
    click(d, "cmdSetTime");
    clock_.set(QDateTime(QDate(2000, 1, 1), QTime(18, 12, 16)));
    click(d, "cmdSetTime");
    EXPECT_EQ(link_.commands(), (Commands{{15, 0}, {5, 36000}, {4, 27397}, {15, 0}, {5, -1}, {4, 65}}));
    EXPECT_EQ(TimeWordValue(SecondsOfDay(QTime(18, 12, 15))), 65535);
    EXPECT_EQ(DateWord(QDate(2032, 1, 1)), 32833 - 65536);
}

TEST_F(Clocks, AirlinerBrightnessSpeedAndTheNeedleCalibrationCounter)
{
    auto& d = airliner();
    act(d, "Slider1=100 Slider1=400 CmdBrightnessNight DisplayOn cmdBrightnessDay");
    QStringList shown;
    for (auto [start, button] : {std::pair{"1079", "NL1"}, {"0", "NR1"}, {"1075", "NL10"}, {"5", "NR10"}}) {
        act(d, QStringLiteral("Needledelta=%1 %2").arg(start, button));
        shown << text(d, "Needledelta");
    }
    EXPECT_EQ(shown, (QStringList{"0", "1079", "0", "1079"}));
    click(d, "cmdSetCalibration");
    auto* counter = child<QLineEdit>(d, "Needledelta");
    EXPECT_EQ(counter->palette().color(QPalette::Base), QColor(Qt::white));
    click(d, "cmdResetCalibration");
    EXPECT_EQ(counter->text(), "0");
    EXPECT_EQ(counter->palette().color(QPalette::Base), QColor(255, 192, 192));
    EXPECT_EQ(link_.commands(), (Commands{{3, 350}, {3, 50}, {13, 39}, {8, 64}, {8, 192}, {13, 7}, {8, 128}, {11, 33},
                                          {11, 31}, {11, 42}, {11, 22}, {12, 1079}, {10, 0}}));

    link_.clear();
    counter->setText("1080");
    for (const char* button : {"cmdSetCalibration", "NL1"}) {
        messages_.expectOk(kSecondsNeedleRule);
        click(d, button);
    }
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(Clocks, AirlinerOptionsComeFromItsOwnRecordAndApplyMovesThem)
{
    auto& d = airliner(34, 1);
    EXPECT_EQ(child<QComboBox>(d, "ComboClockSyncMode")->currentText(), "FS time/date -> Clock");
    EXPECT_TRUE(checked(d, "OptionSecondsRealTime") && checked(d, "OptionShowUTC"));
    child<QComboBox>(d, "ComboClockSyncMode")->setCurrentIndex(3);
    act(d, "OptionSecondsElapsedTime OptionShowLocalTime");
    gauge(24, 104);  // the screen opened another gauge meanwhile
    d.Form_Activate();
    EXPECT_TRUE(checked(d, "OptionSecondsRealTime") && checked(d, "OptionShowUTC"));
    EXPECT_EQ(syncMode(d), 2);
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}, {14, 1}}));
    choose(d, "NewGaugeID", "60");
    click(d, "CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate1[60], Cfg.GaugeRecPlate2[60], Cfg.GaugeRecFunction1[60]),
              std::tuple(34, 1, 10));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[23], Cfg.GaugeRecPlate1[23]), std::tuple(0, 34));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[23], Session.GaugeRecBusStatus[60]), std::tuple(1, 2));

    // A sync mode the list cannot show is kept; the needle bit follows the option.
    auto& unknown = airliner(7);
    EXPECT_EQ(syncMode(unknown), -1);
    act(unknown, "OptionSecondsRealTime CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[23], 39);
}

TEST_F(Clocks, LightTimesTemperaturesAndVoltageReachTheClockAndTypedFaultsSendNothing)
{
    clock_.set(QDateTime(QDate(2026, 3, 1), QTime(10, 20, 30)));
    auto& d = light();
    click(d, "CmdSetUT");
    EXPECT_EQ(texts(d, {"UniversalTimeHours", "UniversalTimeMinutes", "UniversalTimeSeconds", "LocalTimeMinutes",
                        "LocalTimeSeconds"}),
              (QStringList{"10", "20", "30", "20", "30"}));
    clock_.set(QDateTime(QDate(2026, 3, 1), QTime(23, 59, 59)));
    click(d, "CmdSetUT");
    act(d, "FThrs=01 FTmin=30 LocalTimeHours=7 boxVoltLow=5 Command1 cmdSetLT cmdSetVoltage cmdSetCelcius "
           "cmdSetFahrenheit boxCelcius=-3.5 cmdSetCelcius");
    EXPECT_EQ(link_.commands(),
              (Commands{{5, 37230}, {5, -20864}, {6, 5400}, {4, 7}, {9, 6149}, {11, 20}, {12, 34}, {11, -4}}));

    link_.clear();
    for (auto [steps, rule] : {std::pair{"LocalTimeHours=x cmdSetLT", kLocalHoursRule},
                               {"FTmin=75 Command1", kFlightTimeRule}, {"boxVoltHigh=256 cmdSetVoltage", kVoltageRule},
                               {"boxFahrenheit= cmdSetFahrenheit", kTemperatureRule}}) {
        messages_.expectOk(rule);
        act(d, steps);
    }
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(Clocks, LightOptionWordsAndTheReadBack)
{
    auto& d = light();
    act(d, "OptionSecondsBlinkerDot OptionSecondsBlinkerSpace OptionSecondsBlinkerdisabled OptionSounderDisable "
           "OptionSounderEnable DisplayOff LightOn DisplayOn LightOff");
    EXPECT_EQ(link_.commands(),
              (Commands{{13, 165}, {13, 32}, {13, 0}, {10, 0}, {10, 1}, {8, 0}, {8, 64}, {8, 192}, {8, 128}}));

    link_.replies[17] = testing::SimControlUnit::reply(17, 109, QByteArray::fromHex("0000000E000000 0C0509 00 002D03"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(texts(d, {"LocalTimeHours", "UniversalTimeHours", "LocalTimeMinutes", "LocalTimeSeconds", "FThrs",
                        "FTmin", "FTsec"}),
              (QStringList{"14", "12", "5", "9", "0", "45", "3"}));
}

TEST_F(Clocks, LightSyncModeComesFromItsOwnRecordAndAnUnknownOneIsKept)
{
    auto& d = light(2);
    EXPECT_EQ(child<QComboBox>(d, "ComboClockSyncMode")->currentText(), "FS time -> Clock");
    child<QComboBox>(d, "ComboClockSyncMode")->setCurrentIndex(1);
    choose(d, "NewGaugeID", "40");
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 40);
    EXPECT_EQ(std::tuple(r.type, r.plate1, r.function1, r.category1, r.seqNr1), std::tuple(109, 1, 10, 8, 1));
    EXPECT_EQ(link_.newIDs, (Commands{{17, 40}}));

    // Activated after the screen moved on to another gauge: still its own.
    auto& unknown = light(5, 18);
    gauge(19, 109);
    Cfg.GaugeRecPlate1[19] = 1;
    unknown.Form_Activate();
    EXPECT_EQ(syncMode(unknown), -1);
    click(unknown, "CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate1[18], Cfg.GaugeRecFunction1[19]), std::tuple(5, 0));
}

} // namespace
} // namespace varnet

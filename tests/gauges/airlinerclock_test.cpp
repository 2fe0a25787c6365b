// The airliner clock's date and time words, brightness, needle speed and
// calibration, its read-back and the options it keeps in the record.

#include "dialog_fixture.h"
#include "gauges/airlinerclock.h"
#include "gauges/timewords.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/fake_clock.h"

#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class AirlinerClock : public testing::DialogTest {
protected:
    ConfigBoeingClock& open(int options = 0, int timeMode = 0, int id = 23)
    {
        gauge(id, 104);
        Cfg.GaugeRecPlate1[id] = Integer(options);
        Cfg.GaugeRecPlate2[id] = Integer(timeMode);
        OpenDialog<ConfigBoeingClock>();
        link_.clear();
        return DefaultForm<ConfigBoeingClock>::get();
    }
    static bool selected(ConfigBoeingClock& d, const char* name) { return child<QRadioButton>(d, name)->isChecked(); }

    testing::FakeClock clock_{QDateTime(QDate(2026, 12, 5), QTime(10, 0, 0))};
};

TEST(TimeWords, SecondsAboveTheFrameTravelNegativeAndTheDateWordIsSigned)
{
    for (auto [time, value] : {std::pair{QTime(18, 12, 15), 65535}, {QTime(18, 12, 16), -1},
                               {QTime(23, 59, 59), -20864}, {QTime(0, 0, 0), 0}})
        EXPECT_EQ(TimeWordValue(SecondsOfDay(time)), value) << time.toString().toStdString();
    EXPECT_EQ(DateWord(QDate(2026, 12, 5)), 27397);
    EXPECT_EQ(DateWord(QDate(2000, 1, 1)), 65);
    EXPECT_EQ(DateWord(QDate(2031, 12, 31)), 32543);
    EXPECT_EQ(DateWord(QDate(2032, 1, 1)), 32833 - 65536);
}

TEST_F(AirlinerClock, SetDateTimeSendsTheThreeWordsInOrder)
{
    ConfigBoeingClock& d = open();
    click(d, "cmdSetTime");
    clock_.set(QDateTime(QDate(2000, 1, 1), QTime(18, 12, 16)));
    click(d, "cmdSetTime");
    EXPECT_EQ(link_.commands(), (Commands{{15, 0}, {5, 36000}, {4, 27397}, {15, 0}, {5, -1}, {4, 65}}));
}

TEST_F(AirlinerClock, BrightnessSpeedAndTheNeedleCalibrationCounter)
{
    ConfigBoeingClock& d = open();
    child<QSlider>(d, "Slider1")->setValue(100);
    child<QSlider>(d, "Slider1")->setValue(400);
    click(d, "CmdBrightnessNight");
    click(d, "DisplayOn");
    click(d, "cmdBrightnessDay");
    auto* counter = child<QLineEdit>(d, "Needledelta");
    counter->setText("1079");
    click(d, "NL1");
    EXPECT_EQ(counter->text(), "0");
    click(d, "NR1");
    EXPECT_EQ(counter->text(), "1079");
    counter->setText("1075");
    click(d, "NL10");
    EXPECT_EQ(counter->text(), "0");
    counter->setText("5");
    click(d, "NR10");
    EXPECT_EQ(counter->text(), "1079");
    click(d, "cmdSetCalibration");
    EXPECT_EQ(counter->palette().color(QPalette::Base), QColor(Qt::white));
    click(d, "cmdResetCalibration");
    EXPECT_EQ(counter->text(), "0");
    EXPECT_EQ(counter->palette().color(QPalette::Base), QColor(255, 192, 192));
    EXPECT_EQ(link_.commands(), (Commands{{3, 350}, {3, 50}, {13, 39}, {8, 64}, {8, 192}, {13, 7}, {8, 128},
                                          {11, 33}, {11, 31}, {11, 42}, {11, 22}, {12, 1079}, {10, 0}}));

    link_.clear();
    for (const char* bad : {"abc", "1080"}) {
        counter->setText(bad);
        messages_.expectOk(kSecondsNeedleRule);
        click(d, "cmdSetCalibration");
        messages_.expectOk(kSecondsNeedleRule);
        click(d, "NL1");
    }
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(AirlinerClock, ReadShowsDateRealAndElapsedTime)
{
    ConfigBoeingClock& d = open();
    link_.replies[23] =
        testing::SimControlUnit::reply(23, 104, QByteArray::fromHex("0000001A0C05 00 09051E 00 011E00"));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(child<QLineEdit>(d, "boxdate")->text(), "2026-12-5");
    EXPECT_EQ(child<QLineEdit>(d, "boxRealTime")->text(), "9:5:30");
    EXPECT_EQ(child<QLineEdit>(d, "boxElapsedTime")->text(), "1:30:0");
}

TEST_F(AirlinerClock, OptionsComeFromItsOwnRecordAndApplyStoresThem)
{
    ConfigBoeingClock& d = open(34, 1);
    EXPECT_EQ(child<QComboBox>(d, "ComboClockSyncMode")->currentText(), "FS time/date -> Clock");
    EXPECT_TRUE(selected(d, "OptionSecondsRealTime"));
    EXPECT_TRUE(selected(d, "OptionShowUTC"));
    child<QComboBox>(d, "ComboClockSyncMode")->setCurrentIndex(3);
    click(d, "OptionSecondsElapsedTime");
    click(d, "OptionShowLocalTime");
    // Another gauge opened meanwhile: activation shows this gauge's record.
    gauge(24, 104);
    d.Form_Activate();
    EXPECT_TRUE(selected(d, "OptionSecondsRealTime"));
    EXPECT_EQ(child<QComboBox>(d, "ComboClockSyncMode")->currentIndex(), 2);
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}, {14, 1}}));
    choose(d, "NewGaugeID", "60");
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[60], 34);
    EXPECT_EQ(Cfg.GaugeRecPlate2[60], 1);
    EXPECT_EQ(Cfg.GaugeRecFunction1[60], 10);
    EXPECT_EQ(Cfg.GaugeRecType[23], 0);
    EXPECT_EQ(Cfg.GaugeRecPlate1[23], 34);
    EXPECT_EQ(Session.GaugeRecBusStatus[23], 1);
    EXPECT_EQ(Session.GaugeRecBusStatus[60], 2);

    // A sync mode the list cannot show is kept; the needle bit follows the option.
    ConfigBoeingClock& unknown = open(7);
    EXPECT_EQ(child<QComboBox>(unknown, "ComboClockSyncMode")->currentIndex(), -1);
    click(unknown, "OptionSecondsRealTime");
    click(unknown, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[23], 39);
    EXPECT_EQ(Cfg.GaugeRecPlate2[23], 0);
}

} // namespace
} // namespace varnet

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

TEST_F(AirlinerClock, SetDateTimeSendsTheThreeWordsInOrder)
{
    ConfigBoeingClock& d = open();
    click(d, "cmdSetTime");
    clock_.set(QDateTime(QDate(2000, 1, 1), QTime(18, 12, 16)));
    click(d, "cmdSetTime");
    EXPECT_EQ(link_.commands(), (Commands{{15, 0}, {5, 36000}, {4, 27397}, {15, 0}, {5, -1}, {4, 65}}));
    EXPECT_EQ(TimeWordValue(SecondsOfDay(QTime(18, 12, 15))), 65535);
    EXPECT_EQ(DateWord(QDate(2032, 1, 1)), 32833 - 65536);
}

TEST_F(AirlinerClock, BrightnessSpeedAndTheNeedleCalibrationCounter)
{
    ConfigBoeingClock& d = open();
    child<QSlider>(d, "Slider1")->setValue(100);
    child<QSlider>(d, "Slider1")->setValue(400);
    for (const char* name : {"CmdBrightnessNight", "DisplayOn", "cmdBrightnessDay"})
        click(d, name);
    auto* counter = child<QLineEdit>(d, "Needledelta");
    QStringList shown;
    for (auto [start, button] : {std::pair{"1079", "NL1"}, {"0", "NR1"}, {"1075", "NL10"}, {"5", "NR10"}}) {
        counter->setText(start);
        click(d, button);
        shown << counter->text();
    }
    EXPECT_EQ(shown, (QStringList{"0", "1079", "0", "1079"}));
    click(d, "cmdSetCalibration");
    EXPECT_EQ(counter->palette().color(QPalette::Base), QColor(Qt::white));
    click(d, "cmdResetCalibration");
    EXPECT_EQ(counter->text(), "0");
    EXPECT_EQ(counter->palette().color(QPalette::Base), QColor(255, 192, 192));
    EXPECT_EQ(link_.commands(), (Commands{{3, 350}, {3, 50}, {13, 39}, {8, 64}, {8, 192}, {13, 7}, {8, 128},
                                          {11, 33}, {11, 31}, {11, 42}, {11, 22}, {12, 1079}, {10, 0}}));

    link_.clear();
    counter->setText("1080");
    messages_.expectOk(kSecondsNeedleRule);
    click(d, "cmdSetCalibration");
    messages_.expectOk(kSecondsNeedleRule);
    click(d, "NL1");
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(AirlinerClock, OptionsComeFromItsOwnRecordAndApplyMovesThem)
{
    ConfigBoeingClock& d = open(34, 1);
    EXPECT_EQ(child<QComboBox>(d, "ComboClockSyncMode")->currentText(), "FS time/date -> Clock");
    EXPECT_TRUE(selected(d, "OptionSecondsRealTime") && selected(d, "OptionShowUTC"));
    child<QComboBox>(d, "ComboClockSyncMode")->setCurrentIndex(3);
    click(d, "OptionSecondsElapsedTime");
    click(d, "OptionShowLocalTime");
    gauge(24, 104);  // the screen opened another gauge meanwhile
    d.Form_Activate();
    EXPECT_TRUE(selected(d, "OptionSecondsRealTime") && selected(d, "OptionShowUTC"));
    EXPECT_EQ(child<QComboBox>(d, "ComboClockSyncMode")->currentIndex(), 2);
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}, {14, 1}}));
    choose(d, "NewGaugeID", "60");
    click(d, "CmdApply");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecPlate1[60], Cfg.GaugeRecPlate2[60], Cfg.GaugeRecFunction1[60]),
              std::tuple(34, 1, 10));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[23], Cfg.GaugeRecPlate1[23]), std::tuple(0, 34));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[23], Session.GaugeRecBusStatus[60]), std::tuple(1, 2));

    // A sync mode the list cannot show is kept; the needle bit follows the option.
    ConfigBoeingClock& unknown = open(7);
    EXPECT_EQ(child<QComboBox>(unknown, "ComboClockSyncMode")->currentIndex(), -1);
    click(unknown, "OptionSecondsRealTime");
    click(unknown, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecPlate1[23], 39);
}

} // namespace
} // namespace varnet

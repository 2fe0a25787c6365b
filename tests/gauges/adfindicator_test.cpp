// The ADF indicator's pointer calibration, test pointer, compass poll and
// its record.

#include "dialog_fixture.h"
#include "gauges/adfindicator.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class ADFIndicator : public testing::DialogTest {
protected:
    ConfigADF& open()
    {
        gauge(30, 108);
        OpenDialog<ConfigADF>();
        return DefaultForm<ConfigADF>::get();
    }
    static QLineEdit* delta(ConfigADF& d) { return child<QLineEdit>(d, "Needledelta"); }
    int polls() const
    {
        const Commands sent = link_.commands();
        return int(std::count(sent.begin(), sent.end(), std::pair{7, 0}));
    }
};

TEST_F(ADFIndicator, PointerCalibrationWrapsAndTypedDeltasFollowTheRule)
{
    ConfigADF& d = open();
    EXPECT_EQ(child<QLineEdit>(d, "BoxGaugename")->text(), "Fixed Function: Test gauge");
    click(d, "cmdResetCalibrationPointer");
    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        click(d, "NR1");
        shown << delta(d)->text();
    }
    EXPECT_EQ(shown, (QStringList{"4319", "4314", "4309"}));
    delta(d)->setText("4300");
    click(d, "cmdNL10");
    EXPECT_EQ(delta(d)->text(), "0");
    delta(d)->setText("125");
    click(d, "cmdSetPointerCalibration");
    click(d, "cmdTestPointerCalibration");
    click(d, "cmdCalibrateCompass");
    EXPECT_EQ(link_.commands(),
              (Commands{{9, 0}, {1, 0}, {6, -5}, {6, -5}, {6, -5}, {6, 50}, {9, 125}, {1, 0}, {11, 1}}));

    link_.clear();
    for (const char* bad : {"12x", "4320", ""}) {
        delta(d)->setText(bad);
        messages_.expectOk(kPointerDeltaRule);
        click(d, "cmdSetPointerCalibration");
        messages_.expectOk(kPointerDeltaRule);
        click(d, "NL1");
        EXPECT_EQ(delta(d)->text(), bad);
    }
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(ADFIndicator, TestPointerAndSpeedSendTheirSteps)
{
    ConfigADF& d = open();
    child<QSlider>(d, "SliderValue1")->setValue(90);
    child<QSlider>(d, "SliderValue1")->setValue(359);
    child<QSlider>(d, "SliderSpeed")->setValue(0);
    // The box follows the slider: a change shown there sends again.
    EXPECT_EQ(link_.commands(), (Commands{{5, 1079}, {5, 1079}, {5, 4307}, {5, 4307}, {3, 310}}));
    EXPECT_EQ(child<QLineEdit>(d, "BoxtestValue1")->text(), "359");
    EXPECT_EQ(PointerSteps(0), 0);
}

TEST_F(ADFIndicator, ThePollShowsTheCourseAndEndsWithTheDialog)
{
    link_.replies[30] = testing::SimControlUnit::reply(30, 108, QByteArray::fromHex("000000032C"));
    ConfigADF& d = open();
    d.Form_Activate();
    EXPECT_TRUE(waitUntil([&] { return polls() >= 2; }, 1000));
    EXPECT_EQ(child<QLineEdit>(d, "boxCourse")->text(), "90");
    click(d, "CmdClose");
    link_.clear();
    waitMs(150);
    EXPECT_EQ(polls(), 0);

    // Closed by its title bar: the same.
    open().Form_Activate();
    EXPECT_TRUE(waitUntil([&] { return polls() >= 1; }, 1000));
    DefaultForm<ConfigADF>::get().close();
    link_.clear();
    waitMs(150);
    EXPECT_EQ(polls(), 0);

    for (auto [position, course] : {std::pair{0, 0}, {1, 0}, {2, 359}, {271, 270}, {542, 180}, {1084, 0}})
        EXPECT_EQ(CompassCourse(position), course) << position;
}

TEST_F(ADFIndicator, ApplyClearsBothAssignmentsAndWritesFunction32)
{
    ConfigADF& d = open();
    Cfg.GaugeRecPlate1[30] = 7;
    Cfg.GaugeRecFunction2[30] = 5;
    Cfg.GaugeRecPlate2[30] = 9;
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 30);
    EXPECT_EQ(r.type, 108);
    EXPECT_EQ(r.function1, 32);
    EXPECT_EQ(r.plate1, 0);
    EXPECT_EQ(r.function2, 0);
    EXPECT_EQ(r.plate2, 9);
}

} // namespace
} // namespace varnet

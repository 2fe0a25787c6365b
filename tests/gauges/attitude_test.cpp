// The attitude indicator dialog: the axes of each model, Level, the speeds
// on one command, the rotation and sweep with their stop, calibration, and
// Apply.

#include "bus/gaugeframes.h"
#include "dialog_fixture.h"
#include "gauges/attitude.h"

#include <QTimer>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class AttitudeIndicator : public testing::DialogTest {
protected:
    ConfigGaugeAI& open(int model, int busStatus = 2)
    {
        gauge(12, 103, model, 1, busStatus);
        OpenDialog<ConfigGaugeAI>();
        ConfigGaugeAI& d = DefaultForm<ConfigGaugeAI>::get();
        d.Form_Activate();
        link_.clear();
        return d;
    }
};

TEST_F(AttitudeIndicator, LevelSpeedsAndApplyFollowTheModel)
{
    ConfigGaugeAI& one = open(1);
    click(one, "cmdLevelBank");  // already level: sent all the same
    click(one, "cmdLevelPitch");
    click(one, "cmdSetBankSpeedl");
    click(one, "cmdSetPitchSpeed");
    EXPECT_EQ(link_.commands(), (Commands{{4, 2160}, {5, 600}, {3, 250}, {3, -600}}));
    // At 0 the pitch speed keeps its sign flag: a plain 0 would set the bank speed.
    child<QSlider>(one, "SliderPitchSpeed")->setValue(0);
    click(one, "cmdSetPitchSpeed");
    EXPECT_EQ(quint8(GaugeBusFrame(12, 3, link_.sent.back().value)->at(2)), 0x3C);
    click(one, "Command5");

    Cfg.GaugeRecCategory2[12] = 7;
    ConfigGaugeAI& two = open(2, 0);
    EXPECT_EQ(child<QLineEdit>(two, "BoxtestValue1")->text(), "959");
    click(two, "cmdLevelBank");
    click(two, "cmdLevelPitch");
    EXPECT_EQ(link_.commands(), (Commands{{4, 480}, {5, 80}}));
    // Moved whatever the bus status says.
    choose(two, "NewGaugeID", "40");
    click(two, "CmdApply");
    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{12, 40}}));
    EXPECT_EQ(Cfg.GaugeRecType[12], 0);
    const GaugeRecord r = GaugeRecord::Read(Cfg, 40);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.category1, r.function1, r.seqNr1, r.plate1, r.category2,
                                r.function2, r.seqNr2, r.plate2}),
              (std::vector<int>{103, 2, 8, 5, 1, 480, 0, 6, 1, 80}));
}

TEST_F(AttitudeIndicator, SweepAndRotationStopOnStopAndOnClosing)
{
    ConfigGaugeAI& d = open(0);
    child<QTimer>(d, "Timer1")->setInterval(10);
    click(d, "cmdMovePitch");
    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000));
    click(d, "Command1");
    const Commands swept = link_.commands();
    EXPECT_EQ(Commands(swept.begin(), swept.begin() + 3), (Commands{{5, 640}, {5, 0}, {5, 640}}));
    EXPECT_EQ(swept.back(), (std::pair{14, 0}));
    link_.clear();
    waitMs(40);
    for (const char* name : {"BL1", "BL10", "BR1", "BR10", "PL1", "PL10", "PR1", "PR10", "cmdRecalibrate",
                             "CmdSetCalibration", "cmdResetCalibration", "cmdRotateCW"})
        click(d, name);
    d.close();  // the title bar, while the bank axis turns
    EXPECT_EQ(link_.commands(), (Commands{{10, 1}, {10, 50}, {10, -1}, {10, -50}, {11, 1}, {11, 20}, {11, -1},
                                          {11, -20}, {1, 0}, {12, 0}, {13, 0}, {1, 0}, {14, 2}, {14, 0}}));
    click(open(0), "Command5");  // at rest nothing is sent
    EXPECT_TRUE(link_.sent.empty());
    ConfigGaugeAI& sweeping = open(0);
    click(sweeping, "cmdMovePitch");
    click(sweeping, "Command5");
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}}));
}

} // namespace
} // namespace varnet

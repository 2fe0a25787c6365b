// The attitude indicator dialog: the axes of each model, Level, the two
// speeds on one command, rotation and sweep with their stop, and Apply.

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

TEST_F(AttitudeIndicator, LevelFollowsTheModelAndApplyStoresBothLevels)
{
    ConfigGaugeAI& one = open(1);
    click(one, "cmdLevelBank");  // already level: sent all the same
    click(one, "cmdLevelPitch");
    EXPECT_EQ(link_.commands(), (Commands{{4, 2160}, {5, 600}}));
    click(one, "Command5");

    Cfg.GaugeRecCategory2[12] = 7;
    ConfigGaugeAI& two = open(2, 0);
    EXPECT_EQ(child<QLineEdit>(two, "BoxModel")->text(), "2");
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
    EXPECT_EQ(Session.GaugeRecBusStatus[40], 0);
}

TEST_F(AttitudeIndicator, PitchSpeedCarriesItsSignFlagEvenAtZero)
{
    ConfigGaugeAI& d = open(1);
    for (int position : {100, 0}) {
        child<QSlider>(d, "SliderBankSpeed")->setValue(position);
        click(d, "cmdSetBankSpeedl");
        child<QSlider>(d, "SliderPitchSpeed")->setValue(position);
        click(d, "cmdSetPitchSpeed");
    }
    EXPECT_EQ(link_.commands(), (Commands{{3, 100}, {3, -100}, {3, 0}, {3, 0}}));
    const auto flags = [](double value) { return quint8(GaugeBusFrame(12, 3, value)->at(2)); };
    EXPECT_EQ(flags(link_.sent[2].value), 0x38);
    EXPECT_EQ(flags(link_.sent[3].value), 0x3C);

    // The model without its own speeds narrows the sliders.
    click(d, "Command5");
    ConfigGaugeAI& other = open(0);
    EXPECT_EQ(child<QSlider>(other, "SliderPitchSpeed")->minimum(), 60);
    EXPECT_EQ(child<QSlider>(other, "SliderBankSpeed")->value(), 100);
}

TEST_F(AttitudeIndicator, SweepRotationAndCalibrationStopWhenTheDialogCloses)
{
    ConfigGaugeAI& d = open(0);
    child<QTimer>(d, "Timer1")->setInterval(10);
    click(d, "cmdMovePitch");
    ASSERT_TRUE(waitUntil([&] { return link_.sent.size() >= 3; }, 1000));
    click(d, "Command1");
    const Commands sent = link_.commands();
    EXPECT_EQ(Commands(sent.begin(), sent.begin() + 3), (Commands{{5, 640}, {5, 0}, {5, 640}}));
    EXPECT_EQ(sent.back(), (std::pair{14, 0}));
    link_.clear();
    waitMs(40);
    EXPECT_TRUE(link_.sent.empty());

    for (const char* name : {"BL1", "BL10", "BR1", "BR10", "PL1", "PL10", "PR1", "PR10", "cmdRecalibrate",
                             "CmdSetCalibration", "cmdResetCalibration", "cmdRotateCW"})
        click(d, name);
    d.close();  // the title bar, while the bank axis turns
    EXPECT_EQ(link_.commands(), (Commands{{10, 1}, {10, 50}, {10, -1}, {10, -50}, {11, 1}, {11, 20}, {11, -1},
                                          {11, -20}, {1, 0}, {12, 0}, {13, 0}, {1, 0}, {14, 2}, {14, 0}}));

    // Sweeping, Cancel stops it; at rest nothing is sent.
    ConfigGaugeAI& sweeping = open(0);
    click(sweeping, "cmdMovePitch");
    click(sweeping, "Command5");
    EXPECT_EQ(link_.commands(), (Commands{{14, 0}}));
    click(open(0), "Command5");
    EXPECT_TRUE(link_.sent.empty());
}

} // namespace
} // namespace varnet

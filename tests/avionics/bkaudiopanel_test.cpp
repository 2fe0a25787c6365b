// The audio panel's marker test, its read-back of the rotary switch and the
// selector lamps, the "Power" options that send nothing, and what Apply
// writes.

#include "avionics/bkaudiopanel.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QGroupBox>

namespace varnet {
namespace {

class AudioPanel : public testing::DialogTest {
protected:
    ConfigBKaudioPanel& open()
    {
        gauge(90, 125, 3, 2, 0);
        Cfg.GaugeRecPlate1[90] = 4;
        OpenDialog<ConfigBKaudioPanel>();
        return DefaultForm<ConfigBKaudioPanel>::get();
    }
    // Reads a reply and tells which lamps are lit.
    std::vector<QString> read(QWidget& d, int buttons1, int buttons2, int rotary)
    {
        QByteArray r = testing::SimControlUnit::reply(90, 125);
        r[6] = char(buttons1);
        r[7] = char(buttons2);
        r[9] = char(rotary);
        link_.replies[90] = r;
        click(d, "CmdReadSwitches");
        std::vector<QString> on;
        for (const char* lamp :
             {"boxCOM1", "boxCOM2", "boxNAV1", "boxNAV2", "boxMKR", "boxADF", "boxDME", "boxAUX", "boxICS", "boxSPKR"})
            if (child<QLineEdit>(d, lamp)->palette().color(QPalette::Base) == QColor(255, 0, 0))
                on.push_back(child<QLineEdit>(d, lamp)->text());
        return on;
    }
};

TEST_F(AudioPanel, MarkerLampsAndPowerOptionsThatSendNothing)
{
    ConfigBKaudioPanel& d = open();
    EXPECT_EQ(child<QGroupBox>(d, "FrameDisplays")->title(), "Power");
    EXPECT_TRUE(child<QGroupBox>(d, "FrameBacklight")->isHidden());
    for (const char* control : {"DisplaysOn", "DisplaysOff", "CheckOuterMarker", "CheckInnerMarker", "CmdSetMarkers",
                                "CheckMiddleMarker", "CmdSetMarkers", "CheckOuterMarker", "CheckMiddleMarker",
                                "CheckInnerMarker", "CmdSetMarkers"})
        click(d, control);
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{{6, 5}, {6, 7}, {6, 0}}));
}

TEST_F(AudioPanel, ReadShowsTheRotarySwitchAndTheSelectorLamps)
{
    ConfigBKaudioPanel& d = open();
    EXPECT_EQ(read(d, 0x21, 0x0F, 4), (std::vector<QString>{"COM1", "COM2", "NAV1", "MKR", "ADF", "DME"}));
    EXPECT_EQ(read(d, 0xDE, 0xF0, 0), (std::vector<QString>{"NAV2", "AUX", "ICS", "SPR"}));
    read(d, 0, 0, 7);
    EXPECT_EQ(child<QLineEdit>(d, "boxRotary")->text(), "COM12");
}

TEST_F(AudioPanel, ApplyWritesTheFixedFunctionsAndLeavesModelZero)
{
    ConfigBKaudioPanel& d = open();
    Cfg.GaugeRecModel[91] = 9;
    choose(d, "NewGaugeID", "91");
    click(d, "CmdAssign");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 91);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.function1, r.function2, r.plate1}),
              (std::vector<int>{125, 0, 2, 5, 38, 180, 0}));
    EXPECT_TRUE(link_.sent.empty());
}

} // namespace
} // namespace varnet

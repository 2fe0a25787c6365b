// The CTL30 radio module: its own settings sequence, the rotary switch in
// the read-back, and a refused box that stops Apply before anything.

#include "avionics/cl30radio.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QLineEdit>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class CL30Radio : public testing::DialogTest {
protected:
    ConfigCL30Radio& open(int model, int version)
    {
        gauge(60, 111, model, version, 0);
        OpenDialog<ConfigCL30Radio>();
        return DefaultForm<ConfigCL30Radio>::get();
    }
};

TEST_F(CL30Radio, SettingsSequenceForCOMMAndTheLongADFRange)
{
    ConfigCL30Radio& d = open(kRadioComm, 4);
    click(d, "cmdWriteSettings");
    EXPECT_EQ(link_.commands(),
              (Commands{{9, 1024}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, 0}, {6, 0}, {14, 2}}));
    link_.clear();
    click(d, "OptionRadioAdf2");
    child<QCheckBox>(d, "LocalOnOff")->setChecked(true);
    click(d, "cmdWriteSettings");
    EXPECT_EQ(link_.commands(),
              (Commands{{9, 1027}, {10, 17000}, {11, 1000}, {12, 8500}, {5, 257}, {4, 80}, {6, 1}, {14, 2}}));
}

TEST_F(CL30Radio, ReadShowsTheRotarySwitchAndARefusedBoxStopsApply)
{
    ConfigCL30Radio& d = open(kRadioNav, 4);
    QByteArray payload(21, '\0');
    payload[0] = char(kRadioNav);
    payload[20] = 3;  // position 24
    link_.replies[60] = testing::SimControlUnit::reply(60, 111, payload);
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "RotarySwitchPosition")->text(), "3");
    EXPECT_EQ(child<QLineEdit>(d, "boxActiveFrequency")->text(), "100,000");

    child<QLineEdit>(d, "boxUpperKnobDelta")->setText("fifty");
    link_.clear();
    messages_.expectOk(kUpperKnobRule);
    click(d, "CmdApply");
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(GaugeRecord::Read(Cfg, 60).model, kRadioNav);
    EXPECT_TRUE(DefaultForm<ConfigCL30Radio>::loaded());
}

} // namespace
} // namespace varnet

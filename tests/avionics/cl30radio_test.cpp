// The CTL30 radio module: its sequence for the long ADF range, the rotary
// switch in the read-back, and a refused box that stops Apply.

#include "avionics/cl30radio.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QLineEdit>

namespace varnet {
namespace {

class CL30Radio : public testing::DialogTest {};

TEST_F(CL30Radio, SequenceForTheLongADFRangeRotarySwitchAndARefusedApply)
{
    gauge(60, 111, kRadioAdf2, 4, 0);
    OpenDialog<ConfigCL30Radio>();
    ConfigCL30Radio& d = DefaultForm<ConfigCL30Radio>::get();
    child<QCheckBox>(d, "LocalOnOff")->setChecked(true);
    click(d, "cmdWriteSettings");
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{
                                    {9, 1027}, {10, 17000}, {11, 1000}, {12, 8500}, {5, 257}, {4, 80}, {6, 1}, {14, 2}}));

    QByteArray payload(21, '\0');
    payload[20] = 3;  // position 24
    link_.replies[60] = testing::SimControlUnit::reply(60, 111, payload);
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "RotarySwitchPosition")->text(), "3");

    child<QLineEdit>(d, "boxUpperKnobDelta")->setText("fifty");
    link_.clear();
    messages_.expectOk(kAdfUpperKnobRule);
    click(d, "CmdApply");
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_TRUE(DefaultForm<ConfigCL30Radio>::loaded());
}

} // namespace
} // namespace varnet

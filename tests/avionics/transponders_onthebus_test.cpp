// The CTL30 transponder on the real send path: its frames as the control
// unit behind a pseudo-terminal receives them, and its reply read back.

#include "avionics/cl30transponder.h"
#include "gauges/onthebus_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>

namespace varnet {
namespace {

using testing::hexBytes;
using testing::SimControlUnit;

class TranspondersOnTheBus : public testing::DialogOnTheBusTest {};

TEST_F(TranspondersOnTheBus, DefaultCodeReadBackAndTheAssignCommand)
{
    ASSERT_TRUE(unit_.ready());
    Cfg.ComPortGauges = 4;
    OpenComPorts();
    Cfg.GaugeRecType[21] = 112;
    CurrentGaugeID = 21;
    OpenDialog<configCL30Transponder>();
    configCL30Transponder& d = DefaultForm<configCL30Transponder>::get();
    const auto click = [&](const char* name) { d.findChild<QAbstractButton*>(name)->click(); };
    // "7777": 10 and then 4 with 4095.
    click("cmdSetDefaultTransponder1");
    unit_.setStatusReply(21, SimControlUnit::reply(21, 112, QByteArray::fromHex("0101 00 4321 00 0123 00 01 00 01 00 02")));
    click("CmdReadRadio");
    const auto text = [&](const char* box) { return d.findChild<QLineEdit*>(box)->text(); };
    EXPECT_EQ(text("boxTransponder1") + text("boxTransponder2") + text("RotarySwitchPosition"), "432101232");
    EXPECT_TRUE(d.findChild<QCheckBox*>("CheckTransponder1Activ")->isChecked());
    EXPECT_TRUE(d.findChild<QCheckBox*>("CheckIdentButton")->isChecked());
    // Apply tells the module it was assigned (14 with 2).
    click("Command6");
    ASSERT_TRUE(unit_.waitForFrames(4));
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{hexBytes("00 15 AB FF 0F FF"), hexBytes("00 15 4B FF 0F FF"),
                                                 hexBytes("00 15 78 01 02 FF"), hexBytes("00 15 E8 03 02 FF")}));
    EXPECT_EQ(Cfg.GaugeRecPlate1[21], 3);
}

} // namespace
} // namespace varnet

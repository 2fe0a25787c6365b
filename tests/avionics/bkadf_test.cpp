// The Bendix/King ADF radio: read-back, the standby note, Apply's record.

#include "avionics/bkadf.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

namespace varnet {
namespace {

class BKADF : public testing::DialogTest {};

TEST_F(BKADF, ReadBackAndApply)
{
    gauge(60, 121, 0, 5);
    Cfg.GaugeRecPlate1[60] = 1;
    OpenDialog<ConfigBKADF>();
    ConfigBKADF& d = DefaultForm<ConfigBKADF>::get();
    const auto on = [&](const char* control) { return child<QAbstractButton>(d, control)->isChecked(); };
    const auto text = [&](const char* box) { return child<QLineEdit>(d, box)->text(); };
    // From byte 4: model, version, 6, active 7-8, 9, standby 10-11, mode 13, BFO 15.
    link_.replies[60] = testing::SimControlUnit::reply(60, 121, QByteArray::fromHex("0305 00 0D7F 00 03E8 00 01 00 01"));
    click(d, "CmdReadRadio");
    EXPECT_EQ(text("boxActiveFrequency") + text("boxStandbyFrequency") + text("BFOswitch"), "0345.50100.01");
    EXPECT_TRUE(on("OptionADF") && !on("OptionANT"));

    EXPECT_TRUE(on("OptionRadio1") && on("CheckUseFraction"));
    click(d, "OptionRadio2");
    for (int i = 0; i < 3; ++i) {
        messages_.expectOk(kNoStandbyOffset);
        click(d, "CheckSendStandby");
    }
    link_.clear();
    click(d, "CmdApply");
    EXPECT_TRUE(link_.sent.empty());
    const GaugeRecord r = GaugeRecord::Read(Cfg, 60);
    EXPECT_EQ((std::vector<int>{r.model, r.version, r.function1, r.function2, r.seqNr1, r.seqNr2, r.plate1, r.plate2}),
              (std::vector<int>{3, 5, 24, 25, 2, 2, 1, 1}));
}

} // namespace
} // namespace varnet

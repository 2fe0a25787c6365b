// The Bendix/King COM/NAV radio: Apply checks the boxes before it writes
// and moves.

#include "avionics/bkradio.h"
#include "gauges/dialog_fixture.h"

#include <QLineEdit>

namespace varnet {
namespace {

class BKRadio : public testing::DialogTest {};

TEST_F(BKRadio, AppliesOnlyWhenEveryBoxReadsThenMovesKeepingTheVersion)
{
    gauge(70, 120, 4, 5, 0);
    OpenDialog<ConfigBKradio>();
    ConfigBKradio& d = DefaultForm<ConfigBKradio>::get();
    choose(d, "NewGaugeID", "71");
    child<QLineEdit>(d, "boxMaximumFreqNav")->setText("117,95O");
    messages_.expectOk(FrequencyRule(kRadioNav, "NAV maximum frequency"));
    click(d, "CmdApply");
    EXPECT_EQ(GaugeRecord::Read(Cfg, 70).type, 120);
    EXPECT_TRUE(link_.sent.empty() && link_.newIDs.empty());

    click(d, "cmdSetDefaultFreq");
    click(d, "CmdApply");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 71);
    EXPECT_EQ((std::vector{r.type, r.model, r.version, r.category1, r.function1, r.function2, r.plate1}),
              (std::vector{120, 0, 5, 8, 20, 22, 0}));
    EXPECT_EQ(Cfg.GaugeRecType[70], 0);
    ASSERT_EQ(link_.sent.size(), 8u);
    EXPECT_EQ(link_.sent.back(), (testing::SentCommand{71, 6, 0}));
}

} // namespace
} // namespace varnet

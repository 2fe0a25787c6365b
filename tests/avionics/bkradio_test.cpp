// The Bendix/King COM/NAV radio: its eight-command settings write, the four
// frequencies read back, and Apply checking the boxes before it writes.

#include "avionics/bkradio.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QLineEdit>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class BKRadio : public testing::DialogTest {
protected:
    ConfigBKradio& open(int version = 5)
    {
        gauge(70, 120, 0, version, 0);
        OpenDialog<ConfigBKradio>();
        return DefaultForm<ConfigBKradio>::get();
    }
};

TEST_F(BKRadio, DefaultsWriteBothRadiosLimitsInTheModulesCommandSet)
{
    ConfigBKradio& d = open();
    child<QLineEdit>(d, "BoxMinimumFreq")->setText("118000");
    click(d, "cmdWriteSettings");
    EXPECT_EQ(link_.commands(), (Commands{{5, 25700}, {10, 18000}, {11, 38975}, {12, 21000}, {3, 8000}, {4, 17950},
                                          {9, 13000}, {6, 0}}));

    link_.replies[70] = testing::SimControlUnit::reply(
        70, 120, QByteArray::fromHex("000000 5208 00 6D60 00 3340 00 2EE0"));
    click(d, "CmdReadRadio");
    const char* boxes[] = {"boxActiveFrequency", "boxStandbyFrequency", "boxActiveFrequencyNAV",
                           "boxStandbyFrequencyNAV"};
    QStringList shown;
    for (const char* box : boxes)
        shown << child<QLineEdit>(d, box)->text();
    EXPECT_EQ(shown, (QStringList{"121,000", "128,000", "113,120", "112,000"}));
}

TEST_F(BKRadio, ApplyRefusesABadBoxThenMovesKeepingTheVersion)
{
    ConfigBKradio& d = open(5);
    Cfg.GaugeRecModel[70] = 4;
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

// The CTL30 transponder: default codes, power switch, read-back, and the ATC
// options that an Apply made only to move the module keeps.

#include "avionics/cl30transponder.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

namespace varnet {
namespace {

class CL30Transponder : public testing::DialogTest {
protected:
    configCL30Transponder& open(int id)
    {
        CurrentGaugeID = id;
        OpenDialog<configCL30Transponder>();
        return DefaultForm<configCL30Transponder>::get();
    }
    static bool ticked(QWidget& d, const char* box) { return child<QAbstractButton>(d, box)->isChecked(); }
};

TEST_F(CL30Transponder, DefaultCodesPowerSwitchAndReadBack)
{
    gauge(30, 112);
    configCL30Transponder& d = open(30);
    click(d, "cmdSetDefaultTransponder1");  // "7777" as it opens
    child<QLineEdit>(d, "BoxDefaultCode2")->setText("1200");
    click(d, "cmdSetDefaultTransponder2");
    click(d, "OptionExternalOnOff");
    click(d, "OptionLocalOnOff");
    for (auto [code, rule] : {std::pair{"128", kCodeNotFourDigits}, {"1284", kCodeNotOctal}}) {
        messages_.expectOk(rule);
        child<QLineEdit>(d, "BoxDefaultCode1")->setText(code);
        click(d, "cmdSetDefaultTransponder1");
    }
    EXPECT_EQ(link_.commands(),
              (std::vector<std::pair<int, int>>{{10, 4095}, {4, 4095}, {11, 640}, {5, 640}, {6, 1}, {6, 0}}));

    // From byte 4: model, version, 6, codes 7-8 and 10-11, IDENT 13, active 15, switch 17.
    link_.replies[30] =
        testing::SimControlUnit::reply(30, 112, QByteArray::fromHex("0402 00 1200 00 7777 00 00 00 00 00 03"));
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "boxTransponder1")->text() + child<QLineEdit>(d, "boxTransponder2")->text() +
                  child<QLineEdit>(d, "RotarySwitchPosition")->text(),
              "120077773");
    EXPECT_TRUE(!ticked(d, "CheckTransponder1Activ") && ticked(d, "CheckTransponder2Activ"));
    EXPECT_FALSE(ticked(d, "CheckIdentButton"));
}

TEST_F(CL30Transponder, ApplyStoresTheAtcOptionsAndAMoveKeepsThem)
{
    gauge(30, 112, 4, 2, 0);
    configCL30Transponder& d = open(30);
    EXPECT_TRUE(ticked(d, "CheckUseStdby") && ticked(d, "CheckuseIDENT"));  // never applied
    click(d, "CheckuseIDENT");
    choose(d, "NewGaugeID", "31");
    click(d, "Command6");
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{31, 14, 2}}));
    const GaugeRecord r = GaugeRecord::Read(Cfg, 31);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.function1, r.seqNr1, r.plate1}),
              (std::vector<int>{112, 0, 2, 8, 26, 1, 1}));

    configCL30Transponder& again = open(31);
    EXPECT_TRUE(ticked(again, "CheckUseStdby") && !ticked(again, "CheckuseIDENT"));
    choose(again, "NewGaugeID", "32");
    click(again, "Command6");
    EXPECT_EQ(GaugeRecord::Read(Cfg, 32).plate1, 1);
}

} // namespace
} // namespace varnet

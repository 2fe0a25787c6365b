// The DME module's display words with their "show" bit, its sources, the
// read-back, the option word and model byte Apply leaves, and the Test Off
// that every close sends first.

#include "avionics/bkdme.h"
#include "gauges/bcdwords.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;
using testing::SentCommand;

class DmeModule : public testing::DialogTest {
protected:
    ConfigBKDME& open(int options = 0)
    {
        gauge(80, 123, 4, 5, 0);
        Cfg.GaugeRecPlate1[80] = Integer(options);
        Cfg.GaugeRecFunction2[80] = 55;
        OpenDialog<ConfigBKDME>();
        return DefaultForm<ConfigBKDME>::get();
    }
    static void write(QWidget& d, const char* box, const char* text, const char* button)
    {
        child<QLineEdit>(d, box)->setText(QString::fromLatin1(text));
        click(d, button);
    }
    static bool selected(QWidget& d, const char* option) { return child<QRadioButton>(d, option)->isChecked(); }
};

TEST_F(DmeModule, DisplayWordsTestModeAndSources)
{
    ConfigBKDME& d = open();
    click(d, "CheckShowDistance");
    click(d, "ComdSetMiles");
    click(d, "CheckShowDistance");
    click(d, "ComdSetMiles");
    click(d, "cmdWriteKnots");
    click(d, "CheckShowTime");
    click(d, "cmdsetMinutes");
    write(d, "boxDistance", "1.23", "ComdSetMiles");
    click(d, "CmdTestOn");
    click(d, "CmdTestOff");
    click(d, "OptionNav2");
    click(d, "CmdSetFrequency");
    click(d, "OptionRMTNav2");
    click(d, "CmdSetRMTNav");
    // Hidden or shown, "12.3" keeps its digits and its point.
    EXPECT_EQ(link_.commands(), (Commands{{4, 0x2123}, {4, 0x3123}, {3, 0x3456}, {5, 0x0078}, {4, 0x7123}, {10, 1},
                                          {10, 0}, {12, 3}, {6, 1}}));

    link_.clear();
    for (const char* refused : {"1234", "1.2.3", ""}) {
        messages_.expectOk(DisplayValueRule(QStringLiteral("speed")));
        write(d, "boxSpeed", refused, "cmdWriteKnots");
    }
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(DmeModule, ReadShowsSwitchFrequencyAndBothSources)
{
    ConfigBKDME& d = open();
    auto reply = [](std::initializer_list<std::pair<int, int>> bytes) {
        QByteArray r = testing::SimControlUnit::reply(80, 123);
        for (const auto& [position, value] : bytes)
            r[position - 1] = char(value);
        return r;
    };
    link_.replies[80] = reply({{17, 2}, {19, 0xC8}, {20, 0x32}, {22, 1}, {24, 3}});
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "RotarySwitchPosition")->text(), "FREQ");
    EXPECT_EQ(child<QLineEdit>(d, "boxFrequency")->text(), "113.000");
    EXPECT_TRUE(selected(d, "OptionNav2"));
    EXPECT_TRUE(selected(d, "OptionRMTNav2"));

    // Positions and sources the module does not have change nothing.
    link_.replies[80] = reply({{17, 0}, {19, 0xFF}, {20, 0xFF}, {22, 2}, {24, 4}});
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "RotarySwitchPosition")->text(), "FREQ");
    EXPECT_EQ(child<QLineEdit>(d, "boxFrequency")->text(), "165.535");
    EXPECT_TRUE(selected(d, "OptionNav2"));
    EXPECT_TRUE(selected(d, "OptionRMTNav2"));
}

TEST_F(DmeModule, ApplyStoresTheOptionWordAndLeavesModelZeroWhereverTheModuleGoes)
{
    ConfigBKDME& d = open(6);
    EXPECT_TRUE(selected(d, "OptionNAV1"));
    EXPECT_TRUE(selected(d, "OptionRMTNav2"));
    click(d, "OptionNav2");
    Cfg.GaugeRecModel[81] = 9;  // left over in the free row
    choose(d, "NewGaugeID", "81");
    click(d, "Command6");
    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{80, 81}}));
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{81, 10, 0}}));
    const GaugeRecord r = GaugeRecord::Read(Cfg, 81);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.function1, r.plate1}),
              (std::vector<int>{123, 0, 5, 8, 27, 7}));
    EXPECT_EQ(Cfg.GaugeRecFunction2[80], 55);

    CurrentGaugeID = 81;
    OpenDialog<ConfigBKDME>();
    EXPECT_TRUE(selected(DefaultForm<ConfigBKDME>::get(), "OptionNav2"));
    EXPECT_TRUE(selected(DefaultForm<ConfigBKDME>::get(), "OptionRMTNav2"));
}

TEST_F(DmeModule, EveryCloseEndsTheTestModeFirst)
{
    open().close();
    click(open(), "cmdClose");
    messages_.expectYesNo(kUninstallQuestion, true);
    click(open(), "CmdUninstall");
    open();
    CloseOpenDialogs();  // a run's start
    EXPECT_FALSE(DefaultForm<ConfigBKDME>::loaded());
    EXPECT_EQ(link_.commands(), (Commands{{10, 0}, {10, 0}, {10, 0}, {10, 0}}));
}

} // namespace
} // namespace varnet

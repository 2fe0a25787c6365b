// The DME module's display words with their "show" bit, its sources, the
// option word and model byte Apply leaves, and the Test Off that every close
// sends first. Its read-back is shown against the simulated control unit.

#include "avionics/bkdme.h"
#include "gauges/bcdwords.h"
#include "gauges/dialog_fixture.h"

#include <QRadioButton>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

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
    static bool selected(const char* option)
    {
        return child<QRadioButton>(DefaultForm<ConfigBKDME>::get(), option)->isChecked();
    }
};

TEST_F(DmeModule, DisplayWordsTestModeAndSources)
{
    ConfigBKDME& d = open();
    // Hidden or shown, "12.3" keeps its digits and its point.
    for (const char* control : {"CheckShowDistance", "ComdSetMiles", "CheckShowDistance", "ComdSetMiles", "cmdWriteKnots",
                                "CheckShowTime", "cmdsetMinutes", "CmdTestOn", "CmdTestOff", "OptionNav2",
                                "CmdSetFrequency", "OptionRMTNav2", "CmdSetRMTNav"})
        click(d, control);
    EXPECT_EQ(link_.commands(),
              (Commands{{4, 0x2123}, {4, 0x3123}, {3, 0x3456}, {5, 0x0078}, {10, 1}, {10, 0}, {12, 3}, {6, 1}}));

    link_.clear();
    for (const char* refused : {"1234", "1.2.3", ""}) {
        child<QLineEdit>(d, "boxSpeed")->setText(QString::fromLatin1(refused));
        messages_.expectOk(DisplayValueRule(QStringLiteral("speed")));
        click(d, "cmdWriteKnots");
    }
    EXPECT_TRUE(link_.sent.empty());
    EXPECT_EQ(DmeFrequencyText(65535), "165.535");
}

TEST_F(DmeModule, ApplyStoresTheOptionWordAndLeavesModelZeroWhereverTheModuleGoes)
{
    ConfigBKDME& d = open(6);
    EXPECT_TRUE(selected("OptionNAV1") && selected("OptionRMTNav2"));
    click(d, "OptionNav2");
    Cfg.GaugeRecModel[81] = 9;  // left over in the free row
    choose(d, "NewGaugeID", "81");
    click(d, "Command6");
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{81, 10, 0}}));
    const GaugeRecord r = GaugeRecord::Read(Cfg, 81);
    EXPECT_EQ((std::vector<int>{r.type, r.model, r.version, r.category1, r.function1, r.plate1, Cfg.GaugeRecFunction2[80]}),
              (std::vector<int>{123, 0, 5, 8, 27, 7, 55}));
    CurrentGaugeID = 81;
    OpenDialog<ConfigBKDME>();
    EXPECT_TRUE(selected("OptionNav2") && selected("OptionRMTNav2"));
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

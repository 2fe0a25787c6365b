// The DME indicator's lamp word and brightness, its packed test values and
// what refuses them, the rotary switch read-back, Apply's unconditional move
// and the Test Off that every close sends.

#include "dialog_fixture.h"
#include "gauges/bcdwords.h"
#include "gauges/dmeindicator.h"

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class DmeIndicator : public testing::DialogTest {
protected:
    ConfigDME& open(int dmeNumber = 1, int units = 0)
    {
        gauge(60, 113, 2, 3, 1);
        Cfg.GaugeRecSeqNr1[60] = Byte(dmeNumber);
        Cfg.GaugeRecPlate1[60] = Integer(units);
        OpenDialog<ConfigDME>();
        return DefaultForm<ConfigDME>::get();
    }
    static void write(QWidget& d, const char* box, const char* text, const char* button)
    {
        child<QLineEdit>(d, box)->setText(QString::fromLatin1(text));
        click(d, button);
    }
};

TEST_F(DmeIndicator, LampsBrightnessAndPackedTestValues)
{
    ConfigDME& d = open();
    child<QSlider>(d, "SliderLightIntensity")->setValue(15);
    for (const char* control : {"cmdSetNight", "cmdSetDaymode", "DisplaysOff", "LightOn", "DisplaysOn",
                                "OptionExternalOnOff", "OptionLocalOnOff", "CmdTestOn", "CmdTestOff"})
        click(d, control);
    // As the dialog opens, no test value is shown.
    for (const char* write : {"ComdSetMiles", "cmdWriteKnots", "cmdsetMinutes", "CheckShowDistance", "CheckShowSpeed",
                              "CheckShowTime", "ComdSetMiles"})
        click(d, write);
    write(d, "boxDistance", " 1.23 ", "ComdSetMiles");
    write(d, "boxSpeed", "999", "cmdWriteKnots");
    EXPECT_EQ(link_.commands(), (Commands{{13, 47}, {8, 192}, {13, 15}, {8, 128}, {8, 0}, {8, 64}, {8, 192}, {6, 1},
                                          {6, 0}, {10, 1}, {10, 0}, {4, 0x3123}, {3, 0x3456}, {5, 0x3078},
                                          {4, 0x2123}, {4, 0x4123}, {3, 0x0999}}));

    // Digits that would run into the flags, or no number at all: the rule.
    link_.clear();
    for (const char* bad : {"1234", "1.2.3", "", ".5", "1 2"}) {
        messages_.expectOk(DisplayValueRule(QStringLiteral("time")));
        write(d, "boxTime", bad, "cmdsetMinutes");
    }
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(DmeIndicator, ReadApplyAndTheTestOffOfEveryClose)
{
    ConfigDME& d = open(2, 1);
    EXPECT_TRUE(link_.sent.empty());
    QByteArray reply(25, '\0');
    reply[1] = char(60);
    reply[16] = char(3);
    reply[24] = char(0xFF);
    link_.replies[60] = reply;
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "RotarySwitchPosition")->text(), "3");

    // Stored as opened; the move goes out although the gauge is not
    // connected, and the closing Test Off goes to the new GaugeID.
    link_.clear();
    choose(d, "NewGaugeID", "61");
    click(d, "Command6");
    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{60, 61}}));
    EXPECT_EQ(link_.sent, (std::vector<testing::SentCommand>{{61, 10, 0}}));
    const GaugeRecord r = GaugeRecord::Read(Cfg, 61);
    EXPECT_EQ((std::vector<int>{Cfg.GaugeRecType[60], r.type, r.model, r.version, r.category1, r.function1, r.seqNr1,
                                r.plate1}),
              (std::vector<int>{0, 113, 2, 3, 8, 27, 2, 1}));

    link_.clear();
    open().close();
    EXPECT_FALSE(DefaultForm<ConfigDME>::loaded());
    EXPECT_EQ(link_.commands(), (Commands{{10, 0}}));
}

} // namespace
} // namespace varnet

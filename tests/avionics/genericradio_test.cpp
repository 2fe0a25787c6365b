// The generic radio module: its settings sequence by radio type and
// version, the checked boxes that stop a sequence before it starts, Apply,
// the ADF indicators and the read-back by the module's type.

#include "avionics/genericradio.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QLineEdit>

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

class GenericRadio : public testing::DialogTest {
protected:
    ConfigVHFRadio& open(int model = kRadioComm, int version = 3)
    {
        gauge(50, 110, model, version, 0);
        OpenDialog<ConfigVHFRadio>();
        return DefaultForm<ConfigVHFRadio>::get();
    }
    // The sequence from step 2 (command 9) to step 7 (command 4).
    Commands written(ConfigVHFRadio& d)
    {
        link_.clear();
        click(d, "cmdWriteSettings");
        const Commands all = link_.commands();
        return all.size() == 9 ? Commands(all.begin() + 1, all.end() - 2) : all;
    }
    static void type(QWidget& d, const char* box, const QString& text) { child<QLineEdit>(d, box)->setText(text); }
};

TEST_F(GenericRadio, EachRadioTypeWritesItsDefaultsAndVersionSixTakesTwoClicks)
{
    ConfigVHFRadio& d = open(kRadioNav, 6);
    EXPECT_EQ(written(d), (Commands{{9, 1537}, {10, 17950}, {11, 8000}, {12, 13000}, {5, 12900}, {4, -1}}));
    EXPECT_EQ(link_.commands().back(), (std::pair{14, 514}));
    click(d, "OptionRadioAdf1");
    EXPECT_EQ(written(d), (Commands{{9, 1538}, {10, 9999}, {11, 1000}, {12, 5000}, {5, 257}, {4, 16}}));
    click(d, "OptionRadioAdf2");
    type(d, "boxUpperKnobDelta", "30");  // 300 is more than its byte holds
    EXPECT_EQ(written(d), (Commands{{9, 1539}, {10, 17000}, {11, 1000}, {12, 8500}, {5, 255 * 256 + 1}, {4, 16}}));
    EXPECT_EQ(child<QLineEdit>(d, "BoxMaximumFreq")->text(), "1700.0");
}

TEST_F(GenericRadio, ABoxThatDoesNotReadSendsNoneOfTheSequence)
{
    ConfigVHFRadio& d = open();
    const struct {
        const char* box;
        QString text, rule;
    } refused[] = {{"BoxMinimumFreq", "118.000,5", FrequencyRule(kRadioComm, "Minimum frequency")},
                   {"BoxDefaultFreq", "170,000", FrequencyRule(kRadioComm, "Default frequency")},
                   {"boxLowerKnobDelta", "3000", kLowerKnobRule},
                   {"boxClicksLower", "256", kClicksRule}};
    for (const auto& r : refused) {
        const QString before = child<QLineEdit>(d, r.box)->text();
        type(d, r.box, r.text);
        messages_.expectOk(r.rule);
        EXPECT_EQ(written(d), Commands{}) << r.box;
        type(d, r.box, before);
    }
}

TEST_F(GenericRadio, ApplyChecksTheBoxesFirstThenWritesTheRadioAndItsSettings)
{
    ConfigVHFRadio& d = open(kRadioComm, 3);
    click(d, "OptionRadioNav");
    click(d, "OptionRadio2");
    choose(d, "NewGaugeID", "51");
    type(d, "BoxDefaultFreq", "none");
    messages_.expectOk(FrequencyRule(kRadioNav, "Default frequency"));
    click(d, "Command6");
    EXPECT_EQ(GaugeRecord::Read(Cfg, 50).type, 110);
    EXPECT_TRUE(link_.newIDs.empty() && link_.sent.empty());

    type(d, "BoxDefaultFreq", "113,000");
    Cfg.GaugeRecPlate1[51] = 9;  // left over at the free ID
    click(d, "Command6");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 51);
    EXPECT_EQ((std::vector{r.type, r.model, r.version, r.category1, r.function1, r.function2, r.seqNr1, r.seqNr2,
                           r.plate1}),
              (std::vector{110, 1, 3, 8, 22, 23, 2, 2, 0}));
    ASSERT_EQ(link_.sent.size(), 9u);
    EXPECT_EQ(link_.sent[1], (testing::SentCommand{51, 9, 769}));
}

TEST_F(GenericRadio, IndicatorsOnlyForTheShortADFRangeAndFrequenciesReadByTheModulesType)
{
    ConfigVHFRadio& d = open();
    child<QCheckBox>(d, "ADFindicatorLeftUp")->setChecked(true);
    messages_.expectOk(kIndicatorsOnlyAdf1);
    click(d, "CmdSetIndicators");
    EXPECT_FALSE(child<QCheckBox>(d, "ADFindicatorLeftUp")->isChecked());
    click(d, "OptionRadioAdf1");
    click(d, "ADFindicatorLeftUp");
    click(d, "ADFindicatorRightUp");
    click(d, "CmdSetIndicators");
    EXPECT_EQ(link_.commands(), (Commands{{6, 0x0101}}));

    for (const char* payload : {"02 0000 1388", "09 0000 2C24"}) {  // 5000 as ADF; another type
        link_.replies[50] = testing::SimControlUnit::reply(50, 110, QByteArray::fromHex(payload));
        click(d, "CmdReadRadio");
        EXPECT_EQ(child<QLineEdit>(d, "boxActiveFrequency")->text(), "500.0");
    }
}

} // namespace
} // namespace varnet

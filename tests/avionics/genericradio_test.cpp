// The generic radio module: its settings sequence for each radio type, the
// checked boxes that stop a sequence before it starts, Apply and read-back.

#include "avionics/genericradio.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

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
    Commands written(ConfigVHFRadio& d)
    {
        link_.clear();
        click(d, "cmdWriteSettings");
        return link_.commands();
    }
    static void type(QWidget& d, const char* box, const char* text)
    {
        child<QLineEdit>(d, box)->setText(QString::fromLatin1(text));
    }
};

TEST_F(GenericRadio, EachRadioTypeWritesItsDefaultsInTheModulesOrder)
{
    ConfigVHFRadio& d = open();
    EXPECT_EQ(written(d), (Commands{{13, 0}, {9, 768}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, -1},
                                    {13, 0}, {14, 3084}}));
    click(d, "OptionRadioNav");
    EXPECT_EQ(written(d), (Commands{{13, 0}, {9, 769}, {10, 17950}, {11, 8000}, {12, 13000}, {5, 12900}, {4, -1},
                                    {13, 0}, {14, 3084}}));
    click(d, "OptionRadioAdf1");
    EXPECT_EQ(written(d), (Commands{{13, 0}, {9, 770}, {10, 9999}, {11, 1000}, {12, 5000}, {5, 257}, {4, 16},
                                    {13, 0}, {14, 3084}}));
    EXPECT_EQ(child<QLineEdit>(d, "BoxMaximumFreq")->text(), "999.9");
    click(d, "OptionRadioAdf2");
    type(d, "boxUpperKnobDelta", "30");  // 300 is more than its byte holds
    EXPECT_EQ(written(d), (Commands{{13, 0}, {9, 771}, {10, 17000}, {11, 1000}, {12, 8500}, {5, 255 * 256 + 1},
                                    {4, 16}, {13, 0}, {14, 3084}}));
    EXPECT_EQ(child<QLineEdit>(d, "BoxMaximumFreq")->text(), "1700.0");
}

TEST_F(GenericRadio, LaterModulesTakeTwoClicksAndAnUnknownModelWritesAsCOMM)
{
    ConfigVHFRadio& six = open(kRadioNav, 6);
    EXPECT_EQ(written(six).back(), (std::pair{14, 514}));
    six.closeDialog();
    // No type is selected: the boxes keep their design texts (upper step 50).
    ConfigVHFRadio& unknown = open(7, 5);
    EXPECT_FALSE(child<QRadioButton>(unknown, "OptionRadioComm")->isChecked());
    EXPECT_EQ(written(unknown), (Commands{{13, 0}, {9, 1280}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 12900},
                                          {4, -1}, {13, 0}, {14, 3084}}));
}

TEST_F(GenericRadio, ABoxThatDoesNotReadSendsNoneOfTheSequence)
{
    ConfigVHFRadio& d = open();
    const struct {
        const char *box, *text;
        QString rule;
    } refused[] = {{"BoxMinimumFreq", "118.000,5", FrequencyRule(kRadioComm, "Minimum frequency")},
                   {"BoxDefaultFreq", "170,000", FrequencyRule(kRadioComm, "Default frequency")},
                   {"boxLowerKnobDelta", "3000", kLowerKnobRule},
                   {"boxUpperKnobDelta", "-5", kUpperKnobRule},
                   {"boxClicksLower", "256", kClicksRule}};
    for (const auto& r : refused) {
        const QString before = child<QLineEdit>(d, r.box)->text();
        type(d, r.box, r.text);
        messages_.expectOk(r.rule);
        EXPECT_EQ(written(d), Commands{}) << r.box;
        type(d, r.box, before.toLatin1().constData());
    }
    click(d, "OptionRadioAdf1");
    type(d, "BoxMaximumFreq", "6553.6");
    messages_.expectOk(FrequencyRule(kRadioAdf1, "Maximum frequency"));
    EXPECT_EQ(written(d), Commands{});
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
    EXPECT_TRUE(link_.newIDs.empty());
    EXPECT_TRUE(link_.sent.empty());

    type(d, "BoxDefaultFreq", "113,000");
    Cfg.GaugeRecPlate1[51] = 9;  // left over at the free ID
    click(d, "Command6");
    EXPECT_FALSE(DefaultForm<ConfigVHFRadio>::loaded());
    const GaugeRecord r = GaugeRecord::Read(Cfg, 51);
    EXPECT_EQ((std::vector{r.type, r.model, r.version, r.category1, r.function1, r.function2, r.seqNr1, r.seqNr2,
                           r.plate1}),
              (std::vector{110, 1, 3, 8, 22, 23, 2, 2, 0}));
    ASSERT_EQ(link_.sent.size(), 9u);
    EXPECT_EQ(link_.sent[1], (testing::SentCommand{51, 9, 769}));
}

TEST_F(GenericRadio, IndicatorsOnlyForTheShortADFRangeAndFrequenciesReadBackByTheModulesType)
{
    ConfigVHFRadio& d = open();
    child<QCheckBox>(d, "ADFindicatorLeftUp")->setChecked(true);
    messages_.expectOk(kIndicatorsOnlyAdf1);
    click(d, "CmdSetIndicators");
    EXPECT_FALSE(child<QCheckBox>(d, "ADFindicatorLeftUp")->isChecked());
    click(d, "OptionRadioAdf1");
    child<QCheckBox>(d, "ADFindicatorLeftUp")->setChecked(true);
    child<QCheckBox>(d, "ADFindicatorRightUp")->setChecked(true);
    click(d, "CmdSetIndicators");
    EXPECT_EQ(link_.commands(), (Commands{{6, 0x0101}}));

    auto* active = child<QLineEdit>(d, "boxActiveFrequency");
    const auto reply = [&](int type, int high, int low) {
        const char payload[] = {char(type), 0, 0, char(high), char(low)};
        link_.replies[50] = testing::SimControlUnit::reply(50, 110, QByteArray(payload, 5));
        click(d, "CmdReadRadio");
    };
    reply(1, 44, 36);
    EXPECT_EQ(active->text(), "111,300");
    reply(2, 19, 136);
    EXPECT_EQ(active->text(), "500.0");
    reply(9, 44, 36);
    EXPECT_EQ(active->text(), "500.0");
}

} // namespace
} // namespace varnet

// The avionics dialogs on the real send path: their frames as the control
// unit behind a pseudo-terminal receives them, and their replies decoded,
// values and lamps, with what a reply cannot change left as it was.

#include "avionics/bkautopilot.h"
#include "avionics/bkdme.h"
#include "avionics/bkradio.h"
#include "avionics/cl30radio.h"
#include "avionics/cl30transponder.h"
#include "gauges/onthebus_fixture.h"

#include <QComboBox>
#include <QLabel>

namespace varnet {
namespace {

using namespace varnet::testing;

class OnTheBus : public DialogOnTheBusTest {
protected:
    // Reads the module's reply: `payload` from its fourth byte on, then the
    // given bytes (positions from 1).
    void read(QWidget& d, int id, int type, const QByteArray& payload,
              std::initializer_list<std::pair<int, int>> bytes = {}, const char* button = "CmdReadRadio")
    {
        QByteArray r = SimControlUnit::reply(id, type, payload);
        for (const auto& [position, value] : bytes)
            r[position - 1] = char(value);
        unit_.setStatusReply(id, r);
        click(d, button);
    }
    // The texts of the lamp boxes lit red.
    static std::vector<QString> lit(QWidget& d)
    {
        std::vector<QString> on;
        for (QLineEdit* lamp : d.findChildren<QLineEdit*>())
            if (lamp->palette().color(QPalette::Base) == QColor(255, 0, 0))
                on.push_back(lamp->text());
        return on;
    }
    static bool checked(QWidget& d, const char* option)
    {
        return d.findChild<QAbstractButton*>(QString::fromLatin1(option))->isChecked();
    }
};

TEST_F(OnTheBus, GenericRadioWritesItsSettingsAndReadsItsOwnModulesFrequency)
{
    auto& d = open<ConfigVHFRadio>(31, 110, kRadioComm, 3);
    box(d, "BoxMinimumFreq")->setText("118000");
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(9), (Commands{{13, 0}, {9, 768}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, -1},
                                     {13, 0}, {14, 3084}}));

    // Another module answering in its place shows nothing; its own reply does.
    const QByteArray frequencies = QByteArray::fromHex("00 0000 5208 00 5398");
    unit_.setStatusReply(31, SimControlUnit::reply(30, 110, frequencies));
    click(d, "CmdReadRadio");
    EXPECT_EQ(text(d, "boxActiveFrequency"), "");
    read(d, 31, 110, frequencies);
    EXPECT_EQ(text(d, "boxActiveFrequency") + " " + text(d, "boxStandbyFrequency"), "121,000 121,400");

    click(d, "OptionRadioAdf1");
    box(d, "BoxDefaultFreq")->setText("100.0");
    unit_.clear();
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(9).at(4), (std::pair{12, 1000}));
}

TEST_F(OnTheBus, CL30AndBendixKingRadiosWriteTheirOwnSequencesAndReadBothRadios)
{
    auto& cl30 = open<ConfigCL30Radio>(32, 111, kRadioComm, 4);
    box(cl30, "BoxMinimumFreq")->setText("118,000");
    click(cl30, "cmdWriteSettings");
    EXPECT_EQ(received(8),
              (Commands{{9, 1024}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, 0}, {6, 0}, {14, 2}}));

    auto& d = open<ConfigBKradio>(33, 120, 0, 5);
    read(d, 33, 120, QByteArray::fromHex("000000 5208 00 6D60 00 3340 00 2EE0"));
    QStringList shown;
    for (const char* name : {"boxActiveFrequency", "boxStandbyFrequency", "boxActiveFrequencyNAV", "boxStandbyFrequencyNAV"})
        shown << text(d, name);
    EXPECT_EQ(shown, (QStringList{"121,000", "128,000", "113,120", "112,000"}));
    unit_.clear();
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(8), (Commands{{5, 25700}, {10, 18000}, {11, 38975}, {12, 21000}, {3, 8000}, {4, 17950},
                                     {9, 13000}, {6, 0}}));
}

TEST_F(OnTheBus, CL30TransponderDefaultCodeReadBackAndTheAssignCommand)
{
    auto& d = open<configCL30Transponder>(21, 112, 0, 0);
    click(d, "cmdSetDefaultTransponder1");  // "7777": 10 and then 4 with 4095.
    read(d, 21, 112, QByteArray::fromHex("0101 00 4321 00 0123 00 01 00 01 00 02"));
    EXPECT_EQ(text(d, "boxTransponder1") + text(d, "boxTransponder2") + text(d, "RotarySwitchPosition"), "432101232");
    EXPECT_TRUE(checked(d, "CheckTransponder1Activ") && checked(d, "CheckIdentButton"));
    // Apply tells the module it was assigned (14 with 2).
    click(d, "Command6");
    ASSERT_TRUE(unit_.waitForFrames(4));
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{hexBytes("00 15 AB FF 0F FF"), hexBytes("00 15 4B FF 0F FF"),
                                                 hexBytes("00 15 78 01 02 FF"), hexBytes("00 15 E8 03 02 FF")}));
    EXPECT_EQ(Cfg.GaugeRecPlate1[21], 3);
}

TEST_F(OnTheBus, AutopilotKnobStepsAndItsReadBack)
{
    ConfigBKAP& d = open<ConfigBKAP>(70, 124, 1, 5);
    for (const auto& [list, item] : {std::pair{"ComboRotaryUpperKnob", "10 "}, {"ComboAltRotaryLowerKnob", "100 "}}) {
        auto* combo = d.findChild<QComboBox*>(QString::fromLatin1(list));
        combo->setCurrentIndex(combo->findText(QString::fromLatin1(item)));
    }
    click(d, "cmdSetRotary");
    EXPECT_EQ(received(1), (Commands{{15, 2570}}));

    const auto airPress = [&] { return text(d, "boxAirPress") + d.findChild<QLabel*>("LabelAirPress")->text(); };
    read(d, 70, 124, {}, {{7, 0x80}, {10, 0xFF}, {11, 0x38}, {13, 0x01}, {14, 0xF4}, {19, 0x0B}, {20, 0xB0}, {22, 0x81}},
         "cmdReadAP");
    EXPECT_EQ((std::vector<QString>{text(d, "boxAltitude"), text(d, "boxVSValue"), text(d, "boxAltitudeAlert"), airPress()}),
              (std::vector<QString>{"-32768", "-200", "500", "29.92INHG"}));
    EXPECT_EQ(lit(d), (std::vector<QString>{"AP", "ALT"}));
    read(d, 70, 124, {}, {{19, 0x03}, {20, 0xF5}, {22, 0x02}, {23, 1}}, "cmdReadAP");
    EXPECT_EQ(airPress(), "1013HPA");
    EXPECT_EQ(lit(d), (std::vector<QString>{"HDG"}));
}

TEST_F(OnTheBus, DmeDistanceReadBackAndTheTestOffOfItsClose)
{
    ConfigBKDME& d = open<ConfigBKDME>(71, 123, 0, 5);
    click(d, "CheckShowDistance");
    click(d, "ComdSetMiles");
    EXPECT_EQ(received(1), (Commands{{4, 0x2123}}));

    read(d, 71, 123, {}, {{17, 2}, {19, 0xC8}, {20, 0x32}, {22, 1}, {24, 3}});
    EXPECT_TRUE(checked(d, "OptionRMTNav2") && checked(d, "OptionNav2"));
    EXPECT_EQ(text(d, "boxFrequency"), "113.000");
    read(d, 71, 123, {}, {{17, 0}, {22, 2}, {24, 4}});  // none of these exists
    EXPECT_EQ(text(d, "RotarySwitchPosition"), "FREQ");
    EXPECT_TRUE(checked(d, "OptionRMTNav2") && checked(d, "OptionNav2"));

    unit_.clear();
    click(d, "cmdClose");
    EXPECT_EQ(received(1), (Commands{{10, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigBKDME>::loaded());
}

} // namespace
} // namespace varnet

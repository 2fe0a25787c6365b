// The autopilot and the DME module on the real send path: their frames as
// the control unit behind a pseudo-terminal receives them, and their replies
// decoded, values and lamps, with what a reply cannot change left as it was.

#include "avionics/bkautopilot.h"
#include "avionics/bkdme.h"
#include "gauges/onthebus_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace varnet {
namespace {

using namespace varnet::testing;

class AutopilotAndDmeOnTheBus : public DialogOnTheBusTest {
protected:
    // Reads the module's reply with the given bytes (positions from 1).
    void read(QWidget& d, int type, std::initializer_list<std::pair<int, int>> bytes)
    {
        const int id = type == 124 ? 70 : 71;
        QByteArray r = SimControlUnit::reply(id, type);
        for (const auto& [position, value] : bytes)
            r[position - 1] = char(value);
        unit_.setStatusReply(id, r);
        click(d, type == 124 ? "cmdReadAP" : "CmdReadRadio");
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
    static bool selected(QWidget& d, const char* option)
    {
        return d.findChild<QRadioButton*>(QString::fromLatin1(option))->isChecked();
    }
};

TEST_F(AutopilotAndDmeOnTheBus, AutopilotKnobStepsAndItsReadBack)
{
    ConfigBKAP& d = open<ConfigBKAP>(70, 124, 1, 5);
    for (const auto& [list, item] : {std::pair{"ComboRotaryUpperKnob", "10 "}, {"ComboAltRotaryLowerKnob", "100 "}}) {
        auto* combo = d.findChild<QComboBox*>(QString::fromLatin1(list));
        combo->setCurrentIndex(combo->findText(QString::fromLatin1(item)));
    }
    click(d, "cmdSetRotary");
    EXPECT_EQ(received(1), (Commands{{15, 2570}}));

    read(d, 124, {{7, 0x80}, {10, 0xFF}, {11, 0x38}, {13, 0x01}, {14, 0xF4}, {19, 0x0B}, {20, 0xB0}, {22, 0x81}});
    EXPECT_EQ((std::vector<QString>{text(d, "boxAltitude"), text(d, "boxVSValue"), text(d, "boxAltitudeAlert"),
                                    text(d, "boxAirPress"), d.findChild<QLabel*>("LabelAirPress")->text()}),
              (std::vector<QString>{"-32768", "-200", "500", "29.92", "INHG"}));
    EXPECT_EQ(lit(d), (std::vector<QString>{"AP", "ALT"}));
    read(d, 124, {{19, 0x03}, {20, 0xF5}, {22, 0x02}, {23, 1}});
    EXPECT_EQ(text(d, "boxAirPress") + d.findChild<QLabel*>("LabelAirPress")->text(), "1013HPA");
    EXPECT_EQ(lit(d), (std::vector<QString>{"HDG"}));
}

TEST_F(AutopilotAndDmeOnTheBus, DmeDistanceReadBackAndTheTestOffOfItsClose)
{
    ConfigBKDME& d = open<ConfigBKDME>(71, 123, 0, 5);
    click(d, "CheckShowDistance");
    click(d, "ComdSetMiles");
    EXPECT_EQ(received(1), (Commands{{4, 0x2123}}));

    read(d, 123, {{17, 2}, {19, 0xC8}, {20, 0x32}, {22, 1}, {24, 3}});
    EXPECT_TRUE(selected(d, "OptionRMTNav2") && selected(d, "OptionNav2"));
    EXPECT_EQ(text(d, "boxFrequency"), "113.000");
    read(d, 123, {{17, 0}, {22, 2}, {24, 4}});  // none of these exists
    EXPECT_EQ(text(d, "RotarySwitchPosition"), "FREQ");
    EXPECT_TRUE(selected(d, "OptionRMTNav2") && selected(d, "OptionNav2"));

    unit_.clear();
    click(d, "cmdClose");
    EXPECT_EQ(received(1), (Commands{{10, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigBKDME>::loaded());
}

} // namespace
} // namespace varnet

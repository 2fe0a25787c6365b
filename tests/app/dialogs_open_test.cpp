// Every gauge and module of a saved configuration opens its own dialog from
// its line of the configuration screen, for its GaugeID and with its record.

#include "avionics/bkaudiopanel.h"
#include "avionics/bkautopilot.h"
#include "avionics/bkdme.h"
#include "avionics/bkradio.h"
#include "avionics/bkadf.h"
#include "avionics/bktransponder.h"
#include "avionics/cl30radio.h"
#include "avionics/cl30transponder.h"
#include "avionics/genericradio.h"
#include "avionics/transponder737.h"
#include "configscreen_fixture.h"
#include "gauges/adfindicator.h"
#include "gauges/airlinerclock.h"
#include "gauges/analoguealtimeter.h"
#include "gauges/attitude.h"
#include "gauges/digitalaltimeter.h"
#include "gauges/displayneedle.h"
#include "gauges/dmeindicator.h"
#include "gauges/dualneedle.h"
#include "gauges/enginecluster.h"
#include "gauges/headingindicator.h"
#include "gauges/lightclock.h"
#include "gauges/rmi.h"
#include "gauges/singleneedle.h"
#include "gauges/vorindicator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace varnet {
namespace {

using namespace varnet::testing;

class DialogsOpen : public DialogScreenTest {
protected:
    void SetUp() override
    {
        DialogScreenTest::SetUp();
        Cfg.FunctionNames[60] = "N1";
        Cfg.FunctionCategory[60] = 1;
        Cfg.FunctionSignalType[60] = 4;
        // Needle gauges.
        gauge(1, 1);
        gauge(4, 4);
        GaugeRecord{2, 1, 1, 1, 60, 2, 1}.Write(Cfg, 12, Field::All);
        gauge(13, 3);
        gauge(14, 5);
        GaugeRecord{6, 1, 1, 1, 60, 3, 1, 1, 60, 4, 0}.Write(Cfg, 16, Field::All);
        // Instruments, the engine cluster and the clocks.
        gauge(8, 8);
        gauge(10, 10);
        gauge(20, 106);
        gauge(21, kVOR2);
        Cfg.GaugeRecPlate1[21] = 1;
        gauge(22, 101, 2, 4);
        Cfg.GaugeRecPlate1[22] = 1;
        Cfg.GaugeRecFunction2[22] = -1;
        gauge(23, 103, 2);
        gauge(30, 108);
        gauge(31, 109);
        Cfg.GaugeRecPlate1[31] = 2;
        gauge(32, 105);
        gauge(33, 104);
        Cfg.GaugeRecPlate2[33] = 1;
        gauge(41, 101, 2, 5);
        gauge(113, 113);
        gauge(130, 130);
        Cfg.GaugeRecPlate1[130] = 1;
        // Avionics modules.
        gauge(34, 110, kRadioNav, 3);
        Cfg.GaugeRecSeqNr1[34] = 2;
        Cfg.GaugeRecPlate2[34] = 1;
        gauge(35, 111, kRadioAdf2, 4);
        gauge(36, 120, 0, 5);
        Cfg.GaugeRecPlate2[36] = 1;
        gauge(42, 112);
        Cfg.GaugeRecFunction1[42] = 26;
        Cfg.GaugeRecPlate1[42] = 1;
        gauge(44, 114);
        Cfg.GaugeRecPlate1[44] = 4;
        gauge(45, 121, 3, 5);
        Cfg.GaugeRecSeqNr1[45] = 2;
        gauge(46, 122, 0, 4);
        gauge(53, 123, 0, 5);
        Cfg.GaugeRecPlate1[53] = 5;
        gauge(54, 124, 2, 4);
        Cfg.GaugeRecPlate1[54] = 1;
        Cfg.GaugeRecPlate2[54] = -700;
        gauge(55, 125);
        gauge(77, 77);
        saveAndLoad("cockpit.cfg");
    }

    template <typename T>
    T& dialog()
    {
        return DefaultForm<T>::get();
    }
    static bool on(QWidget& d, const char* control) { return child<QAbstractButton>(d, control)->isChecked(); }
    static QString text(QWidget& d, const char* box) { return child<QLineEdit>(d, box)->text(); }
    static QString choice(QWidget& d, const char* list) { return child<QComboBox>(d, list)->currentText(); }
};

TEST_F(DialogsOpen, EveryGaugeTypeOpensItsOwnDialogForItsGaugeID)
{
    FrmMainConfigure& s = screen();
    const std::vector<std::string> lines = listLines(s, "Configlist");
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const int id = GaugeIDOfLine(lines[row]);
        const std::string_view name = GaugeDialogName(Cfg.GaugeRecType[id], Cfg.GaugeRecVersion[id]);
        clickLine(s, "Configlist", int(row));
        QWidget* shown = openWindow(name);
        ASSERT_NE(shown, nullptr) << name;
        if (auto* gaugeDialog = qobject_cast<GaugeDialog*>(shown))
            EXPECT_EQ(gaugeDialog->gaugeID(), id) << name;
        else
            EXPECT_TRUE(name == "ConfigIOM" || name == kUnknownDeviceDialog) << name;
    }
}

TEST_F(DialogsOpen, EachDialogShowsItsRecord)
{
    screen();
    open(12);
    EXPECT_EQ(choice(dialog<ConfigGaugeSD>(), "GaugeFunction"), "060.  N1");
    EXPECT_EQ(choice(dialog<ConfigGaugeSD>(), "ComboSeqNr"), "2");
    open(16);
    EXPECT_EQ(choice(dialog<ConfigGaugeDN>(), "ComboSeqNr"), "3");
    EXPECT_EQ(choice(dialog<ConfigGaugeDN>(), "ComboSeqNr1"), "4");

    open(21);
    EXPECT_EQ(text(dialog<ConfigGaugeVOR>(), "BoxGaugename"), "Fixed Function: VOR2 Indicator");
    EXPECT_TRUE(on(dialog<ConfigGaugeVOR>(), "CheckBlockWriteToSim"));
    open(22);
    EXPECT_TRUE(on(dialog<ConfigGaugeAD>(), "Option2") && on(dialog<ConfigGaugeAD>(), "OptionAltDigits3")
                && on(dialog<ConfigGaugeAD>(), "Slave"));
    open(23);
    dialog<ConfigGaugeAI>().Form_Activate();
    EXPECT_EQ(text(dialog<ConfigGaugeAI>(), "BoxModel"), "2");
    open(41);
    EXPECT_TRUE(on(dialog<ConfigAnalogueAltimeter>(), "Option2"));
    open(130);
    EXPECT_TRUE(on(dialog<ConfigRMI>(), "OptionHasDME"));
    EXPECT_EQ(link_.sent.back(), (SentCommand{130, 13, 0x500}));

    open(31);
    EXPECT_EQ(choice(dialog<ConfigCessnaClock>(), "ComboClockSyncMode"), "FS time -> Clock");
    open(33);
    EXPECT_TRUE(on(dialog<ConfigBoeingClock>(), "OptionShowUTC"));

    open(34);
    EXPECT_TRUE(on(dialog<ConfigVHFRadio>(), "OptionRadioNav") && on(dialog<ConfigVHFRadio>(), "OptionRadio2")
                && on(dialog<ConfigVHFRadio>(), "CheckSendStandby"));
    EXPECT_EQ(text(dialog<ConfigVHFRadio>(), "BoxMinimumFreq"), "108,000");
    open(35);
    EXPECT_TRUE(on(dialog<ConfigCL30Radio>(), "OptionRadioAdf2") && on(dialog<ConfigCL30Radio>(), "OptionRadio1"));
    EXPECT_EQ(text(dialog<ConfigCL30Radio>(), "BoxMaximumFreq"), "1700.0");
    open(36);
    EXPECT_TRUE(on(dialog<ConfigBKradio>(), "CheckSendStandby"));
    EXPECT_EQ(text(dialog<ConfigBKradio>(), "boxDefaultFreqNav"), "113,000");

    open(42);
    EXPECT_TRUE(on(dialog<configCL30Transponder>(), "CheckUseStdby"));
    EXPECT_FALSE(on(dialog<configCL30Transponder>(), "CheckuseIDENT"));
    open(44);
    EXPECT_TRUE(on(dialog<ConfigTransponder737>(), "CheckShowATC"));
    open(45);
    EXPECT_TRUE(on(dialog<ConfigBKADF>(), "OptionRadio2"));
    open(46);
    EXPECT_TRUE(on(dialog<ConfigBKtransponder>(), "CheckSetDefault"));
    open(53);
    EXPECT_TRUE(on(dialog<ConfigBKDME>(), "OptionLocalDME2") && on(dialog<ConfigBKDME>(), "OptionRMTNav2"));
    open(54);
    EXPECT_TRUE(on(dialog<ConfigBKAP>(), "OptionAirPressHPA"));
    EXPECT_EQ(text(dialog<ConfigBKAP>(), "DefaultVS"), "-700");
    open(55);
    EXPECT_EQ(text(dialog<ConfigBKaudioPanel>(), "BoxGaugename"), "Bendix/King Audio Panel");
}

} // namespace
} // namespace varnet

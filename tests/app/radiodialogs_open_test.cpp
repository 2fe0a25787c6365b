// The three radio dialogs, each opened from its line of the configuration
// screen for a module of a loaded configuration, showing its radio type,
// number and standby transfer.

#include "avionics/bkradio.h"
#include "avionics/cl30radio.h"
#include "avionics/genericradio.h"
#include "avionics/registration.h"
#include "config/configfile.h"
#include "config/sample_config.h"
#include "configscreen_fixture.h"
#include "support/scripted_messages.h"
#include "../gauges/recording_link.h"

#include <QRadioButton>

namespace varnet {
namespace {

using namespace varnet::testing;

class RadioDialogsOpen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterAvionicsDialogs(SetGaugeDialogOpener);
        gauge(15, 110, kRadioNav, 3);
        Cfg.GaugeRecSeqNr1[15] = 2;
        Cfg.GaugeRecPlate2[15] = 1;
        gauge(16, 111, kRadioAdf2, 4);
        gauge(17, 120, 0, 5);
        Cfg.GaugeRecPlate2[17] = 1;
        Cfg.ConfigHeader = programHeader();
        Session.ConfigFileName = "radios.cfg";
        ASSERT_TRUE(WriteConfigFile());
        Cfg = ConfigTables{};
        ReadConfigFile();
        ASSERT_EQ(Session.ConfigError, 0);
    }
    void TearDown() override
    {
        CloseOpenDialogs();
        RegisterAvionicsDialogs([](std::string_view dialog, GaugeDialogOpener) { SetGaugeDialogOpener(dialog, {}); });
        ConfigScreenTest::TearDown();
    }

    // The dialog of line `line`, open for `gaugeID` instead of a placeholder.
    template <typename T>
    T& opens(int line, int gaugeID, const char* name)
    {
        clickLine(DefaultForm<FrmMainConfigure>::get(), "Configlist", line);
        EXPECT_FALSE(PlaceholderLoaded(QString::fromLatin1(name))) << name;
        T& dialog = DefaultForm<T>::get();
        EXPECT_TRUE(dialog.isVisible() && dialog.gaugeID() == gaugeID) << name;
        return dialog;
    }
    static bool on(QWidget& d, const char* control) { return child<QAbstractButton>(d, control)->isChecked(); }
    static QString text(QWidget& d, const char* box) { return child<QLineEdit>(d, box)->text(); }

    RecordingLink link_;
    ScriptedMessages messages_;
};

TEST_F(RadioDialogsOpen, EachRadioLineOpensTheDialogOfItsType)
{
    screen();
    auto& generic = opens<ConfigVHFRadio>(0, 15, "ConfigVHFRadio");
    EXPECT_TRUE(on(generic, "OptionRadioNav") && on(generic, "OptionRadio2") && on(generic, "CheckSendStandby"));
    EXPECT_EQ(text(generic, "BoxMinimumFreq"), "108,000");
    auto& cl30 = opens<ConfigCL30Radio>(1, 16, "ConfigCL30Radio");
    EXPECT_TRUE(on(cl30, "OptionRadioAdf2") && on(cl30, "OptionRadio1"));
    EXPECT_EQ(text(cl30, "BoxMaximumFreq"), "1700.0");
    auto& bk = opens<ConfigBKradio>(2, 17, "ConfigBKradio");
    EXPECT_TRUE(on(bk, "CheckSendStandby"));
    EXPECT_EQ(text(bk, "boxDefaultFreqNav"), "113,000");
    EXPECT_TRUE(link_.sent.empty());
}

} // namespace
} // namespace varnet

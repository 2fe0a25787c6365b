// The engine cluster, analogue altimeter, DME indicator and radio magnetic
// indicator dialogs, each opened from its line of the configuration screen
// for a gauge of a loaded configuration.

#include "config/configfile.h"
#include "config/sample_config.h"
#include "configscreen_fixture.h"
#include "gauges/analoguealtimeter.h"
#include "gauges/dmeindicator.h"
#include "gauges/enginecluster.h"
#include "gauges/registration.h"
#include "gauges/rmi.h"
#include "support/scripted_messages.h"
#include "../gauges/recording_link.h"

#include <QRadioButton>

namespace varnet {
namespace {

using namespace varnet::testing;

class NavigationDialogsOpen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterGaugeDialogs(SetGaugeDialogOpener);
        gauge(8, 8);
        gauge(41, 101, 2, 5);
        gauge(113, 113);
        gauge(130, 130);
        Cfg.GaugeRecPlate1[130] = 1;
        Cfg.ConfigHeader = programHeader();
        Session.ConfigFileName = "cockpit.cfg";
        ASSERT_TRUE(WriteConfigFile());
        Cfg = ConfigTables{};
        ReadConfigFile();
        ASSERT_EQ(Session.ConfigError, 0);
    }
    void TearDown() override
    {
        CloseGaugeDialogs();
        RegisterGaugeDialogs([](std::string_view dialog, GaugeDialogOpener) { SetGaugeDialogOpener(dialog, {}); });
        ConfigScreenTest::TearDown();
    }

    template <typename T>
    void opens(FrmMainConfigure& screen, int line, int gaugeID, const char* name)
    {
        clickLine(screen, "Configlist", line);
        ASSERT_TRUE(DefaultForm<T>::loaded()) << name;
        T& dialog = DefaultForm<T>::get();
        EXPECT_TRUE(dialog.isVisible()) << name;
        EXPECT_EQ(dialog.gaugeID(), gaugeID) << name;
        EXPECT_EQ(child<QLineEdit>(dialog, "GaugeID")->text(), QString::number(gaugeID)) << name;
        EXPECT_FALSE(PlaceholderLoaded(QString::fromLatin1(name))) << name;
    }

    RecordingLink link_;
    ScriptedMessages messages_;
};

TEST_F(NavigationDialogsOpen, EachGaugeLineOpensTheDialogOfItsType)
{
    FrmMainConfigure& s = screen();
    opens<ConfigCessnaEngineCluster>(s, 0, 8, "ConfigCessnaEngineCluster");
    opens<ConfigAnalogueAltimeter>(s, 1, 41, "ConfigAnalogueAltimeter");
    EXPECT_TRUE(child<QRadioButton>(DefaultForm<ConfigAnalogueAltimeter>::get(), "Option2")->isChecked());
    opens<ConfigDME>(s, 2, 113, "ConfigDME");
    opens<ConfigRMI>(s, 3, 130, "ConfigRMI");
    EXPECT_TRUE(child<QRadioButton>(DefaultForm<ConfigRMI>::get(), "OptionHasDME")->isChecked());
    EXPECT_EQ(link_.sent.front(), (SentCommand{41, 5, 1}));
    EXPECT_EQ(link_.sent.back(), (SentCommand{130, 13, 0x500}));
}

} // namespace
} // namespace varnet

// The autopilot, DME module and audio panel dialogs, each opened from its
// line of the configuration screen for a module of a loaded configuration,
// showing what the configuration stored for it.

#include "avionics/bkaudiopanel.h"
#include "avionics/bkautopilot.h"
#include "avionics/bkdme.h"
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

class AutopilotDmeAudioOpen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterAvionicsDialogs(SetGaugeDialogOpener);
        gauge(23, 123, 0, 5);
        Cfg.GaugeRecPlate1[23] = 5;
        gauge(24, 124, 2, 4);
        Cfg.GaugeRecPlate1[24] = 1;
        Cfg.GaugeRecPlate2[24] = -700;
        gauge(25, 125);
        Cfg.ConfigHeader = programHeader();
        Session.ConfigFileName = "avionics.cfg";
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

    template <typename T>
    T& opens(int line, int gaugeID, const char* name)
    {
        clickLine(DefaultForm<FrmMainConfigure>::get(), "Configlist", line);
        EXPECT_FALSE(PlaceholderLoaded(QString::fromLatin1(name))) << name;
        T& dialog = DefaultForm<T>::get();
        EXPECT_TRUE(dialog.isVisible() && dialog.gaugeID() == gaugeID) << name;
        return dialog;
    }
    static bool on(QWidget& d, const char* option) { return child<QRadioButton>(d, option)->isChecked(); }

    RecordingLink link_;
    ScriptedMessages messages_;
};

TEST_F(AutopilotDmeAudioOpen, EachModuleLineOpensTheDialogOfItsType)
{
    screen();
    auto& dme = opens<ConfigBKDME>(0, 23, "ConfigBKDME");
    EXPECT_TRUE(on(dme, "OptionLocalDME2") && on(dme, "OptionRMTNav2"));
    auto& autopilot = opens<ConfigBKAP>(1, 24, "ConfigBKAP");
    EXPECT_TRUE(on(autopilot, "OptionAirPressHPA"));
    EXPECT_EQ(child<QLineEdit>(autopilot, "DefaultVS")->text(), "-700");
    auto& panel = opens<ConfigBKaudioPanel>(2, 25, "ConfigBKaudioPanel");
    EXPECT_EQ(child<QLineEdit>(panel, "BoxGaugename")->text(), "Bendix/King Audio Panel");
    EXPECT_TRUE(link_.sent.empty());
}

} // namespace
} // namespace varnet

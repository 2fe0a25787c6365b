// The transponder and ADF radio dialogs opened from the configuration screen
// for modules of a loaded configuration, showing their stored options.

#include "avionics/bkadf.h"
#include "avionics/bktransponder.h"
#include "avionics/cl30transponder.h"
#include "avionics/registration.h"
#include "avionics/transponder737.h"
#include "config/configfile.h"
#include "config/sample_config.h"
#include "configscreen_fixture.h"
#include "support/scripted_messages.h"

namespace varnet {
namespace {

using namespace varnet::testing;

class TransponderDialogsOpen : public ConfigScreenTest {
protected:
    void TearDown() override
    {
        CloseOpenDialogs();
        RegisterAvionicsDialogs([](std::string_view dialog, GaugeDialogOpener) { SetGaugeDialogOpener(dialog, {}); });
        ConfigScreenTest::TearDown();
    }
    // Whether the line opens its dialog for its GaugeID with `control` ticked.
    template <typename T>
    static bool opens(int line, int gaugeID, const char* control)
    {
        clickLine(screen(), "Configlist", line);
        T& dialog = DefaultForm<T>::get();
        return dialog.isVisible() && dialog.gaugeID() == gaugeID && child<QAbstractButton>(dialog, control)->isChecked();
    }
    ScriptedMessages messages_;
};

TEST_F(TransponderDialogsOpen, EachModuleLineOpensTheDialogOfItsType)
{
    RegisterAvionicsDialogs(SetGaugeDialogOpener);
    gauge(12, 112);
    Cfg.GaugeRecFunction1[12] = 26;
    Cfg.GaugeRecPlate1[12] = 1;
    gauge(14, 114);
    Cfg.GaugeRecPlate1[14] = 4;
    gauge(21, 121, 3, 5);
    Cfg.GaugeRecSeqNr1[21] = 2;
    gauge(22, 122, 0, 4);
    Cfg.ConfigHeader = programHeader();
    Session.ConfigFileName = "avionics.cfg";
    ASSERT_TRUE(WriteConfigFile());
    Cfg = ConfigTables{};
    ReadConfigFile();
    ASSERT_EQ(Session.ConfigError, 0);

    EXPECT_TRUE(opens<configCL30Transponder>(0, 12, "CheckUseStdby"));
    EXPECT_FALSE(child<QAbstractButton>(DefaultForm<configCL30Transponder>::get(), "CheckuseIDENT")->isChecked());
    EXPECT_TRUE(opens<ConfigTransponder737>(1, 14, "CheckShowATC"));
    EXPECT_TRUE(opens<ConfigBKADF>(2, 21, "OptionRadio2"));
    EXPECT_TRUE(opens<ConfigBKtransponder>(3, 22, "CheckSetDefault"));
}

} // namespace
} // namespace varnet

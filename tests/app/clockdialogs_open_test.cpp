// The heading indicator, ADF indicator and both clock dialogs open from the
// configuration screen's list for their gauges of a loaded configuration.

#include "config/configfile.h"
#include "config/sample_config.h"
#include "configscreen_fixture.h"
#include "gauges/adfindicator.h"
#include "gauges/airlinerclock.h"
#include "gauges/headingindicator.h"
#include "gauges/lightclock.h"
#include "gauges/registration.h"

#include <QComboBox>
#include <QRadioButton>

namespace varnet {
namespace {

using namespace varnet::testing;

class ClockDialogsOpen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterGaugeDialogs(SetGaugeDialogOpener);
    }
    void TearDown() override
    {
        CloseGaugeDialogs();
        RegisterGaugeDialogs([](std::string_view dialog, GaugeDialogOpener) { SetGaugeDialogOpener(dialog, {}); });
        ConfigScreenTest::TearDown();
    }
    template <typename T>
    static T& opened(FrmMainConfigure& s, int row, int id)
    {
        clickLine(s, "Configlist", row);
        EXPECT_TRUE(DefaultForm<T>::loaded() && DefaultForm<T>::get().isVisible());
        EXPECT_EQ(DefaultForm<T>::get().gaugeID(), id);
        return DefaultForm<T>::get();
    }
};

TEST_F(ClockDialogsOpen, EachOpensForItsGaugeWithItsRecord)
{
    gauge(17, 109);
    Cfg.GaugeRecPlate1[17] = 2;
    gauge(21, 105);
    gauge(23, 104);
    Cfg.GaugeRecPlate2[23] = 1;
    gauge(30, 108);
    Session.ConfigFileName = "clocks.cfg";
    Cfg.ConfigHeader = programHeader();
    ASSERT_TRUE(WriteConfigFile());
    Cfg = ConfigTables{};
    LoadConstantTables(Cfg);
    ReadConfigFile();
    ASSERT_EQ(Session.ConfigError, 0);

    FrmMainConfigure& s = screen();
    auto& light = opened<ConfigCessnaClock>(s, 0, 17);
    EXPECT_EQ(child<QComboBox>(light, "ComboClockSyncMode")->currentText(), "FS time -> Clock");
    opened<ConfigDG>(s, 1, 21);
    auto& airliner = opened<ConfigBoeingClock>(s, 2, 23);
    EXPECT_TRUE(child<QRadioButton>(airliner, "OptionShowUTC")->isChecked());
    opened<ConfigADF>(s, 3, 30);
}

} // namespace
} // namespace varnet

// The VOR, digital altimeter and attitude dialogs as the configuration
// screen opens them for gauges of a configuration loaded from its file.

#include "config/configfile.h"
#include "config/sample_config.h"
#include "configscreen_fixture.h"
#include "gauges/attitude.h"
#include "gauges/digitalaltimeter.h"
#include "gauges/registration.h"
#include "gauges/vorindicator.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace varnet {
namespace {

using namespace varnet::testing;

class InstrumentDialogsOpen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterGaugeDialogs(SetGaugeDialogOpener);
        gauge(21, kVOR2);
        Cfg.GaugeRecPlate1[21] = 1;
        gauge(22, 101, 2, 4);
        Cfg.GaugeRecPlate1[22] = 1;
        Cfg.GaugeRecFunction2[22] = -1;
        gauge(23, 103, 2);
        Session.ConfigFileName = "instruments.cfg";
        Cfg.ConfigHeader = programHeader();
        ASSERT_TRUE(WriteConfigFile());
        Cfg = ConfigTables{};
        LoadConstantTables(Cfg);
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
    T& opened(int line, int gaugeID)
    {
        clickLine(screen(), "Configlist", line);
        T& dialog = DefaultForm<T>::get();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(child<QLineEdit>(dialog, "GaugeID")->text(), QString::number(gaugeID));
        return dialog;
    }
};

TEST_F(InstrumentDialogsOpen, EachGaugeOpensItsDialogWithItsRecord)
{
    ConfigGaugeVOR& vor = opened<ConfigGaugeVOR>(0, 21);
    EXPECT_EQ(child<QLineEdit>(vor, "BoxGaugename")->text(), "Fixed Function: VOR2 Indicator");
    EXPECT_TRUE(child<QCheckBox>(vor, "CheckBlockWriteToSim")->isChecked());

    ConfigGaugeAD& altimeter = opened<ConfigGaugeAD>(1, 22);
    EXPECT_TRUE(child<QRadioButton>(altimeter, "Option2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(altimeter, "OptionAltDigits3")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(altimeter, "Slave")->isChecked());

    ConfigGaugeAI& attitude = opened<ConfigGaugeAI>(2, 23);
    attitude.Form_Activate();
    EXPECT_EQ(child<QLineEdit>(attitude, "BoxModel")->text(), "2");
}

} // namespace
} // namespace varnet

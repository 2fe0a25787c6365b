#include "app/configunknown.h"
#include "config/sample_config.h"
#include "support/scripted_messages.h"
#include "window_helpers.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace varnet {
namespace {

using namespace varnet::testing;

class ConfigUnknownTest : public ::testing::Test {
protected:
    void SetUp() override { Cfg = before_; }
    void TearDown() override
    {
        DefaultForm<frmConfigUnknown>::unload();
        flushDeletes();
    }

    frmConfigUnknown& dialogFor(int gaugeID)
    {
        frmConfigUnknown& d = DefaultForm<frmConfigUnknown>::get();
        d.Initialize(gaugeID);
        return d;
    }

    const ConfigTables before_ = sampleConfig();
};

TEST_F(ConfigUnknownTest, UninstallFreesTheGaugeIDButKeepsTheSecondFunctionAndPlates)
{
    frmConfigUnknown& d = dialogFor(17);
    EXPECT_EQ(child<QLineEdit>(d, "GaugeID")->text(), "17");
    click(d, "Command1");
    EXPECT_FALSE(DefaultForm<frmConfigUnknown>::loaded());

    ConfigTables expected = before_;
    for (auto* column : {&expected.GaugeRecType, &expected.GaugeRecModel, &expected.GaugeRecVersion,
                         &expected.GaugeRecCategory1, &expected.GaugeRecSeqNr1})
        (*column)[17] = 0;
    expected.GaugeRecFunction1[17] = 0;
    EXPECT_TRUE(Cfg == expected);
}

TEST_F(ConfigUnknownTest, CloseAndBadGaugeIDsChangeNothing)
{
    click(dialogFor(17), "cmdClose");
    EXPECT_FALSE(DefaultForm<frmConfigUnknown>::loaded());

    ScriptedMessages boxes;
    for (const char* typed : {"abc", "0", "256"}) {
        frmConfigUnknown& d = dialogFor(17);
        child<QLineEdit>(d, "GaugeID")->setText(typed);
        boxes.expectOk("A GaugeID must be between 1 and 255");
        click(d, "Command1");
        EXPECT_TRUE(DefaultForm<frmConfigUnknown>::loaded()) << typed;
    }
    EXPECT_TRUE(Cfg == before_);
}

} // namespace
} // namespace varnet

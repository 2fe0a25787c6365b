// The 737 transponder: lamp test word, ATC options as stored, altitude
// source read back, and an Apply that sends nothing.

#include "avionics/transponder737.h"
#include "gauges/dialog_fixture.h"
#include "simcontrolunit/simcontrolunit.h"

namespace varnet {
namespace {

class Transponder737 : public testing::DialogTest {};

TEST_F(Transponder737, LampTestOptionsAltitudeSourceAndApply)
{
    gauge(40, 114, 0, 3);
    Cfg.GaugeRecPlate1[40] = 5;
    OpenDialog<ConfigTransponder737>();
    ConfigTransponder737& d = DefaultForm<ConfigTransponder737>::get();
    const auto box = [&](const char* name) { return child<QAbstractButton>(d, name); };
    EXPECT_TRUE(box("CheckUseStdby")->isChecked() && box("CheckShowATC")->isChecked());
    EXPECT_FALSE(box("CheckIdent")->isChecked());
    box("CheckATC")->setChecked(true);
    box("CheckFail")->setChecked(true);
    box("CheckATC")->setChecked(false);
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{{12, 256}, {12, 257}, {12, 1}}));

    link_.clear();
    link_.replies[40] = testing::SimControlUnit::reply(40, 114, QByteArray(19, 0) + char(2));
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "boxAltSource")->text(), "2");
    choose(d, "NewGaugeID", "41");
    click(d, "Command6");
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{{7, 0}}));
    EXPECT_EQ(Cfg.GaugeRecPlate1[41], 5);
}

} // namespace
} // namespace varnet

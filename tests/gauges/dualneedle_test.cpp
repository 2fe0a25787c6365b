// The dual-needle dialog: its two test needles under one end-stop question,
// the direction word, Apply's questions before any write, and each needle's
// own category, plate and hand-over to the plate window.

#include "dialog_fixture.h"
#include "gauges/dualneedle.h"
#include "gauges/needlelists.h"
#include "gauges/singleneedle.h"

namespace varnet {
namespace {

using Commands = std::vector<std::pair<int, int>>;

std::vector<int> fields(const GaugeRecord& r)
{
    return {r.type,      r.model,     r.version, r.category1, r.function1, r.seqNr1,
            r.plate1,    r.category2, r.function2, r.seqNr2,  r.plate2};
}

class DualNeedle : public testing::DialogTest {
protected:
    ConfigGaugeDN& open(int category2 = 2)
    {
        const struct {
            int number;
            const char* name;
        } functions[] = {{40, "RPM"}, {43, "Flaps"}, {50, "Fuel"}};
        for (int category = 1; category <= 3; ++category) {
            const int f = functions[category - 1].number;
            Cfg.FunctionNames[f] = functions[category - 1].name;
            Cfg.FunctionCategory[f] = Byte(category);
            Cfg.FunctionSignalType[f] = kSignalGauge;
            const int p = Cfg.AddPlate();
            Cfg.PlateName[p] = functions[category - 1].name;
            Cfg.PlateValue[p][0] = category;
            Cfg.PlateCount = Integer(p + 1);
        }
        gauge(30, 5, 4);
        GaugeRecord{.type = 5, .model = 4, .version = 1, .category1 = 1, .function1 = 40, .seqNr1 = 2, .plate1 = 0,
                    .category2 = category2, .function2 = 43, .seqNr2 = 3, .plate2 = 1}
            .Write(Cfg, 30, Field::All);
        OpenDialog<ConfigGaugeDN>(&ConfigGaugeDN::GaugeDNInitialize);
        ConfigGaugeDN& d = DefaultForm<ConfigGaugeDN>::get();
        d.Form_Activate();
        link_.clear();
        return d;
    }
    static QSlider* needle(ConfigGaugeDN& d, int n) { return child<QSlider>(d, n == 1 ? "SliderValue1" : "SliderValue2"); }
};

TEST_F(DualNeedle, OneEndStopQuestionPerActivationForBothNeedlesAndTheDirectionWord)
{
    ConfigGaugeDN& d = open();
    click(d, "Command1");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    needle(d, 1)->setValue(946);
    needle(d, 2)->setValue(1000);
    click(d, "Command2");

    // Back from another window: needle 2 asks in its own words; No sends
    // nothing, and needle 1 then goes out without asking.
    d.Form_Activate();
    messages_.expectYesNo(kEndStopQuestionNeedle2, false);
    needle(d, 2)->setValue(950);
    needle(d, 1)->setValue(1000);
    click(d, "Command1");

    click(d, "Needle1CCW");
    click(d, "cmdSetDirection1");
    click(d, "Needle2CCW");
    click(d, "CmdSetDirection2");
    click(d, "Needle1CW");
    click(d, "cmdSetDirection1");
    child<QSlider>(d, "SliderSpeed")->setValue(0);
    EXPECT_EQ(link_.commands(), (Commands{{5, 472}, {5, 946}, {6, 1000}, {6, 540}, {5, 1000}, {5, 472}, {4, 1},
                                          {4, 257}, {4, 256}, {3, 4200}}));
}

TEST_F(DualNeedle, ApplyAsksEverythingFirstAndNoLeavesTheRecordAsItWas)
{
    // Needle 2's stored category is beyond the list: no category, function
    // or plate shows for it.
    ConfigGaugeDN& d = open(14);
    const GaugeRecord before = GaugeRecord::Read(Cfg, 30);
    messages_.expectYesNo(kNoAssignmentNeedle2, true);
    messages_.expectYesNo(kNoPlateNeedle2, false);
    click(d, "CmdApply");
    EXPECT_EQ(fields(GaugeRecord::Read(Cfg, 30)), fields(before));
    EXPECT_TRUE(DefaultForm<ConfigGaugeDN>::loaded());

    choose(d, "NewGaugeID", "31");
    messages_.expectYesNo(kNoAssignmentNeedle2, true);
    messages_.expectYesNo(kNoPlateNeedle2, true);
    click(d, "CmdApply");
    EXPECT_FALSE(DefaultForm<ConfigGaugeDN>::loaded());
    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{30, 31}}));
    EXPECT_EQ(fields(GaugeRecord::Read(Cfg, 30)), fields({}));
    EXPECT_EQ(fields(GaugeRecord::Read(Cfg, 31)), (std::vector<int>{5, 4, 1, 1, 40, 2, 0, 0, 0, 3, 0}));
}

TEST_F(DualNeedle, EachNeedleHasItsOwnCategoryPlateAndHandOver)
{
    ConfigGaugeDN& d = open();
    // Needle 1's category counts at once, needle 2's only on Apply.
    choose(d, "ComboClass1", "Fuel");
    choose(d, "ComboClass", "Surfaces");
    EXPECT_EQ(Cfg.GaugeRecCategory1[30], 2);
    EXPECT_EQ(Cfg.GaugeRecCategory2[30], 2);

    choose(d, "GaugeFunction1", "050.  Fuel");
    choose(d, "ComboPlate1", "002.  Fuel");
    choose(d, "ComboSeqNr1", "4");
    click(d, "cmdPlate2");
    EXPECT_EQ((std::vector<int>{CalNeedleNr, CalFunctionNr, CalSeqNr, CalPlateNr}), (std::vector<int>{2, 50, 4, 2}));
    EXPECT_EQ(CalCategoryName, "Fuel");
    EXPECT_EQ(Cfg.GaugeRecPlate2[30], 2);
    EXPECT_EQ(Cfg.GaugeRecPlate1[30], 0);
    EXPECT_TRUE(DefaultForm<frmCalibrate>::loaded());

    // Needle 1 has no function in its new category: nothing is handed over.
    messages_.expectOk(kAssignBeforeCalibrating);
    click(d, "cmdPlate1");

    // Uninstall leaves needle 2's plate and the model byte.
    messages_.expectYesNo(kUninstallQuestion, true);
    click(d, "CmdUninstall");
    EXPECT_EQ(fields(GaugeRecord::Read(Cfg, 30)), (std::vector<int>{0, 4, 1, 0, 0, 0, 0, 0, 0, 0, 2}));
}

} // namespace
} // namespace varnet

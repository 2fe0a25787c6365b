// The dual-needle dialog: two test needles under one end-stop question, the
// direction word, Apply's questions before any write, and each needle's own
// category, plate and hand-over to the plate window.

#include "dialog_fixture.h"
#include "gauges/dualneedle.h"
#include "gauges/needlelists.h"
#include "gauges/singleneedle.h"

namespace varnet {
namespace {

std::vector<int> fields(int id)
{
    const GaugeRecord r = GaugeRecord::Read(Cfg, id);
    return {r.type,   r.model,     r.version,   r.category1, r.function1, r.seqNr1,
            r.plate1, r.category2, r.function2, r.seqNr2,    r.plate2};
}

class DualNeedle : public testing::DialogTest {
protected:
    ConfigGaugeDN& open(int category1 = 1, int category2 = 1)
    {
        for (int f : {40, 50}) {
            Cfg.FunctionNames[f] = "F" + std::to_string(f);
            const int category = f == 40 ? 1 : 3;  // Engines, Fuel
            Cfg.FunctionCategory[f] = Byte(category);
            Cfg.FunctionSignalType[f] = kSignalGauge;
            Cfg.PlateValue[Cfg.AddPlate()][0] = category;
        }
        Cfg.PlateCount = 2;
        gauge(30, 5, 4);
        GaugeRecord{5, 4, 1, category1, 40, 2, 0, category2, 40, 3, 0}.Write(Cfg, 30, Field::All);
        OpenDialog<ConfigGaugeDN>(&ConfigGaugeDN::GaugeDNInitialize);
        ConfigGaugeDN& d = DefaultForm<ConfigGaugeDN>::get();
        d.Form_Activate();
        return d;
    }
};

TEST_F(DualNeedle, OneEndStopQuestionPerActivationForBothNeedlesAndTheDirectionWord)
{
    ConfigGaugeDN& d = open();
    click(d, "Command1");
    messages_.expectYesNo(kEndStopQuestion, true);
    messages_.expectOk("Needle center will be set to 540");
    child<QSlider>(d, "SliderValue1")->setValue(946);
    child<QSlider>(d, "SliderValue2")->setValue(1000);
    click(d, "Command2");
    // Anew after an activation, in needle 2's words.
    d.Form_Activate();
    messages_.expectYesNo(kEndStopQuestionNeedle2, false);
    child<QSlider>(d, "SliderValue2")->setValue(950);
    child<QSlider>(d, "SliderValue1")->setValue(1000);
    click(d, "Command1");
    for (const char* control : {"Needle1CCW", "cmdSetDirection1", "Needle2CCW", "CmdSetDirection2", "Needle1CW",
                                "cmdSetDirection1"})
        click(d, control);
    child<QSlider>(d, "SliderSpeed")->setValue(0);
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{{5, 472}, {5, 946}, {6, 1000}, {6, 540}, {5, 1000},
                                                                  {5, 472}, {4, 1}, {4, 257}, {4, 256}, {3, 4200}}));
}

TEST_F(DualNeedle, ApplyAsksEverythingFirstAndEachNeedleHandsOverItsOwnPlate)
{
    // Needle 1's stored category is beyond the list: nothing shows for it.
    ConfigGaugeDN& d = open(14, 1);
    const std::vector<int> before = fields(30);
    messages_.expectYesNo(kNoAssignmentNeedle1, true);
    messages_.expectYesNo(kNoPlateNeedle1, false);
    click(d, "CmdApply");
    EXPECT_EQ(fields(30), before);

    // Needle 2's category reaches the record only on Apply.
    choose(d, "ComboClass1", "Fuel");
    EXPECT_EQ(Cfg.GaugeRecCategory2[30], 1);
    choose(d, "GaugeFunction1", "050.  F50");
    choose(d, "ComboPlate1", "001.  ");
    click(d, "cmdPlate2");
    EXPECT_EQ((std::vector<int>{CalNeedleNr, CalFunctionNr, CalPlateNr, Cfg.GaugeRecPlate2[30]}),
              (std::vector<int>{2, 50, 1, 1}));

    choose(d, "NewGaugeID", "31");
    messages_.expectYesNo(kNoAssignmentNeedle1, true);
    messages_.expectYesNo(kNoPlateNeedle1, true);
    click(d, "CmdApply");
    EXPECT_EQ(fields(30), std::vector<int>(11, 0));
    EXPECT_EQ(fields(31), (std::vector<int>{5, 4, 1, 0, 0, 2, 0, 3, 50, 3, 1}));
}

} // namespace
} // namespace varnet

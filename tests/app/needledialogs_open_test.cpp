// The display and dual-needle dialogs as the configuration screen opens them
// for gauges of a configuration loaded from its file.

#include "config/configfile.h"
#include "config/sample_config.h"
#include "configscreen_fixture.h"
#include "gauges/displayneedle.h"
#include "gauges/dualneedle.h"
#include "gauges/registration.h"

#include <QComboBox>
#include <QLineEdit>

namespace varnet {
namespace {

using namespace varnet::testing;

class NeedleDialogsOpen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterGaugeDialogs(SetGaugeDialogOpener);
        Cfg.FunctionNames[60] = "N1";
        Cfg.FunctionNames[61] = "N2";
        for (int f : {60, 61}) {
            Cfg.FunctionCategory[f] = 1;
            Cfg.FunctionSignalType[f] = 4;
        }
        for (const char* name : {"Turbine", "Fan"}) {
            const int p = Cfg.AddPlate();
            Cfg.PlateName[p] = name;
            Cfg.PlateValue[p][0] = 1;
            Cfg.PlateCount = Integer(p + 1);
        }
        // One display gauge and a dual-needle gauge of each of its types.
        for (int id : {7, 8, 9, 10}) {
            gauge(id, id == 7 ? 2 : id == 8 ? 3 : id == 9 ? 5 : 6);
            GaugeRecord{.category1 = 1, .function1 = 60, .seqNr1 = 2, .plate1 = 1,
                        .category2 = 1, .function2 = 61, .seqNr2 = id - 6, .plate2 = 0}
                .Write(Cfg, id, Field::Needle1 | Field::Assignment2 | Field::Plate2);
        }
        Session.ConfigFileName = "needles.cfg";
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
        dialog.Form_Activate();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(child<QLineEdit>(dialog, "GaugeID")->text(), QString::number(gaugeID));
        return dialog;
    }
    static QStringList shown(QWidget& dialog, std::initializer_list<const char*> combos)
    {
        QStringList texts;
        for (const char* combo : combos)
            texts << child<QComboBox>(dialog, combo)->currentText();
        return texts;
    }
};

TEST_F(NeedleDialogsOpen, EachGaugeOpensItsDialogWithItsAssignment)
{
    ConfigGaugeSD& display = opened<ConfigGaugeSD>(0, 7);
    EXPECT_EQ(child<QLineEdit>(display, "BoxGaugename")->text(), "Small gauge; Single Needle + Display ");
    EXPECT_EQ(shown(display, {"ComboClass", "GaugeFunction", "ComboSeqNr", "ComboPlate"}),
              (QStringList{"Engines", "060.  N1", "2", "001.  Fan"}));

    for (int line : {1, 2, 3}) {
        SCOPED_TRACE(line);
        ConfigGaugeDN& dual = opened<ConfigGaugeDN>(line, line + 7);
        EXPECT_EQ(shown(dual, {"GaugeFunction", "ComboPlate", "GaugeFunction1", "ComboSeqNr1", "ComboPlate1"}),
                  (QStringList{"060.  N1", "001.  Fan", "061.  N2", QString::number(line + 1), "000.  Turbine"}));
    }
    EXPECT_EQ(child<QLineEdit>(DefaultForm<ConfigGaugeDN>::get(), "BoxGaugename")->text(),
              "Small gauge; Dual Needle Concentric ");
}

} // namespace
} // namespace varnet

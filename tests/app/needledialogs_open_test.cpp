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
        Cfg.FunctionCategory[60] = 1;
        Cfg.FunctionSignalType[60] = 4;
        GaugeRecord{2, 1, 1, 1, 60, 2, 1}.Write(Cfg, 12, Field::All);
        GaugeRecord{6, 1, 1, 1, 60, 3, 1, 1, 60, 4, 0}.Write(Cfg, 16, Field::All);
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

    // The GaugeID and the assignment lists of the dialog a line opens.
    template <typename T>
    QStringList opened(int line, std::initializer_list<const char*> lists)
    {
        clickLine(screen(), "Configlist", line);
        T& dialog = DefaultForm<T>::get();
        dialog.Form_Activate();
        EXPECT_TRUE(dialog.isVisible());
        QStringList shown{child<QLineEdit>(dialog, "GaugeID")->text()};
        for (const char* list : lists)
            shown << child<QComboBox>(dialog, list)->currentText();
        return shown;
    }
};

TEST_F(NeedleDialogsOpen, EachGaugeOpensItsDialogWithItsAssignment)
{
    EXPECT_EQ(opened<ConfigGaugeSD>(0, {"ComboClass", "GaugeFunction", "ComboSeqNr"}),
              (QStringList{"12", "Engines", "060.  N1", "2"}));
    EXPECT_EQ(opened<ConfigGaugeDN>(1, {"ComboSeqNr", "ComboClass1", "GaugeFunction1", "ComboSeqNr1"}),
              (QStringList{"16", "3", "Engines", "060.  N1", "4"}));
}

} // namespace
} // namespace varnet

// The stand-alone engine cluster through the real windows: its settings
// window opened from the configuration screen, the calibration window opened
// from there moving the needle of a simulated cluster on a pseudo-terminal.

#include "app/windowlinks.h"
#include "bus/deviceports.h"
#include "configscreen_fixture.h"
#include "gauges/platewindow.h"
#include "iomodules/enginelink.h"
#include "platform/wait.h"
#include "simenginecluster/simenginecluster.h"

#include <QTest>

namespace varnet::testing {
namespace {

const char* const kAssign = "Before calibrating the gauge must be assigned to a function and category";
const char* const kUnsaved = "Updates are not saved yet; Continue?";

class EngineClusterWindows : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        frmTestEC::OpenPlateWindow = OpenEngineClusterPlateWindow;
        Cfg.ComPortEC = 4;
        for (auto [f, name, category] : {std::tuple{60, "N1 RPM", 1}, {61, "EGT", 1}, {62, "Fuel flow", 3}}) {
            Cfg.FunctionNames[f] = Cfg.FunctionFullName[f] = name;
            std::tie(Cfg.FunctionCategory[f], Cfg.FunctionSignalType[f]) = std::tuple(category, 4);
        }
        for (auto [name, category] : {std::pair{"N1", 1}, {"Flaps", 2}, {"EGT", 1}}) {
            const int p = addPlate({{0, 0}, {100, 1000}});
            Cfg.PlateName[std::size_t(p)] = name;
            Cfg.PlateValue[std::size_t(p)][0] = category;
        }
    }

    void TearDown() override
    {
        unloadAll<frmCalibrate>();
        frmTestEC::OpenPlateWindow = nullptr;
        ConfigScreenTest::TearDown();
    }

    static frmTestEC& openFromScreen()
    {
        click(screen(), "cmdGotoEC");
        return DefaultForm<frmTestEC>::get();
    }

    template <typename T = QComboBox>
    static T* control(QWidget& window, const char* name)
    {
        return child<T>(window, name);
    }

    static QStringList items(QWidget& window, const char* combo)
    {
        QStringList texts;
        for (int i = 0; i < control(window, combo)->count(); ++i)
            texts << control(window, combo)->itemText(i);
        return texts;
    }

    static void choose(QWidget& window, const char* combo, const QString& text)
    {
        const int at = control(window, combo)->findText(text);
        ASSERT_GE(at, 0) << combo << " has no " << text.toStdString();
        control(window, combo)->setCurrentIndex(at);
    }

    static void edit(QWidget& window, const char* box, const QString& text)
    {
        QLineEdit* typed = control<QLineEdit>(window, box);
        typed->clear();
        QTest::keyClicks(typed, text);
    }

    SimEngineCluster cluster_{4};
    ScriptedMessages boxes;
};

TEST_F(EngineClusterWindows, ChosenInTheSettingsCalibratedWithTheLiveNeedleSavedAndLoaded)
{
    ASSERT_TRUE(cluster_.ready());
    frmTestEC& ec = openFromScreen();
    ASSERT_TRUE(ec.isVisible());
    clickLine(ec, "ListNeedles", 2);
    EXPECT_EQ(ec.selectedNeedle(), 2);

    // Without a function nothing opens.
    boxes.expectOk(kAssign);
    click(ec, "cmdCalibrate");
    EXPECT_FALSE(DefaultForm<frmCalibrate>::loaded());

    // A needle without a function starts in "Engines"; the plates are the
    // "Engines" plates whatever the category.
    EXPECT_EQ(control(ec, "ComboClass")->currentText(), "Engines");
    EXPECT_EQ(items(ec, "GaugeFunction"), (QStringList{"060.  N1 RPM", "061.  EGT"}));
    choose(ec, "ComboClass", "Fuel");
    EXPECT_EQ(items(ec, "GaugeFunction"), QStringList{"062.  Fuel flow"});
    EXPECT_EQ(items(ec, "ComboPlate"), (QStringList{"000.  N1", "002.  EGT"}));
    choose(ec, "ComboClass", "Engines");
    choose(ec, "GaugeFunction", "060.  N1 RPM");
    choose(ec, "ComboPlate", "002.  EGT");
    click(ec, "CheckDisplay");
    click(ec, "OptionType_2");
    EXPECT_EQ((std::tuple{Cfg.ECNeedleFunction[2], Cfg.ECNeedlePlate[2], Cfg.ECNeedleDisplay[2], Cfg.ECNeedleDisplay[9],
                          Session.ConfigChanged}),
              (std::tuple{60, 2, 1, 2, 1}));
    EXPECT_EQ(control<QListWidget>(ec, "ListNeedles")->item(2)->text(),
              "Needle 3:  060.  N1 RPM   plate 002.  EGT   display");

    // Calibrate: the window for needle 3 of the cluster, the slider moving
    // the real needle four cluster steps to one of its own.
    click(ec, "cmdCalibrate");
    ASSERT_TRUE(DefaultForm<frmCalibrate>::loaded());
    frmCalibrate& cal = DefaultForm<frmCalibrate>::get();
    EXPECT_TRUE(cal.isVisible());
    EXPECT_EQ((std::tuple{control<QLineEdit>(cal, "boxGaugeID")->text(), control<QLineEdit>(cal, "boxGaugeType")->text(),
                          control<QLineEdit>(cal, "BoxNeedleNr")->text(), control<QLineEdit>(cal, "boxCurrentFunction")->text(),
                          control<QLineEdit>(cal, "boxCurrentCategory")->text(), control<QLineEdit>(cal, "BoxSeqNr")->text()}),
              (std::tuple{"0", "Engine Cluster", "3", "060.  N1 RPM", "Engines", "1"}));
    EXPECT_EQ(control<QListWidget>(cal, "ListPlates")->currentItem()->text(), "002.   EGT");
    cluster_.clear();
    control<QSlider>(cal, "SliderMoveNeedle")->setValue(100);
    ASSERT_TRUE(cluster_.waitForFrames(1));
    const SimEngineCluster::Frame moved = cluster_.frames().back();
    EXPECT_EQ(moved.needles, (std::array<int, 8>{0, 0, 400, 0, 0, 0, 0, 0}));
    boxes.expectOk("Plate selection in Engine Cluster can only be changed in the Engine Cluster Config page.");
    click(cal, "CmdPlateToGauge");
    EXPECT_EQ(Cfg.ECNeedlePlate[2], 2);

    // A plate made there, with the needle taken from the slider, is offered
    // back in the settings.
    click(cal, "CmdCreateNewPlate");
    edit(cal, "BoxNameNewPlate", "Torque");
    click(cal, "cmdSetNewName");
    click(cal, "CmdCalibrateNewPlate");
    edit(cal, "Curve1_0", "0");
    edit(cal, "boxLinearStep_0", "0");
    edit(cal, "Curve1_1", "50");
    control<QSlider>(cal, "SliderMoveNeedle")->setValue(250);
    click(cal, "SetStep_1");
    boxes.expectOk("Plate verified and no errors found");
    click(cal, "CmdSaveNewPlate");
    ASSERT_EQ(Cfg.PlateCount, 4);
    EXPECT_EQ((std::tuple{Cfg.PlateName[3], Cfg.PlateSteps[3][5]}), (std::tuple{"Torque", 250}));
    click(cal, "cmdClose");
    ec.Form_Activate();
    choose(ec, "ComboPlate", "003.  Torque");
    EXPECT_EQ(Cfg.ECNeedlePlate[2], 3);

    // Test: any needle to a chosen position, and the cluster's reply.
    clickLine(ec, "ListNeedles", 5);
    edit(ec, "BoxTestPosition", "1234");
    cluster_.clear();
    cluster_.setReply(QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10"));
    click(ec, "cmdMoveNeedle");
    ASSERT_TRUE(cluster_.waitForFrames(1));
    EXPECT_EQ(cluster_.frames().back().needles[5], 1234);
    ASSERT_TRUE(waitUntil([] { return ECReplyReceived == 1; }, 2000));
    ec.TimerReply_Timer();
    EXPECT_EQ(control<QLineEdit>(ec, "BoxReply")->text(), "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10");
    CloseComPorts();
    boxes.expectOk("Comm Port for Engine Cluster not found");
    click(ec, "cmdMoveNeedle");

    // Closing with the edits unsaved asks; No keeps the window.
    boxes.expectYesNoDefaultNo(kUnsaved, false);
    click(ec, "cmdClose");
    EXPECT_TRUE(DefaultForm<frmTestEC>::loaded());

    // Saved and loaded: the window shows the same settings.
    saveAndLoad("cluster.cfg");
    Session.ConfigChanged = 0;
    click(ec, "cmdClose");  // saved: no question
    EXPECT_FALSE(DefaultForm<frmTestEC>::loaded());
    frmTestEC& again = openFromScreen();
    clickLine(again, "ListNeedles", 2);
    EXPECT_EQ((std::tuple{control(again, "GaugeFunction")->currentText(), control(again, "ComboPlate")->currentText(),
                          control<QCheckBox>(again, "CheckDisplay")->isChecked(),
                          control<QRadioButton>(again, "OptionType_2")->isChecked()}),
              (std::tuple{"060.  N1 RPM", "003.  Torque", true, true}));
    EXPECT_EQ(Session.ConfigChanged, 0) << "showing the settings is no edit";
    // A needle never set has no function; its plate number 0 is plate 000.
    clickLine(again, "ListNeedles", 0);
    EXPECT_EQ((std::tuple{control(again, "GaugeFunction")->currentIndex(), control(again, "ComboPlate")->currentText()}),
              (std::tuple{-1, "000.  N1"}));

    // A category that does not list the needle's function leaves it without one.
    clickLine(again, "ListNeedles", 2);
    choose(again, "ComboClass", "Fuel");
    EXPECT_EQ((std::tuple{Cfg.ECNeedleFunction[2], Session.ConfigChanged}), (std::tuple{0, 1}));
    boxes.expectYesNoDefaultNo(kUnsaved, true);
    again.close();
    EXPECT_FALSE(DefaultForm<frmTestEC>::loaded());
}

} // namespace
} // namespace varnet::testing

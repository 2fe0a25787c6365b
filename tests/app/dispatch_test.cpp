#include "app/dispatch.h"
#include "configscreen_fixture.h"
#include "gauges/analoguealtimeter.h"
#include "gauges/singleneedle.h"

#include <QLineEdit>

#include <map>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(DispatchTable, EachTypeCodeOpensItsDialogAndEveryOtherTheUnknownDeviceDialog)
{
    const std::map<int, std::string_view> dialogs{
        {1, "ConfigGaugeSN"},           {4, "ConfigGaugeSN"},         {2, "ConfigGaugeSD"},
        {3, "ConfigGaugeDN"},           {5, "ConfigGaugeDN"},         {6, "ConfigGaugeDN"},
        {8, "ConfigCessnaEngineCluster"}, {10, "ConfigIOM"},          {101, "ConfigGaugeAD"},
        {103, "ConfigGaugeAI"},         {104, "ConfigBoeingClock"},   {105, "ConfigDG"},
        {106, "ConfigGaugeVOR"},        {107, "ConfigGaugeVOR"},      {108, "ConfigADF"},
        {109, "ConfigCessnaClock"},     {110, "ConfigVHFRadio"},      {111, "ConfigCL30Radio"},
        {112, "configCL30Transponder"}, {113, "ConfigDME"},           {114, "ConfigTransponder737"},
        {120, "ConfigBKradio"},         {121, "ConfigBKADF"},         {122, "ConfigBKtransponder"},
        {123, "ConfigBKDME"},           {124, "ConfigBKAP"},          {125, "ConfigBKaudioPanel"},
        {130, "ConfigRMI"}};
    for (int code = 0; code <= 255; ++code) {
        const auto it = dialogs.find(code);
        EXPECT_EQ(GaugeDialogName(code, 1), it != dialogs.end() ? it->second : kUnknownDeviceDialog) << code;
    }
    EXPECT_EQ(GaugeDialogName(101, 5), "ConfigAnalogueAltimeter");
    EXPECT_EQ(GaugeDialogName(101, 0), "ConfigGaugeAD");
}

TEST(DispatchTable, DialogsGetTheTypeNameOfAnyRowUpTo127)
{
    ConfigTables t;
    LoadConstantTables(t);
    t.GaugeTypeNumbers[90] = 140;
    t.GaugeTypeNames[90] = "Custom panel";
    EXPECT_EQ(DialogTypeName(t, 140), "Custom panel");
    EXPECT_EQ(DialogTypeName(t, 3), "Small gauge; Dual Needle ");
    EXPECT_EQ(DialogTypeName(t, 141), "Unknown");
}

class DispatchTest : public DialogScreenTest {
protected:
    void TearDown() override
    {
        SetGaugeDialogOpener("ConfigGaugeDN", {});
        DialogScreenTest::TearDown();
    }
};

TEST_F(DispatchTest, AReplacedOpenerGetsTheContextAndAnEmptyOneLeavesTheUnknownDeviceWindow)
{
    gauge(33, 5);
    std::vector<std::pair<int, std::string>> opened;
    SetGaugeDialogOpener("ConfigGaugeDN", [&] { opened.emplace_back(CurrentGaugeID, CurrentGaugeTypeName); });
    OpenGaugeDialog(33);
    EXPECT_EQ(opened, (std::vector<std::pair<int, std::string>>{{33, "Large gauge; Dual Needle Concentric "}}));
    EXPECT_EQ(Session.ConfigChanged, 1);

    SetGaugeDialogOpener("ConfigGaugeDN", {});
    OpenGaugeDialog(33);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_TRUE(DefaultForm<frmConfigUnknown>::loaded());
}

TEST_F(DispatchTest, ListLinesOpenTheirDialogsWithTheirGaugeID)
{
    gauge(5, 1, 2, 3);
    gauge(6, 4);
    gauge(17, 10);
    gauge(40, 77);
    gauge(41, 101, 1, 5);
    Session.GaugeRecBusStatus[5] = 2;
    FrmMainConfigure& s = screen();
    ASSERT_EQ(listLines(s, "Configlist"),
              (std::vector<std::string>{
                  " 005    Small gauge; Single Needle \t02\t03\tNot Assigned\t\tConnected",
                  " 006    Large gauge, single needle \t01\t01\tNot Assigned\t\tUnkown",
                  " 017    Input/Output module\t01\t01\tInput/Switches\tOutput/Leds\tUnkown",
                  " 040    Unknown\t01\t01\tNot Assigned\t\tUnkown",
                  " 041    Digital/Analogue Altimeter \t01\t05\tNot Assigned\t\tUnkown",
              }));

    clickLine(s, "Configlist", 0);
    ASSERT_TRUE(DefaultForm<ConfigGaugeSN>::loaded());
    ConfigGaugeSN& needle = DefaultForm<ConfigGaugeSN>::get();
    EXPECT_TRUE(needle.isVisible());
    EXPECT_EQ(needle.gaugeID(), 5);
    EXPECT_EQ(child<QLineEdit>(needle, "BoxGaugename")->text(), "Small gauge; Single Needle ");
    EXPECT_EQ(CurrentGaugeID, 5);
    EXPECT_EQ(Session.ConfigChanged, 1);

    // The same gauge's line brings the open dialog to the front; another
    // gauge's line of the same type opens the dialog anew for that gauge.
    clickLine(s, "Configlist", 0);
    EXPECT_EQ(&DefaultForm<ConfigGaugeSN>::get(), &needle);
    clickLine(s, "Configlist", 1);
    EXPECT_EQ(CurrentGaugeID, 6);
    EXPECT_EQ(DefaultForm<ConfigGaugeSN>::get().gaugeID(), 6);
    EXPECT_EQ(child<QLineEdit>(DefaultForm<ConfigGaugeSN>::get(), "GaugeID")->text(), "6");

    clickLine(s, "Configlist", 2);
    ASSERT_TRUE(DefaultForm<ConfigIOM>::loaded());
    EXPECT_EQ(DefaultForm<ConfigIOM>::get().GaugeID, 17);

    clickLine(s, "Configlist", 3);
    ASSERT_TRUE(DefaultForm<frmConfigUnknown>::loaded());
    EXPECT_EQ(child<QLineEdit>(DefaultForm<frmConfigUnknown>::get(), "GaugeID")->text(), "40");
    EXPECT_EQ(CurrentGaugeTypeName, "Unknown");

    // Type 101 with version 5 is the analogue altimeter, not the digital one.
    clickLine(s, "Configlist", 4);
    ASSERT_TRUE(DefaultForm<ConfigAnalogueAltimeter>::loaded());
    EXPECT_EQ(DefaultForm<ConfigAnalogueAltimeter>::get().gaugeID(), 41);
}

} // namespace
} // namespace varnet

// The avionics module frame, once for the ten module dialogs.

#include "avionics/moduleframe.h"
#include "gauges/dialog_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace varnet {
namespace {

using testing::SentCommand;

// A radio of the Bendix/King family with every section of the frame; Apply
// writes its settings afterwards.
class TestRadio final : public ModuleDialogOf<TestRadio> {
public:
    TestRadio()
        : ModuleDialogOf("TestRadio", QStringLiteral("Test"),
                         ModuleParts{.applyName = "Command6", .readName = "CmdReadRadio", .backlight = true,
                                     .versionGate = true, .dayNight = true, .radioNumber = true},
                         ModuleAssignment{.function1 = 20, .function2 = 22})
    {
    }
    QString decoded;

protected:
    void afterApply() override { send(12, 1); }
    void decodeReply(const Reply& reply) override { decoded = QString::number(reply.word(6, 7)); }
};

class TestTransponder final : public ModuleDialogOf<TestTransponder> {
public:
    TestTransponder()
        : ModuleDialogOf("TestTransponder", QStringLiteral("Test"), ModuleParts{},
                         ModuleAssignment{.function1 = 26, .function2 = 0, .transponder = true})
    {
    }
};

class ModuleFrame : public testing::DialogTest {
protected:
    TestRadio& radio(int version = 5, int seqNr = 2, int standby = 1, int busStatus = 0)
    {
        gauge(30, 120, 7, version, busStatus);
        Cfg.GaugeRecSeqNr1[30] = Byte(seqNr);
        Cfg.GaugeRecPlate2[30] = Integer(standby);
        Cfg.GaugeRecCategory2[30] = 4;
        OpenDialog<TestRadio>();
        return DefaultForm<TestRadio>::get();
    }
};

TEST_F(ModuleFrame, ApplyMovesWhateverTheBusStatusAndWritesTheFixedAssignment)
{
    TestRadio& d = radio();
    EXPECT_TRUE(child<QRadioButton>(d, "OptionRadio2")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(d, "CheckSendStandby")->isChecked());
    click(d, "OptionRadio1");
    child<QCheckBox>(d, "CheckSendStandby")->setChecked(false);
    choose(d, "NewGaugeID", "31");
    click(d, "Command6");

    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{30, 31}}));
    const GaugeRecord moved = GaugeRecord::Read(Cfg, 31);
    EXPECT_EQ(moved.type, 120);
    EXPECT_EQ(moved.version, 5);
    EXPECT_EQ(moved.model, 0);
    EXPECT_EQ(moved.category1, 8);
    EXPECT_EQ(moved.function1, 20);
    EXPECT_EQ(moved.function2, 22);
    EXPECT_EQ(moved.seqNr1, 1);
    EXPECT_EQ(moved.seqNr2, 1);
    EXPECT_EQ(moved.plate2, 0);
    EXPECT_EQ(Cfg.GaugeRecType[30], 0);
    EXPECT_EQ(Cfg.GaugeRecCategory2[30], 4);
    EXPECT_EQ(Session.GaugeRecBusStatus[31], 0);
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{31, 12, 1}}));

    // A transponder clears its second function and data pair as well.
    gauge(40, 112);
    Cfg.GaugeRecFunction2[40] = 9;
    Cfg.GaugeRecSeqNr2[40] = 3;
    OpenDialog<TestTransponder>();
    click(DefaultForm<TestTransponder>::get(), "CmdApply");
    EXPECT_EQ(GaugeRecord::Read(Cfg, 40).function2, 0);
    EXPECT_EQ(GaugeRecord::Read(Cfg, 40).seqNr2, 0);
    EXPECT_EQ(GaugeRecord::Read(Cfg, 40).seqNr1, 1);
    EXPECT_EQ(GaugeRecord::Read(Cfg, 40).function1, 26);
}

TEST_F(ModuleFrame, LampBacklightAndDisplayBrightnessWords)
{
    TestRadio& d = radio();
    child<QSlider>(d, "SliderBacklight")->setValue(0);
    click(d, "DisplaysOff");
    click(d, "LightOn");
    click(d, "DisplaysOn");
    click(d, "LightOff");
    click(d, "CmdSetBacklight");
    child<QSlider>(d, "SliderBacklight")->setValue(15);
    child<QCheckBox>(d, "CheckSetDefault")->setChecked(true);
    click(d, "OptionAlwaysOn");
    click(d, "CmdSetBacklight");
    child<QSlider>(d, "SliderLightIntensity")->setValue(15);
    click(d, "cmdSetNight");
    click(d, "cmdSetNight");
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{{8, 0},
                                                                   {8, 64},
                                                                   {8, 192},
                                                                   {8, 128},
                                                                   {8, 0xD0},
                                                                   {8, 0x1FF},
                                                                   {13, 47},
                                                                   {8, 192},
                                                                   {13, 47}}));
}

TEST_F(ModuleFrame, OlderBendixKingModulesAlwaysStoreTheirBacklightAsDefault)
{
    TestRadio& old = radio(4);
    EXPECT_TRUE(child<QCheckBox>(old, "CheckSetDefault")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(old, "CheckSetDefault")->isEnabled());
    EXPECT_TRUE(child<QGroupBox>(old, "FramePowerOn")->isHidden());
    old.closeDialog();
    TestRadio& recent = radio(5);
    EXPECT_FALSE(child<QCheckBox>(recent, "CheckSetDefault")->isChecked());
    EXPECT_FALSE(child<QGroupBox>(recent, "FramePowerOn")->isHidden());
}

TEST_F(ModuleFrame, ReadDecodesOnlyAReplyOfItsOwnModule)
{
    TestRadio& d = radio();
    click(d, "CmdReadRadio");
    EXPECT_EQ(d.decoded, "");
    QByteArray reply(25, '\0');
    reply[1] = 31;  // another module's reply
    reply[5] = 0x52;
    reply[6] = 0x08;
    reply[24] = char(0xFF);
    link_.replies[30] = reply;
    click(d, "CmdReadRadio");
    EXPECT_EQ(d.decoded, "");
    reply[1] = 30;
    link_.replies[30] = reply;
    click(d, "CmdReadRadio");
    EXPECT_EQ(d.decoded, "21000");
}

} // namespace
} // namespace varnet

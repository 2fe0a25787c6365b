// The dialog kit once for every dialog: Apply with each move policy, field
// sets, Uninstall, the one close path, the opener, words, replies, numbers.

#include "dialog_fixture.h"

#include <QCheckBox>
#include <QRadioButton>

namespace varnet {
namespace {

using testing::SentCommand;

// A fixed-function dialog with every section of the frame. It writes
// function 1 := 42 and sends 14/0 when it closes, as a dialog with a running
// test does.
class TestDialog final : public DialogOf<TestDialog> {
public:
    TestDialog()
        : DialogOf("TestDialog", QStringLiteral("Test"),
                   FrameParts{.setNewID = true, .displays = true, .backlight = true, .speed = true, .speedBox = true})
    {
    }
    bool valid = true;
    MovePolicy policy = MovePolicy::Connected;

protected:
    ApplySteps applySteps() override
    {
        return {.validate = [this] { return valid; },
                .clears = Field::Identity | Field::Needle1,
                .move = policy,
                .write = [](int id) { Cfg.GaugeRecFunction1[id] = 42; },
                .afterwards = [this] { send(6, 1); }};
    }
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    void closing() override { send(14, 0); }
    int speedValue(int position) const override { return 2 * (115 - position); }
};

class DialogKit : public testing::DialogTest {
protected:
    TestDialog& open(int id = 5)
    {
        OpenDialog<TestDialog>();
        EXPECT_EQ(DefaultForm<TestDialog>::get().gaugeID(), id);
        return DefaultForm<TestDialog>::get();
    }
    void setUpGauge(int busStatus = 2)
    {
        gauge(5, 103, 3, 4, busStatus);
        Cfg.GaugeRecFunction1[5] = 7;
        Cfg.GaugeRecPlate2[5] = 9;
    }
    static bool loaded() { return DefaultForm<TestDialog>::loaded(); }
};

TEST_F(DialogKit, ApplyMovesAConnectedGaugeWithTypeModelVersionAndTheDialogsFields)
{
    setUpGauge();
    TestDialog& d = open();
    choose(d, "NewGaugeID", "9");
    click(d, "CmdApply");

    EXPECT_EQ(link_.newIDs, (std::vector<std::pair<int, int>>{{5, 9}}));
    EXPECT_EQ(GaugeRecord::Read(Cfg, 9).type, 103);
    EXPECT_EQ(GaugeRecord::Read(Cfg, 9).model, 3);
    EXPECT_EQ(GaugeRecord::Read(Cfg, 9).version, 4);
    EXPECT_EQ(Cfg.GaugeRecFunction1[9], 42);
    EXPECT_EQ(Cfg.GaugeRecType[5], 0);
    // A field the dialog does not write stays behind.
    EXPECT_EQ(Cfg.GaugeRecPlate2[5], 9);
    EXPECT_EQ(Session.GaugeRecBusStatus[5], 1);
    EXPECT_EQ(Session.GaugeRecBusStatus[9], 2);
    EXPECT_EQ(Session.ConfigChanged, 1);
    // The after-apply send goes to the new address, then the close.
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{9, 6, 1}, {9, 14, 0}}));
    EXPECT_FALSE(loaded());
}

TEST_F(DialogKit, MovePoliciesDecideOnTheBusStatusAndAFailedMoveMovesNothing)
{
    // Not connected: the two-line message, the record written where it was.
    setUpGauge(1);
    messages_.expectOk(kNotConnected);
    TestDialog& d = open();
    choose(d, "NewGaugeID", "9");
    click(d, "CmdApply");
    EXPECT_TRUE(link_.newIDs.empty());
    EXPECT_EQ(Cfg.GaugeRecType[5], 103);
    EXPECT_EQ(Cfg.GaugeRecFunction1[5], 42);
    EXPECT_EQ(Cfg.GaugeRecType[9], 0);

    // Always: moves whatever the status and leaves the status alone.
    setUpGauge(0);
    TestDialog& always = open();
    always.policy = MovePolicy::Always;
    choose(always, "NewGaugeID", "9");
    click(always, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecType[9], 103);
    EXPECT_EQ(Session.GaugeRecBusStatus[9], 0);

    // The address change not queued: nothing moves, the record stays.
    setUpGauge();
    link_.accept = false;
    messages_.expectOk(kNewIDNotWritten);
    TestDialog& failing = open();
    choose(failing, "NewGaugeID", "10");
    click(failing, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecType[10], 0);
    EXPECT_EQ(Cfg.GaugeRecType[5], 103);
    EXPECT_EQ(Session.GaugeRecBusStatus[5], 2);
}

TEST_F(DialogKit, ARefusedApplyOrATargetTakenMeanwhileWritesNothing)
{
    setUpGauge();
    TestDialog& d = open();
    d.valid = false;
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecFunction1[5], 7);
    EXPECT_TRUE(loaded());

    d.valid = true;
    choose(d, "NewGaugeID", "9");
    Cfg.GaugeRecType[9] = 1;  // the bus search found a gauge there meanwhile
    messages_.expectOk(kNewIDRule);
    click(d, "CmdApply");
    EXPECT_EQ(Cfg.GaugeRecType[5], 103);
    EXPECT_EQ(Cfg.GaugeRecFunction1[5], 7);
    EXPECT_TRUE(link_.newIDs.empty());
    EXPECT_TRUE(loaded());
}

TEST_F(DialogKit, SetBesideNewGaugeIDCarriesTheWholeRecordAndRefillsTheFreeList)
{
    setUpGauge();
    TestDialog& d = open();
    choose(d, "NewGaugeID", "9");
    click(d, "CmdSetNewGaugeID");
    EXPECT_EQ(d.gaugeID(), 9);
    EXPECT_EQ(child<QLineEdit>(d, "GaugeID")->text(), "9");
    EXPECT_EQ(GaugeRecord::Read(Cfg, 9).function1, 7);
    EXPECT_EQ(Cfg.GaugeRecPlate2[9], 9);
    EXPECT_EQ(Cfg.GaugeRecType[5], 0);
    EXPECT_EQ(Session.GaugeRecBusStatus[9], 2);
    auto* free = child<QComboBox>(d, "NewGaugeID");
    EXPECT_EQ(free->findText("9"), -1);
    EXPECT_NE(free->findText("5"), -1);
    EXPECT_EQ(free->currentText(), "");
}

TEST_F(DialogKit, UninstallClearsItsFieldSetOnlyOnYes)
{
    setUpGauge();
    Cfg.GaugeRecFunction2[5] = 8;
    messages_.expectYesNo(kUninstallQuestion, false);
    TestDialog& d = open();
    click(d, "CmdUninstall");
    EXPECT_EQ(Cfg.GaugeRecType[5], 103);
    EXPECT_TRUE(loaded());

    messages_.expectYesNo(kUninstallQuestion, true);
    click(d, "CmdUninstall");
    const GaugeRecord r = GaugeRecord::Read(Cfg, 5);
    EXPECT_EQ(r.type, 0);
    EXPECT_EQ(r.function1, 0);
    EXPECT_EQ(r.function2, 0);
    // This set keeps model, version and the second plate.
    EXPECT_EQ(r.model, 3);
    EXPECT_EQ(r.plate2, 9);
    EXPECT_EQ(Session.ConfigChanged, 1);
    EXPECT_FALSE(loaded());
}

TEST_F(DialogKit, CancelTheTitleBarAndARunsStartCloseTheSameWay)
{
    setUpGauge();
    open();
    click(DefaultForm<TestDialog>::get(), "CmdClose");
    EXPECT_FALSE(loaded());
    open().close();  // the title bar
    EXPECT_FALSE(loaded());
    open();
    CloseOpenDialogs();
    EXPECT_FALSE(loaded());
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>(3, {5, 14, 0})));
    EXPECT_EQ(Cfg.GaugeRecFunction1[5], 7);
}

TEST_F(DialogKit, OpeningForAnotherGaugeClosesTheOpenDialogAndTheSameGaugeRaisesIt)
{
    setUpGauge();
    TestDialog* first = &open();
    OpenDialog<TestDialog>();
    EXPECT_EQ(&DefaultForm<TestDialog>::get(), first);
    EXPECT_TRUE(link_.sent.empty());

    gauge(6, 103);
    open(6);
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{5, 14, 0}}));
    // The dialog keeps its gauge whatever the screen opens next.
    CurrentGaugeID = 77;
    click(DefaultForm<TestDialog>::get(), "LightOn");
    EXPECT_EQ(link_.sent.back(), (SentCommand{6, 8, 64}));
}

TEST_F(DialogKit, LightDisplaysBacklightAndSpeedWords)
{
    setUpGauge();
    TestDialog& d = open();
    click(d, "LightOn");
    click(d, "LightOff");
    click(d, "DisplayOn");
    click(d, "LightOn");
    click(d, "CmdSetBacklight");  // nothing set
    child<QSlider>(d, "SliderBacklight")->setValue(9);
    child<QCheckBox>(d, "CheckSetDefault")->setChecked(true);
    click(d, "OptionAlwaysOn");
    click(d, "CmdSetBacklight");
    child<QSlider>(d, "SliderSpeed")->setValue(15);
    EXPECT_EQ(child<QLineEdit>(d, "BoxSpeed")->text(), "15");
    EXPECT_EQ(link_.commands(), (std::vector<std::pair<int, int>>{
                                    {8, 64}, {8, 15}, {8, 143}, {8, 192}, {8, 0x50}, {8, 0x179}, {3, 200}}));

    EXPECT_EQ(BacklightWord({15, true, PowerOnLight::AlwaysOn, true}, true), 0x1FF);
    EXPECT_EQ(BacklightWord({3, false, PowerOnLight::On, true}, false), 0x253);
    EXPECT_EQ(BacklightWord({0, false, PowerOnLight::Off}), 0x450);
    EXPECT_EQ(DayNightWord(15, true), 47);
    EXPECT_EQ(JumpWrap(1085, 1079), 0);
    EXPECT_EQ(JumpWrap(-5, 1079), 1079);
}

TEST(DialogReplies, OnlyAWellFramedReplyOfTheOwnGaugeIsRead)
{
    QByteArray reply(25, '\0');
    reply[1] = 12;
    reply[9] = char(0xFF);
    reply[10] = char(0x38);
    reply[24] = char(0xFF);
    ASSERT_TRUE(ReplyOf(reply, 12));
    EXPECT_FALSE(ReplyOf(reply, 13));
    EXPECT_FALSE(ReplyOf(reply.left(24), 12));
    QByteArray unframed = reply;
    unframed[24] = 0;
    EXPECT_FALSE(ReplyOf(unframed, 12));

    const Reply r(reply);
    EXPECT_EQ(r.byte(2), 12);
    EXPECT_EQ(r.word(10, 11), 0xFF38);
    EXPECT_EQ(r.signedWord(10, 11), -200);
    EXPECT_EQ(r.byte(26), 0);
}

TEST(DialogNumbers, ReadersRoundingAndRangeRules)
{
    EXPECT_EQ(Hundredths("29.92"), 2992);
    EXPECT_EQ(Hundredths(" 32.05 "), 3205);
    EXPECT_EQ(Hundredths("30"), 3000);
    EXPECT_EQ(Hundredths("-0.5"), -50);
    EXPECT_EQ(Hundredths(".25"), 25);
    for (const char* bad : {"", "1.234", "29,92", "abc", "1e3", "."})
        EXPECT_FALSE(Hundredths(bad)) << bad;

    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(LenientNumber("12 mS"), 12);
    EXPECT_EQ(LenientNumber("x"), 0);
    EXPECT_FALSE(StrictNumber("12 mS"));

    testing::ScriptedMessages boxes;
    const QString rule = RangeRule("Needledelta", 0, 65535);
    EXPECT_EQ(rule, "Needledelta must be a whole number between 0 and 65535");
    EXPECT_EQ(ReadWholeNumber("65535", 0, 65535, rule), 65535);
    for (const char* bad : {"65536", "-1", "1.5", "", "x"}) {
        boxes.expectOk(rule);
        EXPECT_FALSE(ReadWholeNumber(bad, 0, 65535, rule)) << bad;
    }
}

} // namespace
} // namespace varnet

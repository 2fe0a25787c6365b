// The dialog kit once for every dialog: Apply with each move policy, field
// sets, Uninstall, the one close path, the opener, words, replies, numbers;
// and the avionics encodings, once for every module dialog.

#include "dialog_fixture.h"
#include "gauges/radiocodecs.h"

#include <QCheckBox>

#include <tuple>

namespace varnet {
namespace {

using testing::Commands;
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
    static void apply(TestDialog& d, const char* newID)
    {
        choose(d, "NewGaugeID", newID);
        click(d, "CmdApply");
    }
    static bool loaded() { return DefaultForm<TestDialog>::loaded(); }
};

TEST_F(DialogKit, ApplyMovesAConnectedGaugeWithTypeModelVersionAndTheDialogsFields)
{
    setUpGauge();
    apply(open(), "9");
    EXPECT_EQ(link_.newIDs, (Commands{{5, 9}}));
    EXPECT_EQ(fields(9), (std::vector<int>{103, 3, 4, 0, 42, 0, 0, 0, 0, 0, 0}));
    // A field the dialog does not write (plate 2) stays behind.
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecPlate2[5]), std::tuple(0, 9));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[5], Session.GaugeRecBusStatus[9], Session.ConfigChanged),
              std::tuple(1, 2, 1));
    // The after-apply send goes to the new address, then the close.
    EXPECT_EQ(link_.sent, (std::vector<SentCommand>{{9, 6, 1}, {9, 14, 0}}));
    EXPECT_FALSE(loaded());
}

TEST_F(DialogKit, MovePoliciesDecideOnTheBusStatusAndAFailedMoveMovesNothing)
{
    // Not connected: the two-line message, the record written where it was.
    setUpGauge(1);
    messages_.expectOk(kNotConnected);
    apply(open(), "9");
    EXPECT_TRUE(link_.newIDs.empty());
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecFunction1[5], Cfg.GaugeRecType[9]), std::tuple(103, 42, 0));

    // Always: moves whatever the status and leaves the status alone.
    setUpGauge(0);
    TestDialog& always = open();
    always.policy = MovePolicy::Always;
    apply(always, "9");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[9], Session.GaugeRecBusStatus[9]), std::tuple(103, 0));

    // The address change not queued: nothing moves, the record stays.
    setUpGauge();
    link_.accept = false;
    messages_.expectOk(kNewIDNotWritten);
    apply(open(), "10");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[10], Cfg.GaugeRecType[5], Session.GaugeRecBusStatus[5]),
              std::tuple(0, 103, 2));
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
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Cfg.GaugeRecFunction1[5]), std::tuple(103, 7));
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
    EXPECT_EQ(text(d, "GaugeID"), "9");
    EXPECT_EQ(fields(9), (std::vector<int>{103, 3, 4, 0, 7, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[5], Session.GaugeRecBusStatus[9]), std::tuple(0, 2));
    auto* free = child<QComboBox>(d, "NewGaugeID");
    EXPECT_EQ(std::tuple(free->findText("9"), free->currentText()), std::tuple(-1, QString()));
    EXPECT_NE(free->findText("5"), -1);
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
    // This set keeps model, version and the second plate.
    EXPECT_EQ(fields(5), (std::vector<int>{0, 3, 4, 0, 0, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(Session.ConfigChanged, 1);
    EXPECT_FALSE(loaded());
}

TEST_F(DialogKit, CancelTheTitleBarAndARunsStartCloseTheSameWay)
{
    setUpGauge();
    click(open(), "CmdClose");
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
    act(d, "LightOn LightOff DisplayOn LightOn CmdSetBacklight SliderBacklight=9");  // the backlight with nothing set
    child<QCheckBox>(d, "CheckSetDefault")->setChecked(true);
    act(d, "OptionAlwaysOn CmdSetBacklight SliderSpeed=15");
    EXPECT_EQ(text(d, "BoxSpeed"), "15");
    EXPECT_EQ(link_.commands(), (Commands{{8, 64}, {8, 15}, {8, 143}, {8, 192}, {8, 0x50}, {8, 0x179}, {3, 200}}));

    EXPECT_EQ(BacklightWord({15, true, PowerOnLight::AlwaysOn, true}, true), 0x1FF);
    EXPECT_EQ(BacklightWord({3, false, PowerOnLight::On, true}, false), 0x253);
    EXPECT_EQ(BacklightWord({0, false, PowerOnLight::Off}), 0x450);
    EXPECT_EQ(DayNightWord(15, true), 47);
    EXPECT_EQ(std::tuple(JumpWrap(1085, 1079), JumpWrap(-5, 1079)), std::tuple(0, 1079));
}

TEST(DialogReplies, OnlyAWellFramedReplyOfTheOwnGaugeIsRead)
{
    const QByteArray reply = testing::statusReply(12, {{9, 0xFF}, {10, 0x38}});
    ASSERT_TRUE(ReplyOf(reply, 12));
    EXPECT_FALSE(ReplyOf(reply, 13));
    EXPECT_FALSE(ReplyOf(reply.left(24), 12));
    EXPECT_FALSE(ReplyOf(QByteArray(reply).replace(24, 1, "\0", 1), 12));  // unframed

    const Reply r(reply);
    EXPECT_EQ(std::tuple(r.byte(2), r.word(10, 11), r.signedWord(10, 11), r.byte(26)), std::tuple(12, 0xFF38, -200, 0));
}

TEST(DialogNumbers, ReadersRoundingAndRangeRules)
{
    for (auto [typed, hundredths] : {std::pair{"29.92", 2992}, {" 32.05 ", 3205}, {"30", 3000}, {"-0.5", -50}, {".25", 25}})
        EXPECT_EQ(Hundredths(typed), hundredths) << typed;
    for (const char* bad : {"", "1.234", "29,92", "abc", "1e3", "."})
        EXPECT_FALSE(Hundredths(bad)) << bad;

    EXPECT_EQ(std::tuple(RoundHalfEven(2.5), RoundHalfEven(3.5), RoundHalfEven(-2.5)), std::tuple(2, 4, -2));
    EXPECT_EQ(std::tuple(LenientNumber("12 mS"), LenientNumber("x")), std::tuple(12, 0));
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

TEST(RadioCodecs, ComNavAndAdfFrequencies)
{
    for (auto [typed, word] : {std::pair{"118,000", 18000}, {"118000", 18000}, {" 138,975 ", 38975}, {"25", 25}})
        EXPECT_EQ(ComNavWord(typed), word) << typed;
    // Not a whole number, or no 16-bit word: refused.
    for (const char* bad : {"", "118.0", "abc", "-5", "100000", "170000"})
        EXPECT_FALSE(ComNavWord(bad)) << bad;
    EXPECT_EQ(ComNavText(21000) + " " + ComNavText(8000) + " " + KilohertzText(25), "121,000 108,000 000,025");

    for (auto [typed, word] : {std::pair{"100.0", 1000}, {"999.9", 9999}, {"1700", 17000}})
        EXPECT_EQ(AdfWord(typed), word) << typed;
    for (const char* bad : {"", "x", "-1", "6554"})
        EXPECT_FALSE(AdfWord(bad)) << bad;
    EXPECT_EQ(AdfText(8505) + " " + AdfText(17000) + " " + AdfText(1000), "850.5 1700.0 100.0");
}

TEST(RadioCodecs, TransponderCodesAndReplyDigits)
{
    testing::ScriptedMessages boxes;
    EXPECT_EQ(TransponderWord("7777", CodePacking::Octal), 4095);
    EXPECT_EQ(TransponderWord("1200", CodePacking::Octal), 640);
    EXPECT_EQ(TransponderWord("1200", CodePacking::Nibbles), 0x1200);
    boxes.expectOk(kCodeNotFourDigits);
    EXPECT_FALSE(TransponderWord("128", CodePacking::Octal));
    boxes.expectOk(kCodeNotOctal);
    EXPECT_FALSE(TransponderWord("1284", CodePacking::Nibbles));
    EXPECT_EQ(NibbleDigits(0x12, 0x00) + " " + NibbleDigits(0x77, 0x77), "1200 7777");
}

} // namespace
} // namespace varnet

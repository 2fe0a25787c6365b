#include "bus/gaugetestwindow.h"

#include "app/window_helpers.h"
#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <tuple>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(GaugeTestDecoding, RepliesTypeListAndFreeIDs)
{
    ConfigTables t;
    LoadConstantTables(t);
    const std::optional<PollReplyView> view =
        DecodePollReply(SimControlUnit::reply(5, 0x65, QByteArray("\x01\x02", 2)), t);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->bytes, "0.5.65.1.2." + QString("0.").repeated(19) + "FF.");
    EXPECT_EQ((std::tuple{view->gaugeID, view->type, view->model, view->version, view->name}),
              (std::tuple{5, 101, 1, 2, "Digital/Analogue Altimeter "}));
    EXPECT_EQ(DecodePollReply(SimControlUnit::reply(5, 0x99), t)->name, " Unknown ");
    EXPECT_FALSE(DecodePollReply(SimControlUnit::reply(5, 0x65).left(24), t));

    const std::vector<QString> types = GaugeTypeEntries(t);
    ASSERT_EQ(types.size(), std::size_t(kBuiltInGaugeTypes));
    EXPECT_EQ(types[0], "001: Small gauge; Single Needle ");

    t.GaugeRecType[2] = 1;
    const std::vector<int> free = FreeGaugeIDs(t);
    EXPECT_EQ((std::tuple{free.size(), free[1]}), (std::tuple{254u, 3}));
}

// The gauge test window on the gauge bus, COM3, with the simulated control unit at its end.
class GaugeTestWindow : public GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        ASSERT_TRUE(unit.ready());
        LoadConstantTables(Cfg);
        Cfg.ComPortGauges = 3;
        OpenComPorts();
        window().Form_Activate();
    }

    void TearDown() override
    {
        DefaultForm<frmTestGauges>::unload();
        Session = SessionState{};
        GaugeBusTest::TearDown();
    }

    static frmTestGauges& window() { return DefaultForm<frmTestGauges>::get(); }
    static QString text(const char* name) { return child<QLineEdit>(window(), name)->text(); }
    static void setText(const char* name, const char* text) { child<QLineEdit>(window(), name)->setText(text); }
    static QComboBox* combo(const char* name) { return child<QComboBox>(window(), name); }
    static QString spinner() { return child<QLabel>(window(), "ProgressIndicator")->text(); }
    static QTimer* pollTimer() { return window().findChild<QTimer*>("PollTimer"); }

    // Polling started by the button; the test then drives the ticks itself.
    void startPolling(const char* gaugeID)
    {
        combo("ManualGaugeID")->setEditText(gaugeID);
        click(window(), "cmdPollGauge");
        ASSERT_TRUE(pollTimer()->isActive());
        pollTimer()->stop();
    }

    // One poll tick, with the request it sends answered when the unit answers.
    void tick()
    {
        const qsizetype frames = unit.frames().size();
        GaugeReplyReceived = 0;
        window().PollTimer_Timer();
        ASSERT_TRUE(unit.waitForFrames(int(frames) + 1));
        waitUntil([] { return GaugeReplyReceived == 1; }, 200);
    }

    // The boxes of a gauge to be moved to `newID` or added.
    static void record(const char* id, const char* type, const char* model, const char* version, const char* newID)
    {
        combo("ManualGaugeID")->setEditText(id);
        setText("BoxType", type);
        setText("BoxModel", model);
        setText("boxVersion", version);
        combo("ReplaceGaugeID")->setEditText(newID);
    }

    ScriptedMessages boxes;
    SimControlUnit unit{3};
};

TEST_F(GaugeTestWindow, EachTickShowsTheLatestReplyAndAsksOnce)
{
    unit.setStatusReply(5, SimControlUnit::reply(5, 0x65, QByteArray("\x01\x01", 2)));
    startPolling("5");
    EXPECT_FALSE(combo("ManualGaugeID")->isEnabled());
    waitMs(40);
    EXPECT_TRUE(unit.frames().isEmpty()) << "the first request waits for the first tick";

    tick();
    EXPECT_EQ(text("Text7"), "-- No reply --");
    tick();
    EXPECT_TRUE(text("Text7").startsWith("0.5.65.1.1.0."));
    EXPECT_EQ((std::tuple{text("BoxID"), text("BoxType"), text("BoxModel"), text("boxVersion"), text("boxName"),
                          spinner()}),
              (std::tuple{"5", "101", "1", "1", "Digital/Analogue Altimeter ", "---"}));
    EXPECT_EQ(unit.frames(), QList<QByteArray>(2, hexBytes("00 05 78 01 02 FF")));

    // A gauge that stops answering stays on display as the spinner turns; a short input is no reply.
    unit.setSilent(true);
    window().PollTimer_Timer();
    EXPECT_EQ((std::tuple{text("BoxType"), spinner()}), (std::tuple{"101", " \\"}));
    GaugeReply = GaugeReply.left(10);
    window().PollTimer_Timer();
    EXPECT_EQ((std::tuple{text("Text7"), text("BoxType"), spinner()}), (std::tuple{"-- No reply --", "101", " \\"}));

    click(window(), "cmdStopPoll");
    EXPECT_TRUE(combo("ManualGaugeID")->isEnabled());
}

TEST_F(GaugeTestWindow, NothingIsSentDuringARunOrToAnIDOffTheBusAndAddToConfigForcesATypeAfterTheQuestion)
{
    boxes.expectOk("No new GaugeID");
    combo("ManualGaugeID")->setEditText("");
    click(window(), "cmdPollGauge");
    for (const char* refused : {"-1", "256", "five"}) {
        boxes.expectOk(kGaugeIDRule);
        combo("ManualGaugeID")->setEditText(refused);
        click(window(), "cmdPollGauge");
    }
    EXPECT_FALSE(pollTimer()->isActive());

    // Add to Config forces the chosen type after the question.
    const QString question = "You are forcing a gauge into the configuration.\r\n"
                             "There is NO check whether the Gaugetype matches the actual Gauge. \r\n"
                             "This can result in unpredicted behaviour of gauges when incorrect\r\n"
                             "Continue anyway?";
    Session.GaugeRecBusStatus[20] = 2;
    combo("ManualGaugeID")->setEditText("20");
    boxes.expectYesNo(question, true);
    boxes.expectOk("GaugeID and/or Gaugetype incorrect");  // no type chosen
    click(window(), "cmdAddToConfig");

    combo("ComboGaugeType")->setCurrentIndex(combo("ComboGaugeType")->findText("105: ", Qt::MatchStartsWith));
    boxes.expectYesNo(question, false);
    click(window(), "cmdAddToConfig");
    EXPECT_EQ((std::tuple{Cfg.GaugeRecType[20], Session.GaugeRecBusStatus[20]}), (std::tuple{0, 2}));

    boxes.expectYesNo(question, true);
    click(window(), "cmdAddToConfig");
    EXPECT_EQ((std::tuple{Cfg.GaugeRecType[20], Cfg.GaugeRecModel[20], Cfg.GaugeRecVersion[20],
                          Session.GaugeRecBusStatus[20]}),
              (std::tuple{105, 1, 1, 0}));

    startPolling("5");
    runWindow().StartRunOutput();
    const QByteArray tickOutput = hexBytes("FF 00 0C 78 01 02 FF");
    GaugeSendBuffer = tickOutput;
    window().PollTimer_Timer();
    EXPECT_EQ((std::tuple{GaugeSendPending, GaugeSendBuffer}), (std::tuple{0, tickOutput}));
    boxes.expectOk(kRunActiveRule);
    click(window(), "cmdPollGauge");
    runWindow().StopRunOutput();
    waitMs(40);
    EXPECT_TRUE(unit.received().isEmpty());
}

TEST_F(GaugeTestWindow, ChangeMovesTheGaugeOnlyWhenEveryBoxHoldsANumberAGaugeAtAddressZeroIsPolledAndGivenOne)
{
    Cfg.GaugeRecType[5] = 101;
    Cfg.GaugeRecModel[5] = Cfg.GaugeRecVersion[5] = 1;
    const QByteArray buffer = GaugeSendBuffer;
    for (const char* model : {"x", "2"}) {
        record("5", "101", model, "3", *model == 'x' ? "7" : "256");
        boxes.expectOk("Incorrect GaugeID or Model");
        click(window(), "cmdSetNewID");
    }
    EXPECT_EQ((std::tuple{Cfg.GaugeRecType[5], GaugeSendBuffer, GaugeSendPending}), (std::tuple{101, buffer, 0}));

    combo("ReplaceGaugeID")->setEditText("7");
    click(window(), "cmdSetNewID");
    ASSERT_TRUE(unit.waitForFrames(1));
    EXPECT_EQ(unit.frames().first(), hexBytes("00 05 2C 07 AA FF"));
    EXPECT_EQ(Cfg.GaugeRecType[5] + Cfg.GaugeRecModel[5] + Cfg.GaugeRecVersion[5], 0);
    EXPECT_EQ((std::tuple{Cfg.GaugeRecType[7], Cfg.GaugeRecModel[7], Cfg.GaugeRecVersion[7], combo("ManualGaugeID")->currentText()}),
              (std::tuple{101, 2, 3, "7"}));

    // Typed whole: with 10 in the list and 1 not, "1" stays 1.
    Cfg.GaugeRecType[1] = 1;
    QComboBox* id = combo("ManualGaugeID");
    window().show();
    id->setFocus();
    QApplication::processEvents();
    id->lineEdit()->selectAll();
    QKeyEvent one(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
    QApplication::sendEvent(id->lineEdit(), &one);
    EXPECT_EQ(id->currentText().toStdString(), "1");

    startPolling("0");
    tick();
    EXPECT_EQ(unit.frames().value(1), hexBytes("00 00 78 01 02 FF"));
    click(window(), "cmdStopPoll");

    record("", "1", "1", "1", "9");
    click(window(), "cmdSetNewID");
    ASSERT_TRUE(unit.waitForFrames(3));
    EXPECT_EQ(unit.frames().at(2).left(4), hexBytes("00 00 2C 09"));
    EXPECT_EQ(Cfg.GaugeRecType[9], 1);
}

} // namespace
} // namespace varnet

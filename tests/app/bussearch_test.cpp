#include "app/bussearch.h"
#include "app/tabstops.h"
#include "bus/deviceports.h"
#include "bus/gaugeframes.h"
#include "configscreen_fixture.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QLabel>
#include <QProgressBar>

namespace varnet {
namespace {

using namespace varnet::testing;

std::vector<int> allGaugeIDs()
{
    std::vector<int> all(255);
    std::iota(all.begin(), all.end(), 1);
    return all;
}

QByteArray identifyReply(int id, int type, int model, int version)
{
    QByteArray payload;
    payload.append(char(model)).append(char(version));
    return SimControlUnit::reply(id, type, payload);
}

// The search on its own, driven tick by tick; the test plays the sender
// (clearing GaugeSendPending) and the receive event (GaugeReply).
class BusSearchSteps : public ConfigScreenTest {
protected:
    BusSearchSteps()
    {
        search.asking = [this](int id) { asked.push_back(id); };
        search.answered = [this](const std::string& line) { lines.push_back(line); };
        search.finished = [this] { ++finishedCount; };
    }

    static void reply(int id, int type, int model = 1, int version = 1)
    {
        GaugeReply = identifyReply(id, type, model, version);
        GaugeReplyReceived = 1;
    }

    // The frame goes out and the GaugeID's time runs out.
    void silentTurn()
    {
        GaugeSendPending = 0;
        search.tick();
        search.tick();
        search.poll();
    }

    void runToEnd()
    {
        for (int turns = 0; search.scanning() && turns < 1000; ++turns)
            silentTurn();
    }

    BusSearch search;
    std::vector<int> asked;
    std::vector<std::string> lines;
    int finishedCount = 0;
};

TEST_F(BusSearchSteps, EachGaugeIDIsAskedOnceWithTheIdentifyFrameAndSkipTo250AsksFrom250OnDuringASearchOnly)
{
    search.skipTo250();  // no search: nothing to skip
    ASSERT_TRUE(search.start());
    EXPECT_FALSE(search.start()) << "a running search is not started again";
    EXPECT_EQ(GaugeSendBuffer, hexBytes("00 01 7C 80 AA FF"));
    EXPECT_EQ(std::tuple(GaugeSendPending, CurrentGaugeID, search.SearchWaitTicks), std::tuple(1, 1, kSearchWaitTicks));
    silentTurn();
    silentTurn();
    search.skipTo250();  // while GaugeID 3 waits
    runToEnd();
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 250, 251, 252, 253, 254, 255}));
    EXPECT_EQ(Session.GaugeRecBusStatus[4], 0);

    asked.clear();
    search.start();
    while (asked.back() < 252)
        silentTurn();
    search.skipTo250();
    runToEnd();
    EXPECT_EQ(asked.back(), 255);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), 252), 1) << "never back to 250";

    asked.clear();
    search.start();
    runToEnd();
    EXPECT_EQ(std::tuple(asked, finishedCount), std::tuple(allGaugeIDs(), 3));
    EXPECT_EQ(Session.GaugeRecBusStatus[0], 0);
    for (int id = 1; id <= 255; ++id)
        EXPECT_EQ(Session.GaugeRecBusStatus[id], 1) << id;

    // Stop ends a new search where it is.
    asked.clear();
    search.start();
    silentTurn();
    search.stop();
    silentTurn();
    EXPECT_EQ(std::tuple(search.scanning(), asked, finishedCount), std::tuple(false, std::vector<int>{1, 2}, 3));
}

TEST_F(BusSearchSteps, AnAnswerIsStoredAtTheGaugeIDThatAnswered)
{
    Cfg.GaugeRecFunction1[40] = 7;
    search.start();
    GaugeSendPending = 0;
    reply(40, 1, 2, 3);  // late, from a gauge asked before
    search.poll();

    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[40], Cfg.GaugeRecModel[40], Cfg.GaugeRecVersion[40], Cfg.GaugeRecFunction1[40]),
              std::tuple(1, 2, 3, 7)) << "assignments stay";
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[40], Session.GaugeRecBusStatus[1]), std::tuple(2, 1))
        << "the asked GaugeID did not answer";
    EXPECT_EQ(lines, std::vector<std::string>{" 040   001         Small gauge; Single Needle "});
    EXPECT_EQ(asked, std::vector<int>{1}) << "GaugeID 1 still has its time";

    reply(1, 99, 4, 5);  // a type no row names
    search.poll();
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[1], lines.back()), std::tuple(2, " 001   099          Unknown "));
    EXPECT_EQ(asked, (std::vector<int>{1, 2})) << "an answer ends the wait at once";

    GaugeSendPending = 0;
    reply(2, 0);  // type code 0: stored, so the GaugeID is not listed afterwards
    Cfg.GaugeRecType[2] = 3;
    search.poll();
    EXPECT_EQ(Cfg.GaugeRecType[2], 0);
}

TEST_F(BusSearchSteps, AFrameWaitingForTheSenderIsNotOverwrittenUntilTheSenderHasStopped)
{
    const QByteArray dialogFrame = hexBytes("00 0C 78 01 02 FF");
    GaugeSendBuffer = dialogFrame;
    GaugeSendPending = 1;
    search.start();
    search.tick();
    search.poll();
    EXPECT_EQ(std::tuple(GaugeSendBuffer, Session.GaugeRecBusStatus[1]), std::tuple(dialogFrame, 0));

    GaugeSendPending = 0;  // the sender took it
    search.poll();
    EXPECT_EQ(GaugeSendBuffer, hexBytes("00 01 7C 80 AA FF"));

    // Nobody sends any more: the search takes the buffer after its wait.
    search.tick();
    search.tick();
    search.poll();
    EXPECT_EQ(search.SearchGaugeID, 2);
    for (int tick = 1; tick < kSearchSlotTicks; ++tick) {
        search.tick();
        search.poll();
    }
    EXPECT_EQ(Session.GaugeRecBusStatus[2], 0);
    search.tick();
    search.poll();
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[2], GaugeSendBuffer), std::tuple(1, hexBytes("00 02 7C 80 AA FF")));
}

// The whole search from the screen, against the simulated control unit on
// COM5.
class BusSearchOnTheBus : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        ASSERT_TRUE(unit.ready());
        Cfg.ComPortGauges = 5;
        for (auto [id, type, model, version] : {std::array{5, 1, 2, 3}, {17, 10, 4, 5}, {250, 130, 6, 7}})
            unit.setIdentifyReply(id, identifyReply(id, type, model, version));
        gauge(8, 2);  // configured earlier, not on the bus now
        Cfg.GaugeRecFunction1[17] = 7;
        Cfg.FunctionNames[7] = "Flaps";
    }

    std::vector<int> askedIDs() const
    {
        std::vector<int> ids;
        for (const QByteArray& frame : unit.frames())
            if (frame.mid(2, 4) == hexBytes("7C 80 AA FF"))
                ids.push_back(quint8(frame[1]));
        return ids;
    }

    SimControlUnit unit{5};
};

TEST_F(BusSearchOnTheBus, TheGaugesOnTheBusEnterWithTypeModelAndVersionSkip250AndCloseEndIt)
{
    FrmMainConfigure& s = screen();
    click(s, "Cmdsearch");
    EXPECT_FALSE(child<QListWidget>(s, "Configlist")->isEnabled() || child<QPushButton>(s, "Cmdsearch")->isEnabled());
    ASSERT_TRUE(waitUntil([this] { return unit.frames().size() >= 20; }, 5000));
    click(s, "CmdSet250");
    click(s, "Cmdsearch");  // refused while the search runs
    ASSERT_TRUE(waitUntil([&] { return !s.Search().scanning(); }, 15000));

    const std::vector<int> ids = askedIDs();
    ASSERT_GE(ids.size(), 26u);
    // Every GaugeID once and in order up to the skip, then 250 to 255.
    std::vector<int> expected(ids.size() - 6);
    std::iota(expected.begin(), expected.end(), 1);
    expected.insert(expected.end(), {250, 251, 252, 253, 254, 255});
    EXPECT_EQ(ids, expected);
    // The list shows what the answers stored: type, model, version and connection.
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[8], Session.ConfigChanged), std::tuple(2, 0));
    EXPECT_EQ(listLines(s, "Configlist"),
              (std::vector<std::string>{
                  " 005    Small gauge; Single Needle \t02\t03\tNot Assigned\t\tConnected",
                  " 008    Small gauge; Single Needle + Display \t01\t01\tNot Assigned\t\tNot Connected",
                  " 017    Input/Output module\t04\t05\tFlaps\tOutput/Leds\tConnected",
                  " 250    Radio Magnetic Indicator\t06\t07\tNot Assigned\t\tConnected",
              }));
    EXPECT_TRUE(child<QListWidget>(s, "Configlist")->isEnabled() && child<QPushButton>(s, "Cmdsearch")->isEnabled());
    EXPECT_EQ(child<QProgressBar>(s, "ProgressBar1")->value(), 255);

    // The unit pulled out in the middle of a search: one box, and the search ends.
    click(s, "Cmdsearch");
    ASSERT_TRUE(waitUntil([this] { return unit.frames().size() >= 5; }, 3000));
    ScriptedMessages boxes;
    unit.pull();
    boxes.expectOk(ComPortErrorText(5, "The device was disconnected"));
    click(s, "CmdSet250");
    EXPECT_TRUE(waitUntil([&] { return !s.Search().scanning(); }, 3000));
    EXPECT_EQ(boxes.pending(), 0u);

    SimControlUnit back{5};
    click(s, "Cmdsearch");
    ASSERT_TRUE(waitUntil([&] { return back.frames().size() >= 5; }, 3000));
    click(s, "Command1");
    EXPECT_FALSE(DefaultForm<FrmMainConfigure>::loaded());
    const auto sent = back.frames().size();
    waitMs(200);
    EXPECT_LE(back.frames().size(), sent + 1) << "no GaugeID is asked after the screen closed";
}

// A load ends a running search: what it asks and stores is the replaced configuration's bus.
// The screen shows the loaded configuration at once, none of whose gauges counts as connected by
// what the other bus answered; the found gauges not saved are asked about first. b.cfg has its
// bus on COM6.
TEST_F(BusSearchOnTheBus, ALoadEndsTheSearchAndTheScreenShowsTheLoadedConfigurationAtOnce)
{
    SimControlUnit other{6};
    ASSERT_TRUE(other.ready());
    other.addGauge(1, 1);
    {
        ConfigTables b = NewConfiguration();
        b.ConfigHeader = programHeader();
        b.ComPortGauges = 6;
        for (int id : {1, 5})
            std::tie(b.GaugeRecType[id], b.GaugeRecModel[id], b.GaugeRecVersion[id]) = std::tuple(1, 1, 1);
        writeBytes("b.cfg", SerializeConfig(b));
    }
    FrmMainConfigure& s = screen();
    click(s, "Cmdsearch");
    ASSERT_TRUE(waitUntil([&] { return Session.GaugeRecBusStatus[5] == 2; }, 5000)) << "GaugeID 5 answers";
    ASSERT_TRUE(s.Search().scanning());

    ScriptedMessages boxes;
    boxes.expectYesNoDefaultNo("This will overwrite the current configuration! Continue?", true);
    boxes.expectYesNoDefaultNo("Varnet Configuration:\r\nUpdates are not saved yet; Continue?", true);
    click(s, "CmdSaveConfig");
    SaveConfig& load = DefaultForm<SaveConfig>::get();
    child<QLineEdit>(load, "FileName")->setText("b.cfg");
    click(load, "CmdLoad");
    ASSERT_EQ(Session.ConfigFileName, "b.cfg");
    EXPECT_FALSE(s.Search().scanning());
    const auto asked = unit.frames().size();
    EXPECT_EQ(child<QLineEdit>(s, "CurrentConfigFile")->text(), "b.cfg");
    EXPECT_EQ(listLines(s, "Configlist"),
              (std::vector<std::string>{" 001    Small gauge; Single Needle \t01\t01\tNot Assigned\t\tUnkown",
                                        " 005    Small gauge; Single Needle \t01\t01\tNot Assigned\t\tUnkown"}));
    EXPECT_TRUE(child<QListWidget>(s, "Configlist")->isEnabled() && child<QPushButton>(s, "Cmdsearch")->isEnabled());
    waitMs(200);
    EXPECT_LE(unit.frames().size(), asked + 1) << "the search went on asking the replaced configuration's bus";
    EXPECT_TRUE(Session.StoredNotSaved.empty());

    // Searched again: b.cfg's own bus answers.
    click(s, "Cmdsearch");
    ASSERT_TRUE(waitUntil([&] { return Session.GaugeRecBusStatus[6] != 0; }, 5000));
    EXPECT_EQ(std::tuple(Session.GaugeRecBusStatus[1], Session.GaugeRecBusStatus[5]), std::tuple(2, 1));
    EXPECT_TRUE(Session.StoredNotSaved.empty()) << "the bus answered what the file holds";
}

// While the search runs, the lines of the gauges that answered stand
// under the captions as the full lines do after it: the GaugeID under
// "ID", the type code and name under "Device Type", cut short at their
// end only as far as this narrow screen needs to keep every caption in view.
TEST_F(BusSearchOnTheBus, TheLinesOfARunningSearchStandUnderTheCaptions)
{
    FrmMainConfigure& s = screen();
    auto* list = child<QListWidget>(s, "Configlist");
    click(s, "Cmdsearch");
    ASSERT_TRUE(waitUntil([&] { return list->count() >= 2; }, 5000));
    ASSERT_TRUE(s.Search().scanning());

    const QList<QLabel*> captions =
        list->parentWidget()->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly)->findChildren<QLabel*>();
    ASSERT_EQ(captions.size(), 7);
    ASSERT_EQ(captions[1]->text(), "Device Type");
    const auto x = [&s](QWidget* w, int at = 0) { return w->mapTo(&s, QPoint(at, 0)).x(); };
    const QFontMetrics metrics(list->font());
    const std::vector<std::vector<QString>> shown{{"005", "001         Small gauge; Single Needle "},
                                                  {"017", "010         Input/Output module"}};
    for (int row = 0; row < 2; ++row) {
        const std::vector<DrawnField> fields = DrawnFields(list, row);
        ASSERT_EQ(fields.size(), 2u) << row;
        for (std::size_t j = 0; j < 2; ++j) {
            const QString& whole = shown[std::size_t(row)][j];
            const QString& drawn = fields[j].text;
            EXPECT_TRUE(drawn == whole || (drawn.endsWith(QChar(0x2026)) && whole.startsWith(drawn.chopped(1))))
                << row << " " << drawn.toStdString();
            EXPECT_EQ(x(list->viewport(), fields[j].left), x(captions[int(j)])) << row << " " << j;
            EXPECT_LT(x(list->viewport(), fields[j].left + metrics.horizontalAdvance(fields[j].text)),
                      x(captions[int(j) + 1]))
                << row << " " << j;
        }
    }
    click(s, "Command1");
    EXPECT_FALSE(DefaultForm<FrmMainConfigure>::loaded());
}

} // namespace
} // namespace varnet

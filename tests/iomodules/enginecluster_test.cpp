#include "app/window_helpers.h"
#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/ecframe.h"
#include "iomodules/enginelink.h"
#include "iomodules/testec.h"
#include "simenginecluster/simenginecluster.h"
#include "simxplane/simxplane.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <memory>
#include <tuple>

namespace varnet {
namespace {

using testing::SimEngineCluster;

// The needles as the cluster reads them from a frame.
std::array<int, 8> needlesOf(const QByteArray& frame)
{
    const std::optional<SimEngineCluster::Frame> read = SimEngineCluster::decode(frame);
    EXPECT_TRUE(read.has_value()) << frame.toHex(' ').toStdString();
    return read ? read->needles : std::array<int, 8>{};
}

TEST(ECFrame, EachNeedleLandsInItsOwnBytesAndTheFlagsFollowBacklightAndDisplays)
{
    // Every needle a different position: no two share or swap bytes.
    const ECPositions positions = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C, 0x0D0E, 0xFFFF};
    const QByteArray frame = ComposeECFrame(positions, ECFlags(1, 1));
    EXPECT_EQ(frame.size(), 40);
    EXPECT_EQ(needlesOf(frame), positions);
    // Bytes that carry no needle stay 0.
    for (const int unused : {9, 10, 17, 18, 19, 20, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36})
        EXPECT_EQ(frame[unused], '\0') << unused;

    struct Case {
        Byte backlightOn, displaysOn;
        char flags;
    };
    for (const Case c : {Case{0, 1, 0x00}, Case{1, 1, 0x01}, Case{0, 0, 0x02}, Case{1, 0, 0x03}, Case{2, 3, 0x00}})
        EXPECT_EQ(ECFlags(c.backlightOn, c.displaysOn), c.flags) << int(c.backlightOn) << int(c.displaysOn);

    // Positions outside the two bytes are held at their ends.
    EXPECT_EQ(needlesOf(ComposeECFrame({-5, 70000}, 0)), (std::array<int, 8>{0, 65535}));
    for (const auto& [steps, position] : {std::pair{0, 0}, {100, 400}, {1079, 4316}, {-3, 0}, {16383, 65532},
                                         {16384, 65532}, {1 << 30, 65532}})
        EXPECT_EQ(ECPosition(steps), position) << steps;
}

// The cluster on COM4 (a fake port), one needle on function 51 with a plate
// from 0..100 to 0..1000 steps.
class ClusterRun : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        Cfg.ComPortEC = 4;
        Cfg.FunctionNames[51] = "N1";
        std::tie(Cfg.FunctionIndex1[51], Cfg.FunctionMultiply[51], Cfg.FunctionDivide[51], Cfg.FunctionDataType[51]) =
            std::tuple(1, 1, 1, DataTypeFloat);
        Cfg.ECNeedleFunction[3] = 51;
        Cfg.ECNeedlePlate[3] = addPlate({{0, 0}, {100, 1000}});
        OpenComPorts();
        cluster().OpenPorts();
        cluster().cmdRun_Click();
    }

    static frmStatusEC& cluster() { return DefaultForm<frmStatusEC>::get(); }
    static void sim(float value)
    {
        DefaultForm<SimCom>::get().WinsockUDP_DataArrival(testing::SimXplane::dataPacket({{1, {value}}}));
    }
    // The frames one tick writes.
    QList<QByteArray> tick()
    {
        port().clearWrites();
        cluster().ProcessTimer_Timer();
        return port().writes();
    }
    testing::FakeSerialPort& port() { return *fakes.port(4); }

    testing::FakeSerialPorts fakes;
};

TEST_F(ClusterRun, SendsEveryNeedleInOneFrameOnChangeAndOnceASecondWhenSteady)
{
    sim(50.5f);  // 505 steps
    ECBacklightOn = 1;
    ECDisplaysOn = 1;
    const QList<QByteArray> first = tick();
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(needlesOf(first[0]), (std::array<int, 8>{0, 0, 0, 505 * 4, 0, 0, 0, 0}));
    EXPECT_EQ((std::tuple{first[0][37], ECFrame}), (std::tuple{char(0x01), first[0]}));

    // Steady: nothing until the one-second tick asks for the frame again.
    EXPECT_TRUE(tick().isEmpty() && tick().isEmpty());
    cluster().Timer1_Timer();
    EXPECT_EQ(tick(), first);
    EXPECT_TRUE(tick().isEmpty());

    // A changed value or flag goes out at once; above the plate it stays at
    // the plate's end.
    sim(150);
    EXPECT_EQ(needlesOf(tick().value(0))[3], 4000);
    ECDisplaysOn = 0;
    EXPECT_EQ(tick().value(0)[37], char(0x03));

    // Halted, nothing goes out; the run's restart sends the frame again.
    cluster().cmdStop_Click();
    cluster().Timer1_Timer();
    EXPECT_TRUE(tick().isEmpty());
    cluster().cmdRun_Click();
    EXPECT_EQ(needlesOf(tick().value(0))[3], 4000);
}

TEST_F(ClusterRun, ANeedleWithoutAPlateOrValueKeepsItsPositionAndAFailedWriteIsSentAgain)
{
    sim(10);
    EXPECT_EQ(needlesOf(tick().value(0))[3], 400);
    Cfg.ECNeedlePlate[3] = 9;  // no such plate
    sim(20);
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(cluster().Positions[3], 400);

    Cfg.ECNeedlePlate[3] = 0;
    port().setWriteError("gone");
    EXPECT_TRUE(tick().isEmpty());
    EXPECT_EQ(needlesOf(ECFrame)[3], 400) << "a frame that did not go out is not the last one sent";
}

// The settings window of the cluster on COM4 (a fake port), over plates of
// several categories: 000 and 002 are not "Engines" plates, 001 and 003 are.
class ClusterSettings : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        LoadConstantTables(Cfg);
        Cfg.ComPortEC = 4;
        for (auto [f, name] : {std::pair{60, "N1 RPM"}, {61, "EGT"}}) {
            Cfg.FunctionNames[f] = Cfg.FunctionFullName[f] = name;
            std::tie(Cfg.FunctionCategory[f], Cfg.FunctionSignalType[f]) = std::tuple(kECPlateCategory, 4);
        }
        for (auto [name, category] : {std::pair{"Airspeed 0-200 kt", 7}, {"N1", 1}, {"Flaps", 2}, {"EGT", 1}}) {
            const int p = addPlate({{0, 0}, {100, 1000}});
            Cfg.PlateName[std::size_t(p)] = name;
            Cfg.PlateValue[std::size_t(p)][0] = category;
        }
        ASSERT_TRUE(OpenComPorts());
        frmTestEC::OpenPlateWindow = [this](const ECCalibration& c) { handedPlates.push_back(c.plateNr); };
    }
    void TearDown() override
    {
        DefaultForm<frmTestEC>::unload();
        frmTestEC::OpenPlateWindow = nullptr;
        GaugeBusTest::TearDown();
    }

    static frmTestEC& window()
    {
        frmTestEC& w = DefaultForm<frmTestEC>::get();
        w.show();
        return w;
    }
    static void clickNeedle(frmTestEC& w, int needle)
    {
        auto* list = testing::child<QListWidget>(w, "ListNeedles");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(needle)).center());
        ASSERT_EQ(w.selectedNeedle(), needle);
    }
    // What the Plate box shows: its item, or with none selected its
    // placeholder.
    static QString plateShown(frmTestEC& w)
    {
        auto* box = testing::child<QComboBox>(w, "ComboPlate");
        return box->currentIndex() >= 0 ? box->currentText() : box->placeholderText();
    }
    // Replaces the box's text by typing, key by key.
    static QString type(frmTestEC& w, const char* box, const QString& text)
    {
        QWidget* typed = testing::child<QWidget>(w, box);
        typed->setFocus();
        QTest::keyClick(typed, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(typed, Qt::Key_Backspace);
        QTest::keyClicks(typed, text);
        return typed->property("text").toString();
    }
    testing::FakeSerialPort& port() { return *fakes.port(4); }

    testing::FakeSerialPorts fakes;
    testing::ScriptedMessages boxes;
    std::vector<int> handedPlates;
};

TEST_F(ClusterSettings, AStoredPlateTheBoxDoesNotOfferShowsAsItIsInTheListAndTheBoxAndIsNotCalibrated)
{
    // Needle 1 as a new configuration leaves it: plate 0, never chosen.
    std::tie(Cfg.ECNeedleFunction[0], Cfg.ECNeedleFunction[1], Cfg.ECNeedleFunction[2], Cfg.ECNeedleFunction[3]) =
        std::tuple(60, 61, 60, 60);
    std::tie(Cfg.ECNeedlePlate[1], Cfg.ECNeedlePlate[2], Cfg.ECNeedlePlate[3]) = std::tuple(3, 2, 9);
    const auto stored = Cfg.ECNeedlePlate;
    frmTestEC& w = window();
    auto* list = testing::child<QListWidget>(w, "ListNeedles");
    // The note under the Plate box, empty where none shows.
    const auto noteShown = [&w] {
        const auto* note = testing::child<QLabel>(w, "LabelPlateNote");
        return note && note->isVisibleTo(&w) ? note->text() : QString();
    };

    struct Case {
        const char* line;
        const char* note;  // "" where none shows
        int handedOver;
    };
    const Case cases[] = {
        {"Needle 1:  060.  N1 RPM   plate 000.  Airspeed 0-200 kt  (not an \"Engines\" plate)",
         "Plate 000 is not an \"Engines\" plate. The run moves this needle by it. "
         "Choose an \"Engines\" plate in the box above.",
         -1},
        {"Needle 2:  061.  EGT   plate 003.  EGT", "", 3},
        {"Needle 3:  060.  N1 RPM   plate 002.  Flaps  (not an \"Engines\" plate)",
         "Plate 002 is not an \"Engines\" plate. The run moves this needle by it. "
         "Choose an \"Engines\" plate in the box above.",
         -1},
        {"Needle 4:  060.  N1 RPM   plate 009  (no such plate)",
         "There is no plate 009 in this configuration. The run leaves this needle where it is. "
         "Choose an \"Engines\" plate in the box above.",
         -1},
    };
    for (int needle = 0; needle < int(std::size(cases)); ++needle) {
        SCOPED_TRACE(needle);
        const Case& c = cases[needle];
        clickNeedle(w, needle);
        EXPECT_EQ(list->item(needle)->text(), c.line);
        EXPECT_TRUE(list->item(needle)->text().endsWith("plate " + plateShown(w))) << "the box shows "
                                                                                   << plateShown(w).toStdString();
        EXPECT_EQ(noteShown(), c.note);
        testing::click(w, "cmdCalibrate");
        EXPECT_EQ(handedPlates.back(), c.handedOver);
    }
    // A needle without a function is not driven: its line says so, the box
    // and the note still tell of its plate.
    clickNeedle(w, 4);
    EXPECT_EQ(std::tuple(list->item(4)->text(), plateShown(w), noteShown()),
              std::tuple("Needle 5:  no function", "000.  Airspeed 0-200 kt  (not an \"Engines\" plate)",
                         "Plate 000 is not an \"Engines\" plate. Choose an \"Engines\" plate in the box above."));
    EXPECT_EQ(testing::child<QComboBox>(w, "ComboPlate")->count(), 2) << "the \"Engines\" plates only";
    EXPECT_EQ(std::tuple(Cfg.ECNeedlePlate, Session.ConfigChanged), std::tuple(stored, 0))
        << "showing the plates is no edit";

    // Chosen in the box, an "Engines" plate is the needle's everywhere.
    clickNeedle(w, 0);
    auto* box = testing::child<QComboBox>(w, "ComboPlate");
    box->setCurrentIndex(box->findText("001.  N1"));
    EXPECT_EQ(std::tuple(Cfg.ECNeedlePlate[0], list->item(0)->text(), noteShown()),
              std::tuple(1, "Needle 1:  060.  N1 RPM   plate 001.  N1", QString()));
    testing::click(w, "cmdCalibrate");
    EXPECT_EQ(handedPlates.back(), 1);

    // Another category, which does not list the needle's function: the needle
    // has none, and its line says so.
    auto* category = testing::child<QComboBox>(w, "ComboClass");
    category->setCurrentIndex(category->findText("Surfaces", Qt::MatchContains));
    EXPECT_EQ(std::tuple(Cfg.ECNeedleFunction[0], list->item(0)->text()), std::tuple(0, "Needle 1:  no function"));
}

TEST_F(ClusterSettings, ThePlateNoteFollowsTheFunctionAsItIsChosenAndShowsWhole)
{
    // Needles 1 and 2 without a function, on a plate of another category
    // and on none.
    Cfg.ECNeedlePlate[1] = 9;
    frmTestEC& w = window();
    auto* note = testing::child<QLabel>(w, "LabelPlateNote");
    const auto choose = [&w](const char* combo, const char* item) {
        auto* box = testing::child<QComboBox>(w, combo);
        box->setCurrentIndex(box->findText(item, Qt::MatchContains));
        ASSERT_GE(box->currentIndex(), 0) << item;
        QApplication::processEvents();
    };
    const QString choose1 = " Choose an \"Engines\" plate in the box above.";
    struct Case {
        int needle;
        const char* category;
        const char* function;  // nullptr: the category does not list the needle's
        QString note;
    };
    const Case cases[] = {
        {0, "Engines", "N1 RPM", "Plate 000 is not an \"Engines\" plate. The run moves this needle by it." + choose1},
        {0, "Surfaces", nullptr, "Plate 000 is not an \"Engines\" plate." + choose1},
        {1, "Engines", "EGT",
         "There is no plate 009 in this configuration. The run leaves this needle where it is." + choose1},
        {1, "Surfaces", nullptr, "There is no plate 009 in this configuration." + choose1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note.toStdString());
        clickNeedle(w, c.needle);
        choose("ComboClass", c.category);
        if (c.function)
            choose("GaugeFunction", c.function);
        EXPECT_EQ(note->text(), c.note);
        // Word-wrapped in its frame, every line of it shows.
        EXPECT_TRUE(note->isVisibleTo(&w));
        EXPECT_GE(note->height(), note->heightForWidth(note->width()));
        EXPECT_TRUE(note->parentWidget()->rect().contains(note->geometry()));
    }
}

TEST_F(ClusterSettings, ATestPositionOutOfRangeOrNotAWholeNumberIsRefusedWithTheRuleAndNothingIsSent)
{
    frmTestEC& w = window();
    clickNeedle(w, 2);
    for (const char* typed : {"99999", "-20abc", "65536", "-1", "12.5", "abc", "", "20 30"}) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(type(w, "BoxTestPosition", typed), typed) << "the box shows what was typed";
        boxes.expectOk("A needle position must be a whole number between 0 and 65535");
        testing::click(w, "cmdMoveNeedle");
        EXPECT_EQ(boxes.pending(), 0u);
        EXPECT_TRUE(port().writes().isEmpty());
    }
    // A whole number within the range moves the selected needle there.
    for (const char* typed : {" 65535 ", "0"}) {
        type(w, "BoxTestPosition", typed);
        port().clearWrites();
        testing::click(w, "cmdMoveNeedle");
        ASSERT_EQ(port().writes().size(), 1) << typed;
        EXPECT_EQ(needlesOf(port().writes()[0]), (std::array<int, 8>{0, 0, std::atoi(typed), 0, 0, 0, 0, 0}));
    }
}

// The cluster on a pseudo-terminal linked as COM4, pulled in the middle of
// the run as a USB adapter goes, and plugged in again under its name.
class ClusterPulled : public testing::GaugeBusTest {
protected:
    void TearDown() override
    {
        frmStatus::EndProgram = nullptr;
        GaugeBusTest::TearDown();
    }
};

TEST_F(ClusterPulled, IsAskedOnceAndAfterYesTheClusterBackUnderItsNameGetsTheNewestNeedles)
{
    Cfg.ComPortEC = 4;
    Cfg.FunctionNames[51] = "N1";
    std::tie(Cfg.FunctionIndex1[51], Cfg.FunctionMultiply[51], Cfg.FunctionDivide[51], Cfg.FunctionDataType[51]) =
        std::tuple(1, 1, 1, DataTypeFloat);
    Cfg.ECNeedleFunction[0] = 51;
    Cfg.ECNeedlePlate[0] = addPlate({{0, 0}, {100, 1000}});
    auto device = std::make_unique<SimEngineCluster>(4);
    ASSERT_TRUE(OpenComPorts(PortFailures::Quiet));
    frmStatusEC& cluster = DefaultForm<frmStatusEC>::get();
    cluster.OpenPorts();
    const auto sim = [](float value) {
        DefaultForm<SimCom>::get().WinsockUDP_DataArrival(testing::SimXplane::dataPacket({{1, {value}}}));
    };
    const auto needleAt = [&](int position) {
        return waitUntil([&] { return !device->frames().isEmpty() && device->frames().back().needles[0] == position; },
                         2000);
    };
    sim(10);
    cluster.cmdRun_Click();
    ASSERT_TRUE(needleAt(400));

    testing::ScriptedMessages boxes;
    boxes.expectYesNo("An error has occured writing Data to Engine Cluster\r\nError: The device was disconnected\r\n"
                      "Check Virtual/USB Com Port\r\nContinue?",
                      true);
    device->pull();
    sim(20);
    EXPECT_TRUE(waitUntil([&] { return boxes.pending() == 0; }, 300)) << "not asked within the next ticks";
    waitMs(500);  // away: asked once, the link runs on and looks for it under its name
    EXPECT_TRUE(cluster.Running == 1 && !cluster.MSComm1().isOpen());
    device = std::make_unique<SimEngineCluster>(4);
    EXPECT_TRUE(needleAt(800)) << "the cluster plugged in again did not get the newest needle";
}

} // namespace
} // namespace varnet

#include "bus/gaugeframes.h"
#include "bus/run_fixture.h"
#include "iomodules/iomodulelink.h"
#include "simlink/keystrokes.h"
#include "support/fake_keystrokes.h"
#include "support/scripted_messages.h"

#include <functional>
#include <tuple>

namespace varnet {
namespace {

using Packets = QList<QByteArray>;
constexpr int kModulePort = 5;

// Stand-alone module 1 on a fake COM5 in a prepared, running cockpit; its
// ticks come from the test.
class ModuleRun : public testing::RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        Cfg.ComPortIOM = kModulePort;
    }
    void TearDown() override
    {
        RunWindowMinimized = nullptr;
        RunTest::TearDown();
    }

    static int entry(Integer kind, int number, int function, Single value1 = 0, Single value2 = 0)
    {
        const int e = addIOEntry(kStandAloneIOM1, kind, number, function);
        std::tie(Cfg.IOEntryValue1[e], Cfg.IOEntryValue2[e]) = std::tuple(value1, value2);
        return e;
    }
    static void range(int f, Single minimum, Single maximum)
    {
        std::tie(Cfg.FunctionNumber[f], Cfg.FunctionMinimum[f], Cfg.FunctionMaximum[f]) = std::tuple(f, minimum, maximum);
    }

    frmStatusIOM& start()
    {
        running();
        frmStatusIOM& link = module();
        link.ProcessTimer().stop();
        port().clearWrites();
        sent();
        return link;
    }
    static frmStatusIOM& module() { return DefaultForm<frmStatusIOM>::get(); }
    testing::FakeSerialPort& port() { return *ports_.port(kModulePort); }

    // A module reply with these switches on and channel values.
    static QByteArray reply(std::initializer_list<int> on, std::array<int, 8> channels = {})
    {
        QByteArray bytes(25, '\0');
        std::tie(bytes[1], bytes[2], bytes[24]) = std::tuple(char(10), char(10), char(0xFF));
        for (int s : on)
            bytes[5 + s / 8] = char(quint8(bytes[5 + s / 8]) | (0x80 >> (s % 8)));
        for (int ch = 0; ch < 8; ++ch) {
            bytes[12 + ch / 2] = char(quint8(bytes[12 + ch / 2]) | ((channels[ch] >> 8) << (ch % 2 ? 0 : 4)));
            bytes[16 + ch] = char(channels[ch] & 0xFF);
        }
        return bytes;
    }

    // What one tick writes to the module.
    QByteArray tick()
    {
        port().clearWrites();
        module().ProcessTimer_Timer();
        QByteArray all;
        for (const QByteArray& w : port().writes())
            all += w;
        return all;
    }
    // The values written to the simulator since the last call.
    Packets written()
    {
        Packets packets = sent();
        packets.removeIf([](const QByteArray& packet) { return !packet.startsWith("DATA0"); });
        return packets;
    }
    static QByteArray data(int f, Single value) { return *DataFloatPacket(f, 0, value, false); }
    static QByteArray frame(int command, int value) { return *GaugeBusFrame(10, command, value); }
};

TEST_F(ModuleRun, TicksActOnTheNewestReplyAndWriteChangedLEDWordsBeforeEachPoll)
{
    range(21, 0, 1);
    range(22, -1, 1);
    range(23, 0, 1);
    entry(IOEntrySwitch, 9, 21, 100, 0);
    const int channel = entry(IOEntryAnalogue, 2, 22, 0, 2048);
    std::tie(Cfg.IOEntryType[channel], Cfg.IOEntryKeyOff[channel]) = std::tuple(4095, 4);
    Cfg.IOEntryKeyOn[entry(IOEntryLED, 3, 23)] = 2;  // lit at the maximum
    start();

    // Before any reply: both words once (whatever a test left lit), then the poll.
    EXPECT_EQ(tick(), frame(4, 0) + frame(5, 0) + frame(6, 0));
    EXPECT_EQ(written(), Packets{}) << "no reply yet";

    port().inject(reply({}, {0, 0, 2048}));
    EXPECT_EQ(tick(), frame(6, 0));
    EXPECT_EQ(written(), (Packets{data(21, 0), data(22, 0)})) << "the first reply: switch off, channel centred";

    port().inject(reply({9}, {0, 0, 4095}));
    sim(23, 1);
    EXPECT_EQ(tick(), frame(4, 4096) + frame(6, 0)) << "output 3 is bit 12 of word 1";
    EXPECT_EQ(written(), (Packets{data(21, 1), data(22, 1)}));

    port().inject(reply({9}, {0, 0, 4093}));
    EXPECT_EQ((std::tuple{tick(), written()}), (std::tuple{frame(6, 0), Packets{}})) << "within the threshold";

    // A stalled line gets nothing more; the newest word goes out once it moves.
    sim(23, 0);
    port().held = 100;  // most of what the line carries in a tick
    EXPECT_EQ(tick(), QByteArray());
    port().held = 0;
    EXPECT_EQ(tick(), frame(4, 0) + frame(6, 0));
}

TEST_F(ModuleRun, AModulePluggedInAgainGetsItsLitLEDsBackWithoutAValueChange)
{
    range(23, 0, 1);
    Cfg.IOEntryKeyOn[entry(IOEntryLED, 3, 23)] = 2;  // lit at the maximum
    start();
    sim(23, 1);
    EXPECT_EQ(tick(), frame(4, 4096) + frame(5, 0) + frame(6, 0));
    EXPECT_EQ(tick(), frame(6, 0));

    // Pulled out (its port hangs up), asked about once, back: it lost its lamps meanwhile.
    port().close();
    emit port().commError("The device was disconnected");
    testing::ScriptedMessages boxes;
    boxes.expectYesNo("An error has occured writing Data to I/O module 1\r\nError: The device was disconnected\r\n"
                      "Check Virtual/USB Com Port\r\nContinue?",
                      true);
    EXPECT_EQ(tick(), frame(6, 0) + frame(4, 4096) + frame(5, 0) + frame(6, 0))
        << "the last output again, then both words as they stand";
    EXPECT_EQ(tick(), frame(6, 0));
}

TEST_F(ModuleRun, ARepliesOutOfStepIsDroppedAndOnlyModuleRepliesAct)
{
    range(21, 0, 1);
    entry(IOEntrySwitch, 0, 21, 100, 0);
    start();
    tick();
    port().inject(reply({}));
    tick();
    written();

    // Half a reply, then a whole one: the unit that straddles both is dropped.
    QByteArray gaugeReply = reply({0});
    gaugeReply[2] = char(1);  // a gauge's type code
    port().inject(reply({0}).right(12));
    port().inject(reply({0}));
    port().inject(gaugeReply);
    EXPECT_EQ((std::tuple{tick(), written()}), (std::tuple{frame(6, 0), Packets{}}));
    port().inject(reply({0}));
    tick();
    EXPECT_EQ(written(), Packets{data(21, 1)});
}

TEST_F(ModuleRun, KeysAreTypedWhileTheRunWindowIsMinimizedAndShownInABoxOtherwise)
{
    const int e = entry(IOEntrySwitch, 0, 0);
    std::tie(Cfg.IOEntrySeqNr[e], Cfg.IOEntryKeyOn[e], Cfg.IOEntryKeyOff[e]) = std::tuple(100, 0x4161, 0x8800);
    testing::FakeKeystrokes keys;
    testing::ScriptedMessages boxes;
    start();
    runWindow().minimize();
    // The first reply finds the switch off, as a bus module's first turn does.
    port().inject(reply({}));
    tick();
    port().inject(reply({0}));
    tick();
    EXPECT_EQ(keys.sent(), (QStringList{"^{ENTER}", "+a"}));

    runWindow().setWindowState(Qt::WindowNoState);
    boxes.expectOk("Keystroke received from IO module: ^{ENTER}\r\nTo send to FS this window must be minimized");
    port().inject(reply({}));
    tick();
    EXPECT_EQ(keys.sent().size(), 2);
    EXPECT_EQ(boxes.pending(), 0u);
}

// Shows a key's box as the user meets it: while it is open the module's
// clock goes on ticking and the module says something new.
class KeyBoxOpen final : public MessageService {
public:
    explicit KeyBoxOpen(std::function<void()> meanwhile) : meanwhile_(std::move(meanwhile)) {}
    ~KeyBoxOpen() override { setMessageService(previous_); }
    void ok(const QString& text) override
    {
        shown.append(text);
        meanwhile_();
    }
    bool yesNo(const QString& text) override
    {
        shown.append(text);
        return false;
    }
    std::optional<QString> input(const QString&, const QString&) override { return std::nullopt; }
    QStringList shown;

private:
    std::function<void()> meanwhile_;
    MessageService* previous_ = setMessageService(this);
};

TEST_F(ModuleRun, AKeyBoxHoldsItsTickWithoutRunningTheModuleAgainAndTheRunGoesOnAfterOK)
{
    range(21, 0, 1);
    entry(IOEntrySwitch, 1, 21, 100, 0);  // a plain switch: no box, whatever the window
    const int key = entry(IOEntrySwitch, 2, 0);
    std::tie(Cfg.IOEntrySeqNr[key], Cfg.IOEntryKeyOn[key], Cfg.IOEntryKeyOff[key]) = std::tuple(100, 0x0162, 0);
    testing::FakeKeystrokes keys;
    start();
    runWindow().setWindowState(Qt::WindowNoState);
    port().inject(reply({}));
    tick();
    written();

    QByteArray writtenMeanwhile;
    KeyBoxOpen box([&] {
        // Ticks behind the box: nothing acted on, nothing written, and the
        // plain switch turned on meanwhile waits for a later tick.
        port().inject(reply({1, 2}));
        port().clearWrites();
        module().ProcessTimer_Timer();
        module().ProcessTimer_Timer();
        for (const QByteArray& w : port().writes())
            writtenMeanwhile += w;
    });
    port().inject(reply({2}));
    EXPECT_EQ(tick(), frame(6, 0)) << "after OK the tick goes on to poll the module";
    EXPECT_EQ(box.shown, QStringList{"Keystroke received from IO module: b\r\nTo send to FS this window must be minimized"});
    EXPECT_EQ(writtenMeanwhile, QByteArray());
    EXPECT_EQ(written(), Packets{}) << "the plain switch changed only after the reply the box holds";

    EXPECT_EQ(tick(), frame(6, 0));
    EXPECT_EQ(written(), Packets{data(21, 1)}) << "the change that came during the box acts in the next tick";
    EXPECT_EQ(box.shown.size(), 1) << "the key switch did not change again";
    EXPECT_TRUE(keys.sent().isEmpty());
}

TEST_F(ModuleRun, AFaultAsksToContinueAndNoEndsTheProgram)
{
    range(22, 0, 1);
    Cfg.IOEntryType[entry(IOEntryAnalogue, 1, 22)] = 0;  // no raw range: no scale
    Cfg.IOEntryType[entry(IOEntryAnalogue, 2, 22)] = 1000;
    int ends = 0;
    frmStatus::EndProgram = [&] { ++ends; };
    start();
    const QString question = "An error has occured processing Stand Alone IO Mod. 1, analogue input:1\r\n"
                             "Error: Division by zero\r\nContinue?";
    {
        testing::ScriptedMessages boxes;
        boxes.expectYesNo(question, true);
        port().inject(reply({}, {0, 500, 500}));
        EXPECT_EQ(tick(), frame(4, 0) + frame(5, 0) + frame(6, 0));
        EXPECT_EQ((std::tuple{written(), ends}), (std::tuple{Packets{data(22, 0.5f)}, 0})) << "the next channel acts";
    }
    // A fault let pass is asked about again in the next run.
    runWindow().cmdStop_Click();
    runAgain();
    module().ProcessTimer().stop();
    testing::ScriptedMessages boxes;
    boxes.expectYesNo(question, false);
    port().inject(reply({}, {0, 700, 700}));
    tick();
    EXPECT_EQ((std::tuple{written(), ends, DefaultForm<frmStatusIOM>::loaded()}), (std::tuple{Packets{}, 1, false}));
}

TEST_F(ModuleRun, AWobblingChannelThatCannotBeScaledAsksOnceARunAndTheNextChannelGoesOn)
{
    range(22, 0, 1000);
    Cfg.IOEntryType[entry(IOEntryAnalogue, 1, 22)] = 0;  // no raw range: no scale
    Cfg.IOEntryType[entry(IOEntryAnalogue, 2, 22)] = 1000;
    start();
    testing::BoxesWithSomethingBehind boxes(true, [] {});
    Packets values;
    for (int i = 1; i <= 30; ++i) {
        port().inject(reply({}, {0, 500 + 3 * (i % 2), 10 * i}));
        tick();
        values << written();
    }
    EXPECT_EQ((std::tuple{boxes.texts.size(), values.size()}), (std::tuple{1, 30}));
}

} // namespace
} // namespace varnet

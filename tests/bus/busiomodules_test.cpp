#include "bus/busiomodules.h"
#include "bus/processloop.h"
#include "bus/run_fixture.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/fake_keystrokes.h"
#include "support/scripted_messages.h"

namespace varnet {
namespace {

using testing::RunTest;
using Packets = QList<QByteArray>;

constexpr int kModule = 20;

// A bus I/O module, GaugeID 20, with the entries and function ranges a test gives it.
class BusIOModuleTest : public RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        gauge(kModule, 10);
    }

    static int entry(Integer kind, int number, int function, Single value1 = 0, Single value2 = 0)
    {
        const int e = addIOEntry(kModule, kind, number, function);
        std::tie(Cfg.IOEntryValue1[e], Cfg.IOEntryValue2[e]) = std::tuple(value1, value2);
        return e;
    }

    static void keyEntry(int number, int keyOn, int keyOff = 0)
    {
        const int e = entry(IOEntrySwitch, number, 0);
        std::tie(Cfg.IOEntrySeqNr[e], Cfg.IOEntryKeyOn[e], Cfg.IOEntryKeyOff[e]) = std::tuple(100, keyOn, keyOff);
    }

    static void range(int f, Single minimum, Single maximum)
    {
        std::tie(Cfg.FunctionNumber[f], Cfg.FunctionMinimum[f], Cfg.FunctionMaximum[f]) = std::tuple(f, minimum, maximum);
    }

    // The module's switch bytes as its reply brings them.
    static QByteArray switchesOn(std::initializer_list<int> on)
    {
        QByteArray bytes(kModuleSwitchBytes, '\0');
        for (int s : on)
            bytes[s / 8] = char(quint8(bytes[s / 8]) | (0x80 >> (s % 8)));
        return bytes;
    }

    // The inputs of one module turn, as the process loop runs them.
    void turn() { runWindow().Loop().handlers.busModuleInputs(runWindow().Loop()); }
    void moduleInputs(std::initializer_list<int> on)
    {
        RunData.IOMSwitchState[0] = switchesOn(on);
        turn();
    }

    // The values written to the simulator since the last call.
    Packets written()
    {
        Packets packets = sent();
        packets.removeIf([](const QByteArray& packet) { return !packet.startsWith("DATA0"); });
        return packets;
    }

    static QByteArray data(int f, Single value) { return *DataFloatPacket(f, 0, value, false); }
};

TEST_F(BusIOModuleTest, SwitchesSetOrStepTheirFunctionsEachWithItsOwnNewState)
{
    range(21, -10, 10);
    range(22, 0, 5);
    range(23, 0, 100);
    range(24, -3e38f, 3e38f);
    entry(IOEntrySwitch, 9, 21, 50, -1);                        // character 2, mask 64
    Cfg.IOEntryFlags[entry(IOEntrySwitch, 10, 22, 1, -6)] = 3;  // steps
    entry(IOEntrySwitch, 12, 23, 25, 0);
    entry(IOEntrySwitch, 0, 24, 100, -1);
    running();
    sim(22, 5);

    moduleInputs({});
    EXPECT_EQ(written(), (Packets{data(22, 0), data(23, 0)}))
        << "the first turn finds every switch off; a step stops at 0";
    moduleInputs({9, 10});
    EXPECT_EQ(written(), (Packets{data(21, 10), data(22, 5)})) << "50 % of the width; a step stops at 5";
    moduleInputs({10, 12});
    EXPECT_EQ(written(), Packets{data(23, 25)}) << "switch 9 off has no action";
    moduleInputs({10, 11, 12});
    EXPECT_TRUE(written().isEmpty()) << "switch 11 has no entry";

    testing::ScriptedMessages boxes;
    boxes.expectOk("Error 11: An error has occured processing switch:0\r\nError: Overflow");
    moduleInputs({0, 9, 10, 11, 12});
    EXPECT_EQ(written(), Packets{data(21, 10)}) << "the switches after a failing one still act";
}

TEST_F(BusIOModuleTest, KeysAreTypedWhileTheRunWindowIsMinimizedAndNoChangeIsLostBehindTheirBox)
{
    keyEntry(0, 0x4161, 0x8800);  // Shift a, Ctrl ENTER
    keyEntry(1, 0x2600);          // key number 38: beyond the key names
    range(21, 0, 1);
    entry(IOEntrySwitch, 8, 21, 100, -1);
    testing::FakeKeystrokes keys;
    frmStatus& run = running();
    run.minimize();

    moduleInputs({});
    moduleInputs({0, 1});
    EXPECT_EQ((std::tuple{keys.sent(), written()}), (std::tuple{QStringList{"^{ENTER}", "+a"}, Packets{}}));

    run.setWindowState(Qt::WindowNoState);
    // While the box is open, the reply handler stores new inputs.
    testing::BoxesWithSomethingBehind reply(true, [] { RunData.IOMSwitchState[0] = switchesOn({1, 8}); });
    moduleInputs({1});
    EXPECT_EQ(reply.texts, QStringList{"Keystroke received from IO module: ^{ENTER}\r\n"
                                       "To send to FS this window must be minimized"});
    EXPECT_EQ((std::tuple{keys.sent().size(), written()}), (std::tuple{2, Packets{}}));
    turn();
    EXPECT_EQ(written(), Packets{data(21, 1)}) << "switch 8, turned on behind the box";
}

TEST_F(BusIOModuleTest, AnalogueChannelsScaleAroundTheirCentreOnceTheyMoveBeyondTheThreshold)
{
    range(25, -1, 1);
    const int centred = entry(IOEntryAnalogue, 2, 25, 0.4f, 512);  // raw 0 (0.4 rounded) .. 512 .. 1023
    Cfg.IOEntryType[centred] = 1023;
    Cfg.IOEntryKeyOff[centred] = 4;
    range(26, 0, 50);
    Cfg.IOEntryType[entry(IOEntryAnalogue, 3, 26)] = 1000;  // no centre
    running();
    RunData.IOMAnalogueValue[0][3] = 400;

    const std::pair<int, Packets> moves[] = {{0, {data(25, -1), data(26, 20)}}, {512, {data(25, 0)}},
                                             {1023, {data(25, 1)}}, {1027, {}}, {1028, {data(25, 1)}}};
    for (const auto& [raw, expected] : moves) {
        RunData.IOMAnalogueValue[0][2] = raw;
        turn();
        EXPECT_EQ(written(), expected) << "raw " << raw;
    }
}

TEST_F(BusIOModuleTest, AChannelWithoutARawRangeIsAFaultOfTheLoopShownOnce)
{
    entry(IOEntryAnalogue, 0, 26);  // no centre and a maximum of 0
    range(26, 0, 50);
    Cfg.IOEntryType[entry(IOEntryAnalogue, 1, 26)] = 1000;
    frmStatus& run = running();
    RunData.IOMAnalogueValue[0][1] = 1000;
    testing::ScriptedMessages boxes;
    boxes.expectYesNo(processFault(20, 10, 6, "Division by zero"), true);

    tick();
    EXPECT_EQ(tick(), Packets{output({{kModule, 6, 0}})});
    EXPECT_EQ(written(), Packets{data(26, 50)}) << "after Yes the next channel acts";
    tick();
    tick();
    EXPECT_EQ((std::tuple{written(), run.Running}), (std::tuple{Packets{}, 1}));
}

TEST_F(BusIOModuleTest, AWobblingChannelThatCannotBeScaledAsksOnceARunAndTheModulesOtherChannelsGoOn)
{
    gauge(30, 1, 1, 0);  // a needle after the module in the slots: the box names the module all the same
    range(26, 0, 1000);
    Cfg.IOEntryType[entry(IOEntryAnalogue, 0, 26)] = 0;  // no centre and a maximum of 0
    Cfg.IOEntryType[entry(IOEntryAnalogue, 1, 26)] = 1000;
    frmStatus& run = running();
    testing::BoxesWithSomethingBehind boxes(true, [] {});
    // A potentiometer that never rests on channel 0, channel 1 turned slowly: one module turn each.
    Packets values;
    for (int i = 1; i <= 30; ++i) {
        bus().inject(testing::SimControlUnit::ioModuleReply(kModule, QByteArray(6, '\0'), {500 + 3 * (i % 2), 10 * i}));
        tick();
        tick();
        values << written();
    }
    EXPECT_EQ((std::tuple{boxes.texts, values.size(), values.value(29)}),
              (std::tuple{QStringList{processFault(kModule, 10, 6, "Division by zero")}, 30, data(26, 300)}));
    run.cmdStop_Click();
    runAgain();
    for (int i = 1; i <= 4; ++i) {  // a reply counts once its module was asked
        tick();
        bus().inject(testing::SimControlUnit::ioModuleReply(kModule, QByteArray(6, '\0'), {500 + 3 * i, 300}));
    }
    EXPECT_EQ(boxes.texts.size(), 2) << "a new run asks again";
}

TEST_F(BusIOModuleTest, LEDsLightTheirBitsAndEachChangedWordGoesOutInTheModulesTurn)
{
    range(27, 0, 1);
    range(28, 0, 1);
    Cfg.FunctionMacroNr[28] = 4;
    const int leds[] = {entry(IOEntryLED, 3, 27), entry(IOEntryLED, 4, 27), entry(IOEntryLED, 20, 27),
                        entry(IOEntryLED, 0, 28)};
    for (int e : leds)
        Cfg.IOEntryKeyOn[e] = 2;  // lit at the maximum
    // Output 4 is inverted; the configuration was saved with its value 0.
    Cfg.IOEntryFlags[leds[1]] = 1;
    Cfg.IOEntryLastValue[leds[1]] = 0;
    running();
    sim(27, 0);
    sim(28, 6);  // 6 And 4: at the maximum

    EXPECT_EQ(tick(), Packets{output({{kModule, 7, 0}})}) << "no gauge asks in this turn";
    EXPECT_EQ(tick(), Packets{output({{kModule, 6, 0}, {kModule, 4, 0x8800}, {kModule, 5, 0}})})
        << "the first turn sets every word";
    sim(27, 1);
    tick();
    EXPECT_EQ(tick(), Packets{output({{kModule, 6, 0}, {kModule, 4, 0x9000}, {kModule, 5, 2048}})});
    sim(28, 3);
    tick();
    EXPECT_EQ(tick(), Packets{output({{kModule, 6, 0}, {kModule, 4, 0x1000}})});
}

} // namespace
} // namespace varnet

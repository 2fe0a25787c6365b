#include "bus/run_fixture.h"
#include "bus/runpreparation.h"
#include "config/gaugetypes.h"
#include "simcontrolunit/gaugereplies.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace varnet {
namespace {

using namespace testing;

// One DATA packet to X-Plane: its group, and its one slot that is no filler with its value.
using SimWrite = std::tuple<int, int, float>;
using Writes = QList<SimWrite>;

// Gauges on the run window's fake bus; function f writes DATA group f, its second pair group f + 100.
class ReplyTest : public RunTest {
protected:
    GaugeReplyHandler& replies() { return runWindow().Replies(); }

    // The last output asked `id` for its status, as a tick's does.
    void ask(int id)
    {
        runWindow().PollRequest = kRunFramePrefix + *StatusRequestFrame(id);
        GaugeSendBuffer = "\xFF" + *GaugeBusFrame(id, 5, 100) + runWindow().PollRequest;
    }

    // What reaches X-Plane while the bytes come in from the bus.
    Writes receive(const QByteArray& bytes)
    {
        sent();
        bus().inject(bytes);
        Writes writes;
        for (const QByteArray& d : sent()) {
            if (!d.startsWith("DATA0"))
                continue;
            int slot = 0;
            float value = 0;
            for (; slot < 8; ++slot)
                if ((value = qFromLittleEndian<float>(d.constData() + 9 + 4 * slot)) != -999.0f)
                    break;
            writes << SimWrite{qFromLittleEndian<qint32>(d.constData() + 5), slot, value};
        }
        return writes;
    }

    // The reply of a gauge that was asked.
    Writes answer(const QByteArray& reply)
    {
        ask(quint8(reply[1]));
        return receive(reply);
    }

    static Writes writes(std::initializer_list<SimWrite> list) { return list; }
};

TEST_F(ReplyTest, OnlyTheGaugeAskedIsDecodedButEveryWellFramedReplyReachesTheDialogs)
{
    gauge(12, 106);
    gauge(13, 110, 20);
    running();
    const QByteArray vor = courseKnobReply(12, 106, 542);

    ask(13);
    EXPECT_TRUE(receive(vor).isEmpty()) << "a reply from another gauge than the one asked";
    EXPECT_EQ((std::tuple{GaugeReplyReceived, GaugeReply}), (std::tuple{1, vor}));
    ask(12);
    EXPECT_TRUE(receive(radioReply(12, 110, 22700, 0)).isEmpty()) << "not the type configured for GaugeID 12";
    EXPECT_EQ(replies().counts.notAsked, 2);

    // Break off mid-reply: the unit that follows is dropped whole; the next starts clean.
    GaugeReplyReceived = 0;
    EXPECT_TRUE(receive(vor.left(10) + vor.left(15)).isEmpty());
    EXPECT_EQ((std::tuple{GaugeReplyReceived, bus().bytesWaiting()}), (std::tuple{0, 0}));
    // A stray tail left behind comes in with the next reply, which is kept.
    bus().inject(vor.right(7));
    EXPECT_EQ(receive(vor), writes({{37, 0, 180}}));
    EXPECT_EQ((std::tuple{replies().counts.badFrames, replies().counts.decoded}), (std::tuple{2, 1}));

    // The run halted: replies are stored, never written.
    runWindow().cmdStop_Click();
    GaugeReplyReceived = 0;
    EXPECT_TRUE(answer(courseKnobReply(12, 106, 0)).isEmpty());
    EXPECT_EQ(GaugeReplyReceived, 1);
}

TEST_F(ReplyTest, TheLastOutputTellsWhoWasAskedAModuleStoresItsInputs)
{
    gauge(7, IOModuleType);
    gauge(9, IOModuleType);
    running();
    const auto unit = [](int id, int command) { return kRunFramePrefix + *GaugeBusFrame(id, command, 0); };
    const QByteArray poll = unit(12, 7);
    // A transponder's request of the tick is its altitude command; a module's turn is its status command, then its output words.
    EXPECT_EQ((std::array{ExpectedReplyGaugeID(unit(5, 5) + poll, poll), ExpectedReplyGaugeID(unit(12, 5), unit(12, 5)),
                          ExpectedReplyGaugeID(unit(3, 6) + unit(9, 6) + unit(9, 4), poll), ExpectedReplyGaugeID(unit(3, 6) + unit(12, 8), poll),
                          ExpectedReplyGaugeID({}, {})}),
              (std::array{12, 12, 9, 0, 0}));

    const QByteArray switches("\x80\0\0\0\0\x01", 6);  // switches 0 and 47
    GaugeSendBuffer = unit(9, 6);
    bus().inject(SimControlUnit::ioModuleReply(9, switches, {4095, 0, 0x123, 0, 0, 0, 0, 7}));
    EXPECT_EQ((std::tuple{RunData.IOMSwitchState[1], RunData.IOMAnalogueValue[1], RunData.IOMSwitchState[0]}),
              (std::tuple{switches, std::array{4095, 0, 0x123, 0, 0, 0, 0, 7, 0}, QByteArray(6, '\0')}))
        << "the other module's switches stay";
    GaugeSendBuffer = unit(7, 6);
    bus().inject(SimControlUnit::ioModuleReply(7, switches));
    EXPECT_EQ(RunData.IOMSwitchState[0], switches) << "the first module";
}

TEST_F(ReplyTest, InstrumentsWriteWhatTheirKnobsSet)
{
    gauge(12, 106);
    gauge(13, 107);
    gauge(14, 108);
    gauge(15, 105, 0, 0, 21, 4);  // heading function 21, selected heading (15) on
    gauge(5, 101);
    gauge(6, 104);
    running();
    // Course knobs write their course once when it changes. 00 0C 6A .. ..
    // 43 02 1E 41 ..: type 106, markers "C" and "A", count 542.
    const QByteArray south = QByteArray::fromHex("000C6A000043021E41000000000000000000000000000000FF");
    EXPECT_EQ(answer(south), writes({{37, 0, 180}}));
    // The same course again writes nothing; 360 is north as well; beyond a turn wraps.
    for (const auto& [count, written] : {std::pair{542, Writes{}}, {1084, writes({{37, 0, 0}})}, {0, Writes{}}, {1084 + 271, writes({{37, 0, 270}})}})
        EXPECT_EQ(answer(courseKnobReply(12, 106, count)), written) << count;
    // VOR 2 keeps a course of its own; the ADF card goes out every time.
    EXPECT_EQ(answer(courseKnobReply(13, 107, 542)), writes({{137, 0, 180}}));
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(answer(courseKnobReply(14, 108, 813)), writes({{32, 0, 90}}));
    QByteArray unmarked = courseKnobReply(12, 106, 100);
    unmarked[8] = 'X';
    EXPECT_EQ((std::tuple{answer(unmarked).size(), replies().counts.ignored}), (std::tuple{0, 1}));

    // The heading indicator folds westerly headings.
    EXPECT_EQ(answer(headingReply(15, 2160, 2154)), writes({{21, 0, -180}, {15, 0, 179.5f}}));
    EXPECT_EQ(answer(headingReply(15, 2148, 2154)), writes({{21, 0, 179}})) << "the selected heading only on a change";
    EXPECT_EQ(answer(headingReply(15, 2148, 2160)), writes({{21, 0, 179}, {15, 0, -180}}));

    // The altimeter sets the air pressure the loop reads (function 1), never the airspeed.
    EXPECT_EQ(answer(altimeterReply(5, 2992, true)), writes({{1, 0, 29.92f}}));
    EXPECT_EQ(answer(altimeterReply(5, 1013, false)), writes({{1, 0, Single(1013 / 33.86)}}));
    RunData.SimAirPressureHg = 29.92f;
    EXPECT_EQ(answer(altimeterKnobReply(5, -3)), writes({{1, 0, Single(29.92f - 0.03)}}));
    EXPECT_TRUE(answer(altimeterKnobReply(5, 0)).isEmpty());
    RunData.SimAirPressureHg = std::numeric_limits<Single>::quiet_NaN();
    EXPECT_TRUE(answer(altimeterKnobReply(5, 1)).isEmpty()) << "no number reaches the simulator";

    // The airliner clock keeps the year as the program does.
    answer(clockReply(6, QDateTime(QDate(2024, 3, 9), QTime(17, 45, 30))));
    const InstrumentValues& v = Instruments;
    EXPECT_EQ((std::tuple{v.ClockYear, v.ClockMonth, v.ClockDay, v.ClockHour, v.ClockMinute, v.ClockSecond}),
              (std::tuple{24, 3, 9, Byte(17), Byte(45), Byte(30)}));
}

TEST_F(ReplyTest, DMEsSelectOnlyThePairsTheirFunctionsHaveRadiosAndTranspondersWriteWhatTheySet)
{
    gauge(40, 123);
    gauge(41, 113);
    Cfg.GaugeRecPlate1[41] = 1;  // keeps its selection for its own reading
    gauge(20, 110, 20, 0, 21, 1);  // standby on
    gauge(21, 120, 0, 0, 0, 1);
    gauge(22, 121, 32, 0, 33, 0);
    Cfg.GaugeRecModel[22] = 2;
    gauge(30, 112, 0, 3);  // ident ports on
    gauge(31, 122, 0, 1);
    running();
    // Each is asked for its status in a turn of its own: a turn shared is a gauge never asked.
    std::vector<int> turns(RunData.SlotPollNr.begin(), RunData.SlotPollNr.begin() + 7);
    std::ranges::sort(turns);
    EXPECT_EQ(turns, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    for (int selection : {2, 4})
        EXPECT_EQ(answer(dmeNavReply(40, selection)), writes({{30, 0, float(selection)}}));
    for (int hold = 5; hold <= 9; ++hold)
        EXPECT_TRUE(answer(dmeNavReply(40, hold)).isEmpty()) << hold;
    EXPECT_EQ((std::tuple{RunData.DMESelection, replies().counts.ignored}), (std::tuple{4, 5}));

    // Tuned by itself: the frequency goes to NAV 1 once.
    EXPECT_EQ(answer(dmeOwnReply(40, 2, 11030)), writes({{115, 1, 1103}, {30, 0, 1}}));
    EXPECT_EQ(answer(dmeOwnReply(40, 2, 11030)), writes({{30, 0, 1}}));

    EXPECT_EQ((std::tuple{answer(dmeIndicatorReply(41, 4)).size(), RunData.GaugeLastReplyValue[41]}), (std::tuple{0, 2.0f}));

    // Frequencies in steps of ten kilohertz.
    EXPECT_EQ(answer(radioReply(20, 110, radioWord(122.705), radioWord(121.5))),
              writes({{20, 0, 12270}, {21, 0, 12150}}));
    EXPECT_EQ(answer(comNavReply(21, 118.0, 121.5, 110.5, 108.05)),
              writes({{20, 0, 11800}, {22, 0, 11050}, {21, 0, 12150}, {23, 0, 10805}}));
    EXPECT_TRUE(answer(comNavReply(21, 118.0, 121.5, 110.5, 108.05, 32)).isEmpty()) << "flagged invalid";
    // An ADF receiver's word is kHz with tenths.
    EXPECT_EQ(answer(radioReply(22, 121, adfWord(350.5), 0)), writes({{32, 0, 350.5f}}));

    // The mode goes to function 26's second pair; the ident lamp (47) only on a new mode.
    EXPECT_EQ(answer(transponderReply(30, 112, 7700, 3, 1)),
              writes({{26, 0, 7700}, {126, 0, 2}, {47, 0, 0}, {147, 0, 1}}));
    EXPECT_EQ(answer(transponderReply(30, 112, 1234, 5)),
              writes({{26, 0, 1234}, {126, 0, 4}, {47, 0, 1}, {147, 0, 0}}));
    QByteArray standbyCode = transponderReply(30, 112, 1234, 5);
    standbyCode[14] = 0;  // the second pair is active: 0000
    EXPECT_EQ(answer(standbyCode).value(0), (SimWrite{26, 0, 0}));
    EXPECT_EQ(answer(transponderReply(31, 122, 4321, 4)), writes({{26, 0, 4321}, {126, 0, 3}, {47, 0, 0}}));
}

TEST_F(ReplyTest, AutopilotTakesItsTargetsAndAudioPanelTogglesTheMonitorsThatChanged)
{
    for (int f = 90; f <= 99; ++f)
        Cfg.FunctionIndex1[f] = Integer(f);
    gauge(50, 124, 0, 2);  // with its own barometer
    gauge(60, 125);
    running();
    InstrumentValues& v = Instruments;
    v.SimAltitude = 9000;
    EXPECT_EQ((std::tuple{answer(autopilotReply(50, 0x81, 8000, -500, 0)).size(), v.APModeBits, v.APAltitudeFeet}),
              (std::tuple{0, 0x81, 0})) << "status 0 sets nothing more";

    const Writes written = answer(autopilotReply(50, 0x81, 8000, -500, 1, 2992));
    EXPECT_EQ((std::tuple{v.APAltitudeFixed, v.APVerticalSpeed, replies().APVerticalSpeedReply}),
              (std::tuple{std::lrint(8000 / 3.28084 * 65536), -500, -500}));
    EXPECT_EQ(written.value(0), (SimWrite{1, 0, 29.92f})) << "through the air-pressure port";
    EXPECT_EQ((std::tuple{written.value(1), written.value(8), written.last()}),
              (std::tuple{SimWrite{90, 0, 2}, SimWrite{97, 0, 6}, SimWrite{99, 0, -500}}));

    // Holding a climb targets the ceiling; holding level at no number keeps the panel's own target.
    answer(autopilotReply(50, 0, 8000, 700, 1, 1013, 0x41));
    EXPECT_EQ(v.APAltitudeFixed, std::lrint(50000 / 3.28084 * 65536));
    v.SimAltitude = std::numeric_limits<Single>::infinity();
    answer(autopilotReply(50, 0, 6000, 0, 1, 1013, 0x41));
    EXPECT_EQ(v.APAltitudeFixed, std::lrint(6000 / 3.28084 * 65536));

    // Audio panel: COM 2 and the combined bit from byte 7 (COM 1 was on), NAV 1 and ADF from byte 8.
    ask(60);
    sent();
    bus().inject(audioPanelReply(60, 0x21, 0x05, 7));
    EXPECT_EQ((std::tuple{v.AudioPanelBits, replies().AudioPanelStatus}), (std::tuple{224 + 16 + 1, 7}));
    EXPECT_EQ(sent(), (QList<QByteArray>{"CMND0sim/audio_panel/monitor_audio_com2",
                                         "CMND0sim/audio_panel/monitor_audio_nav1",
                                         "CMND0sim/audio_panel/monitor_audio_adf1"}));
    bus().inject(audioPanelReply(60, 0x21, 0x05));
    EXPECT_TRUE(sent().isEmpty()) << "nothing changed since";
}

} // namespace
} // namespace varnet

// The program as a cockpit builder runs it (program_fixture.h): start-up,
// the status requests, the needles, the backlight and the exit; then the
// knobs of a VOR indicator and a radio, which come back in the status
// replies and reach X-Plane as DATA packets, and a bus I/O module's switch
// and LED.

#include "config/gaugetypes.h"
#include "program_fixture.h"
#include "simcontrolunit/gaugereplies.h"

namespace varnet {
namespace {

using namespace varnet::testing;

TEST_F(ProgramTest, AutostartStatusRequestsNeedlesAndTheBacklightInATickOfItsOwn)
{
    ASSERT_TRUE(runStarted());
    // The preparation first stops every data group, then selects those of
    // the needles, which the run moves to zero.
    EXPECT_TRUE(isStopAll(xplane_.received().value(0)));
    EXPECT_TRUE(xplaneReceived([](const QByteArray& d) { return isSelect(d, kSpeedsGroup); }));
    EXPECT_TRUE(xplaneReceived([](const QByteArray& d) { return isSelect(d, kEngineRpmGroup); }));
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.gaugeID == kTachometerGauge && f.command == 5; }));
    for (const Frame& f : since(0, 5))
        EXPECT_EQ(f.value, 0) << "gauge " << f.gaugeID;

    // Status requests go in turn to the gauges that report back, one per
    // tick as the last frame of its write.
    std::size_t mark = frames_.size();
    ASSERT_TRUE(waitUntil([&] { return since(mark, 7).size() >= 6; }, 5000)) << "no status requests";
    const std::vector<Frame> requests = since(mark, 7);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_TRUE(requests[i].gaugeID == kRadioModules[0] || requests[i].gaugeID == kRadioModules[1]);
        EXPECT_EQ(requests[i].value, 0);
        EXPECT_TRUE(i == 0 || requests[i].gaugeID != requests[i - 1].gaugeID) << "request " << i;
    }
    for (std::size_t i = mark; i < frames_.size(); ++i)
        if (frames_[i].command == 7) {
            const std::vector<Frame> tick = writeOf(i);
            EXPECT_EQ(std::count_if(tick.begin(), tick.end(), [](const Frame& f) { return f.command == 7; }), 1);
            EXPECT_EQ(tick.back().command, 7);
        }

    // Simulator values move the needles through their plates: 80 kt lies
    // between the plate points 40 kt/100 and 100 kt/450, 1234 RPM between
    // 500/100 and 3000/900; steps are rounded down.
    mark = frames_.size();
    sendData({record(kSpeedsGroup, 0, 80), record(kEngineRpmGroup, 0, 1234)});
    EXPECT_TRUE(needleAt(kAirspeedGauge, 333, mark));
    EXPECT_TRUE(needleAt(kTachometerGauge, 334, mark));
    // Unchanged values send nothing.
    waitMs(3 * kTickMs);
    mark = frames_.size();
    for (int i = 0; i < 3; ++i) {
        sendData({record(kSpeedsGroup, 0, 80), record(kEngineRpmGroup, 0, 1234)});
        waitMs(2 * kTickMs);
    }
    EXPECT_TRUE(since(mark, 5).empty()) << "unchanged values were sent again";
    sendData({record(kSpeedsGroup, 0, 155), record(kEngineRpmGroup, 0, 1234)});
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.command == 5; }, 3000, mark));
    waitMs(2 * kTickMs);
    const std::vector<Frame> moved = since(mark, 5);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].gaugeID, kAirspeedGauge);
    EXPECT_EQ(moved[0].value, 752);

    // The light switch sends the backlight to every gauge in a tick of its
    // own: the needle gauges light up; the radio modules follow the second
    // voltage, which is off.
    waitMs(3 * kTickMs);
    mark = frames_.size();
    sendData({record(kLightSwitchesGroup, 0, 1)});
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.command == 8; }, 3000, mark));
    waitMs(2 * kTickMs);
    std::size_t first = mark;
    while (frames_[first].command != 8)
        ++first;
    const std::vector<Frame> tick = writeOf(first);
    ASSERT_EQ(tick.size(), 4u) << "the backlight shares its tick with other frames";
    for (std::size_t i = 0; i < tick.size(); ++i) {
        EXPECT_EQ(tick[i].command, 8);
        EXPECT_EQ(tick[i].gaugeID, int(i) + 1);
        EXPECT_EQ(tick[i].value, i < 2 ? 128 : 0) << "gauge " << i + 1;
    }
    EXPECT_EQ(since(mark, 8).size(), 4u);
    // The terminal closing (logging out) ends the program through the run
    // window's Exit.
    EXPECT_TRUE(endsCleanly(SIGHUP, 5000));
}

constexpr int kVOR = 6;
constexpr int kVOR1Type = 106;
constexpr int kCourseFunction = 37;
constexpr quint32 kCourseGroup = 98;
constexpr int kCOM1Function = 20;
constexpr quint32 kCOM1Group = 96;
constexpr int kRadio = kRadioModules[0];
constexpr int kModule = 5;
constexpr int kGearFunction = 60;
constexpr quint32 kGearGroup = 67;
constexpr int kGearSwitch = 9;
constexpr int kBeaconFunction = 61;
constexpr quint32 kBeaconGroup = 14;
constexpr int kBeaconLED = 3;  // bit 12 of output word 1

class KnobAndSwitchTest : public ProgramTest {
protected:
    void configure() override
    {
        // A VOR indicator that reports its course knob, and the first radio
        // module tuned to COM 1.
        Cfg.GaugeRecType[kVOR] = kVOR1Type;
        defineFunction(kCourseFunction, "OBS1", kCourseGroup);
        defineFunction(kCOM1Function, "COM1", kCOM1Group);
        Cfg.GaugeRecFunction1[kRadio] = kCOM1Function;
        Cfg.GaugeRecSeqNr1[kRadio] = 1;
        unit_.setStatusReply(kVOR, courseKnobReply(kVOR, kVOR1Type, 542));

        // A bus I/O module with the gear lever, down (100 % of 0..1) when
        // on, and the beacon lamp, lit at the function's maximum.
        Cfg.GaugeRecType[kModule] = IOModuleType;
        std::vector<int> entries;
        for (const auto& [f, name, group, kind, number] :
             {std::tuple{kGearFunction, "GEAR", kGearGroup, IOEntrySwitch, kGearSwitch},
              {kBeaconFunction, "BEACON", kBeaconGroup, IOEntryLED, kBeaconLED}}) {
            defineFunction(f, name, group);
            Cfg.FunctionMinimum[f] = 0;
            Cfg.FunctionMaximum[f] = 1;
            const int e = entries.emplace_back(Cfg.AddIOEntry());
            std::tie(Cfg.IOEntryGaugeID[e], Cfg.IOEntryKind[e], Cfg.IOEntryNumber[e], Cfg.IOEntryFunction[e]) =
                std::tuple(kModule, kind, Integer(number), Integer(f));
            Cfg.IOEntrySeqNr[e] = 1;
        }
        Cfg.IOEntryValue1[entries[0]] = 100;
        Cfg.IOEntryValue2[entries[0]] = 0;
        Cfg.IOEntryKeyOn[entries[1]] = 2;
        unit_.setIOModuleInputs(kModule, QByteArray(6, '\0'));
    }

    bool beaconWordIs(int word)
    {
        return waitUntil([&] { return unit_.ioModuleWord(kModule, 1) == word; }, 3000);
    }
};

TEST_F(KnobAndSwitchTest, KnobsAndABusIOModuleSwitchSetXPlaneOncePerTurnAReplyNotAskedForWritesNothingAndXPlaneLightsTheLED)
{
    // The second radio's requests are answered in the VOR's name with
    // another course, which must never reach X-Plane.
    int wrongAnswers = 0;
    unit_.answer = [this, &wrongAnswers](const QByteArray& bytes) {
        const Frame frame = logFrame(bytes);
        if (frame.gaugeID != kRadioModules[1] || frame.command != 7)
            return QByteArray();
        ++wrongAnswers;
        return courseKnobReply(kVOR, kVOR1Type, 271);
    };
    unit_.setStatusReply(kRadio, radioReply(kRadio, kGenericRadioType, radioWord(122.8), radioWord(121.5)));
    ASSERT_TRUE(runStarted());
    ASSERT_TRUE(waitForData(kCourseGroup, 180)) << "the course knob did not reach X-Plane";
    ASSERT_TRUE(waitForData(kCOM1Group, 12280)) << "the radio's frequency did not reach X-Plane";
    EXPECT_TRUE(waitForData(kGearGroup, 0, 3000)) << "the first module turn finds the lever up";
    ASSERT_TRUE(beaconWordIs(0)) << "the first module turn sends the words";
    waitMs(12 * kTickMs);  // every polled gauge asked a few times
    EXPECT_GE(wrongAnswers, 3);
    EXPECT_EQ(dataValues(kCourseGroup), std::vector<float>{180}) << "an unchanged knob is written once";

    unit_.setStatusReply(kVOR, courseKnobReply(kVOR, kVOR1Type, 813));
    unit_.setStatusReply(kRadio, radioReply(kRadio, kGenericRadioType, radioWord(118.05), radioWord(121.5)));
    ASSERT_TRUE(waitForData(kCourseGroup, 90));
    EXPECT_TRUE(waitForData(kCOM1Group, 11805));
    waitMs(12 * kTickMs);
    EXPECT_EQ(dataValues(kCourseGroup), (std::vector<float>{180, 90}));

    QByteArray switches(6, '\0');
    switches[kGearSwitch / 8] = char(0x80 >> (kGearSwitch % 8));
    unit_.setIOModuleInputs(kModule, switches);
    EXPECT_TRUE(waitForData(kGearGroup, 1, 3000)) << "the lever down did not reach X-Plane";
    sendData({record(kBeaconGroup, 0, 1)});
    EXPECT_TRUE(beaconWordIs(4096));
    sendData({record(kBeaconGroup, 0, 0)});
    EXPECT_TRUE(beaconWordIs(0));
    // A termination request ends it the same way.
    EXPECT_TRUE(endsCleanly(SIGTERM, 5000));
}

} // namespace
} // namespace varnet

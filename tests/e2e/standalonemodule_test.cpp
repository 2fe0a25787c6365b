// The program with a stand-alone I/O module on its own port (COM2, the
// simulated control unit playing the module): its switch, analogue channel
// and LED entries are written into the configuration by the program's own
// writers, and the run carries a switch and a channel to X-Plane and a
// value from X-Plane to an LED, polling the module about 33 times a second.

#include "program_fixture.h"

#include <tuple>

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kModuleCom = 2;
constexpr int kFlapsFunction = 60;
constexpr quint32 kFlapsGroup = 67;
constexpr int kFlapsSwitch = 12;
constexpr int kThrottleFunction = 61;
constexpr quint32 kThrottleGroup = 25;
constexpr int kThrottleChannel = 2;
constexpr int kBeaconFunction = 62;
constexpr quint32 kBeaconGroup = 14;
constexpr int kBeaconLED = 3;  // bit 12 of output word 1

class StandAloneModuleTest : public ProgramTest {
protected:
    void configure() override
    {
        Cfg.ComPortIOM = kModuleCom;
        // The flaps switch: 100 % of 0..1 on, 0 off; the throttle channel:
        // raw 0..1000 to 0..100 %; the beacon lamp: lit at its maximum.
        const std::tuple<int, const char*, quint32, Integer, int> entries[] = {
            {kFlapsFunction, "FLAPS", kFlapsGroup, IOEntrySwitch, kFlapsSwitch},
            {kThrottleFunction, "THRO", kThrottleGroup, IOEntryAnalogue, kThrottleChannel},
            {kBeaconFunction, "BEACON", kBeaconGroup, IOEntryLED, kBeaconLED}};
        std::vector<int> rows;
        for (const auto& [f, name, group, kind, number] : entries) {
            defineFunction(f, name, group);
            std::tie(Cfg.FunctionMinimum[f], Cfg.FunctionMaximum[f]) = std::tuple(0.0f, 1.0f);
            const int e = rows.emplace_back(Cfg.AddIOEntry());
            std::tie(Cfg.IOEntryGaugeID[e], Cfg.IOEntryKind[e], Cfg.IOEntryNumber[e], Cfg.IOEntryFunction[e],
                     Cfg.IOEntrySeqNr[e]) = std::tuple(kStandAloneIOM1, kind, Integer(number), Integer(f), 1);
        }
        Cfg.FunctionMaximum[kThrottleFunction] = 100;
        std::tie(Cfg.IOEntryValue1[rows[0]], Cfg.IOEntryValue2[rows[0]]) = std::tuple(100.0f, 0.0f);
        std::tie(Cfg.IOEntryValue1[rows[1]], Cfg.IOEntryValue2[rows[1]], Cfg.IOEntryType[rows[1]],
                 Cfg.IOEntryKeyOff[rows[1]]) = std::tuple(0.0f, 0.0f, 1000, 2);
        Cfg.IOEntryKeyOn[rows[2]] = 2;
        module_.setIOModuleInputs(kModuleAddress, QByteArray(6, '\0'));
    }

    bool beaconWordIs(int word)
    {
        return waitUntil([&] { return module_.ioModuleWord(kModuleAddress, 1) == word; }, 3000);
    }
    int polls() const { return ModulePolls(module_); }

    SimControlUnit module_{kModuleCom};
};

TEST_F(StandAloneModuleTest, ASwitchAndAChannelReachXPlaneAndXPlaneLightsAnLEDWhileTheModuleIsPolled33TimesASecond)
{
    ASSERT_TRUE(module_.ready());
    ASSERT_TRUE(runStarted());
    EXPECT_TRUE(waitForData(kFlapsGroup, 0, 3000)) << "the first reply finds the switch off";
    EXPECT_TRUE(beaconWordIs(0)) << "the run starts by sending the words";

    QByteArray switches(6, '\0');
    switches[kFlapsSwitch / 8] = char(0x80 >> (kFlapsSwitch % 8));
    module_.setIOModuleInputs(kModuleAddress, switches);
    EXPECT_TRUE(waitForData(kFlapsGroup, 1, 3000)) << "the switch did not reach X-Plane";
    std::array<int, 8> channels{};
    channels[kThrottleChannel] = 500;
    module_.setIOModuleInputs(kModuleAddress, switches, channels);
    EXPECT_TRUE(waitForData(kThrottleGroup, 50, 3000)) << "the channel did not reach X-Plane";

    sendData({record(kBeaconGroup, 0, 1)});
    EXPECT_TRUE(beaconWordIs(4096));
    sendData({record(kBeaconGroup, 0, 0)});
    EXPECT_TRUE(beaconWordIs(0));

    // The polls of two seconds: 30 ms apart, on a machine that may be busy.
    const int before = polls();
    waitMs(2000);
    const int perSecond = (polls() - before) / 2;
    EXPECT_GE(perSecond, 28);
    EXPECT_LE(perSecond, 34);
    EXPECT_EQ(std::ranges::count(dataValues(kFlapsGroup), 1.0f), 1) << "an unchanged switch is written once";
    EXPECT_TRUE(endsCleanly(SIGTERM, 5000));
}

} // namespace
} // namespace varnet

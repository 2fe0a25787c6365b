// A bus I/O module joins the example cockpit (program_fixture.h): a switch
// on it sets a simulator value, and a simulator value lights one of its LEDs.

#include "config/gaugetypes.h"
#include "program_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kModule = 5;
constexpr int kGearFunction = 60;
constexpr quint32 kGearGroup = 67;
constexpr int kGearSwitch = 9;
constexpr int kBeaconFunction = 61;
constexpr quint32 kBeaconGroup = 14;
constexpr int kBeaconLED = 3;  // bit 12 of output word 1

class BusIOModuleProgramTest : public ProgramTest {
protected:
    void configure() override
    {
        Cfg.GaugeRecType[kModule] = IOModuleType;
        for (const auto& [f, name, group] : {std::tuple{kGearFunction, "GEAR", kGearGroup},
                                             {kBeaconFunction, "BEACON", kBeaconGroup}}) {
            defineFunction(f, name, group);
            Cfg.FunctionMinimum[f] = 0;
            Cfg.FunctionMaximum[f] = 1;
        }
        // The gear lever: down (100 % of 0..1) when on, up when off.
        const int lever = entry(IOEntrySwitch, kGearSwitch, kGearFunction);
        Cfg.IOEntryValue1[lever] = 100;
        Cfg.IOEntryValue2[lever] = 0;
        // The beacon lamp, lit at the function's maximum.
        Cfg.IOEntryKeyOn[entry(IOEntryLED, kBeaconLED, kBeaconFunction)] = 2;
        unit_.setIOModuleInputs(kModule, QByteArray(6, '\0'));
    }

    static int entry(Integer kind, int number, int function)
    {
        const int e = Cfg.AddIOEntry();
        Cfg.IOEntryGaugeID[e] = kModule;
        Cfg.IOEntryKind[e] = kind;
        Cfg.IOEntryNumber[e] = Integer(number);
        Cfg.IOEntryFunction[e] = Integer(function);
        Cfg.IOEntrySeqNr[e] = 1;
        return e;
    }

    bool beaconWordIs(int word)
    {
        return waitUntil([&] { return unit_.ioModuleWord(kModule, 1) == word; }, 3000);
    }
};

TEST_F(BusIOModuleProgramTest, ItsSwitchReachesTheSimulatorAndASimulatorValueLightsItsLED)
{
    ASSERT_TRUE(runStarted());
    EXPECT_TRUE(waitForData(kGearGroup, 0, 3000)) << "the first module turn finds the lever up";
    ASSERT_TRUE(beaconWordIs(0)) << "the first module turn sends the words";

    QByteArray switches(6, '\0');
    switches[kGearSwitch / 8] = char(0x80 >> (kGearSwitch % 8));
    unit_.setIOModuleInputs(kModule, switches);
    EXPECT_TRUE(waitForData(kGearGroup, 1, 3000)) << "the lever down did not reach X-Plane";

    sendData({record(kBeaconGroup, 0, 1)});
    EXPECT_TRUE(beaconWordIs(4096));
    sendData({record(kBeaconGroup, 0, 0)});
    EXPECT_TRUE(beaconWordIs(0));
}

} // namespace
} // namespace varnet

// Thirty needles all moving: 210 bytes a tick for a line of 139 (lineoutput.h).

#include "bus/lineoutput.h"
#include "bus/run_fixture.h"
#include "config/gaugetypes.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

namespace varnet {
namespace {

using testing::RunTest;
using testing::SimControlUnit;

TEST_F(RunTest, AboveTheLineRateTheNewestValuesWaitAndNothingIsLostOrStarved)
{
    for (int id = 1; id <= 30; ++id)
        gauge(id, SingleNeedleType, 21, 0);
    gauge(40, GenericRadioType, 22);  // asked in the first tick
    frmStatus& run = running();
    std::array<int, 31> shown{};
    const auto carry = [&] {
        for (const QByteArray& write : tick()) {
            EXPECT_LE(write.size(), LineBytesPer(40));
            for (qsizetype at = 1; at < write.size(); at += kRunUnitBytes) {
                if (quint8(write[at + 2]) >> 4 == 5)
                    shown[quint8(write[at + 1])] = SimControlUnit::frameMagnitude(write.mid(at, kGaugeFrameBytes));
            }
        }
        return bus().writes().value(0);
    };
    const auto allShow = [&](int steps) { return std::count(shown.begin() + 1, shown.end(), steps) == 30; };

    // Stop holds back what waits; the next run sends it first.
    sim(21, 10);  // 120 steps
    EXPECT_TRUE(carry().endsWith(output({{40, 7, 0}}))) << "the status request goes, and last";
    run.cmdStop_Click();
    EXPECT_TRUE(tick().isEmpty());
    run.cmdRun_Click();
    run.ProcessTimer().stop();
    carry();
    EXPECT_TRUE(allShow(120));

    // What the driver holds counts against the line; what a failed write
    // held keeps waiting.
    bus().held = LineBytesPer(40) - 2 * kRunUnitBytes;
    sim(21, 11);
    EXPECT_EQ(carry(), output({{1, 5, 132}, {2, 5, 132}}));
    bus().held = 0;
    bus().setWriteError("Input/output error");
    testing::ScriptedMessages boxes;
    boxes.expectYesNo("Error 13: An error has occured writing Data to Gauges\r\nError: Input/output error\r\n"
                      "Check Virtual/USB Com Port\r\nContinue?",
                      true);
    tick();
    bus().setWriteError({});
    carry();
    carry();
    EXPECT_TRUE(allShow(132));

    // The radio-magnetic indicator tells its needles apart by bits of one
    // command: a waiting needle never stands for another.
    Cfg.GaugeRecType[50] = RMIType;
    run.Loop().Line().BeginTick();
    run.AddGaugeCommand(50, 9, 100 | 16384);
    run.Loop().Line().BeginTick();
    run.AddGaugeCommand(50, 9, 200 | 8192);
    EXPECT_EQ(run.Loop().Line().Next(1000), output({{50, 9, 100 | 16384}, {50, 9, 200 | 8192}}));
}

} // namespace
} // namespace varnet

// One tick of the run window's process loop with every GaugeID 1..255 a
// dual-needle gauge (510 needles, each through a 21-point plate): once with
// every simulator value changing between ticks, once with none changing.
//
//     build/benchmarks/bench_processloop
//
// "Time" is the cost of one tick; "percent_of_40ms" that cost as a share of
// the default 40 ms tick interval; "bytes_per_tick" what the last tick wrote
// to the gauge bus. The DATA packet that changes the values between ticks is
// handled outside the timing.

#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "iomodules/links.h"
#include "simlink/simcom.h"
#include "tools/nulldevices/nulldevices.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>

namespace {

using namespace varnet;

constexpr int kNeedleGaugeType = 3;
constexpr int kFirstFunction = 51;
constexpr int kFunctions = 250;  // 51..300
constexpr int kFirstGroup = 60;  // above the groups of functions 1..50
constexpr int kPlates = 20;
constexpr int kPlatePoints = 21;
constexpr double kTickIntervalSeconds = 0.040;

int groupOf(int function)
{
    return function < kFirstFunction ? function : kFirstGroup + (function - kFirstFunction) / 8;
}

int slotOf(int function)
{
    return function < kFirstFunction ? 0 : (function - kFirstFunction) % 8;
}

void defineCockpit()
{
    Session.ProgramTitle = kProgramTitle;
    Cfg.ComPortGauges = 3;
    Cfg.RemoteIP = "127.0.0.1";
    Cfg.RemotePort = "49000";
    Cfg.LocalPort = "49001";
    Cfg.ProcessTimerInterval = 40;
    for (int f = 1; f < kFirstFunction + kFunctions; ++f) {
        Cfg.FunctionNames[f] = "F" + std::to_string(f);
        Cfg.FunctionDataType[f] = DataTypeFloat;
        Cfg.FunctionIndex1[f] = Integer(groupOf(f));
        Cfg.FunctionSlot1[f] = Byte(slotOf(f));
        Cfg.FunctionIndex2[f] = Integer(groupOf(f));
        Cfg.FunctionMultiply[f] = 1;
        Cfg.FunctionDivide[f] = 1;
    }
    for (int p = 0; p < kPlates; ++p) {
        Cfg.AddPlate();
        auto& values = Cfg.PlateValue[std::size_t(p)];
        auto& steps = Cfg.PlateSteps[std::size_t(p)];
        values[1] = steps[1] = kPlatePoints - 1;
        for (int k = 0; k < kPlatePoints; ++k) {
            values[std::size_t(4 + k)] = 5.0 * k;
            steps[std::size_t(4 + k)] = Integer(50 * k + p);
        }
        values[2] = values[4];
        steps[2] = steps[4];
        values[3] = values[4 + kPlatePoints - 1];
        steps[3] = steps[4 + kPlatePoints - 1];
    }
    for (int id = 1; id <= 255; ++id) {
        const int needle = 2 * (id - 1);
        Cfg.GaugeRecType[id] = kNeedleGaugeType;
        Cfg.GaugeRecFunction1[id] = Integer(kFirstFunction + needle % kFunctions);
        Cfg.GaugeRecFunction2[id] = Integer(kFirstFunction + (needle + 1) % kFunctions);
        Cfg.GaugeRecSeqNr1[id] = Cfg.GaugeRecSeqNr2[id] = 1;
        Cfg.GaugeRecPlate1[id] = Integer(needle % kPlates);
        Cfg.GaugeRecPlate2[id] = Integer((needle + 1) % kPlates);
    }
}

// One DATA packet with a value for every function; `shift` moves every
// needle by a few whole steps.
QByteArray dataPacket(float shift)
{
    std::array<std::array<Single, 8>, kFirstGroup + kFunctions / 8 + 1> groups{};
    for (int f = 1; f < kFirstFunction + kFunctions; ++f)
        groups[std::size_t(groupOf(f))][std::size_t(slotOf(f))] = float((f * 7) % 90 + 1) + shift;
    groups[9][0] = 12.5f;  // the voltage: the backlight stays as it is
    QByteArray packet("DATA0");
    for (int group = 1; group < int(groups.size()); ++group) {
        packet += LongToString4(group);
        for (Single value : groups[std::size_t(group)]) {
            const std::array<Byte, 4> bytes = SingleToBytes(value);
            packet.append(reinterpret_cast<const char*>(bytes.data()), 4);
        }
    }
    return packet;
}

frmStatus& runningCockpit()
{
    static frmStatus* run = [] {
        setSerialPortFactory([] { return std::make_unique<NullSerialPort>(); });
        setUdpSocketFactory([] { return std::make_unique<NullUdpSocket>(); });
        InstallStandAloneLinks();
        defineCockpit();
        frmStatus& window = DefaultForm<frmStatus>::get();
        window.Form_Activate();
        window.cmdRun_Click();
        window.ProcessTimer().stop();
        return &window;
    }();
    return *run;
}

// One timed tick; returns its duration.
std::chrono::nanoseconds timedTick(frmStatus& run)
{
    const auto start = std::chrono::steady_clock::now();
    run.ProcessTimer_Timer();
    return std::chrono::steady_clock::now() - start;
}

void report(benchmark::State& state, std::chrono::nanoseconds ticks)
{
    const double perTick = std::chrono::duration<double>(ticks).count() / double(state.iterations());
    state.counters["percent_of_40ms"] = 100 * perTick / kTickIntervalSeconds;
    state.counters["bytes_per_tick"] = double(GaugeSendBuffer.size());
}

void BM_TickEveryValueChanging(benchmark::State& state)
{
    frmStatus& run = runningCockpit();
    SimCom& link = DefaultForm<SimCom>::get();
    const QByteArray packets[2] = {dataPacket(0), dataPacket(3)};
    int next = 0;
    std::chrono::nanoseconds ticks{0};
    for (auto _ : state) {
        state.PauseTiming();
        link.WinsockUDP_DataArrival(packets[next]);
        next ^= 1;
        state.ResumeTiming();
        ticks += timedTick(run);
    }
    report(state, ticks);
}
BENCHMARK(BM_TickEveryValueChanging)->UseRealTime();

void BM_TickNothingChanging(benchmark::State& state)
{
    frmStatus& run = runningCockpit();
    DefaultForm<SimCom>::get().WinsockUDP_DataArrival(dataPacket(0));
    run.ProcessTimer_Timer();
    std::chrono::nanoseconds ticks{0};
    for (auto _ : state)
        ticks += timedTick(run);
    report(state, ticks);
}
BENCHMARK(BM_TickNothingChanging)->UseRealTime();

} // namespace

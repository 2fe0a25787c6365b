// The receive path of the simulator link: one DATA datagram parsed, stored
// and handed to every active sim port.
//
//     build/benchmarks/bench_simlink_receive
//
// "items_per_second" is datagrams per second; "port_refresh" the time per
// port and datagram.

#include "simlink/simcom.h"

#include <benchmark/benchmark.h>

namespace {

using namespace varnet;

constexpr int kPorts = 500;
constexpr int kFunctions = 160;
constexpr int kGroups = 20;

// Functions 1..160 of every readable data type, over groups 0..19.
void defineFunctions()
{
    const Byte types[] = {DataTypeFloat, DataTypeInteger, DataTypeByte, DataTypeLong, DataTypeUnsignedInt, DataTypeBCD};
    for (int f = 1; f <= kFunctions; ++f) {
        Cfg.FunctionNames[f] = "F" + std::to_string(f);
        Cfg.FunctionDataType[f] = types[f % 6];
        Cfg.FunctionIndex1[f] = Integer(f % kGroups);
        Cfg.FunctionSlot1[f] = Byte(f % 8);
        Cfg.FunctionMultiply[f] = 1;
        Cfg.FunctionDivide[f] = 1;
    }
}

// "DATA0" and one record for each of `records` groups.
QByteArray dataPacket(int records)
{
    QByteArray packet("DATA0");
    for (int k = 0; k < records; ++k)
        packet += DataFloatPacket(k % kGroups, k % 8, 100.0f + float(k), false)->mid(5);
    return packet;
}

void BM_ReceiveDatagram(benchmark::State& state)
{
    defineFunctions();
    SimCom link;
    for (int i = 0; i < kPorts; ++i)
        link.EnableReadSimPort(link.OpenSimPort(1 + i % kFunctions, 1));
    const QByteArray packet = dataPacket(int(state.range(0)));
    for (auto _ : state)
        link.WinsockUDP_DataArrival(packet);
    benchmark::DoNotOptimize(link.GetPort(0));
    state.SetItemsProcessed(state.iterations());
    state.counters["port_refresh"] =
        benchmark::Counter(double(state.iterations()) * kPorts, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReceiveDatagram)->Arg(1)->Arg(20);

} // namespace

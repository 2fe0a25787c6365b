// The receive path of the simulator link: one DATA datagram parsed, stored
// and handed to the active sim ports of its groups, with 1 or 20 records
// and 50, 500 or 5000 ports open (spread over 20 groups).
//
//     build/benchmarks/bench_simlink_receive
//
// "Time" is the cost of one datagram, which should follow the records and
// not the ports; "items_per_second" is datagrams per second.

#include "simlink/simcom.h"

#include <benchmark/benchmark.h>

namespace {

using namespace varnet;

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
    for (int i = 0; i < state.range(1); ++i)
        link.EnableReadSimPort(link.OpenSimPort(1 + i % kFunctions, 1));
    const QByteArray packet = dataPacket(int(state.range(0)));
    for (auto _ : state)
        link.WinsockUDP_DataArrival(packet);
    benchmark::DoNotOptimize(link.GetPort(0));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReceiveDatagram)->ArgNames({"records", "ports"})->ArgsProduct({{1, 20}, {50, 500, 5000}});

} // namespace

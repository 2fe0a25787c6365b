// The X-Plane receive path on any datagram, in both byte orders and in the
// link test window's display mode, with sim ports of every data type
// reading from it and the instrument helpers reading the stored values.
// Properties:
// - every datagram is counted;
// - a DATA packet ("DATA", one byte, whole 36-byte records) stores each
//   record's values under its group, the whole 4-byte index (an index
//   outside 0..150 is passed over, whatever its low byte; a group given
//   twice keeps its later values) and nothing else changes;
//   any other datagram changes no stored value;
// - no port ever gives the process loop a value that is not a finite number;
// - the display mode shows "Bad Packet" exactly for what is no DATA packet.

#include "fuzz/fuzz_support.h"
#include "simlink/simcom.h"

#include <QObject>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

using namespace varnet;

constexpr int kFunctions = 100;  // 90..100 are the autopilot's
constexpr int kHeadSize = 5;

SimCom* simLink = nullptr;
QString shownConverted;

// Functions of every data type over groups inside and outside the table
// (151, 255, a negative one) and slots 0..8, with every scaling kind.
void defineFunctions()
{
    const Single multipliers[] = {1, 0.001f, 3.0e30f, -2};
    for (int f = 1; f <= kFunctions; ++f) {
        Cfg.FunctionNames[f] = "F" + std::to_string(f);
        Cfg.FunctionDataType[f] = Byte(f % kDataTypes);
        Cfg.FunctionIndex1[f] = Integer(f % 10 == 9 ? 151 + f : (f * 7) % kXplaneGroups);
        Cfg.FunctionSlot1[f] = Byte(f % 9);
        Cfg.FunctionIndex2[f] = Integer(f % 13 == 0 ? -1 : f);
        Cfg.FunctionSlot2[f] = Byte((f + 3) % 8);
        Cfg.FunctionIndex3[f] = Integer(255 - f);
        Cfg.FunctionIndex4[f] = Integer(f / 2);
        Cfg.FunctionSlot4[f] = 7;
        Cfg.FunctionMultiply[f] = multipliers[f % 4];
        Cfg.FunctionDivide[f] = f % 5 == 0 ? 1.0e-30f : 1;
        Cfg.FunctionPreAdd[f] = f % 3 == 0 ? -1000.5f : 0;
    }
    Cfg.FunctionSignalType[42] = 6;  // a macro
    Cfg.FunctionMacroNr[42] = 1;
    for (int slot = 0; slot < 23; ++slot) {
        Cfg.YokeDataGroup[std::size_t(slot)] = Byte(slot * 11);
        Cfg.YokeDataValue[std::size_t(slot)] = Byte(slot % 10);
    }
}

Single valueAt(const std::uint8_t* v, bool reversed)
{
    const std::uint8_t bytes[4] = {reversed ? v[3] : v[0], reversed ? v[2] : v[1], reversed ? v[1] : v[2],
                                   reversed ? v[0] : v[3]};
    Single value;
    std::memcpy(&value, bytes, 4);
    return value;
}

// What the table holds after the datagram, worked out from the bytes.
XplaneDataTable expectedTable(const XplaneDataTable& before, const std::uint8_t* data, std::size_t size,
                              bool reversed, bool& accepted)
{
    accepted = size > kHeadSize && std::memcmp(data, "DATA", 4) == 0 && (size - kHeadSize) % kDataRecordSize == 0;
    XplaneDataTable table = before;
    if (!accepted)
        return table;
    for (std::size_t at = kHeadSize; at < size; at += kDataRecordSize) {
        // Read unsigned, a negative index lies above every group too.
        std::uint32_t group = 0;
        for (int i = 0; i < 4; ++i)
            group = group * 256 + data[at + std::size_t(reversed ? i : 3 - i)];
        if (group >= std::uint32_t(kXplaneGroups))
            continue;
        for (int j = 0; j < kDataValues; ++j)
            table[std::size_t(group)][std::size_t(j)] = valueAt(data + at + 4 + 4 * j, reversed);
    }
    return table;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzing::setUpFuzzing(true);
    LoadConstantTables();
    defineFunctions();
    simLink = new SimCom;
    QObject::connect(simLink, &SimCom::TestDisplay, [](const QString&, const QString& converted) {
        shownConverted = converted;
    });
    for (int f = 1; f <= kFunctions; ++f)
        simLink->EnableReadSimPort(simLink->OpenSimPort(f, f % 6));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray datagram = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const bool reversed : {false, true}) {
        Cfg.ByteOrderReverse = reversed ? 1 : 0;
        bool accepted = false;
        const XplaneDataTable expected = expectedTable(simLink->XplaneData, data, size, reversed, accepted);
        const int counted = simLink->UDPPacketCount;
        simLink->WinsockUDP_DataArrival(datagram);
        FUZZ_CHECK(simLink->UDPPacketCount == counted + 1);
        FUZZ_CHECK(std::memcmp(&expected, &simLink->XplaneData, sizeof expected) == 0);
        for (int port = 0; port < simLink->PortCount(); ++port) {
            if (const auto value = simLink->GetPort(port))
                FUZZ_CHECK(std::isfinite(*value));
        }
        simLink->GetTimeAndDate();
        (void)simLink->GetAPVSvalue();
        for (int slot = -1; slot <= 23; ++slot)
            (void)simLink->GetXplaneDataYoke(slot);

        if (!reversed) {
            simLink->UDPTestDisplay = true;
            shownConverted.clear();
            simLink->WinsockUDP_DataArrival(datagram);
            simLink->UDPTestDisplay = false;
            FUZZ_CHECK((shownConverted == QLatin1String("Bad Packet")) == !accepted);
        }
    }
    simLink->UDPPacketCount = 0;
    return 0;
}

#pragma once

// What X-Plane sends: DATA packets of 36-byte records, each a group index
// and eight values. The table keeps the latest value of every group and slot
// the program can use.

#include "config/tables.h"
#include "simlink/packets.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>

#include <array>
#include <bitset>
#include <vector>

namespace varnet {

inline constexpr int kXplaneGroups = 151;  // groups 0..150
inline constexpr int kDataRecordSize = 36;

// The latest value of each DATA group 0..150 and value slot 0..7.
using XplaneDataTable = std::array<std::array<Single, kDataValues>, kXplaneGroups>;

// True when (group, slot) lies inside the table.
constexpr bool InXplaneData(int group, int slot)
{
    return group >= 0 && group < kXplaneGroups && slot >= 0 && slot < kDataValues;
}

struct DataRecord {
    qint32 index = 0;  // the record's whole 4-byte index, its group when in 0..150
    std::array<Single, kDataValues> values{};
};

// Reads a datagram as a DATA packet: "DATA", one byte, then whole records.
// Fills `records` and returns true for a DATA packet; returns false (and
// leaves `records` empty) for anything else.
bool ParseDataPacket(const QByteArray& datagram, bool reversed, std::vector<DataRecord>& records);

// Stores the records in order, so a group that appears twice keeps its later
// values. A record whose index lies outside 0..150 has no place in the table
// and is passed over.
void StoreDataRecords(const std::vector<DataRecord>& records, XplaneDataTable& table);

// The groups a datagram stored.
using DataGroups = std::bitset<kXplaneGroups>;

// ParseDataPacket and StoreDataRecords in one, for a receive path that shows
// no records: a record that a later one of its group overwrites is not even
// converted, so a datagram costs no more than the groups it holds. Returns
// false, storing nothing, for anything but a DATA packet.
bool StoreDataPacket(const QByteArray& datagram, bool reversed, XplaneDataTable& table, DataGroups& stored);

// Whether a datagram from `sender` is X-Plane's, the simulator being at
// `host` (the configured remote address): any other machine on the network
// could otherwise move needles. A loopback host stands for this machine,
// whichever of its own addresses (`ownAddresses`) a datagram comes from. A
// null host accepts nobody.
bool AcceptsSender(const QHostAddress& host, const QHostAddress& sender, const QList<QHostAddress>& ownAddresses);

// The texts of the link test display: every byte's number, and the records
// of an accepted packet one value a line ("Bad Packet" for a rejected one).
QString RawDatagramText(const QByteArray& datagram);
QString ConvertedDataText(bool accepted, const std::vector<DataRecord>& records);

} // namespace varnet

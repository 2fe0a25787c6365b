#include "simlink/xplanedata.h"

#include "config/numtext.h"

#include <algorithm>

namespace varnet {

namespace {

constexpr int kPacketHeadSize = 5;  // "DATA" and one byte that is not looked at

QString str(int value)
{
    return QString::fromStdString(strInteger(value));
}

// The records of a DATA packet; 0 for anything else.
qsizetype dataRecords(const QByteArray& datagram)
{
    const qsizetype size = datagram.size();
    if (size <= kPacketHeadSize || !datagram.startsWith("DATA") || (size - kPacketHeadSize) % kDataRecordSize)
        return 0;
    return (size - kPacketHeadSize) / kDataRecordSize;
}

const Byte* recordAt(const QByteArray& datagram, qsizetype k)
{
    return reinterpret_cast<const Byte*>(datagram.constData()) + kPacketHeadSize + k * kDataRecordSize;
}

// The 4-byte word at `bytes` in the link's byte order: a record's index and
// each of its values are one.
std::array<Byte, 4> wordAt(const Byte* bytes, bool reversed)
{
    return reversed ? std::array<Byte, 4>{bytes[3], bytes[2], bytes[1], bytes[0]}
                    : std::array<Byte, 4>{bytes[0], bytes[1], bytes[2], bytes[3]};
}

qint32 recordIndex(const Byte* record, bool reversed)
{
    const std::array<Byte, 4> b = wordAt(record, reversed);
    return qint32(quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24);
}

// The table's row for a record's index, or -1 when the index names no group
// there: 259 is not group 3, whatever its low byte.
int tableGroup(qint32 index)
{
    return index >= 0 && index < kXplaneGroups ? int(index) : -1;
}

void recordValues(const Byte* record, bool reversed, std::array<Single, kDataValues>& values)
{
    for (int j = 0; j < kDataValues; ++j) {
        const std::array<Byte, 4> b = wordAt(record + 4 + 4 * j, reversed);
        values[j] = BytesToSingle(b[0], b[1], b[2], b[3]);
    }
}

} // namespace

bool ParseDataPacket(const QByteArray& datagram, bool reversed, std::vector<DataRecord>& records)
{
    records.resize(std::size_t(dataRecords(datagram)));
    for (qsizetype k = 0; k < qsizetype(records.size()); ++k) {
        records[std::size_t(k)].index = recordIndex(recordAt(datagram, k), reversed);
        recordValues(recordAt(datagram, k), reversed, records[std::size_t(k)].values);
    }
    return !records.empty();
}

bool StoreDataPacket(const QByteArray& datagram, bool reversed, XplaneDataTable& table, DataGroups& stored)
{
    stored.reset();
    const qsizetype count = dataRecords(datagram);
    // From the last record back: the first seen of a group is the one kept.
    for (qsizetype k = count - 1; k >= 0; --k) {
        const int group = tableGroup(recordIndex(recordAt(datagram, k), reversed));
        if (group >= 0 && !stored[std::size_t(group)]) {
            stored.set(std::size_t(group));
            recordValues(recordAt(datagram, k), reversed, table[std::size_t(group)]);
        }
    }
    return count > 0;
}

void StoreDataRecords(const std::vector<DataRecord>& records, XplaneDataTable& table)
{
    for (const DataRecord& record : records) {
        if (const int group = tableGroup(record.index); group >= 0)
            table[std::size_t(group)] = record.values;
    }
}

bool AcceptsSender(const QHostAddress& host, const QHostAddress& sender, const QList<QHostAddress>& ownAddresses)
{
    // An IPv4 sender may show as an IPv6-mapped address.
    const auto same = [&](const QHostAddress& address) {
        return address.isEqual(sender, QHostAddress::TolerantConversion);
    };
    if (host.isNull())
        return false;
    if (!host.isLoopback())
        return same(host);
    bool v4 = false;
    const quint32 ipv4 = sender.toIPv4Address(&v4);
    const QHostAddress plain = v4 ? QHostAddress(ipv4) : sender;
    return plain.isLoopback() || std::any_of(ownAddresses.begin(), ownAddresses.end(), same);
}

QString RawDatagramText(const QByteArray& datagram)
{
    QString text;
    for (const char byte : datagram)
        text += str(Byte(byte)) + ' ';
    return text;
}

QString ConvertedDataText(bool accepted, const std::vector<DataRecord>& records)
{
    if (!accepted)
        return QStringLiteral("Bad Packet");
    QString text;
    for (const DataRecord& record : records) {
        text += "Index: " + str(record.index) + "\r\n";
        for (int j = 0; j < kDataValues; ++j)
            text += "  V" + str(j) + ": " + QString::fromStdString(strSingle(record.values[j])) + "\r\n";
        text += "\r\n";
    }
    return text;
}

} // namespace varnet

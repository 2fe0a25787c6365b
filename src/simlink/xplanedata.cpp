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

} // namespace

bool ParseDataPacket(const QByteArray& datagram, bool reversed, std::vector<DataRecord>& records)
{
    records.clear();
    const qsizetype size = datagram.size();
    if (size <= kPacketHeadSize || !datagram.startsWith("DATA") || (size - kPacketHeadSize) % kDataRecordSize)
        return false;
    const auto* bytes = reinterpret_cast<const Byte*>(datagram.constData());
    records.resize((size - kPacketHeadSize) / kDataRecordSize);
    const Byte* record = bytes + kPacketHeadSize;
    for (DataRecord& out : records) {
        out.group = reversed ? record[3] : record[0];
        for (int j = 0; j < kDataValues; ++j) {
            const Byte* v = record + 4 + 4 * j;
            out.values[j] = reversed ? BytesToSingle(v[3], v[2], v[1], v[0]) : BytesToSingle(v[0], v[1], v[2], v[3]);
        }
        record += kDataRecordSize;
    }
    return true;
}

void StoreDataRecords(const std::vector<DataRecord>& records, XplaneDataTable& table)
{
    for (const DataRecord& record : records) {
        if (record.group < kXplaneGroups)
            table[record.group] = record.values;
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
        text += "Index: " + str(record.group) + "\r\n";
        for (int j = 0; j < kDataValues; ++j)
            text += "  V" + str(j) + ": " + QString::fromStdString(strSingle(record.values[j])) + "\r\n";
        text += "\r\n";
    }
    return text;
}

} // namespace varnet

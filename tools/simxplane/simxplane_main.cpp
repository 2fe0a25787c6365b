// The simulated X-Plane as a program: it sends DATA packets for the groups
// and values it is given, as X-Plane's data output does, and prints every
// packet the program sends it (group selections, values, characters,
// commands), decoded.
//
//     build/tools/simxplane/simxplane --sweep 20 3:0=180 37:0=2500

#include "simxplane/simxplane.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <numbers>
#include <optional>

namespace {

using varnet::testing::SimXplane;

constexpr int kHeaderBytes = 5;  // "DATA0", "DSEL0", ...
constexpr int kRecordBytes = 36;

struct Value {
    int group;
    int slot;
    float value;
};

// "GROUP:SLOT=VALUE": group 0-255, slot 0-7, a number.
std::optional<Value> parseValue(const QString& text)
{
    const int colon = text.indexOf(':');
    const int equals = text.indexOf('=');
    if (colon < 1 || equals < colon + 2)
        return std::nullopt;
    bool groupOk = false;
    bool slotOk = false;
    bool valueOk = false;
    const Value v{text.left(colon).toInt(&groupOk), text.mid(colon + 1, equals - colon - 1).toInt(&slotOk),
                  text.mid(equals + 1).toFloat(&valueOk)};
    if (!groupOk || !slotOk || !valueOk || v.group < 0 || v.group > 255 || v.slot < 0 || v.slot > 7)
        return std::nullopt;
    return v;
}

class Decoder {
public:
    explicit Decoder(bool bigEndian) : bigEndian_(bigEndian) {}

    // One received packet as a line of text.
    QString describe(const QByteArray& packet) const
    {
        const QByteArray head = packet.left(kHeaderBytes);
        const QByteArray body = packet.mid(kHeaderBytes);
        if (head == "DSEL0" || head == "USEL0") {
            QStringList groups;
            for (qsizetype at = 0; at + 4 <= body.size(); at += 4)
                groups << QString::number(word(body, at));
            return QString::fromLatin1(head.left(4)) + " groups " + groups.join(',');
        }
        if (head == "DATA0") {
            QString text = "DATA";
            for (qsizetype at = 0; at + kRecordBytes <= body.size(); at += kRecordBytes) {
                text += QString(" group %1:").arg(word(body, at));
                for (int slot = 0; slot < 8; ++slot) {
                    const quint32 bits = word(body, at + 4 + 4 * slot);
                    float value;
                    std::memcpy(&value, &bits, 4);
                    if (value != -999.0f)  // left unchanged
                        text += QString(" [%1]=%2").arg(slot).arg(double(value));
                }
            }
            return text;
        }
        if (head == "CHAR0" && !body.isEmpty())
            return QString("CHAR %1").arg(quint8(body[0]));
        if (head == "CMND0")
            return "CMND " + QString::fromLatin1(body);
        return QString("%1 bytes: %2").arg(packet.size()).arg(QString::fromLatin1(packet.toHex(' ')));
    }

private:
    quint32 word(const QByteArray& bytes, qsizetype at) const
    {
        const char* p = bytes.constData() + at;
        return bigEndian_ ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    }

    bool bigEndian_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("simxplane");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A simulated X-Plane on this machine. It receives on --port, as X-Plane does on 49000, and prints every "
        "packet the program sends it; it sends DATA packets with the given values to --to, where the program "
        "listens. Each value is GROUP:SLOT=VALUE: the row of X-Plane's Data Output screen, the value counted "
        "0-7 from the left, and the number.");
    parser.addHelpOption();
    const QCommandLineOption portOption("port", "The port to receive on (default 49000).", "port", "49000");
    const QCommandLineOption toOption("to", "The program's receive port (default 49001).", "port", "49001");
    const QCommandLineOption rateOption("rate", "DATA packets per second (default 10).", "n", "10");
    const QCommandLineOption sweepOption(
        "sweep", "Move each value from 0 to its number and back within this many seconds, so the needles move.",
        "seconds");
    const QCommandLineOption bigEndianOption("big-endian", "Reversed byte order, as the program's \"Reverse\".");
    parser.addOptions({portOption, toOption, rateOption, sweepOption, bigEndianOption});
    parser.addPositionalArgument("values", "GROUP:SLOT=VALUE, e.g. 3:0=120 (group 3, value 0, 120).",
                                 "[GROUP:SLOT=VALUE...]");
    parser.process(app);

    bool portOk = false;
    bool toOk = false;
    bool rateOk = false;
    bool sweepOk = true;
    const uint port = parser.value(portOption).toUInt(&portOk);
    const uint to = parser.value(toOption).toUInt(&toOk);
    const double rate = parser.value(rateOption).toDouble(&rateOk);
    const double sweep = parser.isSet(sweepOption) ? parser.value(sweepOption).toDouble(&sweepOk) : 0;
    if (!portOk || !toOk || port < 1 || port > 65535 || to < 1 || to > 65535 || !rateOk || !(rate > 0) ||
        !sweepOk || sweep < 0) {
        std::fprintf(stderr, "simxplane: ports are 1-65535, the rate and the sweep positive numbers\n");
        return 2;
    }
    std::map<int, SimXplane::Record> records;
    for (const QString& text : parser.positionalArguments()) {
        const std::optional<Value> v = parseValue(text);
        if (!v) {
            std::fprintf(stderr, "simxplane: %s: expected GROUP:SLOT=VALUE\n", qPrintable(text));
            parser.showHelp(2);
        }
        SimXplane::Record& record = records[v->group];
        record.group = quint32(v->group);
        record.values[std::size_t(v->slot)] = v->value;
    }

    QUdpSocket socket;
    if (!socket.bind(QHostAddress::Any, quint16(port))) {
        std::fprintf(stderr, "simxplane: port %u: %s\n", port, qPrintable(socket.errorString()));
        return 1;
    }
    const bool bigEndian = parser.isSet(bigEndianOption);
    const Decoder decoder(bigEndian);
    QObject::connect(&socket, &QUdpSocket::readyRead, [&] {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket.receiveDatagram();
            std::printf("%s\n", qPrintable(decoder.describe(datagram.data())));
            std::fflush(stdout);
        }
    });

    QElapsedTimer clock;
    clock.start();
    QTimer sender;
    sender.setInterval(std::max(1, int(std::lround(1000.0 / rate))));
    QObject::connect(&sender, &QTimer::timeout, [&] {
        // A sweep scales every value by the same factor, 0 to 1 and back.
        const double factor =
            sweep > 0 ? 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(clock.elapsed()) / (1000.0 * sweep)) : 1;
        std::vector<SimXplane::Record> packet;
        for (const auto& [group, record] : records) {
            SimXplane::Record scaled = record;
            for (float& value : scaled.values)
                value = float(value * factor);
            packet.push_back(scaled);
        }
        socket.writeDatagram(SimXplane::dataPacket(packet, bigEndian), QHostAddress::LocalHost, quint16(to));
    });
    if (!records.empty())
        sender.start();
    std::printf("X-Plane on port %u, sending %zu group(s) to port %u. Ctrl+C ends.\n", port, records.size(), to);
    std::fflush(stdout);
    return app.exec();
}

#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QString>
#include <QUdpSocket>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace varnet {

// The IPv4 address of X-Plane's PC from the text that names it, blanks
// around it aside: four numbers from 0 to 255 with dots between, leading
// zeros allowed ("127.000.000.001"), or a name that the resolver turns into
// an IPv4 address within kNameLookupBound. Nothing for anything else, so the
// link that opens with it and the box that takes it agree on every text.
std::optional<QHostAddress> RemoteAddress(const QString& text);
inline constexpr const char* kRemoteAddressRule =
    "The remote IP address must be four numbers from 0 to 255 with dots between (127.0.0.1), "
    "or the name of a computer that the network knows";

// A name the resolver has not answered by then counts as unknown. The
// look-up blocks whoever asks, the window included, as no event may run in
// the middle of opening the link: bounded, a resolver that does not answer
// cannot freeze the program, and a name of the cockpit's own network
// resolves in far less.
inline constexpr std::chrono::milliseconds kNameLookupBound{2000};

// A UDP socket of the simulator link: bound to a local port to receive, or
// sending to the remote address and port.
class UdpSocket : public QObject {
    Q_OBJECT

public:
    explicit UdpSocket(QObject* parent = nullptr) : QObject(parent) {}

    // Receives on localPort of every IPv4 address; false (with
    // errorString()) when the port is in use or the socket is already open.
    virtual bool bind(quint16 localPort) = 0;
    virtual quint16 localPort() const = 0;

    // host is an IPv4 address such as "127.0.0.1" (see RemoteAddress).
    void setRemote(const QString& host, quint16 port)
    {
        remoteHost_ = host;
        remotePort_ = port;
    }
    QString remoteHost() const { return remoteHost_; }
    quint16 remotePort() const { return remotePort_; }

    // One datagram to the remote; false (with errorString()) when it was not sent.
    virtual bool sendDatagram(const QByteArray& data) = 0;

    virtual void close() = 0;
    // Bound, by bind() or by the first datagram sent.
    virtual bool isOpen() const = 0;
    QString errorString() const { return error_; }

    // While held, datagrams wait in the socket, unannounced and without
    // waking the program, until takeWaiting(): an owner that looks at them
    // on a beat of its own (the run's ticks) saves a wake-up per datagram.
    // Released, each is announced as it comes, the waiting ones first.
    virtual void holdDatagrams(bool hold) { held_ = hold; }
    bool datagramsHeld() const { return held_; }
    // One pass: announces the datagrams waiting now, oldest first, for at
    // most kPassTime, then passEnded().
    virtual void takeWaiting() {}

signals:
    // One datagram and the address it came from.
    void datagramReceived(const QByteArray& data, const QHostAddress& sender);
    // The datagrams of one pass were announced: what only the newest of
    // them matters for is done once, here.
    void passEnded();

protected:
    // Records the error and returns false.
    bool fail(const QString& error)
    {
        error_ = error;
        return false;
    }

private:
    QString remoteHost_;
    quint16 remotePort_ = 0;
    QString error_;
    bool held_ = false;
};

// The largest datagram UDP carries over IPv4.
inline constexpr std::size_t kLargestDatagram = 65507;

// A pass takes datagrams until the socket is empty or this time has gone
// by. Bounded by time rather than by a count, it drains however many small
// datagrams other programs send beside X-Plane, which would otherwise fill
// the socket and push X-Plane's packets out, while a flood of large ones
// still costs each pass no more than this (and the handling of the datagram
// that crosses it) and the ticks, clicks and signals behind it keep their
// turn. What waits beyond it is taken by the next pass, or lost as UDP loses
// a datagram when the socket is full. Released, a socket whose pass ran out
// of time rests for kFloodRestMs before it looks again.
inline constexpr std::chrono::microseconds kPassTime{3000};
inline constexpr int kFloodRestMs = 10;

// Receives, and once bound also sends, on a socket of its own, so that it
// alone decides when the program is woken for a datagram. Unbound, it sends
// through a QUdpSocket, which takes an ephemeral port at the first datagram.

class QtUdpSocket final : public UdpSocket {
    Q_OBJECT

public:
    explicit QtUdpSocket(QObject* parent = nullptr);
    ~QtUdpSocket() override;

    bool bind(quint16 localPort) override;
    quint16 localPort() const override { return receiver_ >= 0 ? localPort_ : sender_.localPort(); }
    bool sendDatagram(const QByteArray& data) override;
    void close() override;
    bool isOpen() const override
    {
        return receiver_ >= 0 || sender_.state() == QAbstractSocket::BoundState;
    }
    void holdDatagrams(bool hold) override;
    void takeWaiting() override;

private:
    void closeReceiver();
    void listen();

    int receiver_ = -1;
    quint16 localPort_ = 0;
    std::unique_ptr<QSocketNotifier> readable_;
    QTimer rest_;
    std::vector<char> buffer_;  // one datagram
    QUdpSocket sender_;
};

// The simulator link creates its sockets through createUdpSocket(); tests
// install a factory of fakes.
using UdpSocketFactory = std::function<std::unique_ptr<UdpSocket>()>;

std::unique_ptr<UdpSocket> createUdpSocket();

// Installs `factory` and returns the one it replaces; an empty factory
// restores QtUdpSocket.
UdpSocketFactory setUdpSocketFactory(UdpSocketFactory factory);

} // namespace varnet

#include "platform/udp.h"

#include <QHostAddress>
#include <QPointer>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <future>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace varnet {

namespace {

// What the socket asks the system to keep waiting for it. The default
// holds about 256 datagrams however small they are: three programs sending
// a few thousand a second fill it between two ticks.
constexpr int kReceiveBufferBytes = 1 << 20;

// What the bind failures say, in the words the LAN error box has always
// shown for them.
QString bindError(int error)
{
    switch (error) {
    case EADDRINUSE: return QStringLiteral("The bound address is already in use");
    case EACCES: return QStringLiteral("The address is protected");
    case EADDRNOTAVAIL: return QStringLiteral("The address is not available");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Four numbers of one to three decimal digits, each at most 255, with dots
// between.
std::optional<quint32> dottedAddress(const QString& text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(), isDigit))
            return std::nullopt;
        const uint number = part.toUInt();
        if (number > 255)
            return std::nullopt;
        address = address << 8 | number;
    }
    return address;
}

// The first IPv4 address the resolver gives for `name`, asked on a thread of
// its own so that a resolver that does not answer costs kNameLookupBound at
// most; the thread ends by itself when the answer comes late.
std::optional<quint32> lookUp(const std::string& name)
{
    auto answer = std::make_shared<std::promise<std::optional<quint32>>>();
    std::future<std::optional<quint32>> found = answer->get_future();
    std::thread([answer, name] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo* list = nullptr;
        std::optional<quint32> address;
        if (::getaddrinfo(name.c_str(), nullptr, &hints, &list) == 0) {
            if (list && list->ai_addr)
                address = ntohl(reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr);
            ::freeaddrinfo(list);
        }
        answer->set_value(address);
    }).detach();
    if (found.wait_for(kNameLookupBound) != std::future_status::ready)
        return std::nullopt;
    return found.get();
}

} // namespace

std::optional<QHostAddress> RemoteAddress(const QString& text)
{
    const QString typed = text.trimmed();
    if (const std::optional<quint32> address = dottedAddress(typed))
        return QHostAddress(*address);
    // Digits and dots are an address or nothing: no name looks like that.
    const bool numeric = std::all_of(typed.begin(), typed.end(), [](QChar c) { return c == u'.' || isDigit(c); });
    const std::string name = QUrl::toAce(typed).toStdString();
    // The resolver also reads the short and octal or hex forms of an address
    // ("127.1", "0x7f.0.0.1"), which the rule does not offer.
    in_addr other{};
    if (typed.isEmpty() || numeric || name.empty() || ::inet_aton(name.c_str(), &other) != 0)
        return std::nullopt;
    if (const std::optional<quint32> address = lookUp(name))
        return QHostAddress(*address);
    return std::nullopt;
}

QtUdpSocket::QtUdpSocket(QObject* parent) : UdpSocket(parent)
{
    rest_.setSingleShot(true);
    rest_.setInterval(kFloodRestMs);
    connect(&rest_, &QTimer::timeout, this, &QtUdpSocket::listen);
}

void QtUdpSocket::listen()
{
    if (readable_)
        readable_->setEnabled(!datagramsHeld() && !rest_.isActive());
}

QtUdpSocket::~QtUdpSocket()
{
    closeReceiver();
}

bool QtUdpSocket::bind(quint16 localPort)
{
    if (isOpen())
        return fail(QStringLiteral("Socket already open"));
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    // Room for more than a tick of small datagrams from other programs on
    // this machine, so that X-Plane's packets still find a place between
    // two passes; the system may grant less, which only lowers that margin.
    const int receiveBuffer = kReceiveBufferBytes;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    // Not shared (no SO_REUSEADDR): a second program on the same port is an
    // error, not a silent split of the simulator's packets.
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(localPort);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(bindError(error));
    }
    receiver_ = fd;
    localPort_ = ntohs(address.sin_port);
    buffer_.resize(kLargestDatagram);
    readable_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    listen();
    connect(readable_.get(), &QSocketNotifier::activated, this, &QtUdpSocket::takeWaiting);
    return true;
}

bool QtUdpSocket::sendDatagram(const QByteArray& data)
{
    const QHostAddress address(remoteHost());
    if (address.isNull())
        return fail(QStringLiteral("Invalid remote address \"%1\"").arg(remoteHost()));
    // Once bound, datagrams leave from the bound port, as they always have:
    // the simulator sees the program at one address and port.
    if (receiver_ >= 0 && address.protocol() == QAbstractSocket::IPv4Protocol) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(address.toIPv4Address());
        to.sin_port = htons(remotePort());
        ssize_t n;
        do
            n = ::sendto(receiver_, data.constData(), std::size_t(data.size()), 0, reinterpret_cast<const sockaddr*>(&to),
                         sizeof to);
        while (n < 0 && errno == EINTR);
        if (n != data.size())
            return fail(QString::fromLocal8Bit(std::strerror(n < 0 ? errno : EMSGSIZE)));
        return true;
    }
    if (sender_.writeDatagram(data, address, remotePort()) != data.size())
        return fail(sender_.errorString());
    return true;
}

void QtUdpSocket::close()
{
    closeReceiver();
    sender_.close();
}

void QtUdpSocket::closeReceiver()
{
    // The socket may be closed from a handler its own notifier called.
    if (readable_) {
        readable_->setEnabled(false);
        readable_.release()->deleteLater();
    }
    rest_.stop();
    if (receiver_ >= 0)
        ::close(receiver_);
    receiver_ = -1;
    localPort_ = 0;
}

void QtUdpSocket::holdDatagrams(bool hold)
{
    UdpSocket::holdDatagrams(hold);
    listen();
}

void QtUdpSocket::takeWaiting()
{
    // One call per datagram and one that finds the socket empty, or the
    // pass's time is up. A handler may wait, close the socket or delete it.
    // The first datagram is always taken, so that every pass gets on.
    const QPointer<QtUdpSocket> self(this);
    const auto end = std::chrono::steady_clock::now() + kPassTime;
    int taken = 0;
    while (self && receiver_ >= 0) {
        if (taken > 0 && std::chrono::steady_clock::now() >= end) {
            if (!datagramsHeld() && readable_) {
                readable_->setEnabled(false);
                rest_.start();
            }
            break;
        }
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(receiver_, buffer_.data(), buffer_.size(), 0,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            // Empty (EAGAIN), or an error a datagram socket reports for an
            // earlier send, which loses nothing received.
            break;
        }
        ++taken;
        // The handler gets its own copy: the buffer is filled again.
        emit datagramReceived(QByteArray(buffer_.data(), qsizetype(n)), QHostAddress(ntohl(from.sin_addr.s_addr)));
    }
    if (self && taken > 0)
        emit passEnded();
}

namespace {

UdpSocketFactory& udpSocketFactory()
{
    static UdpSocketFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<UdpSocket> createUdpSocket()
{
    const UdpSocketFactory& factory = udpSocketFactory();
    return factory ? factory() : std::make_unique<QtUdpSocket>();
}

UdpSocketFactory setUdpSocketFactory(UdpSocketFactory factory)
{
    return std::exchange(udpSocketFactory(), std::move(factory));
}

} // namespace varnet

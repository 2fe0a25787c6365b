#include "simlink/simcom.h"

#include "config/numinput.h"
#include "config/numtext.h"
#include "platform/messages.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QListWidget>
#include <QNetworkInterface>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace varnet {

namespace {

const QString kOverflow = QStringLiteral("Overflow");

std::optional<quint16> portNumber(const std::string& text)
{
    const std::optional<int> port = udpPort(text);
    return port ? std::optional<quint16>(quint16(*port)) : std::nullopt;
}

// A number with at least three digits ("007").
QString ownerLabel(int owner)
{
    if (owner < 256)
        return "ID:" + QString::fromStdString(zeroPadded(owner, 3));
    switch (owner) {
    case kOwnerIOM1: return QStringLiteral("IOM#1");
    case kOwnerIOM2: return QStringLiteral("IOM#2");
    case kOwnerRunWindow: return QStringLiteral("INTRN");
    case kOwnerEngineCluster: return QStringLiteral("ENGCl");
    case kOwnerYokes: return QStringLiteral("YOKES");
    default: return {};
    }
}

} // namespace

SimCom::SimCom()
    : WinsockUDP(createUdpSocket()), winsockUDPSend(createUdpSocket())
{
    setWindowTitle(QStringLiteral("Simulator Communication Channel for X-Plane"));

    auto* title = new QLabel(QStringLiteral("Active Functions"));
    title->setObjectName(QStringLiteral("Label1"));
    auto* columns = new QHBoxLayout;
    for (const char* caption : {"Port#", "Used by", "Func.#", "Func. Name"})
        columns->addWidget(new QLabel(QString::fromLatin1(caption)));
    OffsetsList = new QListWidget;
    OffsetsList->setObjectName(QStringLiteral("OffsetsList"));
    OffsetsList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(columns);
    layout->addWidget(OffsetsList);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(520, 400);

    connect(WinsockUDP.get(), &UdpSocket::datagramReceived, this, &SimCom::datagramFrom);
    connect(WinsockUDP.get(), &UdpSocket::passEnded, this, &SimCom::passEnded);
}

SimCom::~SimCom() = default;

void SimCom::Form_Unload()
{
    CloseUDP();
}

// ---- UDP link ------------------------------------------------------------

void SimCom::OpenUDP()
{
    OpenUDP(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort);
}

void SimCom::OpenUDP(const std::string& remoteIP, const std::string& remotePort, const std::string& localPort)
{
    const std::optional<UdpEnds> before = UDPInUse();
    const bool reopening = !UDPClosed() && openElsewhere(remoteIP, remotePort, localPort);
    const std::bitset<256> reselect = selected_;
    if (reopening) {
        // As at the program's exit: the X-Plane left behind would otherwise
        // go on sending to a port nobody listens on, or to another program.
        stopAll(true);
        closeSockets();
    }
    const QPointer<SimCom> self(this);
    openSockets(remoteIP, remotePort, localPort);
    if (!self)
        return;
    if (reopening && UDPInUse()) {
        for (int group = 0; group < int(reselect.size()); ++group) {
            if (reselect.test(std::size_t(group)))
                SendDSEL(Byte(group));
        }
    }
    if (UDPInUse() != before)
        emit UDPChanged();
}

bool SimCom::openElsewhere(const std::string& remoteIP, const std::string& remotePort, const std::string& localPort)
{
    if (WinsockUDP->isOpen() && portNumber(localPort) != std::optional<quint16>(WinsockUDP->localPort()))
        return true;
    if (!sendOpen_ || (remoteIP == sentTo_.remoteIP && remotePort == sentTo_.remotePort))
        return false;
    const auto remote = portNumber(remotePort);
    const std::optional<QHostAddress> address = RemoteAddress(QString::fromStdString(remoteIP).trimmed());
    if (!remote || !address || *remote != winsockUDPSend->remotePort() ||
        address->toString() != winsockUDPSend->remoteHost())
        return true;
    // The same ends written otherwise ("127.000.000.001"): the next open
    // need not look the name up again.
    sentTo_.remoteIP = remoteIP;
    sentTo_.remotePort = remotePort;
    return false;
}

void SimCom::openSockets(const std::string& remoteIP, const std::string& remotePort, const std::string& localPort)
{
    if (!WinsockUDP->isOpen()) {
        const auto local = portNumber(localPort);
        if (!local)
            return lanError(QStringLiteral("Invalid local port \"%1\"").arg(QString::fromStdString(localPort)));
        // The socket's own words say what, not which port.
        if (!WinsockUDP->bind(*local))
            return lanError(QStringLiteral("%1 (local port %2)").arg(WinsockUDP->errorString()).arg(*local));
    }
    if (!sendOpen_) {
        const auto remote = portNumber(remotePort);
        if (!remote)
            return lanError(QStringLiteral("Invalid remote port \"%1\"").arg(QString::fromStdString(remotePort)));
        const QString host = QString::fromStdString(remoteIP).trimmed();
        const std::optional<QHostAddress> address = RemoteAddress(host);
        if (!address)
            return lanError(QStringLiteral("Invalid remote address \"%1\"").arg(host));
        winsockUDPSend->setRemote(address->toString(), *remote);
        sendOpen_ = true;
        const bool settings = remoteIP == Cfg.RemoteIP && remotePort == Cfg.RemotePort && localPort == Cfg.LocalPort;
        sentTo_ = {remoteIP, remotePort, reversed(), Cfg.BlockUsel != 0, settings};
        xplaneHost_ = QHostAddress(winsockUDPSend->remoteHost());
        ownAddresses_ = xplaneHost_.isLoopback() ? QNetworkInterface::allAddresses() : QList<QHostAddress>();
    }
}

void SimCom::lanError(const QString& description)
{
    messages().ok("Error opening the LAN port: " + description);
}

void SimCom::CloseUDP()
{
    const bool wasOpen = UDPInUse().has_value();
    closeSockets();
    if (wasOpen)
        emit UDPChanged();
}

void SimCom::closeSockets()
{
    WinsockUDP->close();
    winsockUDPSend->close();
    sendOpen_ = false;
    xplaneHost_.clear();
    selected_.reset();
}

std::optional<SimCom::UdpEnds> SimCom::UDPInUse() const
{
    if (!WinsockUDP->isOpen() || !sendOpen_)
        return std::nullopt;
    return UdpEnds{winsockUDPSend->remoteHost(), winsockUDPSend->remotePort(), WinsockUDP->localPort()};
}

bool SimCom::UDPClosed() const
{
    return !WinsockUDP->isOpen() && !sendOpen_;
}

void SimCom::OpenSimCom()
{
    OpenUDP();
    autopilotSelected_ = false;
}

void SimCom::CloseSimCom()
{
    CloseAllPorts();
    CloseUDP();
}

void SimCom::send(const QByteArray& packet)
{
    // A datagram that cannot go out is lost without a message, as UDP is.
    if (sendOpen_)
        winsockUDPSend->sendDatagram(packet);
}

void SimCom::sendBuilt(const std::optional<QByteArray>& packet)
{
    if (!packet)
        return;
    UDPSendString = *packet;
    send(*packet);
}

void SimCom::CommandStopAll()
{
    // A link opened on the settings belongs to their configuration: once
    // they name other ends (set since, and not opened yet), its X-Plane is
    // told as they said when it opened. Otherwise the settings hold as they
    // are now, a byte order switched in the test window too.
    stopAll(sendOpen_ && sentTo_.settings && openElsewhere(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort));
}

void SimCom::stopAll(bool asOpened)
{
    if (asOpened ? sentTo_.blockUsel : Cfg.BlockUsel != 0)
        return;
    send(StopAllPacket(asOpened ? sentTo_.reversed : reversed()));
    for (int group = 0; group < kStopAllGroups; ++group)
        selected_.reset(std::size_t(group));
}

void SimCom::SendUSEL(Byte Index)
{
    send(UselPacket(Index, reversed()));
    selected_.reset(Index);
}

void SimCom::SendDSEL(Byte Index)
{
    send(DselPacket(Index, reversed()));
    if (sendOpen_)
        selected_.set(Index);
}

void SimCom::SendDataFloat(int Index, int Slot, Single Value)
{
    sendBuilt(DataFloatPacket(Index, Slot, Value, reversed()));
}

void SimCom::SendDataInt(int Index, int Slot, Long Value)
{
    // X-Plane reads every DATA value as a float, whatever the function's type.
    SendDataFloat(Index, Slot, Single(Value));
}

void SimCom::SendDataChar(int Code)
{
    sendBuilt(CharPacket(Code, Cfg.RemoteIP));
}

void SimCom::SendXplaneCommand(const std::string& CommandText, int N)
{
    sendBuilt(CommandPacket(CommandText, N));
}

void SimCom::datagramFrom(const QByteArray& datagram, const QHostAddress& sender)
{
    if (!AcceptsSender(xplaneHost_, sender, ownAddresses_)) {
        emit DatagramIgnored(++UDPIgnoredCount);
        return;
    }
    // The test display shows the newest datagram of a pass, whose records
    // records_ still holds at the pass's end: the others would be
    // overwritten before anyone could read them.
    const bool accepted = store(datagram);
    if (UDPTestDisplay)
        toDisplay_ = {datagram, accepted};
}

void SimCom::passEnded()
{
    if (const auto newest = std::exchange(toDisplay_, std::nullopt); newest && UDPTestDisplay)
        display(newest->first, newest->second);
}

void SimCom::WinsockUDP_DataArrival(const QByteArray& datagram)
{
    const bool accepted = store(datagram);
    if (UDPTestDisplay)
        display(datagram, accepted);
}

bool SimCom::store(const QByteArray& datagram)
{
    ++UDPPacketCount;
    if (!UDPTestDisplay) {
        DataGroups stored;
        const bool accepted = StoreDataPacket(datagram, reversed(), XplaneData, stored);
        ports_.refresh(XplaneData, stored);
        return accepted;
    }
    const bool accepted = ParseDataPacket(datagram, reversed(), records_);
    StoreDataRecords(records_, XplaneData);
    ports_.missed();
    return accepted;
}

void SimCom::display(const QByteArray& datagram, bool accepted)
{
    emit TestDisplay(RawDatagramText(datagram), ConvertedDataText(accepted, records_));
}

// ---- Sim ports -----------------------------------------------------------

int SimCom::OpenSimPort(int FunctionNr, Byte& Selector)
{
    const int handle = OpenSimPort(FunctionNr, int(Selector));
    if (handle != kNoSimPort && Selector == 0)
        Selector = 1;
    return handle;
}

int SimCom::OpenSimPort(int FunctionNr, int Selector)
{
    if (FunctionNr < 1 || FunctionNr > kLastFunction || Cfg.FunctionNames[FunctionNr].empty())
        return kNoSimPort;
    const QString warning = "Warning: Opening Function number : " + QString::number(FunctionNr) + "\r\n";
    if (Cfg.FunctionDivide[FunctionNr] == 0)
        messages().ok(warning + "Function contains division by zero.");
    if (Cfg.FunctionMultiply[FunctionNr] == 0)
        messages().ok(warning + "Function contains multiply by zero.");
    if (Selector == 0)
        Selector = 1;
    const int handle = ports_.open(FunctionNr, Selector);
    addListLine(handle, FunctionNr, Selector);
    ++NrOfOffsets;
    return handle;
}

void SimCom::addListLine(int handle, int function, int selector)
{
    const auto padded = [](int value) { return QString::fromStdString(zeroPadded(value, 3)); };
    OffsetsList->addItem(padded(handle) + QString(9, ' ') + ownerLabel(CurrentOwnerID) + QString(11, ' ') +
                         padded(function) + "  - " + QString::number(selector) + QString(9, ' ') +
                         QString::fromStdString(Cfg.FunctionNames[function]));
}

void SimCom::ClearPortList()
{
    OffsetsList->clear();
}

void SimCom::EnableReadSimPort(int Port)
{
    if (!ports_.valid(Port))
        return;
    // A group the table cannot hold is not selected: nothing could use it.
    if (const auto pair = ports_.readablePair(Port))
        SendDSEL(Byte(pair->group));
    ports_.setActive(Port, true);
}

void SimCom::DisableReadSimPort(int Port)
{
    if (!ports_.valid(Port))
        return;
    if (const auto pair = ports_.readablePair(Port))
        SendUSEL(Byte(pair->group));
    ports_.setActive(Port, false);
}

void SimCom::NewSeqNr(int Port, int Selector)
{
    if (ports_.valid(Port))
        ports_.setSelector(Port, Selector);
}

void SimCom::CloseAllPorts()
{
    CommandStopAll();
    ports_.clear();
}

std::optional<Single> SimCom::GetPortRaw(int Port)
{
    if (!ports_.valid(Port) || !ports_[Port].active || !ports_.follow(Port, XplaneData))
        return std::nullopt;
    const PortValue raw = RawPortValue(ports_[Port], Cfg.FunctionDataType[ports_[Port].function]);
    if (!raw.value)
        return std::nullopt;
    return Single(*raw.value);
}

std::optional<Single> SimCom::GetPort(int Port)
{
    if (!ports_.valid(Port) || !ports_[Port].active)
        return std::nullopt;
    const int f = ports_[Port].function;
    if (Cfg.FunctionSignalType[f] == kMacroSignalType)
        return Cfg.FunctionMacroNr[f] == 1 ? std::optional<Single>(kMacroCentre) : std::nullopt;
    if (!ports_.follow(Port, XplaneData))
        return std::nullopt;
    const PortValue raw = RawPortValue(ports_[Port], Cfg.FunctionDataType[f]);
    if (!raw.fault.isEmpty()) {
        getFault(f, Port, raw.fault);
        return std::nullopt;
    }
    if (!raw.value)
        return std::nullopt;
    const PortValue scaled = ScaleForReading(*raw.value, f);
    if (!scaled.fault.isEmpty()) {
        // Whether the user goes on or stops, the read gives the raw value.
        getFault(f, Port, scaled.fault);
        return Single(*raw.value);
    }
    return Single(*scaled.value);
}

Single SimCom::PutPort(int Port, Single Value)
{
    if (!ports_.valid(Port))
        return Value;
    const int f = ports_[Port].function;
    const PortValue scaled = ScaleForWriting(Value, f);
    if (!scaled.fault.isEmpty()) {
        // A value that could not be scaled back is never sent.
        putFault(f, Port, scaled.fault);
        return Value;
    }
    Value = Single(*scaled.value);
    const auto pair = ports_.pair(Port);
    // Sends the value rounded, when it fits lo..hi and the port has a pair.
    const auto sendInt = [&](long long lo, long long hi) {
        if (const auto v = RoundedInRange(Value, lo, hi)) {
            if (pair)
                SendDataInt(pair->group, pair->slot, Long(*v));
        } else {
            putFault(f, Port, kOverflow);
        }
    };
    switch (Cfg.FunctionDataType[f]) {
    case DataTypeByte:
        if (const auto v = RoundedInRange(Value, 0, 255))
            ports_.written(Port).byteValue = Byte(*v);
        else if (!putFault(f, Port, kOverflow))
            break;
        sendInt(std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
        break;
    case DataTypeInteger:
        Value = std::clamp(Value, -32767.0f, 32767.0f);
        sendInt(-32767, 32767);
        break;
    case DataTypeUnsignedInt:
        sendInt(std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
        break;
    case DataTypeLong:
    case DataTypeFloat:
        if (pair)
            SendDataFloat(pair->group, pair->slot, Value);
        break;
    case DataTypeBCD:
        // The port keeps the plain value, as received values are kept, so
        // that a read after the write gives the value written.
        if (const auto v = RoundedInRange(Value, std::numeric_limits<Integer>::min(),
                                          std::numeric_limits<Integer>::max()))
            ports_.written(Port).intValue = Integer(*v);
        sendInt(std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max());
        break;
    case DataTypeCommand:
        if (const auto line = RoundedInRange(std::min(Value, 9.0f), 0, 255))
            SendXplaneCommand(Cfg.FunctionFullName[f], int(*line));
        else
            putFault(f, Port, kOverflow);
        break;
    default:
        break;
    }
    return Value;
}

bool SimCom::getFault(int function, int port, const QString& description)
{
    ++GetPortFaults;
    const bool goOn = messages().yesNo(
        "Error at getting function:" + QString::number(function) + ", Port number:" + QString::number(port) +
        " from Simulator.\r\nFunction name= " + QString::fromStdString(Cfg.FunctionNames[function]) +
        "\r\nError description: " + description +
        "\r\nCheck function definition for limits and calculation (pre-add/multiply/divide).\r\nContinue?");
    if (!goOn && OnStopRun)
        OnStopRun();
    return goOn;
}

bool SimCom::putFault(int function, int port, const QString& description)
{
    const bool goOn = messages().yesNo(
        "Error at putting function:" + QString::number(function) + ", Port number: " + QString::number(port) +
        " to Simulator.\r\nError description: " + description +
        "\r\nCheck function definition for limits and calculation (pre-add/multiply/divide).\r\nContinue?");
    if (!goOn && OnStopRun)
        OnStopRun();
    return goOn;
}

} // namespace varnet

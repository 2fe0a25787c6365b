#include "iomodules/enginelink.h"

#include "bus/gaugeframes.h"
#include "bus/standalonelinks.h"
#include "platform/messages.h"
#include "simlink/simcom.h"

#include <array>

namespace varnet {

namespace {

constexpr int kProcessIntervalMs = 20;
constexpr int kOneSecondMs = 1000;
// Element 9 of ECNeedleDisplay holds the cluster type.
constexpr int kClusterTypeElement = 9;
constexpr int kDualEngine = 2;

// Single-needle frame: the 0-based offset of each needle's high byte, the
// flags byte and its bits, the end mark.
constexpr std::array<int, 8> kNeedleOffsets = {1, 3, 5, 21, 7, 11, 13, 15};
constexpr int kFlagsOffset = 37;
constexpr char kBacklightBit = 0x01;
constexpr char kDisplaysOffBit = 0x02;
constexpr char kEndMark = char(0xAA);

} // namespace

frmStatusEC::frmStatusEC()
    : LinkWindow(StandAloneDevice::EngineCluster, QStringLiteral("frmStatusEC"), QStringLiteral("Engine Cluster"),
                 QStringLiteral("Frames sent per second"))
{
    ProcessTimer_.setParent(this);
    ProcessTimer_.setObjectName(QStringLiteral("ProcessTimer"));
    ProcessTimer_.setTimerType(Qt::PreciseTimer);
    ProcessTimer_.setInterval(kProcessIntervalMs);
    Timer1_.setParent(this);
    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(kOneSecondMs);
    connect(&Timer1_, &QTimer::timeout, this, &frmStatusEC::ShowRate);
}

void frmStatusEC::OpenPorts()
{
    SimCom& link = DefaultForm<SimCom>::get();
    link.CurrentOwnerID = kOwnerEngineCluster;
    const int engines = Cfg.ECNeedleDisplay[kClusterTypeElement] == kDualEngine ? 2 : 1;
    for (int needle = 0; needle < kECNeedles; ++needle) {
        auto& ports = Session.ECNeedlePort[std::size_t(needle)];
        ports.fill(Integer(kNoSimPort));
        const int function = Cfg.ECNeedleFunction[std::size_t(needle)];
        if (function < 1)
            continue;
        for (int engine = 1; engine <= engines; ++engine) {
            const int port = link.OpenSimPort(function, engine);
            link.EnableReadSimPort(port);
            ports[std::size_t(engine)] = Integer(port);
        }
    }
}

void frmStatusEC::cmdRun_Click()
{
    if (Running == 1)
        return;
    Running = 1;
    showRunState();
    ECFrame.clear();
    ProcessTimer_.start();
    Timer1_.start();
}

void frmStatusEC::cmdStop_Click()
{
    if (Running != 1)
        return;
    Running = 0;
    stopTimers();
    showRunState();
}

void frmStatusEC::MoveSingleNeedle(int Needle, int Position)
{
    if (Needle < 0 || Needle >= int(kNeedleOffsets.size()) || Position < 0 || Position > 0xFFFF)
        return;
    QByteArray frame(kECFrameBytes, '\0');
    frame[0] = 'F';
    const int at = kNeedleOffsets[std::size_t(Needle)];
    frame[at] = char(Position >> 8);
    frame[at + 1] = char(Position & 0xFF);
    frame[kFlagsOffset] = char((ECBacklightOn == 1 ? kBacklightBit : 0) | (ECDisplaysOn == 0 ? kDisplaysOffBit : 0));
    frame[kFlagsOffset + 1] = kEndMark;
    frame[kFlagsOffset + 2] = kEndMark;
    if (!MSComm1().write(frame))
        messages().ok(QStringLiteral("Comm Port for Engine Cluster not found"));
}

void frmStatusEC::MSComm1_OnComm()
{
    ECReplyBuffer = MSComm1().readInput();
    ECReplyReceived = 1;
}

QString frmStatusEC::DeviceFaultText() const
{
    return QStringLiteral("An error has occured writing Data to Engine Cluster");
}

void frmStatusEC::stopTimers()
{
    ProcessTimer_.stop();
    Timer1_.stop();
}

} // namespace varnet

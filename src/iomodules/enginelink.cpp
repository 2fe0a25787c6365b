#include "iomodules/enginelink.h"

#include "bus/gaugeframes.h"
#include "bus/standalonelinks.h"
#include "iomodules/ecframe.h"
#include "iomodules/ecsettings.h"
#include "platform/messages.h"
#include "simlink/simcom.h"

#include <QPointer>

#include <optional>

namespace varnet {

namespace {

constexpr int kProcessIntervalMs = 20;

// The run reads each needle's value for the first engine.
constexpr int kFirstEngine = 1;

} // namespace

frmStatusEC::frmStatusEC()
    : LinkWindow(StandAloneDevice::EngineCluster, QStringLiteral("frmStatusEC"), QStringLiteral("Engine Cluster"),
                 QStringLiteral("Frames sent per second"))
{
    ProcessTimer_.setParent(this);
    ProcessTimer_.setObjectName(QStringLiteral("ProcessTimer"));
    ProcessTimer_.setTimerType(Qt::PreciseTimer);
    ProcessTimer_.setInterval(kProcessIntervalMs);
    connect(&ProcessTimer_, &QTimer::timeout, this, &frmStatusEC::ProcessTimer_Timer);
}

void frmStatusEC::OpenPorts()
{
    SimCom& link = DefaultForm<SimCom>::get();
    link.CurrentOwnerID = kOwnerEngineCluster;
    const int engines = Cfg.ECNeedleDisplay[kECTypeElement] == kECDualEngine ? 2 : 1;
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
    Timer1().start();
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
    if (Needle < 0 || Needle >= kECFrameNeedles || Position < 0 || Position > kECLargestPosition)
        return;
    ECPositions positions{};
    positions[std::size_t(Needle)] = Position;
    if (!MSComm1().write(ComposeECFrame(positions, ECFlags(ECBacklightOn, ECDisplaysOn))))
        messages().ok(QStringLiteral("Comm Port for Engine Cluster not found"));
}

void frmStatusEC::ProcessTimer_Timer()
{
    // A fault box of a port read runs a nested event loop in which this
    // timer keeps firing.
    if (ticking_ || Running != 1)
        return;
    const QPointer<frmStatusEC> self(this);
    // Away, or its question open: the needles wait for the device.
    if (!DeviceReady() || !self || Running != 1)
        return;
    ticking_ = true;
    SimCom& link = DefaultForm<SimCom>::get();
    for (int needle = 0; needle < kECFrameNeedles; ++needle) {
        const int port = Session.ECNeedlePort[std::size_t(needle)][kFirstEngine];
        if (port == kNoSimPort)
            continue;
        const std::optional<Single> value = link.GetPort(port);
        if (!self)
            return;
        if (Running != 1)
            break;
        // A needle without a value stays where it was.
        if (!value)
            continue;
        if (const std::optional<int> steps = ECNeedleSteps(needle, *value))
            Positions[std::size_t(needle)] = ECPosition(*steps);
    }
    ticking_ = false;
    if (Running != 1)
        return;
    const QByteArray frame = ComposeECFrame(Positions, ECFlags(ECBacklightOn, ECDisplaysOn));
    if (!gate_.due(frame, ECFrame))
        return;
    // Not written (the line still busy, the device away): the next tick
    // tries again with the newest positions.
    if (WriteOutput(frame)) {
        ECFrame = frame;
        gate_.sent();
        CountUnit();
    }
}

void frmStatusEC::Timer1_Timer()
{
    ShowRate();
    gate_.second();
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
    Timer1().stop();
}

} // namespace varnet

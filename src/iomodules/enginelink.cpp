#include "iomodules/enginelink.h"

#include "bus/gaugeframes.h"
#include "bus/standalonelinks.h"
#include "simlink/simcom.h"

namespace varnet {

namespace {

constexpr int kProcessIntervalMs = 20;
constexpr int kOneSecondMs = 1000;
// Element 9 of ECNeedleDisplay holds the cluster type.
constexpr int kClusterTypeElement = 9;
constexpr int kDualEngine = 2;

} // namespace

frmStatusEC::frmStatusEC()
    : LinkWindow(QStringLiteral("frmStatusEC"), QStringLiteral("Engine Cluster"), kEngineClusterReplyBytes)
{
    ProcessTimer_.setParent(this);
    ProcessTimer_.setObjectName(QStringLiteral("ProcessTimer"));
    ProcessTimer_.setTimerType(Qt::PreciseTimer);
    ProcessTimer_.setInterval(kProcessIntervalMs);
    Timer1_.setParent(this);
    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(kOneSecondMs);
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

void frmStatusEC::MSComm1_OnComm()
{
    ECReplyBuffer = MSComm1().readInput();
    ECReplyReceived = 1;
}

void frmStatusEC::stopTimers()
{
    ProcessTimer_.stop();
    Timer1_.stop();
}

} // namespace varnet

#include "iomodules/iomodulelink.h"

#include "bus/gaugeframes.h"
#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "platform/messages.h"
#include "platform/wait.h"
#include "simlink/keystrokes.h"
#include "simlink/simcom.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>

namespace varnet {

namespace {

constexpr int kProcessIntervalMs = 30;
constexpr int kWriterIntervalMs = 100;

// Stores `entry` at `number` when the table has room for it; an entry whose
// number lies outside its module's inputs or outputs has no place.
template <std::size_t N>
void sortInto(std::array<Integer, N>& table, int number, int entry)
{
    if (number >= 0 && number < int(N) - 1)
        table[std::size_t(number)] = Integer(entry);
}

// The clock of the module links' process loops, made with the first link
// that asks for it. One clock rather than one per link: the modules' ticks
// then come in one wake-up of the program, however the links were started.
QPointer<QTimer>& clockMade()
{
    static QPointer<QTimer> clock;
    return clock;
}

QTimer& moduleClock()
{
    QPointer<QTimer>& clock = clockMade();
    if (!clock) {
        clock = new QTimer(QCoreApplication::instance());
        clock->setObjectName(QStringLiteral("ProcessTimer"));
        clock->setTimerType(Qt::PreciseTimer);
        clock->setInterval(kProcessIntervalMs);
    }
    return *clock;
}

// The links on the clock.
int linksOnClock = 0;

} // namespace

IOModuleLink::IOModuleLink(int moduleNumber, const QString& name)
    : LinkWindow(moduleNumber == 1 ? StandAloneDevice::IOModule1 : StandAloneDevice::IOModule2, name,
                 QStringLiteral("Stand Alone IO Mod. %1").arg(moduleNumber), QStringLiteral("Replies per second")),
      gaugeID_(moduleNumber == 1 ? kStandAloneIOM1 : kStandAloneIOM2),
      moduleNumber_(moduleNumber)
{
    // The writer runs as long as the window is loaded and the link halted: a
    // sender must never wait for a writer that a Stop switched off.
    WriteCmdTimer_.setParent(this);
    WriteCmdTimer_.setObjectName(QStringLiteral("WriteCmdTimer"));
    WriteCmdTimer_.setInterval(kWriterIntervalMs);
    connect(&WriteCmdTimer_, &QTimer::timeout, this, &IOModuleLink::WriteCmdTimer_Timer);
    WriteCmdTimer_.start();
}

IOModuleLink::~IOModuleLink()
{
    leaveClock();
}

QTimer& IOModuleLink::ProcessTimer()
{
    return moduleClock();
}

void IOModuleLink::joinClock()
{
    QTimer& clock = moduleClock();
    if (!clockTick_) {
        clockTick_ = connect(&clock, &QTimer::timeout, this, &IOModuleLink::ProcessTimer_Timer);
        ++linksOnClock;
    }
    if (!clock.isActive())
        clock.start();
}

void IOModuleLink::leaveClock()
{
    if (!clockTick_)
        return;
    disconnect(clockTick_);
    clockTick_ = {};
    if (--linksOnClock == 0 && clockMade())
        clockMade()->stop();
}

bool IOModuleLink::ComposeCmd(int, int Command, double Value)
{
    const std::optional<QByteArray> frame = GaugeBusFrame(kStandAloneModuleAddress, Command, Value);
    if (!frame)
        return false;
    const QPointer<IOModuleLink> self(this);
    const auto slotFree = [&] { return self && SendPending != 1 && Running != 1; };
    waitUntil([&] { return !self || Running == 1 || slotFree(); }, kSendSlotWaitMs);
    if (!slotFree())
        return false;
    SendBuffer = *frame;
    SendPending = 1;
    return true;
}

void IOModuleLink::WriteCmdTimer_Timer()
{
    if (SendPending == 1 && Running != 1)
        writePendingCommand();
}

void IOModuleLink::writePendingCommand()
{
    // Dropped without a message when the port is closed or the write fails.
    if (MSComm1().isOpen())
        MSComm1().write(SendBuffer);
    SendPending = 0;
}

void IOModuleLink::Form_ConfigurationReplacing()
{
    WriteCmdTimer_Timer();
}

void IOModuleLink::DeviceReplaced()
{
    SendPending = 0;
    SendBuffer.clear();
    ReplyBuffer.clear();
}

void IOModuleLink::OpenPorts()
{
    SimCom& link = DefaultForm<SimCom>::get();
    link.CurrentOwnerID = gaugeID_;
    SwitchEntry.fill(0);
    AnalogueEntry.fill(0);
    LEDEntry.fill(0);
    run_.Reset();
    const int rows = std::min<int>(Cfg.IOEntryCount, int(Cfg.IOEntryGaugeID.size()));
    for (int e = 1; e < rows; ++e) {
        if (Cfg.IOEntryGaugeID[e] != gaugeID_)
            continue;
        const int function = Cfg.IOEntryFunction[e];
        const int port = link.OpenSimPort(function, Cfg.IOEntrySeqNr[e]);
        Cfg.IOEntryPort[e] = Integer(port);
        const int number = Cfg.IOEntryNumber[e];
        switch (Cfg.IOEntryKind[e]) {
        case IOEntrySwitch: {
            sortInto(SwitchEntry, number, e);
            const bool macro = function >= 0 && function < kFunctionRows && Cfg.FunctionMacroNr[function] != 0;
            if (Cfg.IOEntryFlags[e] != 0 || macro)
                link.EnableReadSimPort(port);
            break;
        }
        case IOEntryAnalogue:
            sortInto(AnalogueEntry, number, e);
            break;
        case IOEntryLED:
        case IOEntrySwitchAndLED:
            sortInto(LEDEntry, number, e);
            link.EnableReadSimPort(port);
            break;
        default:
            break;
        }
    }
}

void IOModuleLink::cmdRun_Click()
{
    if (Running == 1)
        return;
    // A set-up command still waiting goes out before the run takes the port.
    if (SendPending == 1)
        writePendingCommand();
    Running = 1;
    showRunState();
    run_.RunStarted();
    WriteCmdTimer_.stop();
    joinClock();
    Timer1().start();
}

void IOModuleLink::cmdStop_Click()
{
    Running = 0;
    // Halted, the replies come as they arrive (the I/O-module window reads
    // them from ReplyBuffer).
    MSComm1().holdInput(false);
    showRunState();
    leaveClock();
    Timer1().stop();
    WriteCmdTimer_.start();
}

void IOModuleLink::MSComm1_OnComm()
{
    ReplyBuffer = MSComm1().readInput();
    // A unit that is not one reply started inside another: what follows is
    // dropped, so that the next reply finds the receive unit in step again.
    if (!IsWellFramedReply(ReplyBuffer)) {
        MSComm1().discardInput();
        return;
    }
    if (Running == 1 && run_.TakeReply(ReplyBuffer))
        CountUnit();
}

void IOModuleLink::ProcessTimer_Timer()
{
    // A box of an earlier tick is still open.
    if (inTick_ || Running != 1)
        return;
    const QPointer<IOModuleLink> self(this);
    if (!DeviceReady())
        return;
    // The module's reply waits in the port until the tick takes it: one
    // wake-up a tick, not one more for each reply.
    MSComm1().holdInput(true);
    MSComm1().takeWaiting();
    if (!self || Running != 1)
        return;
    inTick_ = true;
    const IOModuleRun::Services services{
        DefaultForm<SimCom>::get(),
        // The bus modules' key path: typed while the run window is minimized
        // (the simulator has the keyboard then), otherwise shown in a box, so
        // that a key switch tried with the window open is seen to work. The
        // box holds this tick; the ticks behind it find inTick_ set.
        [](int keyCode) { SendKeystroke(keyCode); },
        [this](const QString& where, const QString& error) { return fault(where, error); },
        // By reference: small enough to be kept without an allocation.
        [&self] { return !self || self->Running != 1; },
    };
    const bool done = run_.Process(services);
    if (!self)
        return;
    inTick_ = false;
    if (!done || Running != 1)
        return;
    // Words the line could not take now go out with a later tick, newest.
    if (WriteOutput(run_.Output()))
        run_.OutputWritten();
}

bool IOModuleLink::fault(const QString& where, const QString& error)
{
    const QPointer<IOModuleLink> self(this);
    const bool goOn = messages().yesNo(QStringLiteral("An error has occured processing Stand Alone IO Mod. %1, %2\r\n"
                                                      "Error: %3\r\nContinue?")
                                           .arg(moduleNumber_)
                                           .arg(where, error));
    if (goOn)
        return self && Running == 1;
    if (self)
        DeviceGivenUp();
    return false;
}

void IOModuleLink::stopTimers()
{
    leaveClock();
    WriteCmdTimer_.stop();
    Timer1().stop();
}

QString IOModuleLink::DeviceFaultText() const
{
    return QStringLiteral("An error has occured writing Data to I/O module %1").arg(moduleNumber_);
}

void IOModuleLink::DeviceGivenUp()
{
    DefaultForm<frmStatus>::get().cmdExit_Click();
}

} // namespace varnet

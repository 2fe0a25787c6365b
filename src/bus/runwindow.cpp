#include "bus/runwindow.h"

#include "bus/deviceports.h"
#include "bus/gaugeframes.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "platform/messages.h"

namespace varnet {

namespace {

constexpr int kConfigWriterIntervalMs = 5;
// A single frame is at most the seven bytes of the new-ID frame.
constexpr int kSingleFrameBytes = 7;

} // namespace

frmStatus::frmStatus() : MSComm1_(createSerialPort())
{
    setObjectName(QStringLiteral("frmStatus"));
    setWindowTitle(QString::fromStdString(Session.ProgramTitle));
    // Children by name for whoever looks the window's parts up; the members
    // still own them and leave the parent before it goes.
    MSComm1_->setParent(this);
    MSComm1_->setObjectName(QStringLiteral("MSComm1"));
    ConfigureDevicePort(*MSComm1_, 0, kGaugeReplyBytes);
    connect(MSComm1_.get(), &SerialPort::received, this, &frmStatus::MSComm1_OnComm);
    // A break or framing error leaves nothing worth keeping in the input.
    connect(MSComm1_.get(), &SerialPort::commError, this, [this] { MSComm1_->discardInput(); });

    WriteCmdDuringConfig_.setParent(this);
    WriteCmdDuringConfig_.setObjectName(QStringLiteral("WriteCmdDuringConfig"));
    WriteCmdDuringConfig_.setTimerType(Qt::PreciseTimer);
    WriteCmdDuringConfig_.setInterval(kConfigWriterIntervalMs);
    connect(&WriteCmdDuringConfig_, &QTimer::timeout, this, &frmStatus::WriteCmdDuringConfig_Timer);
    WriteCmdDuringConfig_.start();

    ECPortsOpened = 0;
}

frmStatus::~frmStatus() = default;

void frmStatus::Form_Unload()
{
    WriteCmdDuringConfig_.stop();
    MSComm1_->close();
}

void frmStatus::StartRunOutput()
{
    WriteCmdDuringConfig_.stop();
    if (GaugeSendPending == 1)
        writeSingleFrame();
    Running = 1;
}

void frmStatus::StopRunOutput()
{
    Running = 0;
    GaugeSendBuffer.clear();
    GaugeSendPending = 0;
    WriteCmdDuringConfig_.start();
}

void frmStatus::cmdStop_Click()
{
    if (Running == 1)
        StopRunOutput();
}

void frmStatus::AddGaugeCommand(int GaugeID, int Command, double Value)
{
    if (const std::optional<QByteArray> frame = GaugeBusFrame(GaugeID, Command, Value))
        GaugeSendBuffer += kRunFramePrefix + *frame;
}

void frmStatus::MakeGaugeRequest(int GaugeID, int Command, double Value)
{
    if (const std::optional<QByteArray> frame = GaugeBusFrame(GaugeID, Command, Value))
        PollRequest = kRunFramePrefix + *frame;
}

void frmStatus::FlushGaugeOutput()
{
    MSComm1_->discardInput();
    if (GaugeSendBuffer.isEmpty() || !MSComm1_->isOpen() || MSComm1_->write(GaugeSendBuffer))
        return;
    const bool goOn = messages().yesNo(
        QStringLiteral("Error 13: An error has occured writing Data to Gauges\r\nError: %1\r\n"
                       "Check Virtual/USB Com Port\r\nContinue?")
            .arg(MSComm1_->errorString()));
    if (!goOn)
        cmdStop_Click();
}

void frmStatus::MSComm1_OnComm()
{
    GaugeReply = MSComm1_->readInput();
    if (GaugeReply.size() < 8)
        return;
    if (!IsWellFramedReply(GaugeReply)) {
        MSComm1_->discardInput();
        return;
    }
    GaugeReplyReceived = 1;
}

void frmStatus::WriteCmdDuringConfig_Timer()
{
    if (GaugeSendPending == 1)
        writeSingleFrame();
}

void frmStatus::writeSingleFrame()
{
    // A frame that cannot be written is dropped without a message, so that
    // no sender keeps waiting for a dead port.
    if (gaugeBusPortReady())
        MSComm1_->write(GaugeSendBuffer.left(kSingleFrameBytes));
    GaugeSendPending = 0;
}

bool frmStatus::gaugeBusPortReady()
{
    // Only the configured gauge-bus port: a port that was opened on another
    // number (a COM probe) is never written.
    const int number = Cfg.ComPortGauges;
    if (number < 1)
        return false;
    if (MSComm1_->isOpen() && MSComm1_->portNumber() == number)
        return true;
    MSComm1_->close();
    ConfigureDevicePort(*MSComm1_, number, kGaugeReplyBytes);
    return MSComm1_->open();
}

} // namespace varnet

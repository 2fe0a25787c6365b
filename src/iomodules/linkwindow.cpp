#include "iomodules/linkwindow.h"

#include "bus/deviceports.h"
#include "bus/lineoutput.h"
#include "platform/messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace varnet {

namespace {

// A line that was found idle, and has carried at its own rate all that was
// written since, is not asked again for this long: a device that stops
// taking data is found that much later, and a tick of a healthy line costs
// no call to the driver. Bytes the line may still carry are asked for at
// every tick.
constexpr qint64 kIdleLineLookMs = 100;
// What a USB adapter may lag behind the line's rate.
constexpr qint64 kLineLagMs = 5;
constexpr int kOneSecondMs = 1000;

} // namespace

LinkWindow::LinkWindow(StandAloneDevice device, const QString& name, const QString& title, const QString& rateCaption)
    : BoxRun(new QLineEdit(this)),
      BoxRate(new QLineEdit(this)),
      LabelRate(new QLabel(rateCaption, this)),
      cmdRun(new QPushButton(QStringLiteral("Run"), this)),
      cmdStop(new QPushButton(QStringLiteral("Stop"), this)),
      device_(device),
      MSComm1_(createSerialPort())
{
    setObjectName(name);
    setWindowTitle(title);
    BoxRun->setObjectName(QStringLiteral("BoxRun"));
    BoxRun->setReadOnly(true);
    BoxRate->setObjectName(QStringLiteral("BoxRate"));
    BoxRate->setReadOnly(true);
    LabelRate->setObjectName(QStringLiteral("LabelRate"));
    LabelRate->setBuddy(BoxRate);
    cmdRun->setObjectName(QStringLiteral("cmdRun"));
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(BoxRun, 0, 0);
    layout->addWidget(cmdRun, 0, 1);
    layout->addWidget(cmdStop, 0, 2);
    layout->addWidget(BoxRate, 1, 0);
    layout->addWidget(LabelRate, 1, 1, 1, 2);
    connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });

    MSComm1_->setParent(this);  // found by name; the member still owns it
    MSComm1_->setObjectName(QStringLiteral("MSComm1"));
    ConfigureDevicePort(*MSComm1_, 0, DeviceUnitBytes(device));
    lineClock_.start();
    Timer1_.setParent(this);
    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(kOneSecondMs);
    connect(&Timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(MSComm1_.get(), &SerialPort::received, this, [this] { MSComm1_OnComm(); });
    // A break or framing error leaves nothing worth keeping in the input. A
    // device lost while the link runs is the run's to tell; one lost while
    // halted has closed the port, and the next run's opening tells.
    connect(MSComm1_.get(), &SerialPort::commError, this, [this](const QString& description) {
        MSComm1_->discardInput();
        if (!MSComm1_->isOpen() && Running == 1)
            loss_.Lost(*MSComm1_, description);
    });
    showRunState();
}

LinkWindow::~LinkWindow() = default;

void LinkWindow::showRunState()
{
    BoxRun->setText(Running == 1 ? QStringLiteral("Running") : QStringLiteral("Halted"));
    unitsCounted_ = unitsPerSecond_ = 0;
    BoxRate->setText(QStringLiteral("0"));
}

void LinkWindow::ShowRate()
{
    unitsPerSecond_ = Running == 1 ? unitsCounted_ : 0;
    unitsCounted_ = 0;
    // A rate that holds lays nothing out again.
    const QString rate = QString::number(unitsPerSecond_);
    if (BoxRate->text() != rate)
        BoxRate->setText(rate);
}

bool LinkWindow::DeviceReady()
{
    // A tick inside the box of an earlier one neither asks nor writes.
    const auto asking = asking_.enter();
    if (!asking)
        return false;
    if (loss_.IsLost() && loss_.ReportDue()) {
        // The loss is told at once, also when the device is back by now.
        const QPointer<LinkWindow> self(this);
        const bool goOn = messages().yesNo(DeviceLossQuestion(DeviceFaultText(), loss_.Reason()));
        if (!self)
            return false;
        if (!goOn) {
            DeviceGivenUp();
            return false;
        }
        if (Running != 1)
            return false;
    }
    if (!devicePortReady())
        return false;
    if (loss_.IsLost()) {
        lastLookMs_ = -1;
        loss_.Back(*MSComm1_);
        if (!loss_.IsLost())
            DeviceBack();
    }
    return !loss_.IsLost();
}

bool LinkWindow::WriteOutput(const QByteArray& bytes)
{
    if (loss_.IsLost() || !MSComm1_->isOpen())
        return false;
    if (bytes.isEmpty())
        return true;
    const int intervalMs = ProcessTimer().interval();
    const qint64 now = lineClock_.elapsed();
    const bool look = lastLookMs_ < 0 || heldAtLook_ > 0 || now < lineFreeAtMs_ + kLineLagMs ||
                      now - lastLookMs_ >= kIdleLineLookMs;
    // Not asked, the line counts as idle, and as moving.
    int held = 0;
    if (look) {
        held = MSComm1_->bytesHeld();
        lastLookMs_ = now;
        heldAtLook_ = held;
    }
    if (loss_.OutputStalled(held, intervalMs)) {
        loss_.Lost(*MSComm1_, QString::fromLatin1(kOutputStalled));
        return false;
    }
    // An output larger than a tick's worth still goes out on an idle line;
    // what waits in the driver never grows beyond it.
    if (held > 0 && held + bytes.size() > LineBytesPer(intervalMs))
        return false;
    if (!MSComm1_->write(bytes)) {
        loss_.Lost(*MSComm1_, MSComm1_->errorString());
        return false;
    }
    loss_.Written(bytes, held + int(bytes.size()));
    lineFreeAtMs_ = now + LineMsFor(held + bytes.size());
    return true;
}

bool LinkWindow::devicePortReady()
{
    return loss_.PortReady(*MSComm1_, DevicePortNumber(device_), DeviceUnitBytes(device_));
}

void LinkWindow::Form_ConfigurationReplaced()
{
    if (!LinkPortFollowsConfiguration(device_))
        return;
    loss_.Reset();
    DeviceReplaced();
}

void LinkWindow::Form_Unload()
{
    stopTimers();
    MSComm1_->close();
}

} // namespace varnet

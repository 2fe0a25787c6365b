#include "bus/runwindow.h"

#include "bus/deviceports.h"
#include "bus/gaugeframes.h"
#include "bus/runpreparation.h"
#include "bus/runstate.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "config/files.h"
#include "platform/messages.h"
#include "simlink/instruments.h"
#include "simlink/keystrokes.h"
#include "simlink/simcom.h"
#include "yokes/yokewindows.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace varnet {

namespace {

constexpr int kConfigWriterIntervalMs = 5;
constexpr int kProcessIntervalAtCreationMs = 20;
constexpr int kDefaultProcessIntervalMs = 40;
constexpr int kRateIntervalMs = 1000;
constexpr int kSliderMinimumMs = 10;
constexpr int kSliderMaximumMs = 200;
// A single frame is at most the seven bytes of the new-ID frame.
constexpr int kSingleFrameBytes = 7;
constexpr double kMillibarPerInchHg = 33.86;
// The value boxes are read by eye: four times a second is as fast as a
// number can be read, and every new text costs a layout and a repaint. The
// gauges still follow every tick.
constexpr int kBoxRefreshMs = 250;

const QString kRunningStyle = QStringLiteral("background-color: rgb(255, 0, 0);");
const QString kHaltedStyle = QStringLiteral("background-color: rgb(0, 192, 0);");

// A stand-alone device: its link, its COM port and the button that shows it.
struct LinkButton {
    StandAloneDevice device;
    int comPort;
    QPushButton* button;
};

std::array<LinkButton, 3> linkButtons(const frmStatus& window)
{
    return {{{StandAloneDevice::EngineCluster, Cfg.ComPortEC, window.cmdShowECStatus},
             {StandAloneDevice::IOModule1, Cfg.ComPortIOM, window.cmdShowIOM},
             {StandAloneDevice::IOModule2, Cfg.ComPortIOM2, window.cmdShowIOM2}}};
}

// A number as the value boxes show it: rounded to `decimals` places (halves
// away from zero), at least `digits` digits before the point, none at all
// for 0 digits and a value below 1 (".50").
QString formatted(double value, int digits, int decimals)
{
    if (!std::isfinite(value))
        return QString();
    const double scale = std::pow(10.0, decimals);
    const QString text = QString::number(std::round(std::fabs(value) * scale) / scale, 'f', decimals);
    const qsizetype point = text.indexOf('.');
    QString whole = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point);
    if (digits == 0 && whole == QLatin1String("0"))
        whole.clear();
    else
        whole = whole.rightJustified(digits, '0');
    const bool shownAsZero = QString(text).remove('0').remove('.').isEmpty();
    return (value < 0 && !shownAsZero ? QStringLiteral("-") : QString()) + whole + fraction;
}

// A box is only touched when its text changes: setting a text lays it out
// and repaints the box, even when it is the text already there.
void showText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}

QString onOff(Single value)
{
    return value == 0 ? QStringLiteral("OFF") : QStringLiteral("ON");
}

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* box(const char* name)
{
    auto* edit = named(new QLineEdit, name);
    edit->setReadOnly(true);
    // A box paints all of its rectangle, so a new text repaints the box
    // alone and not the frame behind it as well.
    edit->setAutoFillBackground(true);
    return edit;
}

QPushButton* button(const char* name, const char* caption)
{
    return named(new QPushButton(QString::fromLatin1(caption)), name);
}

QLabel* label(const char* text)
{
    return new QLabel(QString::fromLatin1(text));
}

// The stop hook reaches the run window through its default instance, so
// that it never calls a window that is gone.
void stopTheRun()
{
    if (DefaultForm<frmStatus>::loaded())
        DefaultForm<frmStatus>::get().cmdStop_Click();
}

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
    // A break or framing error leaves nothing worth keeping in the input; a
    // lost device has closed the port.
    connect(MSComm1_.get(), &SerialPort::commError, this, [this](const QString& description) {
        MSComm1_->discardInput();
        if (!MSComm1_->isOpen())
            gaugeBusLost(description);
    });

    buildControls();

    ProcessTimer_.setParent(this);
    ProcessTimer_.setObjectName(QStringLiteral("ProcessTimer"));
    ProcessTimer_.setTimerType(Qt::PreciseTimer);
    ProcessTimer_.setInterval(kProcessIntervalAtCreationMs);
    connect(&ProcessTimer_, &QTimer::timeout, this, &frmStatus::ProcessTimer_Timer);

    Timer1_.setParent(this);
    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(kRateIntervalMs);
    connect(&Timer1_, &QTimer::timeout, this, &frmStatus::Timer1_Timer);
    Timer1_.start();

    LoadConstantTables();

    WriteCmdDuringConfig_.setParent(this);
    WriteCmdDuringConfig_.setObjectName(QStringLiteral("WriteCmdDuringConfig"));
    WriteCmdDuringConfig_.setTimerType(Qt::PreciseTimer);
    WriteCmdDuringConfig_.setInterval(kConfigWriterIntervalMs);
    connect(&WriteCmdDuringConfig_, &QTimer::timeout, this, &frmStatus::WriteCmdDuringConfig_Timer);
    WriteCmdDuringConfig_.start();

    RunData.LastHeadingSelect = 0;
    ECPortsOpened = 0;
}

frmStatus::~frmStatus() = default;

void frmStatus::buildControls()
{
    cmdRun = button("cmdRun", "Run");
    cmdStop = button("cmdStop", "Stop");
    CmdConfig = button("CmdConfig", "Configuration");
    CmdExit = button("CmdExit", "Exit");
    CmdHide = button("CmdHide", "Hide");
    cmdShowECStatus = button("cmdShowECStatus", "Show EC");
    cmdShowIOM = button("cmdShowIOM", "Show IOM #1");
    cmdShowIOM2 = button("cmdShowIOM2", "Show IOM #2");
    cmdShowPorts = button("cmdShowPorts", "Show");

    BoxRun = box("BoxRun");
    BoxCurrentConfig = box("BoxCurrentConfig");
    BoxCurrentConfig->setToolTip(
        QStringLiteral("Shows errors on link between Simulator Control Station and Flight Sim PC"));
    boxNrofOffsets = box("boxNrofOffsets");
    frmXferCount = box("frmXferCount");
    boxUDPrate = box("boxUDPrate");
    Label4 = named(label("XPlane UDP rate:"), "Label4");
    Label3 = named(label("p/sec"), "Label3");
    SliderXferTimer = named(new QSlider(Qt::Horizontal), "SliderXferTimer");
    SliderXferTimer->setRange(kSliderMinimumMs, kSliderMaximumMs);
    SliderXferTimer->setSingleStep(1);
    SliderXferTimer->setPageStep(10);
    SliderXferTimer->setValue(kDefaultProcessIntervalMs);
    SliderXferTimer->setTracking(true);
    SliderXferTimer->setToolTip(QStringLiteral("Set interval between gauge updates; Lower is faster"));
    BoxXferProcessTimer = box("BoxXferProcessTimer");
    LabelVersion = named(new QLabel(QStringLiteral("Version: ") + QString::fromLatin1(kProgramVersion)), "LabelVersion");

    BoxInstrLights = box("BoxInstrLights");
    boxNavLights = box("boxNavLights");
    boxVoltage = box("boxVoltage");
    BoxAirPressHg = box("BoxAirPressHg");
    BoxAirPressmBar = box("BoxAirPressmBar");
    boxCompass = box("boxCompass");
    BoxHea = box("BoxHea");
    BoxIAS = box("BoxIAS");
    BoxVS = box("BoxVS");
    boxPitch = box("boxPitch");
    boxAltitude = box("boxAltitude");
    boxBank = box("boxBank");

    const auto valueFrame = [](const char* title, std::initializer_list<std::pair<const char*, QLineEdit*>> rows) {
        auto* frame = new QGroupBox(QString::fromLatin1(title));
        auto* grid = new QGridLayout(frame);
        int row = 0;
        for (const auto& [caption, edit] : rows) {
            grid->addWidget(label(caption), row, 0);
            grid->addWidget(edit, row++, 1);
        }
        return frame;
    };
    QGroupBox* systemValues = valueFrame("System Values", {{"Instr. Lights", BoxInstrLights},
                                                           {"Nav. Lights", boxNavLights},
                                                           {"Voltage", boxVoltage},
                                                           {"Air Pressure inHg", BoxAirPressHg},
                                                           {"Air Pressure mBar", BoxAirPressmBar}});
    QGroupBox* position = valueFrame("Aircraft Position", {{"Compass", boxCompass},
                                                           {"Heading", BoxHea},
                                                           {"IAS", BoxIAS},
                                                           {"VS", BoxVS},
                                                           {"Pitch", boxPitch},
                                                           {"Altitude", boxAltitude},
                                                           {"Bank", boxBank}});

    auto* grid = new QGridLayout;
    grid->addWidget(BoxRun, 0, 0);
    grid->addWidget(cmdRun, 0, 1);
    grid->addWidget(cmdStop, 0, 2);
    grid->addWidget(BoxCurrentConfig, 1, 0, 1, 3);
    grid->addWidget(label("Nr of active offsets: "), 2, 0);
    grid->addWidget(boxNrofOffsets, 2, 1);
    grid->addWidget(cmdShowPorts, 2, 2);
    grid->addWidget(label("Xfers:"), 3, 0);
    grid->addWidget(frmXferCount, 3, 1);
    grid->addWidget(label("p/sec"), 3, 2);
    grid->addWidget(Label4, 4, 0);
    grid->addWidget(boxUDPrate, 4, 1);
    grid->addWidget(Label3, 4, 2);
    grid->addWidget(label("Process Interval in mS"), 5, 0);
    grid->addWidget(BoxXferProcessTimer, 5, 1);
    grid->addWidget(SliderXferTimer, 6, 0, 1, 3);

    auto* frames = new QHBoxLayout;
    frames->addWidget(systemValues);
    frames->addWidget(position);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {CmdConfig, cmdShowECStatus, cmdShowIOM, cmdShowIOM2, CmdHide, CmdExit})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(frames);
    layout->addLayout(buttons);
    layout->addWidget(LabelVersion);

    showRunState();
    // The rate of the simulator's packets means something only with X-Plane.
    if (Session.ProgramTitle != kProgramTitle) {
        boxUDPrate->hide();
        Label4->hide();
        Label3->hide();
    }

    connect(cmdRun, &QPushButton::clicked, this, &frmStatus::cmdRun_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmStatus::cmdStop_Click);
    connect(CmdConfig, &QPushButton::clicked, this, &frmStatus::CmdConfig_Click);
    connect(CmdExit, &QPushButton::clicked, this, &frmStatus::cmdExit_Click);
    connect(CmdHide, &QPushButton::clicked, this, &frmStatus::CmdHide_Click);
    connect(cmdShowECStatus, &QPushButton::clicked, this,
            [] { standAloneLinks().Show(StandAloneDevice::EngineCluster); });
    connect(cmdShowIOM, &QPushButton::clicked, this, [] { standAloneLinks().Show(StandAloneDevice::IOModule1); });
    connect(cmdShowIOM2, &QPushButton::clicked, this, [] { standAloneLinks().Show(StandAloneDevice::IOModule2); });
    connect(cmdShowPorts, &QPushButton::clicked, this, [] { DefaultForm<SimCom>::get().show(); });
    connect(SliderXferTimer, &QSlider::valueChanged, this, &frmStatus::SliderXferTimer_Change);
}

void frmStatus::Form_Load()
{
    // Keys reach the simulator only while this window is out of its way.
    RunWindowMinimized = [self = QPointer(this)] { return self && self->isMinimized(); };
    showConfigurationName();
}

void frmStatus::showConfigurationName()
{
    BoxCurrentConfig->setText(FileNameText(Session.ConfigFileName));
}

void frmStatus::Form_Unload()
{
    RunWindowMinimized = nullptr;
    ProcessTimer_.stop();
    // Without ticks the datagrams are handled as they come again.
    if (DefaultForm<SimCom>::loaded())
        DefaultForm<SimCom>::get().ReceiveOnTicks(false);
    Timer1_.stop();
    WriteCmdDuringConfig_.stop();
    MSComm1_->close();
}

void frmStatus::showRunState()
{
    BoxRun->setText(Running == 1 ? QStringLiteral("Running") : QStringLiteral("Halted"));
    BoxRun->setStyleSheet(Running == 1 ? kRunningStyle : kHaltedStyle);
}

void frmStatus::installStopHook()
{
    DefaultForm<SimCom>::get().OnStopRun = stopTheRun;
}

// ---- Run and Stop ------------------------------------------------------------

void frmStatus::cmdRun_Click()
{
    if (Running == 0) {
        const QPointer<frmStatus> self(this);
        if (LeaveConfiguration)
            LeaveConfiguration();
        RunData.PollIndex = 0;
        StartRunOutput();
        showRunState();
        // The preparation has already shown what is wrong with each port;
        // the run says once that it starts without one.
        if (!OpenComPorts(PortFailures::Quiet))
            messages().ok(QString::fromLatin1(kRunPortError));
        if (!self)
            return;
        GaugeSendBuffer.clear();
        installStopHook();
        ProcessTimer_.start();
        RunData.ResetForRunStart();
        for (const LinkButton& link : linkButtons(*this)) {
            if (link.comPort > 0)
                standAloneLinks().cmdRun_Click(link.device);
        }
        DefaultForm<frmStatusYoke>::get().cmdRun_Click();
        DefaultForm<SimCom>::get().RunSimcom();
        DefaultForm<SimCom>::get().ReceiveOnTicks(true);
    }
    boxNrofOffsets->setText(QString::number(DefaultForm<SimCom>::get().NrOfOffsets));
}

void frmStatus::cmdStop_Click()
{
    if (Running != 1)
        return;
    StopRunOutput();
    DefaultForm<SimCom>::get().ReceiveOnTicks(false);
    DefaultForm<SimCom>::get().StopSimcom();
    ProcessTimer_.stop();
    showRunState();
    for (const LinkButton& link : linkButtons(*this)) {
        if (link.comPort > 0)
            standAloneLinks().cmdStop_Click(link.device);
    }
}

void frmStatus::CmdConfig_Click()
{
    cmdStop_Click();
    Session.ConfigFromStatus = 1;
    if (ShowConfigurationScreen)
        ShowConfigurationScreen();
    for (const LinkButton& link : linkButtons(*this))
        standAloneLinks().Unload(link.device);
    DefaultForm<frmStatusYoke>::unload();
    UnloadYokeWindows();
    DefaultForm<frmStatus>::unload();
    SimCom& link = DefaultForm<SimCom>::get();
    link.ClearPortList();
    link.NrOfOffsets = 0;
}

void frmStatus::cmdExit_Click()
{
    cmdStop_Click();
    CloseComPorts();
    DefaultForm<frmStatus>::unload();
    for (const LinkButton& link : linkButtons(*this))
        standAloneLinks().Unload(link.device);
    SimCom& link = DefaultForm<SimCom>::get();
    link.CommandStopAll();
    link.CloseSimCom();
    if (EndProgram)
        EndProgram();
    else
        QCoreApplication::quit();
}

// ---- Run preparation ---------------------------------------------------------

bool RunWindowPrepared()
{
    if (!DefaultForm<frmStatus>::loaded())
        return false;
    const frmStatus& run = DefaultForm<frmStatus>::get();
    return run.RunPrepared == 1 || run.Running == 1;
}

void frmStatus::Form_Activate()
{
    if (ProcessTimer_.isActive() || RunPrepared == 1)
        return;
    RunPrepared = 1;
    // Boxes of the steps below let events run, and anything may happen then.
    const QPointer<frmStatus> self(this);
    // Whichever way led here (the configuration screen's Close, the start
    // window's Continue or its autostart), what could change the tables
    // under the prepared run goes first.
    if (LeaveConfiguration)
        LeaveConfiguration();
    if (!self)
        return;
    installStopHook();
    prepareLinkWindows();
    prepareYokeWindow();
    prepareProcessInterval();
    OpenComPorts();
    if (!self)
        return;
    SimCom& link = DefaultForm<SimCom>::get();
    link.OpenSimCom();
    PrepareRunTables(link);
    if (!self)
        return;
    for (const LinkButton& link : linkButtons(*this)) {
        if (link.comPort > 0)
            standAloneLinks().OpenPorts(link.device);
    }
    PrepareBacklight();
    waitMs(0);
}

void frmStatus::prepareLinkWindows()
{
    // A link window needs nothing but loading to stay ready, hidden.
    for (const LinkButton& link : linkButtons(*this)) {
        if (link.comPort < 1)
            standAloneLinks().Unload(link.device);
        else
            standAloneLinks().Load(link.device);
        link.button->setVisible(link.comPort >= 1);
    }
}

void frmStatus::prepareYokeWindow()
{
    if (Cfg.ComPortYoke1() == 0 && Cfg.ComPortYoke2() == 0) {
        DefaultForm<frmStatusYoke>::unload();
        return;
    }
    frmStatusYoke& yokes = DefaultForm<frmStatusYoke>::get();
    // Shown and then minimized, a window new to the screen could stay on it:
    // a window manager may drop a minimize while it places the window.
    if (yokes.isVisible())
        yokes.minimize();
    else
        yokes.showMinimized();
}

void frmStatus::prepareProcessInterval()
{
    if (Cfg.ProcessTimerInterval <= 0)
        Cfg.ProcessTimerInterval = kDefaultProcessIntervalMs;
    BoxXferProcessTimer->setText(QString::number(Cfg.ProcessTimerInterval));
    // The slider shows the nearest position it has; the timer keeps the
    // stored interval even where the slider cannot show it.
    {
        const QSignalBlocker quiet(SliderXferTimer);
        SliderXferTimer->setValue(Cfg.ProcessTimerInterval);
    }
    ProcessTimer_.setInterval(Cfg.ProcessTimerInterval);
}

void frmStatus::SliderXferTimer_Change(int value)
{
    BoxXferProcessTimer->setText(QString::number(value));
    const Integer interval = Integer(BoxXferProcessTimer->text().toInt());
    // The interval is the configuration's: a load asks before it goes.
    if (interval != Cfg.ProcessTimerInterval)
        MarkStoredNotSaved(Session, windowTitle().toStdString());
    Cfg.ProcessTimerInterval = interval;
    ProcessTimer_.setInterval(Cfg.ProcessTimerInterval);
}

void frmStatus::Form_ConfigurationReplacing()
{
    if (const auto busy = configWriting_.enter(); busy && GaugeSendPending == 1)
        writeSingleFrame();
}

void frmStatus::Form_ConfigurationReplaced()
{
    showConfigurationName();
    // What the bus answered was another bus's once the loaded configuration
    // puts the gauge bus elsewhere: its gauges were never asked.
    const bool otherBus = MSComm1_->portNumber() != Cfg.ComPortGauges;
    GaugeBusPortFollowsConfiguration();
    if (otherBus)
        Session.GaugeRecBusStatus.fill(0);
}

// ---- Timers --------------------------------------------------------------------

void frmStatus::ProcessTimer_Timer()
{
    // The datagrams since the last tick, also while a tick waits behind a
    // box or the control unit is away: the other readers of the simulator
    // values go on.
    if (DefaultForm<SimCom>::loaded())
        DefaultForm<SimCom>::get().ReceiveWaiting();
    // While the control unit is away no tick runs: what changes meanwhile
    // is sent by the first tick after it is back, not lost with the ticks.
    if (const auto busy = processing_.enter(); busy && gaugeBusBack())
        loop_.Tick();
}

void frmStatus::Timer1_Timer()
{
    ticksPerSecond_ = loop_.ProcessTicks;
    loop_.ProcessTicks = 0;
    if (DefaultForm<SimCom>::loaded()) {
        SimCom& link = DefaultForm<SimCom>::get();
        packetsPerSecond_ = link.UDPPacketCount;
        link.UDPPacketCount = 0;
    }
    showRates();
    if (ECRecalCountdown < 1)
        ECMode = 0;
    else
        --ECRecalCountdown;
}

void frmStatus::showRates()
{
    if (!boxesSeen()) {
        boxesBehind_ = true;
        return;
    }
    showText(frmXferCount, QString::number(ticksPerSecond_));
    showText(boxUDPrate, QString::number(packetsPerSecond_));
}

int frmStatus::TicksPerBoxRefresh() const
{
    return std::max(1, kBoxRefreshMs / std::max(1, ProcessTimer_.interval()));
}

void frmStatus::ShowValueBoxes()
{
    // This step decides for the tick; the voltage and light boxes go with it.
    boxesThisTick_ = false;
    if (!boxesSeen() || ticksToBoxes_ > 0) {
        ticksToBoxes_ = std::max(ticksToBoxes_ - 1, 0);
        boxesBehind_ = true;
        return;
    }
    boxesThisTick_ = true;
    showValueBoxes();
}

void frmStatus::ShowVoltageAndLights()
{
    if (boxesThisTick_)
        showVoltageAndLights();
}

void frmStatus::showValueBoxes()
{
    ticksToBoxes_ = TicksPerBoxRefresh() - 1;
    const RunState& r = RunData;
    showText(boxBank, formatted(r.SimBank, 3, 2));
    showText(boxPitch, formatted(r.SimPitch, 3, 2));
    showText(BoxVS, formatted(r.SimVerticalSpeed, 0, 1));
    showText(BoxIAS, formatted(r.SimIAS, 0, 1));
    showText(BoxHea, formatted(r.SimHeading, 0, 2));
    showText(boxCompass, formatted(r.SimCompass, 0, 2));
    showText(boxAltitude, formatted(Instruments.SimAltitude, 1, 0));
    showText(BoxAirPressHg, formatted(r.SimAirPressureHg, 1, 2));
    showText(BoxAirPressmBar, formatted(r.SimAirPressureHg * kMillibarPerInchHg, 4, 0));
}

void frmStatus::showVoltageAndLights()
{
    showText(boxVoltage, formatted(RunData.SimVoltage1, 0, 2));
    showText(BoxInstrLights, onOff(RunData.SimInstrLights));
    showText(boxNavLights, onOff(RunData.SimNavLights));
}

bool frmStatus::boxesSeen() const
{
    return isVisible() && !isMinimized();
}

void frmStatus::catchUp()
{
    // The values of the latest tick and second: what the next ones would show.
    if (!boxesBehind_ || !boxesSeen())
        return;
    boxesBehind_ = false;
    showValueBoxes();
    showVoltageAndLights();
    showRates();
}

void frmStatus::changeEvent(QEvent* event)
{
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        catchUp();
}

void frmStatus::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    catchUp();
}

// ---- The send path -------------------------------------------------------------

void frmStatus::StartRunOutput()
{
    bus_.Reset();
    WriteCmdDuringConfig_.stop();
    if (GaugeSendPending == 1)
        writeSingleFrame();
    loop_.RunStarted();
    Running = 1;
}

void frmStatus::StopRunOutput()
{
    Running = 0;
    GaugeSendBuffer.clear();
    GaugeSendPending = 0;
    // Nothing of the run goes out behind the dialogs' single frames.
    loop_.RunStopped();
    WriteCmdDuringConfig_.start();
}

void frmStatus::FlushGaugeOutput()
{
    MSComm1_->discardInput();
    LineOutput& line = loop_.Line();
    // A tick with nothing to send asks the driver nothing either.
    if (!MSComm1_->isOpen() || line.WaitingUnits() == 0)
        return;
    // No more than the line carries until the next tick; the port's and the
    // driver's queues count against it, so nothing piles up in them.
    const int held = MSComm1_->bytesHeld();
    if (bus_.OutputStalled(held, ProcessTimer_.interval())) {
        gaugeBusLost(QString::fromLatin1(kOutputStalled));
        reportBusFault(bus_.Reason());
        return;
    }
    GaugeSendBuffer = line.Next(LineBytesPer(ProcessTimer_.interval()) - held);
    if (GaugeSendBuffer.isEmpty())
        return;
    if (MSComm1_->write(GaugeSendBuffer)) {
        // Only now are the values on their way; until then they wait.
        line.Handed();
        bus_.Written(GaugeSendBuffer, held + int(GaugeSendBuffer.size()));
    } else {
        gaugeBusLost(MSComm1_->errorString());
        reportBusFault(bus_.Reason());
    }
}

void frmStatus::gaugeBusLost(const QString& description)
{
    bus_.Lost(*MSComm1_, description);
}

bool frmStatus::gaugeBusBack()
{
    if (!bus_.IsLost())
        return true;
    // The loss is told at once, also when the device is back by now.
    if (!bus_.Reported()) {
        const QPointer<frmStatus> self(this);
        reportBusFault(bus_.Reason());
        if (!self || Running != 1)
            return false;
    }
    if (!gaugeBusPortReady())
        return false;
    bus_.Back(*MSComm1_);
    return !bus_.IsLost();
}

void frmStatus::reportBusFault(const QString& description)
{
    // One box per outage, not one per tick: the ticks after "Yes" go on
    // quietly until a write gets through again.
    if (!bus_.ReportDue())
        return;
    const bool goOn = messages().yesNo(
        DeviceLossQuestion(QStringLiteral("Error 13: An error has occured writing Data to Gauges"), description));
    if (!goOn)
        cmdStop_Click();
}

void frmStatus::MSComm1_OnComm()
{
    replies_.OnComm(*MSComm1_);
}

void frmStatus::WriteCmdDuringConfig_Timer()
{
    if (const auto busy = configWriting_.enter(); busy && GaugeSendPending == 1)
        writeSingleFrame();
}

void frmStatus::writeSingleFrame()
{
    // A frame that cannot be written is dropped, so that no sender keeps
    // waiting for a dead port.
    const QByteArray frame = GaugeSendBuffer.left(kSingleFrameBytes);
    GaugeSendPending = 0;
    if (gaugeBusPortReady()) {
        if (MSComm1_->write(frame)) {
            bus_.Reached();
            return;
        }
        gaugeBusLost(MSComm1_->errorString());
    }
    // A device that went away says so once, and then not until it has been
    // back: the dialogs' polls and the bus search go on meanwhile, quietly.
    if (bus_.IsLost() && bus_.ReportDue())
        messages().ok(ComPortErrorText(Cfg.ComPortGauges, bus_.Reason()));
}

bool frmStatus::gaugeBusPortReady()
{
    // Only the configured gauge-bus port: a port that was opened on another
    // number (a COM probe) is never written.
    return bus_.PortReady(*MSComm1_, Cfg.ComPortGauges, kGaugeReplyBytes);
}

} // namespace varnet

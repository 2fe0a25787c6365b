#include "app/mainconfigure.h"

#include "app/configscreen.h"
#include "app/configwindows.h"
#include "app/dispatch.h"
#include "app/listfunctions.h"
#include "app/saveconfig.h"
#include "app/tabstops.h"
#include "app/windowlinks.h"
#include "bus/deviceports.h"
#include "config/itemtext.h"
#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "iomodules/configiom.h"
#include "iomodules/testec.h"
#include "platform/messages.h"
#include "platform/serialport.h"
#include "platform/udp.h"
#include "yokes/yokewindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace varnet {

namespace {

constexpr int kSearchClockMs = 20;
constexpr int kSearchPollMs = 5;
constexpr int kProbedComPorts = 16;

// What a window manager's frame takes of the screen's width, about.
constexpr int kWindowFrameAllowance = 16;

// A COM-port list read again each time it opens: a port linked or plugged
// in while the screen is open is offered at once.
class ComPortCombo final : public QComboBox {
public:
    ComPortCombo(QWidget* parent, std::function<void()> refill) : QComboBox(parent), refill_(std::move(refill)) {}
    void showPopup() override
    {
        refill_();
        QComboBox::showPopup();
    }

private:
    std::function<void()> refill_;
};

QPushButton* button(const char* objectName, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(objectName));
    return b;
}

QLineEdit* textBox(const char* objectName, const char* text, QWidget* parent)
{
    auto* box = new QLineEdit(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(objectName));
    return box;
}

QGroupBox* frame(const char* caption, QWidget* parent)
{
    return new QGroupBox(QString::fromLatin1(caption), parent);
}

QString fromLatin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// The columns of a gauge-list line, as the list draws them.
QStringList gaugeListColumns(const QString& line)
{
    QStringList columns;
    for (const std::string& column : GaugeListColumns(line.toLatin1().toStdString()))
        columns << fromLatin1(column);
    return columns;
}

// True when one of the four device ports is open on `number`: the number
// is there, and probing it would only disturb the link.
bool devicePortOpenOn(int number)
{
    const auto openOn = [number](SerialPort& port) { return port.isOpen() && port.portNumber() == number; };
    if (DefaultForm<frmStatus>::loaded() && openOn(DefaultForm<frmStatus>::get().MSComm1()))
        return true;
    for (StandAloneDevice device :
         {StandAloneDevice::EngineCluster, StandAloneDevice::IOModule1, StandAloneDevice::IOModule2}) {
        if (standAloneLinks().Loaded(device) && openOn(standAloneLinks().MSComm1(device)))
            return true;
    }
    return false;
}

// The port object of the device whose number `port` is.
SerialPort& devicePort(Integer ConfigTables::*port)
{
    if (port == &ConfigTables::ComPortGauges)
        return DefaultForm<frmStatus>::get().MSComm1();
    return standAloneLinks().MSComm1(port == &ConfigTables::ComPortEC    ? StandAloneDevice::EngineCluster
                                     : port == &ConfigTables::ComPortIOM ? StandAloneDevice::IOModule1
                                                                         : StandAloneDevice::IOModule2);
}

// The COM numbers 1..16 that can be opened. Each is tried on a port object
// of its own, so the device ports keep their numbers and their state.
std::vector<int> availableComPorts()
{
    std::vector<int> numbers;
    for (int n = 1; n <= kProbedComPorts; ++n) {
        if (devicePortOpenOn(n)) {
            numbers.push_back(n);
            continue;
        }
        const std::unique_ptr<SerialPort> probe = createSerialPort();
        probe->setPortNumber(n);
        if (probe->open()) {
            numbers.push_back(n);
            probe->close();
        }
    }
    return numbers;
}

} // namespace

FrmMainConfigure::FrmMainConfigure()
{
    setObjectName(QStringLiteral("FrmMainConfigure"));
    setWindowTitle(QStringLiteral("Varnet Configuration"));
    buildControls();

    Timer1.setParent(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(kSearchClockMs);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &FrmMainConfigure::Timer1_Timer);
    SearchPoll.setParent(this);
    SearchPoll.setObjectName(QStringLiteral("SearchPoll"));
    SearchPoll.setInterval(kSearchPollMs);
    SearchPoll.setTimerType(Qt::PreciseTimer);
    connect(&SearchPoll, &QTimer::timeout, this, [this] { search_.poll(); });

    search_.asking = [this](int gaugeID) { ProgressBar1->setValue(gaugeID); };
    // A line of the search stands in the columns as the full lines do.
    search_.answered = [this](const std::string& line) {
        Configlist->addItem(fromLatin1(line));
        columns_->lay();
    };
    search_.finished = [this] { searchFinished(); };
    search_.stored = [this] { markStored(); };
}

void FrmMainConfigure::buildControls()
{
    // --- COM ports of the four devices.
    auto* comFrame = frame("Communication Settings (ComPort)", this);
    comFrame->setToolTip(QStringLiteral("Set the COM port numbers (USB serial ports) of the devices; "
                                        "select \"0\" for a device that is not used"));
    auto* comLayout = new QGridLayout(comFrame);
    comLayout->addWidget(new QLabel(QStringLiteral("Current"), comFrame), 0, 1);
    comLayout->addWidget(new QLabel(QStringLiteral("Set to:"), comFrame), 0, 2);
    struct RowNames {
        const char* caption;
        const char* current;
        const char* combo;
        const char* set;
        Integer ConfigTables::*port;
    };
    const RowNames names[4] = {
        {"Varnet Control Unit :", "BoxCurrentComVarnet", "ComboComVarnet", "cmdSetCommport",
         &ConfigTables::ComPortGauges},
        {"Engine Cluster:", "BoxCurrentComEC", "ComboComEC", "cmdSetCommportEC", &ConfigTables::ComPortEC},
        {"Stand Alone IO Mod. 1:", "BoxCurrentComIOM", "ComboCOMIOM", "cmdSetCommportIOM", &ConfigTables::ComPortIOM},
        {"Stand Alone IO Mod. 2:", "BoxCurrentComIOM2", "ComboComiOM2", "cmdSetCommportIOM2",
         &ConfigTables::ComPortIOM2},
    };
    for (int i = 0; i < 4; ++i) {
        DeviceRow& row = rows_[std::size_t(i)];
        row.port = names[i].port;
        row.current = textBox(names[i].current, "0", comFrame);
        row.current->setReadOnly(true);
        row.combo = new ComPortCombo(comFrame, [this, i] { refillComList(rows_[std::size_t(i)].combo); });
        row.combo->setObjectName(QString::fromLatin1(names[i].combo));
        row.combo->setEditable(true);
        row.combo->setInsertPolicy(QComboBox::NoInsert);
        row.setButton = button(names[i].set, "<--", comFrame);
        comLayout->addWidget(new QLabel(QString::fromLatin1(names[i].caption), comFrame), i + 1, 0);
        comLayout->addWidget(row.current, i + 1, 1);
        comLayout->addWidget(row.combo, i + 1, 2);
        comLayout->addWidget(row.setButton, i + 1, 3);
        connect(row.setButton, &QPushButton::clicked, this, [this, i] { setComPort(rows_[std::size_t(i)]); });
    }

    // --- X-Plane UDP link.
    auto* udpFrame = frame("X-Plane Communication", this);
    udpFrame->setToolTip(QStringLiteral("For use on this PC the IP is 127.0.0.1 and the local port anything "
                                        "but 49000.\nThe set button stores the settings; the link takes them up whenever it is "
                                        "opened next: by a run's preparation or a test."));
    boxRemoteIP = textBox("boxRemoteIP", "127.000.000.001", udpFrame);
    boxRemoteIP->setMaxLength(int(kMaxItemLength));  // what the file reads back
    boxRemotePort = textBox("boxRemotePort", "49000", udpFrame);
    boxLocalPort = textBox("boxLocalPort", "49003", udpFrame);
    auto* byteOrder = frame("Byte Order ", udpFrame);
    OptionByteOrderNormal = new QRadioButton(QStringLiteral("Normal"), byteOrder);
    OptionByteOrderNormal->setObjectName(QStringLiteral("OptionByteOrderNormal"));
    OptionByteOrderReverse = new QRadioButton(QStringLiteral("Reverse"), byteOrder);
    OptionByteOrderReverse->setObjectName(QStringLiteral("OptionByteOrderReverse"));
    auto* byteOrderLayout = new QHBoxLayout(byteOrder);
    byteOrderLayout->addWidget(OptionByteOrderNormal);
    byteOrderLayout->addWidget(OptionByteOrderReverse);
    CheckBlockUsel = new QCheckBox(QStringLiteral("No USEL"), udpFrame);
    CheckBlockUsel->setObjectName(QStringLiteral("CheckBlockUsel"));
    CheckBlockUsel->setToolTip(QStringLiteral("If checked the Control Program will NOT close data input/output "
                                              "channels. Set in case other add-ons are used."));
    QPushButton* cmdSetUDP = button("cmdSetUDP", "set", udpFrame);
    auto* udpLayout = new QGridLayout(udpFrame);
    udpLayout->addWidget(new QLabel(QStringLiteral("Remote IP:"), udpFrame), 0, 0);
    udpLayout->addWidget(boxRemoteIP, 0, 1);
    udpLayout->addWidget(new QLabel(QStringLiteral("Port:"), udpFrame), 1, 0);
    udpLayout->addWidget(boxRemotePort, 1, 1);
    udpLayout->addWidget(new QLabel(QStringLiteral(" Local Port:"), udpFrame), 2, 0);
    udpLayout->addWidget(boxLocalPort, 2, 1);
    udpLayout->addWidget(byteOrder, 3, 0, 1, 2);
    udpLayout->addWidget(CheckBlockUsel, 4, 0);
    udpLayout->addWidget(cmdSetUDP, 4, 1);
    connect(cmdSetUDP, &QPushButton::clicked, this, &FrmMainConfigure::cmdSetUDP_Click);

    // --- Process interval and backlight.
    auto* genericFrame = frame("Generic Settings", this);
    SliderXferTtimerProcess = new QSlider(Qt::Horizontal, genericFrame);
    SliderXferTtimerProcess->setObjectName(QStringLiteral("SliderXferTtimerProcess"));
    SliderXferTtimerProcess->setRange(kMinProcessInterval, kMaxProcessInterval);
    SliderXferTtimerProcess->setSingleStep(1);
    SliderXferTtimerProcess->setPageStep(5);
    SliderXferTtimerProcess->setValue(kDefaultProcessInterval);
    SliderXferTtimerProcess->setTracking(true);
    BoxXferTimerProcess = textBox("BoxXferTimerProcess", "40", genericFrame);
    ComboLights = new QComboBox(genericFrame);
    ComboLights->setObjectName(QStringLiteral("ComboLights"));
    for (const LightsChoice& choice : kLightsChoices)
        ComboLights->addItem(QString::fromLatin1(choice.text));
    ComboLights->setCurrentIndex(-1);
    auto* genericLayout = new QGridLayout(genericFrame);
    genericLayout->addWidget(new QLabel(QStringLiteral("Process Interval"), genericFrame), 0, 0);
    genericLayout->addWidget(SliderXferTtimerProcess, 0, 1);
    genericLayout->addWidget(BoxXferTimerProcess, 0, 2);
    genericLayout->addWidget(new QLabel(QStringLiteral("Gauge Lights Switch: "), genericFrame), 1, 0);
    genericLayout->addWidget(ComboLights, 1, 1, 1, 2);
    connect(SliderXferTtimerProcess, &QSlider::valueChanged, this, &FrmMainConfigure::SliderXferTtimerProcess_Change);
    connect(BoxXferTimerProcess, &QLineEdit::editingFinished, this, &FrmMainConfigure::BoxXferTimerProcess_Change);
    connect(ComboLights, &QComboBox::currentIndexChanged, this, &FrmMainConfigure::ComboLights_Click);

    auto* fileFrame = frame("Current Configuration File", this);
    CurrentConfigFile = textBox("CurrentConfigFile", "", fileFrame);
    CurrentConfigFile->setReadOnly(true);
    (new QVBoxLayout(fileFrame))->addWidget(CurrentConfigFile);

    // --- The gauge list and the bus search.
    auto* listFrame = frame("Currrent Configuraton ", this);
    auto* listHeader = new QWidget(listFrame);
    Configlist = new QListWidget(listFrame);
    Configlist->setObjectName(QStringLiteral("Configlist"));
    Configlist->setToolTip(QStringLiteral("Click on module to configure"));
    std::vector<CaptionedColumns::Column> columns;
    for (std::size_t i = 0; i < std::size(kGaugeListCaptions); ++i)
        columns.push_back({kGaugeListCaptions[i], kGaugeListCaptionStops[i]});
    columns_ = new CaptionedColumns(Configlist, listHeader, std::move(columns), gaugeListColumns);
    // The connection status may change with the next search.
    QStringList statuses;
    for (const char* status : kBusStatusTexts)
        statuses << QString::fromLatin1(status);
    columns_->alsoFit(std::size(kGaugeListCaptions) - 1, statuses);
    ProgressBar1 = new QProgressBar(listFrame);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, kLastBusGaugeID);
    ProgressBar1->setValue(0);
    QPushButton* CmdSet250 = button("CmdSet250", "->250", listFrame);
    auto* progress = new QHBoxLayout;
    progress->addWidget(new QLabel(QStringLiteral("Search Progress"), listFrame));
    progress->addWidget(ProgressBar1, 1);
    progress->addWidget(CmdSet250);
    auto* listLayout = new QVBoxLayout(listFrame);
    listLayout->addWidget(listHeader);
    listLayout->addWidget(Configlist, 1);
    listLayout->addLayout(progress);
    connect(Configlist, &QListWidget::itemClicked, this, &FrmMainConfigure::Configlist_Click);
    connect(CmdSet250, &QPushButton::clicked, this, &FrmMainConfigure::CmdSet250_Click);

    // --- Actions.
    auto* actionsFrame = frame("Actions", this);
    Cmdsearch = button("Cmdsearch", "Search/Check connected units", actionsFrame);
    QPushButton* CmdConfig = button("CmdConfig", "List available functions", actionsFrame);
    QPushButton* cmdGetOffset = button("cmdGetOffset", "Create Functions from X-Plane Data", actionsFrame);
    QPushButton* cmdClearConfig = button("cmdClearConfig", "Clear Configuration", actionsFrame);
    QPushButton* CmdSaveConfig = button("CmdSaveConfig", "Save / Load Configuration", actionsFrame);
    QPushButton* cmdStartTest = button("cmdStartTest", "Test Gauges", actionsFrame);
    QPushButton* cmdTestXplaneInterface = button("cmdTestXplaneInterface", "Test Interface XP", actionsFrame);
    auto* actionsLayout = new QVBoxLayout(actionsFrame);
    for (QPushButton* b : {Cmdsearch, CmdConfig, cmdGetOffset, cmdClearConfig, CmdSaveConfig, cmdStartTest,
                           cmdTestXplaneInterface})
        actionsLayout->addWidget(b);
    connect(Cmdsearch, &QPushButton::clicked, this, &FrmMainConfigure::Cmdsearch_Click);
    connect(CmdConfig, &QPushButton::clicked, this, [] { DefaultForm<frmListFunctions>::get().show(); });
    connect(cmdGetOffset, &QPushButton::clicked, this, [] { ShowFunctionEditor(); });
    connect(cmdClearConfig, &QPushButton::clicked, this, &FrmMainConfigure::cmdClearConfig_Click);
    connect(CmdSaveConfig, &QPushButton::clicked, this, [] { DefaultForm<SaveConfig>::get().show(); });
    connect(cmdStartTest, &QPushButton::clicked, this, [] { ShowGaugeTestWindow(); });
    connect(cmdTestXplaneInterface, &QPushButton::clicked, this, [] { ShowUDPTestWindow(); });

    // --- Stand-alone units.
    auto* unitsFrame = frame("Configure and Test Stand Alone Units", this);
    rows_[0].deviceButton = Cmdsearch;
    rows_[1].deviceButton = button("cmdGotoEC", " Engine Cluster", unitsFrame);
    rows_[2].deviceButton = button("cmdGotoIOM", "Input/Output  Module 1", unitsFrame);
    rows_[3].deviceButton = button("cmdGotoIOM2", "Input/Output  Module 2", unitsFrame);
    QPushButton* cmdGotoFFB = button("cmdGotoFFB", "Force Feedback Yoke", unitsFrame);
    auto* unitsLayout = new QVBoxLayout(unitsFrame);
    for (QPushButton* b : {rows_[1].deviceButton, rows_[2].deviceButton, rows_[3].deviceButton, cmdGotoFFB})
        unitsLayout->addWidget(b);
    connect(rows_[1].deviceButton, &QPushButton::clicked, this, &FrmMainConfigure::cmdGotoEC_Click);
    connect(rows_[2].deviceButton, &QPushButton::clicked, this, [this] { openIOModuleWindow(kStandAloneIOM1); });
    connect(rows_[3].deviceButton, &QPushButton::clicked, this, [this] { openIOModuleWindow(kStandAloneIOM2); });
    connect(cmdGotoFFB, &QPushButton::clicked, this, [] { DefaultForm<FrmConfigureYokes>::get().show(); });

    QPushButton* Command1 = button("Command1", "Close", this);
    connect(Command1, &QPushButton::clicked, this, &FrmMainConfigure::Command1_Click);

    auto* settings = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(comFrame), static_cast<QWidget*>(udpFrame),
                       static_cast<QWidget*>(genericFrame), static_cast<QWidget*>(fileFrame)})
        settings->addWidget(w);
    settings->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(actionsFrame);
    buttons->addWidget(unitsFrame);
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(listFrame, 1);
    layout->addLayout(buttons);
    resize(1280, 640);
}

void FrmMainConfigure::Form_Load()
{
    columns_->lay();
    fitColumns();
    Timer1.start();
}

// The screen shows every column, the connection status (the last one)
// included, with room for the scroll bar; it grows for wider columns while
// the screen has room. On a screen too narrow for that, the window keeps to
// the screen and the list scrolls sideways, its captions with it.
void FrmMainConfigure::fitColumns()
{
    fittedLineWidth_ = columns_->lineWidth();
    const int allColumns =
        fittedLineWidth_ + 2 * Configlist->frameWidth() + Configlist->verticalScrollBar()->sizeHint().width();
    // Before the window shows, a new minimum does not travel up the layouts
    // by itself.
    const auto listAtLeast = [this](int width) {
        Configlist->setMinimumWidth(width);
        QWidget* frame = Configlist->parentWidget();
        frame->layout()->invalidate();
        frame->updateGeometry();
        contents().layout()->invalidate();
        contents().layout()->activate();
    };
    listAtLeast(allColumns);
    const int besideList = contents().minimumSizeHint().width() - allColumns;
    const int room = screen()->availableGeometry().width() - kWindowFrameAllowance - besideList;
    if (room < allColumns) {
        listAtLeast(std::max(room, allColumns / 2));
        resize(room + besideList, height());
    }
}

void FrmMainConfigure::refillComList(QComboBox* combo)
{
    const QString shown = combo->currentText();
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItem(QStringLiteral("0"));
    for (int n : availableComPorts())
        combo->addItem(QString::number(n));
    const int again = combo->findText(shown);
    if (again >= 0)
        combo->setCurrentIndex(again);
    else
        combo->setEditText(shown);
}

void FrmMainConfigure::Form_Unload()
{
    stopSearch();
}

void FrmMainConfigure::stopSearch()
{
    search_.stop();
    Timer1.stop();
    SearchPoll.stop();
    Configlist->setEnabled(true);
}

void FrmMainConfigure::Form_ConfigurationReplacing()
{
    // The search asks the replaced configuration's bus and stores what it
    // answers into the tables in memory: it ends, as at the screen's Close,
    // and the screen shows the loaded configuration at once.
    stopSearch();
}

void FrmMainConfigure::markStored()
{
    MarkStoredNotSaved(Session, windowTitle().toStdString());
}

void FrmMainConfigure::Form_Activate()
{
    // The list holds the search's lines until it ends; its end rebuilds.
    if (search_.scanning())
        return;

    const std::vector<int> available = availableComPorts();
    for (DeviceRow& row : rows_) {
        const QSignalBlocker blocker(row.combo);
        row.combo->clear();
        row.combo->addItem(QStringLiteral("0"));
        for (int n : available)
            row.combo->addItem(QString::number(n));
        row.combo->setCurrentIndex(0);
        row.current->setText(QStringLiteral("0"));
    }
    LoadConstantTables(Cfg);
    for (DeviceRow& row : rows_) {
        const int port = Cfg.*row.port;
        row.deviceButton->setEnabled(port >= 1);
        if (port >= 1)
            row.current->setText(QString::number(port));
    }
    CurrentConfigFile->setText(FileNameText(Session.ConfigFileName));

    // The choice goes through its handler as the user's choice would, also
    // when the combo already shows it: a stored mode 0 with mask 0 becomes
    // the instrument-lights mask 32.
    if (const std::optional<int> choice = LightsChoiceFor(Cfg.LightsMode, Cfg.LightsMask)) {
        if (ComboLights->currentIndex() == *choice)
            ComboLights_Click(*choice);
        else
            ComboLights->setCurrentIndex(*choice);
    }

    Configlist->clear();
    for (const std::string& line : GaugeListLines(Cfg, Session))
        Configlist->addItem(fromLatin1(line));
    columns_->lay();
    if (columns_->lineWidth() != fittedLineWidth_)
        fitColumns();

    {
        // Showing the stored interval is no edit of it; a value off the
        // slider's scale stays stored as it is.
        const QSignalBlocker blocker(SliderXferTtimerProcess);
        if (Cfg.ProcessTimerInterval != 0) {
            SliderXferTtimerProcess->setValue(Cfg.ProcessTimerInterval);
            BoxXferTimerProcess->setText(QString::number(Cfg.ProcessTimerInterval));
        } else {
            SliderXferTtimerProcess->setValue(kDefaultProcessInterval);
        }
    }

    boxRemoteIP->setText(fromLatin1(Cfg.RemoteIP));
    boxRemotePort->setText(fromLatin1(Cfg.RemotePort));
    boxLocalPort->setText(fromLatin1(Cfg.LocalPort));
    (Cfg.ByteOrderReverse != 0 ? OptionByteOrderReverse : OptionByteOrderNormal)->setChecked(true);
    CheckBlockUsel->setChecked(Cfg.BlockUsel != 0);
}

void FrmMainConfigure::setComPort(DeviceRow& row)
{
    const NumberInput port = ReadComPort(row.combo->currentText());
    if (!port.value) {
        messages().ok(port.rule);
        return;
    }
    const Integer previous = Cfg.*row.port;
    Cfg.*row.port = Integer(*port.value);

    // Opening and closing may show boxes, during which the screen can be
    // closed.
    const QPointer<FrmMainConfigure> self(this);
    const bool standAlone = row.deviceButton != Cmdsearch;
    if (*port.value != 0)
        OpenComPorts();
    else
        CloseComPorts();
    if (!self)
        return;
    // A port that did not open is not taken (its box named it): the row
    // keeps the port it had, open again, and its button stays as it was.
    if (*port.value != 0 && !devicePort(row.port).isOpen()) {
        Cfg.*row.port = previous;
        if (previous != 0)
            OpenComPorts(PortFailures::Quiet);
        if (self)
            Form_Activate();
        return;
    }
    row.current->setText(QString::number(*port.value));
    // A new port is an edit like any other: Close and Continue must not
    // drop it without asking.
    if (previous != *port.value)
        Session.ConfigChanged = 1;
    if (standAlone)
        row.deviceButton->setEnabled(*port.value != 0);
    Form_Activate();
}

void FrmMainConfigure::cmdSetUDP_Click()
{
    // Checked as the link will read it when a run opens it: an address it
    // cannot send to is refused here, not found out by a silent run.
    const std::string remoteIP = ConfigText(boxRemoteIP->text());
    if (!RemoteAddress(QString::fromLatin1(remoteIP))) {
        RefuseTyped(*boxRemoteIP, QString::fromLatin1(kRemoteAddressRule));
        return;
    }
    const NumberInput remotePort = ReadUdpPort(boxRemotePort->text());
    const NumberInput localPort = ReadUdpPort(boxLocalPort->text());
    for (const auto& [input, box] : {std::pair{&remotePort, boxRemotePort}, std::pair{&localPort, boxLocalPort}}) {
        if (!input->value) {
            RefuseTyped(*box, input->rule);
            return;
        }
    }
    const auto settings = [] {
        return std::tuple(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort, Cfg.ByteOrderReverse, Cfg.BlockUsel);
    };
    const auto before = settings();
    Cfg.RemoteIP = remoteIP;
    Cfg.RemotePort = std::to_string(*remotePort.value);
    Cfg.LocalPort = std::to_string(*localPort.value);
    Cfg.ByteOrderReverse = OptionByteOrderNormal->isChecked() ? 0 : 1;
    Cfg.BlockUsel = CheckBlockUsel->isChecked() ? 1 : 0;
    if (settings() != before)
        markStored();
}

void FrmMainConfigure::Form_ConfigurationSaved()
{
    CurrentConfigFile->setText(FileNameText(Session.ConfigFileName));
}

void FrmMainConfigure::ComboLights_Click(int index)
{
    if (index >= 0)
        ApplyLightsChoice(Cfg, Session, index);
}

void FrmMainConfigure::SliderXferTtimerProcess_Change(int value)
{
    BoxXferTimerProcess->setText(QString::number(value));
    if (Cfg.ProcessTimerInterval != value)
        markStored();
    Cfg.ProcessTimerInterval = Integer(value);
}

void FrmMainConfigure::BoxXferTimerProcess_Change()
{
    // Return and the focus leaving both end an edit; only a typed change
    // counts, once.
    if (!BoxXferTimerProcess->isModified())
        return;
    BoxXferTimerProcess->setModified(false);
    const NumberInput interval = ReadProcessInterval(BoxXferTimerProcess->text());
    if (!interval.value) {
        messages().ok(interval.rule);
        const int shown = Cfg.ProcessTimerInterval != 0 ? Cfg.ProcessTimerInterval : SliderXferTtimerProcess->value();
        BoxXferTimerProcess->setText(QString::number(shown));
        return;
    }
    const QSignalBlocker blocker(SliderXferTtimerProcess);
    SliderXferTtimerProcess->setValue(*interval.value);
    SliderXferTtimerProcess_Change(*interval.value);
}

void FrmMainConfigure::cmdClearConfig_Click()
{
    if (!messages().yesNoDefaultNo(QStringLiteral("This will clear all gauge assignments and settings!\r\nContinue anyway?")))
        return;
    ClearGaugeAssignments(Cfg);
    markStored();
    Form_Activate();
}

void FrmMainConfigure::Command1_Click()
{
    const QPointer<FrmMainConfigure> self(this);
    if (Session.ConfigChanged != 0) {
        const bool goOn = messages().yesNoDefaultNo(QString::fromLatin1(kUnsavedQuestion));
        if (!self || !goOn)
            return;
    }
    // The windows opened from here close with the screen: left open, they
    // would change the tables under the run prepared next, or open the
    // screen again beside it. Each asks first what its own Close asks. The
    // start window stays when the screen goes back to it.
    const std::initializer_list<const Form*> staying{this, LoadedStartWindow()};
    if (!ConfigurationWindowsMayClose(staying) || !self)
        return;
    stopSearch();
    CloseConfigurationWindows(staying);
    CloseComPorts();
    if (Session.ConfigFromStatus == 0) {
        ShowStartWindow();
        DefaultForm<FrmMainConfigure>::unload();
        return;
    }
    // The run window was made anew when the screen opened from it. Shown
    // while the screen is still up, it opens over it, frame on frame. It is
    // prepared at once, which closes the start window beside the screen,
    // rather than when a window manager gets round to activating it.
    frmStatus& run = DefaultForm<frmStatus>::get();
    run.show();
    DefaultForm<FrmMainConfigure>::unload();
    run.Form_Activate();
}

void FrmMainConfigure::Cmdsearch_Click()
{
    if (search_.scanning())
        return;
    // Opening the ports may show a box, whose event loop could take a
    // second click.
    const BusyFlag::Scope starting = startingSearch_.enter();
    if (!starting)
        return;
    const QPointer<FrmMainConfigure> self(this);
    OpenComPorts();
    if (!self)
        return;
    // The run window's configuration timer sends the frames.
    DefaultForm<frmStatus>::get();
    Configlist->clear();
    Configlist->setEnabled(false);
    Cmdsearch->setEnabled(false);
    Timer1.start();
    SearchPoll.start();
    search_.start();
}

void FrmMainConfigure::CmdSet250_Click()
{
    search_.skipTo250();
}

void FrmMainConfigure::Timer1_Timer()
{
    search_.tick();
    search_.poll();
}

void FrmMainConfigure::searchFinished()
{
    Timer1.stop();
    SearchPoll.stop();
    Configlist->setEnabled(true);
    Form_Activate();
}

void FrmMainConfigure::Configlist_Click(QListWidgetItem* item)
{
    if (!item || search_.scanning())
        return;
    const int gaugeID = GaugeIDOfLine(item->text().toLatin1().toStdString());
    const QPointer<FrmMainConfigure> self(this);
    OpenComPorts();
    if (!self)
        return;
    OpenGaugeDialog(gaugeID);
}

void FrmMainConfigure::cmdGotoEC_Click()
{
    OpenComPorts();
    standAloneLinks().Load(StandAloneDevice::EngineCluster);
    DefaultForm<frmTestEC>::get().show();
}

void FrmMainConfigure::openIOModuleWindow(int gaugeID)
{
    CurrentGaugeID = Integer(gaugeID);
    standAloneLinks().Load(gaugeID == kStandAloneIOM1 ? StandAloneDevice::IOModule1 : StandAloneDevice::IOModule2);
    ConfigIOM::Open();
}

} // namespace varnet

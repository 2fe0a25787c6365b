#include "yokes/yokewindows.h"

#include "platform/controls.h"
#include "platform/messages.h"
#include "simlink/simcom.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace varnet {

namespace {

constexpr int kYokeReplyBytes = 25;

QLineEdit* statusBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

void showRunning(QLineEdit* box, bool running)
{
    box->setText(running ? "Running" : "Halted");
    box->setStyleSheet(running ? "background-color: rgb(255, 0, 0);" : "background-color: rgb(0, 192, 0);");
}

} // namespace

frmStatusYoke::frmStatusYoke()
{
    setWindowTitle("Force Feedback Yoke Status");
    auto* layout = new QVBoxLayout(this);
    BoxRun = statusBox(this, "BoxRun", QString());
    showRunning(BoxRun, false);
    cmdShowYoke1 = button("cmdShowYoke1", "Yoke 1", this);
    cmdShowYoke2 = button("cmdShowYoke2", "Yoke 2", this);
    cmdExit = button("cmdExit", "Exit", this);
    layout->addWidget(BoxRun);
    auto* yokes = new QHBoxLayout;
    yokes->addWidget(cmdShowYoke1);
    yokes->addWidget(cmdShowYoke2);
    layout->addLayout(yokes);
    layout->addWidget(cmdExit);
    // Wide enough for the title bar to name the window.
    setMinimumWidth(TitleBarWidth(*this));
    connect(cmdShowYoke1, &QPushButton::clicked, this, [] { DefaultForm<frmConfigY1>::get().show(); });
    connect(cmdShowYoke2, &QPushButton::clicked, this, [] { DefaultForm<frmConfigY2>::get().show(); });
    connect(cmdExit, &QPushButton::clicked, this, [] {
        if (ExitProgram)
            ExitProgram();
    });
}

void frmStatusYoke::showEvent(QShowEvent* event)
{
    // The configuration may have changed since the window was last shown.
    cmdShowYoke1->setEnabled(Cfg.ComPortYoke1() != 0);
    cmdShowYoke2->setEnabled(Cfg.ComPortYoke2() != 0);
    Form::showEvent(event);
}

void frmStatusYoke::Form_Activate()
{
    DefaultForm<SimCom>::get().OpenUDP();
}

void frmStatusYoke::cmdRun_Click()
{
    if (Cfg.ComPortYoke1() != 0)
        DefaultForm<frmConfigY1>::get().cmdRun_Click();
    if (Cfg.ComPortYoke2() != 0)
        DefaultForm<frmConfigY2>::get().cmdRun_Click();
    showRunning(BoxRun, true);
}

YokeWindow::YokeWindow(int yoke) : yoke_(yoke), MSComm1_(createSerialPort())
{
    setWindowTitle(QString("Yoke %1").arg(yoke));
    auto* layout = new QVBoxLayout(this);
    BoxStatus = statusBox(this, "BoxStatus", QString());
    showRunning(BoxStatus, false);
    CmdSaveConfig = button("CmdSaveConfig", "Save / Load Configuration", this);
    layout->addWidget(BoxStatus);
    layout->addWidget(CmdSaveConfig);
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    connect(CmdSaveConfig, &QPushButton::clicked, this, [] {
        if (ShowSaveWindow)
            ShowSaveWindow();
    });
    // Nothing gives what a yoke sends a meaning: each unit is taken and
    // dropped, so the port holds less than one.
    connect(MSComm1_.get(), &SerialPort::received, this, [this] { MSComm1_->readInput(); });
}

YokeWindow::~YokeWindow() = default;

int YokeWindow::portNumber() const
{
    return yoke_ == 1 ? Cfg.ComPortYoke1() : Cfg.ComPortYoke2();
}

void YokeWindow::openPort(int number)
{
    MSComm1_->setPortNumber(number);
    MSComm1_->setReceiveThreshold(kYokeReplyBytes);
    MSComm1_->setInputLength(kYokeReplyBytes);
    if (!MSComm1_->open())
        // The device is named: which one a COM number means is this
        // program's own convention.
        messages().ok(QString("Yoke %1: COM port %2 (%3) cannot be opened: %4")
                          .arg(yoke_)
                          .arg(number)
                          .arg(resolveComPort(number), MSComm1_->errorString()));
}

void YokeWindow::cmdRun_Click()
{
    const int number = portNumber();
    if (!MSComm1_->isOpen() && number > 0)
        openPort(number);
    DefaultForm<SimCom>::get().OpenSimcomYoke();
    running_ = true;
    showRunning(BoxStatus, true);
}

void YokeWindow::Form_ConfigurationReplaced()
{
    const int number = portNumber();
    FollowPortNumber(*MSComm1_, number, [this, number] { openPort(number); });
}

void YokeWindow::Form_Unload()
{
    running_ = false;
    MSComm1_->close();
}

void UnloadYokeWindows()
{
    DefaultForm<frmConfigY1>::unload();
    DefaultForm<frmConfigY2>::unload();
}

FrmConfigureYokes::FrmConfigureYokes()
{
    setObjectName("FrmConfigureYokes");
    setWindowTitle("Configure Force Feedback Yokes");
    auto* layout = new QVBoxLayout(this);
    auto* purpose = new QLabel("The force-feedback yokes: their COM ports and modes, the airspeed force curves, "
                               "master and slave, rudder pedals and toe brakes, switch functions and calibration.",
                               this);
    auto* where = new QLabel("This window does not edit them yet: they are made in the configuration file "
                             "(\"*.cfg\"), sections \"General FFB Yoke\" to \"Force Curves\", and loaded with it.",
                             this);
    for (QLabel* text : {purpose, where}) {
        text->setWordWrap(true);
        layout->addWidget(text);
    }
    auto* cmdTestXplaneInterface = button("cmdTestXplaneInterface", "Test Interface XP", this);
    auto* cmdClose = button("cmdClose", "Close", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdTestXplaneInterface);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    connect(cmdTestXplaneInterface, &QPushButton::clicked, this, [] {
        if (ShowUDPTestWindow)
            ShowUDPTestWindow();
    });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // Wide enough for the text to read as lines, not as a column.
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);
}

} // namespace varnet

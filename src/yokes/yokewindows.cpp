#include "yokes/yokewindows.h"

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
    cmdExit = new QPushButton("Exit", this);
    cmdExit->setObjectName("cmdExit");
    layout->addWidget(BoxRun);
    layout->addWidget(cmdExit);
    connect(cmdExit, &QPushButton::clicked, this, [] {
        if (ExitProgram)
            ExitProgram();
    });
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
    layout->addWidget(BoxStatus);
}

YokeWindow::~YokeWindow() = default;

void YokeWindow::cmdRun_Click()
{
    const int number = yoke_ == 1 ? Cfg.ComPortYoke1() : Cfg.ComPortYoke2();
    if (!MSComm1_->isOpen() && number > 0) {
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
    DefaultForm<SimCom>::get().OpenSimcomYoke();
    running_ = true;
    showRunning(BoxStatus, true);
}

void YokeWindow::Form_Unload()
{
    running_ = false;
    MSComm1_->close();
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
    auto* cmdTestXplaneInterface = new QPushButton("Test Interface XP", this);
    cmdTestXplaneInterface->setObjectName("cmdTestXplaneInterface");
    auto* cmdClose = new QPushButton("Close", this);
    cmdClose->setObjectName("cmdClose");
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

#include "iomodules/linkwindow.h"

#include "bus/deviceports.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace varnet {

LinkWindow::LinkWindow(const QString& name, const QString& title, int unitBytes)
    : BoxRun(new QLineEdit(this)),
      cmdRun(new QPushButton(QStringLiteral("Run"), this)),
      cmdStop(new QPushButton(QStringLiteral("Stop"), this)),
      MSComm1_(createSerialPort())
{
    setObjectName(name);
    setWindowTitle(title);
    BoxRun->setObjectName(QStringLiteral("BoxRun"));
    BoxRun->setReadOnly(true);
    cmdRun->setObjectName(QStringLiteral("cmdRun"));
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BoxRun);
    layout->addWidget(cmdRun);
    layout->addWidget(cmdStop);
    connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });

    MSComm1_->setParent(this);  // found by name; the member still owns it
    MSComm1_->setObjectName(QStringLiteral("MSComm1"));
    ConfigureDevicePort(*MSComm1_, 0, unitBytes);
    connect(MSComm1_.get(), &SerialPort::received, this, [this] { MSComm1_OnComm(); });
    showRunState();
}

LinkWindow::~LinkWindow() = default;

void LinkWindow::showRunState()
{
    BoxRun->setText(Running == 1 ? QStringLiteral("Running") : QStringLiteral("Halted"));
}

void LinkWindow::Form_Unload()
{
    stopTimers();
    MSComm1_->close();
}

} // namespace varnet

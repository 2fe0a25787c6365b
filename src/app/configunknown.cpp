#include "app/configunknown.h"

#include "platform/messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnet {

namespace {

// The bus addresses a gauge can have.
constexpr int kFirstGaugeID = 1;
constexpr int kLastGaugeID = 255;

} // namespace

void UninstallGauge(ConfigTables& t, int id)
{
    t.GaugeRecCategory1[id] = 0;
    t.GaugeRecFunction1[id] = 0;
    t.GaugeRecSeqNr1[id] = 0;
    t.GaugeRecType[id] = 0;
    t.GaugeRecModel[id] = 0;
    t.GaugeRecVersion[id] = 0;
}

frmConfigUnknown::frmConfigUnknown()
{
    setObjectName(QStringLiteral("frmConfigUnknown"));
    setWindowTitle(QStringLiteral("Unknown device type"));

    auto* Label1 = new QLabel(QStringLiteral("At search  an unknown device was detected at ID:  "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    GaugeID = new QLineEdit(QStringLiteral("-----------"), this);
    GaugeID->setObjectName(QStringLiteral("GaugeID"));
    auto* Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto* Command1 = new QPushButton(QStringLiteral("Uninstall"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(GaugeID, 0, 1);
    layout->addWidget(Label2, 1, 0, 1, 2);
    layout->addWidget(Command1, 2, 0);
    layout->addWidget(cmdClose, 2, 1);

    connect(Command1, &QPushButton::clicked, this, &frmConfigUnknown::Command1_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmConfigUnknown::cmdClose_Click);
}

void frmConfigUnknown::Initialize(int currentGaugeID)
{
    GaugeID->setText(QString::number(currentGaugeID));
}

void frmConfigUnknown::Command1_Click()
{
    // The box can be typed into: act only on a GaugeID of the gauge bus.
    bool number = false;
    const int id = GaugeID->text().trimmed().toInt(&number);
    if (!number || id < kFirstGaugeID || id > kLastGaugeID) {
        messages().ok(QStringLiteral("A GaugeID must be between %1 and %2").arg(kFirstGaugeID).arg(kLastGaugeID));
        return;
    }
    UninstallGauge(Cfg, id);
    cmdClose_Click();
}

void frmConfigUnknown::cmdClose_Click()
{
    DefaultForm<frmConfigUnknown>::unload();
}

} // namespace varnet

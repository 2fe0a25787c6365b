#include "app/placeholderdialog.h"

#include "bus/sendpath.h"

#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnet {

namespace {

QMap<QString, QPointer<PlaceholderDialog>>& instances()
{
    static QMap<QString, QPointer<PlaceholderDialog>> map;
    return map;
}

} // namespace

PlaceholderDialog::PlaceholderDialog(const QString& windowName)
{
    setObjectName(windowName);
    setWindowTitle(windowName);

    auto* Label1 = new QLabel(QStringLiteral("The window %1 will stand here.").arg(windowName), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto* cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);

    connect(cmdClose, &QPushButton::clicked, this, &PlaceholderDialog::cmdClose_Click);
}

void PlaceholderDialog::Form_Load()
{
    GaugeID = CurrentGaugeID;
    GaugeTypeName = CurrentGaugeTypeName;
    showContext();
}

void PlaceholderDialog::Initialize(const QString& member)
{
    InitializeCalls.append(member);
    showContext();
}

void PlaceholderDialog::showContext()
{
    QString text = QStringLiteral("GaugeID: %1   Type: %2")
                       .arg(GaugeID)
                       .arg(QString::fromLatin1(GaugeTypeName.data(), qsizetype(GaugeTypeName.size())));
    if (!InitializeCalls.isEmpty())
        text += QStringLiteral("   Initialized by: %1").arg(InitializeCalls.last());
    Label2->setText(text);
}

void PlaceholderDialog::cmdClose_Click()
{
    UnloadPlaceholder(windowName());
}

PlaceholderDialog& Placeholder(const QString& windowName)
{
    QPointer<PlaceholderDialog>& instance = instances()[windowName];
    if (!instance) {
        instance = new PlaceholderDialog(windowName);
        instance->Form_Load();
    }
    return *instance;
}

bool PlaceholderLoaded(const QString& windowName)
{
    return !instances().value(windowName).isNull();
}

void UnloadPlaceholder(const QString& windowName)
{
    const QPointer<PlaceholderDialog> instance = instances().take(windowName);
    if (instance) {
        instance->hide();
        instance->deleteLater();
    }
}

} // namespace varnet

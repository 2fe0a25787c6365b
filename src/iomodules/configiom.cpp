#include "iomodules/configiom.h"

#include "bus/sendpath.h"
#include "platform/controls.h"

#include <QLabel>
#include <QVBoxLayout>

namespace varnet {

namespace {

// The window's text and its Close button, which closes it as the title bar
// does.
QLabel* fillNotice(Form& window, const QString& purpose, const QString& section)
{
    auto* layout = new QVBoxLayout(&window);
    auto* what = label(purpose, &window);
    what->setObjectName(QStringLiteral("Label1"));
    auto* where = label(QStringLiteral("This window does not edit them yet: they are made in the configuration "
                                       "file (\"*.cfg\"), section \"%1\", and loaded with it.")
                            .arg(section),
                        &window);
    for (QLabel* text : {what, where}) {
        text->setWordWrap(true);
        layout->addWidget(text);
    }
    QPushButton* cmdClose = button("cmdClose", QStringLiteral("Close"), &window);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
    QObject::connect(cmdClose, &QPushButton::clicked, &window, &QWidget::close);
    // Wide enough for the text to read as lines, not as a column.
    window.setMinimumWidth(window.fontMetrics().averageCharWidth() * 64);
    return what;
}

} // namespace

QString IOModuleDescription(int gaugeID)
{
    if (gaugeID == kStandAloneIOM1 || gaugeID == kStandAloneIOM2)
        return QStringLiteral("Stand-alone I/O module %1").arg(gaugeID / kStandAloneIOM1);
    return QStringLiteral("I/O module GaugeID %1 on the gauge bus").arg(gaugeID);
}

ConfigIOM::ConfigIOM()
{
    setObjectName(QStringLiteral("ConfigIOM"));
    setWindowTitle(QStringLiteral("IO Module"));
    Label1 = fillNotice(*this, QString(), QStringLiteral("IOM"));
}

void ConfigIOM::Form_Load()
{
    GaugeID = CurrentGaugeID;
    Label1->setText(IOModuleDescription(GaugeID) +
                    QStringLiteral(": its 48 switch inputs, 8 analogue inputs and 32 LED outputs, each tied to a "
                                   "simulator function or a keystroke."));
}

} // namespace varnet

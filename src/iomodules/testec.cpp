#include "iomodules/testec.h"

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

frmTestEC::frmTestEC()
{
    setObjectName(QStringLiteral("frmTestEC"));
    setWindowTitle(QStringLiteral("Engine Cluster"));
    fillNotice(*this,
               QStringLiteral("The stand-alone engine cluster: the function, plate and display of each of its "
                              "needles, and the cluster type (single or dual engine)."),
               QStringLiteral("Engine Cluster Settings"));
}

void frmTestEC::Form_Load()
{
    GaugeID = CurrentGaugeID;
}

} // namespace varnet

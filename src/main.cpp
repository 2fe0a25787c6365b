#include "config/tables.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Varnet");
    QApplication::setApplicationDisplayName("Varnet");

    QLabel placeholder(QStringLiteral("VARNET  Control Program"));
    placeholder.setWindowTitle(QStringLiteral("VARNET  Control Program"));
    placeholder.setMinimumSize(400, 120);
    placeholder.setAlignment(Qt::AlignCenter);
    placeholder.show();
    return app.exec();
}

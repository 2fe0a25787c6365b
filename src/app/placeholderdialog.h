#pragma once

// A stand-in for a window that is not built yet: it carries the name of the
// window that will stand there and shows the context it was opened with.
// There is one instance per name, created and loaded on first reference
// like every window of the program.

#include "platform/form.h"

#include <QString>
#include <QStringList>

#include <string>

class QLabel;

namespace varnet {

class PlaceholderDialog final : public Form {
    Q_OBJECT

public:
    explicit PlaceholderDialog(const QString& windowName);

    // Takes CurrentGaugeID and CurrentGaugeTypeName, as the real dialogs do.
    void Form_Load() override;
    // Records a call of the real window's initialize member `member`.
    void Initialize(const QString& member);

    QString windowName() const { return objectName(); }
    int GaugeID = 0;
    std::string GaugeTypeName;
    QStringList InitializeCalls;

private:
    void showContext();
    void cmdClose_Click();

    QLabel* Label2;
};

// The placeholder standing for `windowName`, created and loaded when there is none.
PlaceholderDialog& Placeholder(const QString& windowName);
bool PlaceholderLoaded(const QString& windowName);
// Unloads it; safe when there is none.
void UnloadPlaceholder(const QString& windowName);

} // namespace varnet

#include "platform/messages.h"

#include "platform/form.h"
#include "platform/wait.h"

#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

namespace varnet {

namespace {

WidgetMessageService& widgetService()
{
    static WidgetMessageService service;
    return service;
}

MessageService* current = nullptr;

QString applicationTitle()
{
    return QApplication::applicationDisplayName();
}

// A box of a short text would be narrower than its title as the window
// manager draws it, which then shows as "...": the box is made wide enough.
void fitTitle(QMessageBox& box)
{
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleBarWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

MessageService& messages()
{
    return current ? *current : widgetService();
}

void RefuseTyped(QLineEdit& box, const QString& rule)
{
    const QPointer<QLineEdit> typed(&box);
    messages().ok(rule);
    if (!typed)
        return;
    typed->setFocus();
    typed->selectAll();
}

MessageService* setMessageService(MessageService* service)
{
    MessageService* previous = current;
    current = service;
    return previous;
}

// Each box is a wait of its own; a request to end the program closes it as
// its Escape does, and once the program is ending none is shown.
void WidgetMessageService::ok(const QString& text)
{
    if (EndRequested())
        return;
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    fitTitle(box);
    const ModalWait open([&box] { box.done(QMessageBox::Ok); });
    box.exec();
}

namespace {

bool askYesNo(const QString& text, QMessageBox::StandardButton defaultButton)
{
    if (EndRequested())
        return false;
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(QMessageBox::No);
    fitTitle(box);
    const ModalWait open([&box] { box.done(QMessageBox::No); });
    return box.exec() == QMessageBox::Yes;
}

} // namespace

bool WidgetMessageService::yesNo(const QString& text)
{
    return askYesNo(text, QMessageBox::Yes);
}

bool WidgetMessageService::yesNoDefaultNo(const QString& text)
{
    return askYesNo(text, QMessageBox::No);
}

std::optional<QString> WidgetMessageService::input(const QString& prompt, const QString& defaultText)
{
    if (EndRequested())
        return std::nullopt;
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(applicationTitle());
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    const ModalWait open([&box] { box.reject(); });
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

} // namespace varnet

#include "platform/messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

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

} // namespace

MessageService& messages()
{
    return current ? *current : widgetService();
}

MessageService* setMessageService(MessageService* service)
{
    MessageService* previous = current;
    current = service;
    return previous;
}

void WidgetMessageService::ok(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

namespace {

bool askYesNo(const QString& text, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(QMessageBox::No);
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
    bool accepted = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), applicationTitle(), prompt,
                                               QLineEdit::Normal, defaultText, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

} // namespace varnet

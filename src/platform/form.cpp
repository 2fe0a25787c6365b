#include "platform/form.h"

#include <QEvent>

namespace varnet {

namespace {

// The form that last became active; a message box closing hands the
// activation back to the same form, which is not a new activation.
QPointer<Form> lastActiveForm;

} // namespace

Form::Form(QWidget* parent) : QWidget(parent) {}

bool Form::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && lastActiveForm != this) {
        lastActiveForm = this;
        Form_Activate();
    }
    return handled;
}

void Form::unloadForm()
{
    Form_Unload();
    hide();
    deleteLater();
}

} // namespace varnet

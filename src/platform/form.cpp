#include "platform/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QTimer>

namespace varnet {

namespace {

// The form that last became active; a message box closing hands the
// activation back to the same form, which is not a new activation.
QPointer<Form> lastActiveForm;

// How long a shown window waits for the platform to activate it before it
// counts as activated anyway.
constexpr int kActivationGraceMs = 250;

} // namespace

Form::Form(QWidget* parent) : QWidget(parent) {}

bool Form::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        activated();
    else if (event->type() == QEvent::Show && !isMinimized())
        // Without a window manager (a bare X server) nothing activates a
        // window: a window shown while none of the program's windows is
        // active counts as activated once the platform had its chance.
        QTimer::singleShot(kActivationGraceMs, this, [this] {
            if (isVisible() && !isMinimized() && !QApplication::activeWindow())
                activated();
        });
    return handled;
}

void Form::activated()
{
    if (lastActiveForm == this)
        return;
    lastActiveForm = this;
    Form_Activate();
}

void Form::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Form_TitleBarClose();
}

void Form::Form_TitleBarClose()
{
    if (unloadDefault_)
        unloadDefault_();
    else
        unloadForm();
}

void Form::unloadForm()
{
    Form_Unload();
    hide();
    deleteLater();
}

} // namespace varnet

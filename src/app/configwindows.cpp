#include "app/configwindows.h"

#include "app/configscreen.h"
#include "bus/runwindow.h"
#include "config/tables.h"
#include "platform/messages.h"

#include <QPointer>

#include <algorithm>

namespace varnet {

namespace {

// The windows loaded now, for a walk during which any of them may go; the
// last opened first, so that a window opened from another goes before it.
std::vector<QPointer<Form>> latestFirst()
{
    std::vector<QPointer<Form>> forms = Form::loadedForms();
    std::ranges::reverse(forms);
    return forms;
}

bool stillLoaded(const QPointer<Form>& form)
{
    return form && form->isLoaded();
}

bool closes(const Form& form, std::initializer_list<const Form*> staying)
{
    return form.configurationHeld() != ConfigurationHeld::Nothing && std::ranges::find(staying, &form) == staying.end();
}

// Asks the windows `asked` chooses, in the order they were opened.
bool unsavedMayGo(const std::function<bool(const Form&)>& asked)
{
    for (const QPointer<Form>& form : Form::loadedForms()) {
        if (!stillLoaded(form) || !asked(*form))
            continue;
        const QString question = form->unsavedQuestion();
        if (!question.isEmpty() && !messages().yesNoDefaultNo(NamedQuestion(*form, question)))
            return false;
    }
    return true;
}

} // namespace

QString NamedQuestion(const QWidget& window, const QString& question)
{
    const QString title = window.windowTitle().trimmed();
    return title.isEmpty() ? question : title + QStringLiteral(":\r\n") + question;
}

bool UnsavedMayGo()
{
    return unsavedMayGo([](const Form&) { return true; });
}

bool ConfigurationWindowsMayClose(std::initializer_list<const Form*> staying)
{
    return unsavedMayGo([staying](const Form& form) { return closes(form, staying); });
}

void CloseConfigurationWindows(std::initializer_list<const Form*> staying)
{
    for (const QPointer<Form>& form : latestFirst())
        if (stillLoaded(form) && closes(*form, staying))
            form->Form_CloseUnasked();
}

void ConfigurationSaved()
{
    for (const QPointer<Form>& form : Form::loadedForms())
        if (stillLoaded(form))
            form->configurationSaved();
}

ReplaceResult ReplaceConfiguration(QWidget& asker, Replacement kind, const std::function<bool()>& ownQuestions,
                                   const std::function<bool()>& replace)
{
    if (RunWindowPrepared()) {
        messages().ok(RunHoldsConfigurationText(kind));
        return ReplaceResult::Declined;
    }
    const QPointer<QWidget> self(&asker);
    const auto answered = [&self](bool yes) { return yes && !self.isNull(); };
    if (ownQuestions && !answered(ownQuestions()))
        return ReplaceResult::Declined;
    if (Session.ConfigChanged != 0 &&
        !answered(messages().yesNoDefaultNo(QString::fromLatin1(kUnsavedQuestion))))
        return ReplaceResult::Declined;
    if (!answered(UnsavedMayGo()))
        return ReplaceResult::Declined;
    if (!replace())
        return ReplaceResult::Failed;

    // The run window names the file loaded in its box: made here, hidden,
    // when it is not there yet, its configuration timer is ready for the
    // dialogs' frames before any run.
    DefaultForm<frmStatus>::get();

    for (const QPointer<Form>& form : latestFirst())
        if (stillLoaded(form))
            form->Form_ConfigurationReplaced();
    return ReplaceResult::Replaced;
}

} // namespace varnet

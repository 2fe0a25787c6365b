#include "app/configwindows.h"

#include "app/configscreen.h"
#include "bus/runwindow.h"
#include "config/configfile.h"
#include "config/tables.h"
#include "platform/messages.h"
#include "platform/serialport.h"

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
    const ConfigurationHeld held = form.configurationHeld();
    return (held == ConfigurationHeld::Shown || held == ConfigurationHeld::Record) &&
           std::ranges::find(staying, &form) == staying.end();
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
    return NamedQuestion(window.windowTitle(), question);
}

QString NamedQuestion(const QString& windowTitle, const QString& question)
{
    const QString title = windowTitle.trimmed();
    return title.isEmpty() ? question : title + QStringLiteral(":\r\n") + question;
}

bool UnsavedMayGo()
{
    return unsavedMayGo([](const Form&) { return true; });
}

bool StoredMayGo()
{
    // Asked from a copy: a box lets events run, and a store meanwhile adds
    // a window that the next load asks about.
    const std::vector<std::string> stored = Session.StoredNotSaved;
    for (const std::string& window : stored)
        if (!messages().yesNoDefaultNo(NamedQuestion(QString::fromStdString(window),
                                                     QString::fromLatin1(kUpdatesNotSavedYet))))
            return false;
    return true;
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
    Session.StoredNotSaved.clear();
    for (const QPointer<Form>& form : Form::loadedForms())
        if (stillLoaded(form))
            form->Form_ConfigurationSaved();
}

namespace {

ReplaceResult replaceConfiguration(QWidget& asker, Replacement kind, const std::function<bool()>& ownQuestions,
                                   const std::function<std::optional<ConfigTables>()>& read,
                                   const std::function<void(ConfigTables&&)>& commit)
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
    if (!answered(StoredMayGo()) || !answered(UnsavedMayGo()))
        return ReplaceResult::Declined;
    std::optional<ConfigTables> tables = read();
    if (!tables)
        return ReplaceResult::Failed;

    // The windows first, then the device links: what a closing window sends
    // goes out on the devices of the configuration it worked on.
    for (const bool links : {false, true})
        for (const QPointer<Form>& form : latestFirst())
            if (stillLoaded(form) && (form->configurationHeld() == ConfigurationHeld::DeviceLink) == links)
                form->Form_ConfigurationReplacing();
    commit(std::move(*tables));

    // The run window names the file loaded in its box: made here, hidden,
    // when it is not there yet, its configuration timer is ready for the
    // dialogs' frames before any run.
    DefaultForm<frmStatus>::get();

    // The device ports move as a whole: two devices may trade COM numbers.
    MovePortsTogether([] {
        for (const QPointer<Form>& form : latestFirst())
            if (stillLoaded(form))
                form->Form_ConfigurationReplaced();
    });
    return ReplaceResult::Replaced;
}

} // namespace

ReplaceResult LoadConfiguration(QWidget& asker, const std::string& name, const std::function<bool()>& ownQuestions,
                                QString* error)
{
    return replaceConfiguration(
        asker, Replacement::Load, ownQuestions, [&] { return ReadConfigTables(name, error); },
        [&](ConfigTables&& tables) { CommitConfiguration(name, std::move(tables)); });
}

ReplaceResult ImportConfiguration(QWidget& asker, const std::function<bool()>& ownQuestions,
                                  const std::function<std::optional<ConfigTables>()>& read)
{
    // What an import leaves of the tables is still what the windows stored
    // into them: their marks stay.
    return replaceConfiguration(asker, Replacement::Import, ownQuestions, read,
                                [](ConfigTables&& tables) { Cfg = std::move(tables); });
}

} // namespace varnet

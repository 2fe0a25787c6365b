#pragma once

// The windows and the configuration in memory, as one: every window says in
// its own class what it holds of the tables (ConfigurationHeld, platform/
// form.h), and these walk every loaded window by it, so that a window added
// later cannot be missing from a list. Here too is the one way by which a
// file replaces the tables, whichever window asks for it.

#include "app/loadsave.h"
#include "platform/form.h"

#include <functional>
#include <initializer_list>

namespace varnet {

// Asks every loaded window, in the order they were opened, what its own
// Close asks about what was typed or stored there and not saved
// (Form::unsavedQuestion), naming the window: what a load would lose. False
// as soon as the user keeps one.
bool UnsavedMayGo();
// A window's question as another window asks it, naming the window: several
// boxes in a row must be told apart.
QString NamedQuestion(const QWidget& window, const QString& question);

// Closes every window of the configuration (Shown or Record) but those
// `staying`, the last opened first, each as its own Close or Cancel does but
// without its question: ConfigurationWindowsMayClose asks those first.
void CloseConfigurationWindows(std::initializer_list<const Form*> staying = {});
bool ConfigurationWindowsMayClose(std::initializer_list<const Form*> staying);

// After a save: every loaded window shows the name saved under, and what a
// window stored is no longer unsaved.
void ConfigurationSaved();

enum class ReplaceResult {
    Declined,  // refused while the run window is prepared, or the user said No
    Failed,    // the file did not load or import: the tables are as they were
    Replaced,
};

// The one way by which a file replaces the configuration in memory, whole
// (a load) or in part (an import), whichever window asks for it:
//  1. refused, with a box saying why and what to do instead, while the run
//     window holds a prepared run;
//  2. `ownQuestions`, the asking window's own (may be empty; false stops);
//  3. asks about changes not saved (ConfigChanged), then every window about
//     what it would lose (UnsavedMayGo);
//  4. `replace` reads the file into the tables, true when it did;
//  5. then every loaded window hears of it (Form_ConfigurationReplaced): the
//     windows that show the configuration show what is in memory now, and
//     those that hold values of the one replaced close, since their record
//     may not even exist in the new tables.
// A box that `asker` does not outlive ends it, Declined.
ReplaceResult ReplaceConfiguration(QWidget& asker, Replacement kind, const std::function<bool()>& ownQuestions,
                                   const std::function<bool()>& replace);

} // namespace varnet

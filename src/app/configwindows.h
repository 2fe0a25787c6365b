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
#include <optional>
#include <string>

namespace varnet {

// Asks every loaded window, in the order they were opened, what its own
// Close asks about what was typed there and not stored
// (Form::unsavedQuestion), naming the window: what a load would lose. False
// as soon as the user keeps one.
bool UnsavedMayGo();
// A window's question as another window asks it, naming the window: several
// boxes in a row must be told apart.
QString NamedQuestion(const QWidget& window, const QString& question);
QString NamedQuestion(const QString& windowTitle, const QString& question);

// Asks about what windows stored into the tables and no save has written
// (SessionState::StoredNotSaved), one box per window, named, whether the
// window is still open or not. False as soon as the user keeps it.
bool StoredMayGo();

// Closes every window of the configuration (Shown or Record) but those
// `staying`, the last opened first, each as its own Close or Cancel does but
// without its question: ConfigurationWindowsMayClose asks those first.
void CloseConfigurationWindows(std::initializer_list<const Form*> staying = {});
bool ConfigurationWindowsMayClose(std::initializer_list<const Form*> staying);

// After a save: what windows stored is saved now, and every loaded window
// hears of it (the name saved under shows).
void ConfigurationSaved();

enum class ReplaceResult {
    Declined,  // refused while the run window is prepared, or the user said No
    Failed,    // the file did not load or import: the tables are as they were
    Replaced,
};

// The ways by which a file replaces the configuration in memory, whole (a
// load of the file `name`) or in part (an import: `read` gives the tables in
// memory with the file's sections in place, or nothing when the file cannot
// be read), whichever window asks for it:
//  1. refused, with a box saying why and what to do instead, while the run
//     window holds a prepared run;
//  2. `ownQuestions`, the asking window's own (may be empty; false stops);
//  3. asks about changes not saved (ConfigChanged), what windows stored and
//     did not save (StoredMayGo), and what is typed in every window and not
//     stored (UnsavedMayGo);
//  4. reads the file; a file that fails changes nothing, and closes no
//     window;
//  5. every loaded window hears of it while the tables replaced are still in
//     place (Form_ConfigurationReplacing), the device links last: the
//     windows that hold them close, and what their Close sends goes out to
//     their own devices, with their own settings; the simulator link closes
//     as at the exit;
//  6. puts the file's tables in place, and every loaded window hears of it
//     (Form_ConfigurationReplaced): the device links' ports follow them,
//     every port moved let go before any is opened again, and the windows
//     that show the configuration show it.
// A box that `asker` does not outlive ends it, Declined. A read error is
// shown in a box, or handed to `error` when given.
ReplaceResult LoadConfiguration(QWidget& asker, const std::string& name, const std::function<bool()>& ownQuestions,
                                QString* error = nullptr);
ReplaceResult ImportConfiguration(QWidget& asker, const std::function<bool()>& ownQuestions,
                                  const std::function<std::optional<ConfigTables>()>& read);

} // namespace varnet

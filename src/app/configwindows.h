#pragma once

// The windows of the configuration, as one: the configuration screen and
// every window opened from it (directly or through another). Each shows or
// edits the tables in memory, or tests the hardware with them, so none of
// them may stay beside a prepared run, whose sim ports were opened for the
// tables as they were. And the one way by which a file replaces those
// tables, whichever window asks for it.

#include <QWidget>

#include <functional>

namespace varnet {

// Asks about every edit typed into a window of the configuration and not
// stored yet, as that window's own Close asks: the I/O-module window's entry
// and the function editor's fields. False as soon as the user keeps one.
bool TypedEditsMayGo();

// Closes the windows opened from the configuration screen, each as its own
// Close or Cancel does but without its question (TypedEditsMayGo asks them
// first), and then, with `screenToo`, the screen itself.
void UnloadConfigurationWindows(bool screenToo = true);

enum class Replacement { Load, Import };
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
//  3. asks about changes not saved (ConfigChanged) and about every edit
//     typed and not stored (TypedEditsMayGo);
//  4. `replace` reads the file into the tables, true when it did;
//  5. then every open window shows what is in memory now: the run window's
//     box and the configuration screen, the I/O-module window's list, and
//     the Load/Save window's proposed name, so that its save goes to the
//     configuration in memory. The windows that hold one record of the
//     configuration replaced (the gauge dialogs and the plate window, the
//     engine-cluster settings, the function editor and list) close: their
//     record may not even exist in the new tables.
// A box that `asker` does not outlive ends it, Declined.
ReplaceResult ReplaceConfiguration(QWidget& asker, Replacement kind, const std::function<bool()>& ownQuestions,
                                   const std::function<bool()>& replace);

} // namespace varnet

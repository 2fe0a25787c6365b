#pragma once

// The lists from which a window chooses a function or a plate: every window
// that binds hardware to the simulator (gauge dialogs, the I/O-module
// window, the engine-cluster settings) offers them the same way, as
// "007.  name" items in ascending number.

#include "config/tables.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace varnet {

// Signal types of a function.
inline constexpr int kSignalInputSwitch = 1;
inline constexpr int kSignalInputAnalogue = 2;
inline constexpr int kSignalOutputLED = 3;
inline constexpr int kSignalGauge = 4;
inline constexpr int kSignalDedicatedGauge = 5;
inline constexpr int kSignalMacro = 6;
inline constexpr int kSignalSwitchAndLED = 7;

// What a window says when a function is wanted and none is chosen.
inline constexpr const char* kNoCategoryOrFunction = "No Category and/or Function selected";
inline constexpr const char* kAssignBeforeCalibrating =
    "Before calibrating the gauge must be assigned to a function and category";

// A function or plate as its list shows it: "007.  name".
QString ListItemText(int number, const std::string& name);

struct ListItems {
    QStringList texts;
    std::vector<int> numbers;  // the function or plate number of each item
};

// "007.  name" for every stored function of `category` whose signal type
// `signalOffered` accepts, ascending.
ListItems FunctionItems(const ConfigTables& tables, int category, const std::function<bool(int signal)>& signalOffered);
// The functions that drive gauges (signal type "Gauge" or "Macro").
ListItems GaugeFunctionItems(const ConfigTables& tables, int category);
// "003.  name" for every plate listed under the same category name.
ListItems CategoryPlateItems(const ConfigTables& tables, int category);
// The number the text of a list item begins with, all its digits (0 when none).
int ListNumber(const QString& itemText);

} // namespace varnet

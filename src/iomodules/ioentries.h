#pragma once

// The entries of one I/O module as its configuration window edits them,
// without a widget: which entry an input or output has, the line that says
// what it does, the fields of an entry as the window shows them (text as
// typed), their checks, and storing or deleting an entry in the I/O entry
// table. The window (configiom.h) only shows and collects these.
//
// The table grows as the configuration expects: the row being edited is
// Session.IOEntryIndex, 0 for a new entry, which gets the next row with
// every column grown by one (and a spare); a delete keeps the row and sets
// its GaugeID to 0. Each input or output of a module has at most one entry.

#include "bus/ioentryrules.h"
#include "config/choicelists.h"
#include "config/tables.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace varnet {

// Analogue channels are 12-bit.
inline constexpr int kLargestRawValue = 4095;
inline constexpr int kLargestDebounceTime = 20;
inline constexpr int kSelectorCount = 4;

// The rules the window states when it refuses a field.
inline constexpr const char* kDebounceRule = "A debounce time must be between 0 and 20";
inline constexpr const char* kFunctionRule = kNoCategoryOrFunction;
inline constexpr const char* kSwitchValueRule =
    "A switch value must be -1 (no action) or between 0 and 100 percent";
inline constexpr const char* kIncrementRule = "An increment must be a number";
inline constexpr const char* kIncrementActsRule = "An increment entry must act on switching on, off or both";
inline constexpr const char* kRawValueRule = "A raw value must be between 0 and 4095";
inline constexpr const char* kRawRangeRule = "The maximum raw value must be above the minimum";
inline constexpr const char* kCentreRule =
    "A centre must lie above the minimum and below the maximum raw value (below 1 = no centre)";
inline constexpr const char* kThresholdRule = "A change threshold must be between 0 and 4095";
inline constexpr const char* kCrossoverRule = "A crossover percentage must be between 0 and 100";
inline constexpr const char* kFreeValueRule = "A free value must be a whole number between -32768 and 32767";
inline constexpr const char* kOneEntryRule = "An input or output has one entry: select its line to change it";

// How many inputs or outputs of a kind a module has (48, 8, 32).
int IOEntryNumbers(int kind);

// Whether an entry of `kind` offers the functions of signal type `signal`:
// a switch those that take a value from the cockpit ("Input Switch",
// "Switch and LED", "Macro") and the run's own values ("Dedicated Gauge"),
// an analogue input "Input Analogue" and the run's own values, an LED every
// function with a value to show ("Output LED", "Switch and LED", "Macro",
// "Gauge", "Dedicated Gauge"). No kind offers "--".
bool IOEntryOffersSignal(int kind, int signal);
// The functions of `category` that an entry of `kind` offers, in list
// order; the entry's own `function`, when it is of that category, is listed
// whatever its signal type.
ListItems IOEntryFunctionItems(const ConfigTables& t, int kind, int category, int function);

// The module's entry for input or output `number` of `kind`; 0 when none.
int FindIOEntry(const ConfigTables& tables, int gaugeID, int kind, int number);

// "Switch 05", "Analogue 3", "LED 12".
QString IOEntryName(int kind, int number);

// The list line of one input or output: its name and what its entry does,
// or "--" when it has none.
QString IOEntryLine(const ConfigTables& tables, int gaugeID, int kind, int number);

// What ConfigIOM says it configures: "Stand-alone I/O module 1",
// "Stand-alone I/O module 2" or "I/O module GaugeID 7 on the gauge bus".
QString IOModuleDescription(int gaugeID);

enum class SwitchMode { Absolute, Increment, Keystroke };

// The fields of one entry as the window shows them.
struct IOEntryForm {
    int kind = IOEntrySwitch;
    int number = 0;
    int category = 0;
    int function = 0;  // 0 = none chosen
    int selector = 1;  // 1..4
    // Switch.
    SwitchMode mode = SwitchMode::Absolute;
    QString valueOn = QStringLiteral("100");  // percent, or the amount added
    QString valueOff = QStringLiteral("0");
    bool stepOn = false;
    bool stepOff = false;
    int keyOn = 0;
    int keyOff = 0;
    // Analogue input.
    QString minimum = QStringLiteral("0");
    QString centre = QStringLiteral("0");
    QString maximum = QStringLiteral("4095");
    QString threshold = QStringLiteral("4");
    // LED output.
    bool atMinimum = false;
    bool atMaximum = true;
    bool aboveCrossover = false;
    bool atFreeValue = false;
    QString crossover = QStringLiteral("50");
    QString freeValue = QStringLiteral("0");
    bool invert = false;

    bool operator==(const IOEntryForm&) const = default;
};

// The fields of entry `row`; for row 0 the fields of a new entry of `kind`
// and `number`.
IOEntryForm ReadIOEntryForm(const ConfigTables& tables, int row, int kind, int number);

// Checks every field and, when all hold, stores the entry in row
// Session.IOEntryIndex (a new row when it is 0, which then becomes the
// index) for module `gaugeID`, and marks the configuration changed. The
// rule of the first field that does not hold, with the table unchanged.
std::optional<QString> StoreIOEntry(ConfigTables& tables, SessionState& session, int gaugeID,
                                    const IOEntryForm& form);

// Deletes the entry in row Session.IOEntryIndex (its GaugeID becomes 0) and
// marks the configuration changed; the index is 0 afterwards. Nothing for
// index 0.
void DeleteIOEntry(ConfigTables& tables, SessionState& session);

// Takes a typed debounce time; the rule when it is not a whole number
// 0..20 (the time stays as it was).
std::optional<QString> SetDebounceTime(SessionState& session, const QString& text);

// ---- Key codes ------------------------------------------------------------

// The label of a key code: "NONE", "a", "Ctrl+F1", "Shift+ENTER".
QString KeyLabel(int keyCode);

// The key code of a pressed key (Qt key and the text it typed); nothing for
// a key that has no code (a modifier alone, a key outside the key table).
std::optional<int> KeyCodeOfKey(int qtKey, const QString& text, bool shift, bool ctrl);

// ---- Live test --------------------------------------------------------------

inline constexpr const char* kTestLEDRule = "An LED output must be between 0 and 31";

// The LED output typed for the test: a whole number 0..31; nothing otherwise.
std::optional<int> TestLEDOutput(const QString& text);

// Lights (on) or darkens output `output` (0..31) in the module's two LED
// words; returns the command (4 or 5) that carries the output's word.
int SetTestLED(std::array<Long, 2>& words, int output, bool on);

} // namespace varnet

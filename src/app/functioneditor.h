#pragma once

// The function-table editor GetOffsetlist: lists all 301 simulator functions,
// edits one in its fields, stores it back, clears it, searches the list and
// tests the function's four DATA pairs through the function test window.
// Its other half is the X-Plane command list (commandlist.h), from which
// command names are copied into a function's command text. The editor works
// on the tables in memory; the user saves them through the Load/Save window.

#include "config/tables.h"
#include "platform/form.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace varnet {

// The list is built three times with three layouts: when the window loads,
// after "Save function" (the value slots added) and after "Delete function"
// (the value slots, without the auxiliary value).
enum class FunctionLineLayout { Load, Save, Delete };

// "052,   Name,   Category,   Signal type,   Description, 00,  000,   000, ..."
std::string FunctionEditorLine(const ConfigTables& tables, int function, FunctionLineLayout layout);
// The lines of functions 0..300.
QStringList FunctionEditorLines(const ConfigTables& tables, FunctionLineLayout layout);

// What the edit fields of one function hold. A combo box without a selected
// item holds -1.
struct FunctionFields {
    int category = -1;
    int signalType = -1;
    int dataType = -1;
    QString shortName;
    QString fullName;  // as its box edits it, one line per command
    std::array<QString, 4> index;
    std::array<QString, 4> slot;
    QString preAdd;
    QString multiplier;
    QString divisor;
    QString minimum;
    QString maximum;
    QString macroNr;

    bool operator==(const FunctionFields&) const = default;
};

// The fields that show a stored function. A free function (no short name)
// shows pre-add 0, multiplier 1, divisor 1, minimum 0, maximum 1 and macro
// number 0, whatever its record holds; a category, signal type or data type
// without an item in its combo box shows no item.
FunctionFields FieldsOfFunction(const ConfigTables& tables, int function);

// The fields once the function shown changed in the tables behind the
// editor's back (the function test window stores its limits): each field
// still as `shown` takes its `stored` value, each one typed over keeps
// what was typed.
FunctionFields FollowStoredFunction(const FunctionFields& typed, const FunctionFields& shown,
                                    const FunctionFields& stored);

inline constexpr const char* kShortNameMissing = "The Short name of the function is missing";
inline constexpr const char* kValueSlotRule = "Value in box V should be 0-7";
inline constexpr const char* kIncorrectData = "Incorrect data";
inline constexpr const char* kSignalTypeMissing = "The Signal Type of the function is missing";
inline constexpr const char* kDataTypeMissing = "The Datatype of the function is missing";

// Checks every field, then stores them all into the function's record; on
// the first field that does not pass, returns its message and stores nothing.
// Double quotes, which the configuration file cannot hold, become
// apostrophes. The fields must have a category.
std::optional<QString> StoreFunctionFields(ConfigTables& tables, int function, const FunctionFields& fields);

// Clears a function as "Delete function" does: category, names, DATA groups,
// multiplier, divisor, signal type and data type. Value slots, pre-add,
// limits, macro number, number and auxiliary value stay.
void DeleteFunction(ConfigTables& tables, int function);

// One press of a "Next" button: visits the rows from `start` up to `lastRow`
// and stops at the first whose line, in lower case, holds `text` in lower
// case (an empty text matches the first row visited).
struct RowSearch {
    int row = -1;       // the row left selected; -1: none was visited
    int nextStart = 0;  // where the next press starts
};
// A match starts the next search after it (at row 0 after the last row); no
// match leaves the last row selected and starts again at row 0; a row that
// is missing from `lines` ends the search there, at the same start.
RowSearch SearchRows(const QStringList& lines, int start, int lastRow, const QString& text);

class GetOffsetlist final : public Form {
    Q_OBJECT

public:
    GetOffsetlist();

    void Form_Load() override;
    // Back from another window (the function test window may have stored
    // the shown function's limits): the fields not typed over show the
    // function as it is stored now.
    void Form_Activate() override;

    // Loads the window when needed and shows it in front.
    static void ShowWindow();

    // Fills the command list from "Xplane_commands.txt".
    void ReadXplaneCommands();

    // It edits one function of the configuration it was opened on. Its
    // Store marks the configuration changed; fields edited and not stored
    // are asked about as its Close asks.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }
    QString unsavedQuestion() const override;
    void Form_ConfigurationSaved() override { unsaved_ = false; }
    void Form_CloseUnasked() override;

protected:
    void Form_TitleBarClose() override { cmdClose_Click(); }

private:
    // ---- Function half.
    void Configlist_Click();
    void CmdSave_Click();
    void Command1_Click();
    void testSelector(int selector);
    void CmdSearchInFunctions_Click();
    void CmdSaveConfig_Click();
    void cmdClose_Click();

    // ---- Command half (commandlist.cpp).
    void Cmdsearch_Click();
    void cmdCopyCmdToFunction_Click();
    void cmdTestCommand_Click();
    void cmdClearFunction_Click();
    // The command of the selected list line; nothing, after saying so,
    // when no usable line is selected.
    std::optional<std::string> selectedCommand();

    // Rebuilds the list in `layout` and selects `row` again, which shows it.
    void rebuildList(FunctionLineLayout layout, int row);
    // Shows `fields`, the function as `stored` (what a field typed over is
    // told apart by).
    void showFields(const FunctionFields& fields, const FunctionFields& stored);
    void showFields(const FunctionFields& stored) { showFields(stored, stored); }
    FunctionFields fields() const;
    void selectRow(QListWidget* list, int row);
    // The row of the selected function line; -1 when none is selected.
    int selectedFunction() const;
    // Whether a box was typed over since the function was shown.
    bool editedNotStored() const;
    // The number of the function shown, 0 for none.
    int shownFunction() const;

    // Function half.
    QListWidget* Configlist;
    QLineEdit* SearchTextFunction;
    QLineEdit* BoxFxNr;
    QLineEdit* ShortName;
    QComboBox* ComboClass;
    QComboBox* FuncType;
    QPlainTextEdit* FullName;
    std::array<QLineEdit*, 4> XPindex{};
    std::array<QLineEdit*, 4> XPVal{};
    QComboBox* ComboDT;
    QLineEdit* BoxAdd;
    QLineEdit* Multiplier;
    QLineEdit* Devider;
    QLineEdit* BoxMacroNr;
    QLineEdit* boxMinimumValue;
    QLineEdit* boxMaximumValue;
    // Command half.
    QListWidget* ListXplaneCmnds;
    QLineEdit* SearchText;
    QLineEdit* boxCmdNumber;

    std::array<QString, kSignalTypes> SignalTypeNames;
    FunctionFields stored_;      // the shown function as stored when shown
    bool unsaved_ = false;       // a function was stored since "Save Config"
    int functionSearchStart_ = 0;
    int commandCount_ = 0;       // the count of the last file read with the right header
    int commandSearchStart_ = 0;
};

} // namespace varnet

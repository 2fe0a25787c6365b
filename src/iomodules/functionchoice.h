#pragma once

// The choice of a function by category that the module windows share: the
// category list ("ComboClass"), the function list of the chosen category
// (its objectName given by the window) and the function's full name
// ("FunctionFullName", read-only), with the map from list position to
// function number. The window gives the captions and decides which
// functions a list offers; the full name follows the selection.

#include "config/choicelists.h"

#include <QObject>

#include <vector>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;

namespace varnet {

// Lists `items` in `list` without a change signal and selects the item of
// `number` (none when the list lacks it).
void showListItems(QComboBox* list, const ListItems& items, int number);

class FunctionChoice : public QObject {
    Q_OBJECT

public:
    // The controls are built into `parent`.
    FunctionChoice(QWidget* parent, const char* functionListName);

    QComboBox* const ComboClass;
    QComboBox* const FunctionList;
    QLineEdit* const FunctionFullName;

    // Lays the three out in `grid` from `row` on, over three rows: each list
    // beside its caption, the full name under the function list.
    void place(QGridLayout* grid, int row, const QString& categoryCaption, const QString& functionCaption);

    // The built-in categories, `selected` selected (-1: none), without a
    // change signal.
    void fillCategories(int selected);
    int category() const;
    // Lists `items` without a change signal and selects `function` (none
    // when the list lacks it).
    void showFunctions(const ListItems& items, int function);
    // The selected function's number; 0 when none is selected.
    int selectedFunction() const;

private:
    void showFullName();

    std::vector<int> functionMap_;
};

} // namespace varnet

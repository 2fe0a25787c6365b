#pragma once

// The assignment of one needle in the assignable dialogs (single-needle,
// display and dual-needle gauges): category, function, data pair and plate
// lists, the category written at once, and the hand-over to the plate
// window. Each needle keeps its own list-position-to-function map, so two
// dialogs open together never store each other's function numbers.

#include "config/choicelists.h"
#include "config/tables.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace varnet {

class GaugeDialog;

// Function number 255 in a record: the needle has no function list.
inline constexpr int kNoFunctionList = 255;

// Which record fields a needle uses.
enum class Needle { First, Second };

class NeedleAssignment : public QObject {
public:
    // The lists are built into `parent`; the dialog places them.
    NeedleAssignment(GaugeDialog& dialog, Needle needle, QWidget* parent, const char* suffix = "");

    QComboBox* ComboClass;
    QComboBox* GaugeFunction;
    QLineEdit* FunctionFullName;
    QComboBox* ComboSeqNr;
    QComboBox* ComboPlate;

    // Fills the category list from the record and selects its category,
    // function and data pair.
    void load();
    // The plate list again, with the record's plate selected.
    void rebuildPlates();

    // The Apply check of the assignable dialogs: the part's message and
    // false when category, function or plate is missing.
    bool complete() const;
    bool hasCategoryAndFunction() const;
    // The four fields at `gaugeID`.
    void write(int gaugeID) const;
    int selectedFunction() const;
    int selectedPlate() const { return ListNumber(plateText()); }
    QString plateText() const;

    // "Calibrate": hands the needle to the plate window or says why not.
    // A selected plate is written to the record at once where
    // `plateAtOnce` (not in the display gauge's dialog).
    void calibrate(int needleNr);
    bool plateAtOnce = true;
    // Choosing a macro function clears the plate selection, except in the
    // dual-needle dialog, whose needles keep theirs.
    bool macroClearsPlate = true;

private:
    void categoryChanged(int index);
    void functionChanged(int index);
    int recordFunction() const;
    int recordPlate() const;

    GaugeDialog& dialog_;
    Needle needle_;
    std::vector<int> functionMap_;
    bool loading_ = false;
};

} // namespace varnet

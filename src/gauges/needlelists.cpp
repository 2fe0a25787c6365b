#include "gauges/needlelists.h"

#include "bus/sendpath.h"
#include "gauges/dialogframe.h"
#include "gauges/platewindow.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

namespace varnet {

NeedleAssignment::NeedleAssignment(GaugeDialog& dialog, Needle needle, QWidget* parent, const char* suffix)
    : QObject(parent), dialog_(dialog), needle_(needle)
{
    const auto named = [suffix](const char* base) { return QByteArray(base) + suffix; };
    ComboClass = comboBox(named("ComboClass").constData(), parent);
    GaugeFunction = comboBox(named("GaugeFunction").constData(), parent);
    FunctionFullName = textBox(named("FunctionFullName").constData(), parent);
    FunctionFullName->setReadOnly(true);
    ComboSeqNr = comboBox(named("ComboSeqNr").constData(), parent);
    ComboPlate = comboBox(named("ComboPlate").constData(), parent);
    GaugeFunction->setMinimumWidth(220);
    ComboPlate->setMinimumWidth(220);
    onIndexChanged(ComboClass, [this](int index) { categoryChanged(index); });
    onIndexChanged(GaugeFunction, [this](int index) { functionChanged(index); });
}

int NeedleAssignment::recordFunction() const
{
    const GaugeRecord r = GaugeRecord::Read(Cfg, dialog_.gaugeID());
    return needle_ == Needle::First ? r.function1 : r.function2;
}

int NeedleAssignment::recordPlate() const
{
    const GaugeRecord r = GaugeRecord::Read(Cfg, dialog_.gaugeID());
    return needle_ == Needle::First ? r.plate1 : r.plate2;
}

void NeedleAssignment::load()
{
    const GaugeRecord r = GaugeRecord::Read(Cfg, dialog_.gaugeID());
    QStringList categories;
    for (int c = 0; c < kBuiltInCategories; ++c)
        categories << QString::fromStdString(Cfg.CategoryNames[c]);
    fillList(ComboClass, categories);
    fillList(ComboSeqNr, {"1", "2", "3", "4"});
    const int category = needle_ == Needle::First ? r.category1 : r.category2;
    // A category the list cannot show leaves it unselected.
    loading_ = true;
    ComboClass->setCurrentIndex(category < kBuiltInCategories ? category : -1);
    loading_ = false;
    FunctionFullName->clear();
    if (recordFunction() != kNoFunctionList) {
        if (GaugeFunction->currentIndex() >= 0)
            functionChanged(GaugeFunction->currentIndex());
        const int seqNr = needle_ == Needle::First ? r.seqNr1 : r.seqNr2;
        ComboSeqNr->setCurrentIndex(seqNr >= 1 && seqNr <= 4 ? seqNr - 1 : -1);
    }
}

void NeedleAssignment::categoryChanged(int index)
{
    GaugeFunction->clear();
    FunctionFullName->clear();
    functionMap_.clear();
    // Function 255 keeps needle 1's list empty for good; needle 2's only
    // while the dialog opens.
    if (recordFunction() == kNoFunctionList && (needle_ == Needle::First || loading_))
        return;
    const ListItems functions = GaugeFunctionItems(Cfg, index);
    functionMap_ = functions.numbers;
    fillList(GaugeFunction, functions.texts);
    const int function = recordFunction();
    for (std::size_t pos = 0; pos < functionMap_.size(); ++pos)
        if (functionMap_[pos] == function)
            GaugeFunction->setCurrentIndex(int(pos));

    // The category counts at once, not only on Apply.
    if (index >= 0)
        WriteAtOnce(dialog_.gaugeID(), needle_ == Needle::First ? Field::Category1 : Field::Category2,
                    GaugeRecord{.category1 = index, .category2 = index});
    rebuildPlates();
}

void NeedleAssignment::functionChanged(int index)
{
    if (index < 0 || index >= int(functionMap_.size()))
        return;
    const int function = functionMap_[std::size_t(index)];
    FunctionFullName->setText(QString::fromStdString(Cfg.FunctionFullName[function]));
    if (macroClearsPlate && Cfg.FunctionSignalType[function] == kSignalMacro)
        ComboPlate->setCurrentIndex(-1);
}

void NeedleAssignment::rebuildPlates()
{
    const ListItems plates = CategoryPlateItems(Cfg, ComboClass->currentIndex());
    fillList(ComboPlate, plates.texts);
    const int plate = recordPlate();
    for (std::size_t pos = 0; pos < plates.numbers.size(); ++pos)
        if (plates.numbers[pos] == plate)
            ComboPlate->setCurrentIndex(int(pos));
}

bool NeedleAssignment::hasCategoryAndFunction() const
{
    return !ComboClass->currentText().isEmpty() && !GaugeFunction->currentText().isEmpty();
}

QString NeedleAssignment::plateText() const
{
    return ComboPlate->currentText();
}

bool NeedleAssignment::complete() const
{
    if (!hasCategoryAndFunction()) {
        messages().ok(QString::fromLatin1(kNoCategoryOrFunction));
        return false;
    }
    if (plateText().isEmpty()) {
        messages().ok(QString::fromLatin1(kNoPlate));
        return false;
    }
    return true;
}

int NeedleAssignment::selectedFunction() const
{
    const int pos = GaugeFunction->currentIndex();
    return pos >= 0 && pos < int(functionMap_.size()) ? functionMap_[std::size_t(pos)] : 0;
}

void NeedleAssignment::write(int gaugeID) const
{
    GaugeRecord r;
    r.category1 = r.category2 = std::max(ComboClass->currentIndex(), 0);
    r.function1 = r.function2 = selectedFunction();
    r.seqNr1 = r.seqNr2 = ComboSeqNr->currentIndex() + 1;  // 0 when none is selected
    r.plate1 = r.plate2 = selectedPlate();
    r.Write(Cfg, gaugeID, needle_ == Needle::First ? Field::Needle1 : Field::Assignment2 | Field::Plate2);
}

void NeedleAssignment::calibrate(int needleNr)
{
    if (!hasCategoryAndFunction()) {
        messages().ok(QString::fromLatin1(kAssignBeforeCalibrating));
        return;
    }
    CalNeedleNr = Integer(needleNr);
    CalFunctionName = GaugeFunction->currentText().toStdString();
    CalCategoryName = ComboClass->currentText().toStdString();
    CalSeqNr = Integer(LenientNumber(ComboSeqNr->currentText()));
    CalPlateNr = Integer(selectedPlate());
    CalFunctionNr = Integer(ListNumber(GaugeFunction->currentText()));
    // Without a plate selected the window opens so that one can be created;
    // the needle's assigned plate stays until Apply.
    if (plateAtOnce && !plateText().isEmpty())
        WriteAtOnce(dialog_.gaugeID(), needle_ == Needle::First ? Field::Plate1 : Field::Plate2,
                    GaugeRecord{.plate1 = CalPlateNr, .plate2 = CalPlateNr});
    // The plate window works for this dialog's gauge, whatever was opened since.
    CurrentGaugeID = Integer(dialog_.gaugeID());
    CurrentGaugeTypeName = dialog_.context().typeName();
    OpenPlateWindow();
}

} // namespace varnet

#include "iomodules/functionchoice.h"

#include "platform/controls.h"

#include <QSignalBlocker>

namespace varnet {

FunctionChoice::FunctionChoice(QWidget* parent, const char* functionListName)
    : QObject(parent),
      ComboClass(comboBox("ComboClass", parent)),
      FunctionList(comboBox(functionListName, parent)),
      FunctionFullName(textBox("FunctionFullName", parent))
{
    FunctionFullName->setReadOnly(true);
    // Connected first: the window's own handler already sees the name.
    connect(FunctionList, &QComboBox::currentIndexChanged, this, &FunctionChoice::showFullName);
}

void FunctionChoice::fillCategories(int selected)
{
    const QSignalBlocker quiet(ComboClass);
    ComboClass->clear();
    for (int c = 0; c < kBuiltInCategories; ++c)
        ComboClass->addItem(QString::fromStdString(Cfg.CategoryNames[std::size_t(c)]));
    ComboClass->setCurrentIndex(selected);
}

int FunctionChoice::category() const
{
    return ComboClass->currentIndex();
}

void FunctionChoice::showFunctions(const ListItems& items, int function)
{
    functionMap_ = items.numbers;
    {
        const QSignalBlocker quiet(FunctionList);
        FunctionList->clear();
        FunctionList->addItems(items.texts);
        FunctionList->setCurrentIndex(-1);
        for (std::size_t pos = 0; pos < functionMap_.size(); ++pos)
            if (functionMap_[pos] == function)
                FunctionList->setCurrentIndex(int(pos));
    }
    showFullName();
}

int FunctionChoice::selectedFunction() const
{
    const int pos = FunctionList->currentIndex();
    return pos >= 0 && pos < int(functionMap_.size()) ? functionMap_[std::size_t(pos)] : 0;
}

void FunctionChoice::showFullName()
{
    const int function = selectedFunction();
    FunctionFullName->setText(function > 0 ? QString::fromStdString(Cfg.FunctionFullName[std::size_t(function)])
                                           : QString());
}

} // namespace varnet

#include "iomodules/functionchoice.h"

#include "platform/controls.h"

#include <QGridLayout>
#include <QSignalBlocker>

#include <algorithm>

namespace varnet {

void showListItems(QComboBox* list, const ListItems& items, int number)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(items.texts);
    const auto found = std::find(items.numbers.begin(), items.numbers.end(), number);
    list->setCurrentIndex(found == items.numbers.end() ? -1 : int(found - items.numbers.begin()));
}

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

void FunctionChoice::place(QGridLayout* grid, int row, const QString& categoryCaption,
                           const QString& functionCaption)
{
    QWidget* parent = ComboClass->parentWidget();
    grid->addWidget(label(categoryCaption, parent), row, 0);
    grid->addWidget(ComboClass, row, 1);
    grid->addWidget(label(functionCaption, parent), row + 1, 0);
    grid->addWidget(FunctionList, row + 1, 1);
    grid->addWidget(FunctionFullName, row + 2, 1);
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
    showListItems(FunctionList, items, function);
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

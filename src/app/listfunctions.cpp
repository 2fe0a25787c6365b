#include "app/listfunctions.h"

#include "app/saveconfig.h"
#include "app/tabstops.h"
#include "config/tables.h"
#include "platform/messages.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnet {

namespace {

QPushButton* button(const char* objectName, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(objectName));
    return b;
}

QLineEdit* textBox(const char* objectName, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    return box;
}

QString fromLatin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

frmListFunctions::frmListFunctions()
{
    setObjectName(QStringLiteral("frmListFunctions"));
    setWindowTitle(QStringLiteral("List available functions"));

    auto* listHeader = new QWidget(this);
    Configlist = new QListWidget(this);
    Configlist->setObjectName(QStringLiteral("Configlist"));
    Configlist->setToolTip(QStringLiteral("Click to change description"));
    std::vector<CaptionedColumns::Column> columns;
    for (std::size_t i = 0; i < std::size(kFunctionListCaptions); ++i)
        columns.push_back({kFunctionListCaptions[i], kFunctionListCaptionStops[i]});
    columns_ = new CaptionedColumns(Configlist, listHeader, std::move(columns));
    QPushButton* Command1 = button("Command1", "Refresh", this);

    Signaltype = textBox("Signaltype", this);
    CmdFilterTypeOn = button("CmdFilterTypeOn", "Filter On", this);
    QPushButton* CmdFilterTypeOff = button("CmdFilterTypeOff", "Filter Off", this);
    Category = textBox("Category", this);
    CmdFilterClassOn = button("CmdFilterClassOn", "Filter On", this);
    QPushButton* cmdFilterClassOff = button("cmdFilterClassOff", "Filter Off", this);

    BoxFxNr = textBox("BoxFxNr", this);
    BoxFxNr->setReadOnly(true);
    ShortName = textBox("ShortName", this);
    ShortName->setReadOnly(true);
    FullName = new QPlainTextEdit(this);
    FullName->setObjectName(QStringLiteral("FullName"));
    FullName->setToolTip(QStringLiteral("User can change the function description"));
    FullName->setMaximumHeight(80);
    QPushButton* CmdSave = button("CmdSave", "Update", this);
    CmdSave->setToolTip(QStringLiteral("Click to update description"));
    QPushButton* CmdFile = button("CmdFile", "Save as...", this);
    CmdFile->setToolTip(QStringLiteral("Save the configuration to disk"));
    QPushButton* cmdClose = button("cmdClose", "Close", this);

    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel(QStringLiteral("Signal Type"), this), 0, 0);
    filters->addWidget(Signaltype, 0, 1);
    filters->addWidget(CmdFilterTypeOn, 0, 2);
    filters->addWidget(CmdFilterTypeOff, 0, 3);
    filters->addWidget(new QLabel(QStringLiteral("Category"), this), 1, 0);
    filters->addWidget(Category, 1, 1);
    filters->addWidget(CmdFilterClassOn, 1, 2);
    filters->addWidget(cmdFilterClassOff, 1, 3);
    filters->addWidget(Command1, 0, 4);

    auto* function = new QFormLayout;
    function->addRow(QStringLiteral("Nr"), BoxFxNr);
    function->addRow(QStringLiteral("Name"), ShortName);
    function->addRow(QStringLiteral("Description"), FullName);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdFile);
    buttons->addStretch();
    buttons->addWidget(cmdClose);

    // The captions stand right over the list's columns.
    auto* captionedList = new QVBoxLayout;
    captionedList->setSpacing(0);
    captionedList->addWidget(listHeader);
    captionedList->addWidget(Configlist, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(captionedList, 1);
    layout->addLayout(filters);
    layout->addLayout(function);
    layout->addLayout(buttons);
    resize(760, 560);

    connect(Command1, &QPushButton::clicked, this, &frmListFunctions::Command1_Click);
    connect(CmdFilterTypeOn, &QPushButton::clicked, this, &frmListFunctions::CmdFilterTypeOn_Click);
    connect(CmdFilterTypeOff, &QPushButton::clicked, this, &frmListFunctions::CmdFilterTypeOff_Click);
    connect(CmdFilterClassOn, &QPushButton::clicked, this, &frmListFunctions::CmdFilterClassOn_Click);
    connect(cmdFilterClassOff, &QPushButton::clicked, this, &frmListFunctions::cmdFilterClassOff_Click);
    connect(Configlist, &QListWidget::itemSelectionChanged, this, &frmListFunctions::Configlist_Click);
    connect(CmdSave, &QPushButton::clicked, this, &frmListFunctions::CmdSave_Click);
    connect(CmdFile, &QPushButton::clicked, this, &frmListFunctions::CmdFile_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmListFunctions::cmdClose_Click);
}

void frmListFunctions::Form_Load()
{
    filter_.signalTypeOn = filter_.categoryOn = false;
    Command1_Click();
}

void frmListFunctions::Command1_Click()
{
    filter_.signalType = Signaltype->text().toLatin1().toStdString();
    filter_.category = Category->text().toLatin1().toStdString();
    Configlist->clear();
    for (const std::string& line : FunctionListLines(Cfg, filter_))
        Configlist->addItem(fromLatin1(line));
    columns_->lay();
}

void frmListFunctions::setFilter(bool& on, QPushButton* onButton, bool turnOn)
{
    on = turnOn;
    onButton->setStyleSheet(turnOn ? QStringLiteral("background-color: rgb(255, 0, 0);") : QString());
    Command1_Click();
}

void frmListFunctions::Configlist_Click()
{
    const QList<QListWidgetItem*> selected = Configlist->selectedItems();
    if (selected.isEmpty())
        return;
    const int n = FunctionNumberOfLine(selected.first()->text().toLatin1().toStdString());
    if (n < 1 || n >= kStoredFunctionRows)
        return;
    currentFunction_ = n;
    BoxFxNr->setText(QString::number(n));
    ShortName->setText(fromLatin1(Cfg.FunctionNames[n]));
    FullName->setPlainText(DescriptionForBox(Cfg.FunctionFullName[n]));
    Signaltype->setText(fromLatin1(SignalTypeName(Cfg.FunctionSignalType[n])));
    Category->setText(fromLatin1(CategoryName(Cfg, Cfg.FunctionCategory[n])));
}

void frmListFunctions::CmdSave_Click()
{
    if (currentFunction_ == 0)
        return;
    Cfg.FunctionFullName[currentFunction_] = DescriptionFromBox(FullName->toPlainText());
    Command1_Click();
    updated_ = true;
    MarkStoredNotSaved(Session, windowTitle().toStdString());
}

void frmListFunctions::CmdFile_Click()
{
    // The window's own mark only: the description stays the
    // configuration's not saved until a save is made.
    updated_ = false;
    DefaultForm<SaveConfig>::get().show();
}

void frmListFunctions::cmdClose_Click()
{
    if (!updated_ || messages().yesNoDefaultNo(QString::fromLatin1(kUpdatesNotSavedYet)))
        Form_CloseUnasked();
}

} // namespace varnet

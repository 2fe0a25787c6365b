#include "app/functioneditor.h"

#include "app/commandlist.h"
#include "app/functionlist.h"
#include "app/saveconfig.h"
#include "config/itemtext.h"
#include "config/numinput.h"
#include "config/numtext.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "simlink/functiontest.h"
#include "simlink/simports.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

namespace varnet {

namespace {

constexpr const char* kDataTypeItems[kDataTypes] = {"Byte",  "Integer",  "Unsigned Int.", "Long ",
                                                    "Float", "BCD code", "Xplane CMND",   "Not Used"};

// The number with leading zeros to at least `width` digits, a minus sign
// before a negative one ("-005").
std::string digits(long long value, int width)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, std::llabs(value));
    return (value < 0 ? "-" : "") + std::string(text);
}

std::string general(Single value)
{
    return formatSingle(value);
}

QString fromLatin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string toLatin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// The combo-box item that shows `value`, or -1 when there is none.
int item(int value, int items)
{
    return value >= 0 && value < items ? value : -1;
}

std::optional<long long> whole(const QString& text, long long lo, long long hi)
{
    const std::optional<double> value = parseNumber(toLatin1(text));
    return value ? RoundedInRange(*value, lo, hi) : std::nullopt;
}

void fill(QComboBox* combo, const QStringList& items)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

} // namespace

std::string FunctionEditorLine(const ConfigTables& t, int f, FunctionLineLayout layout)
{
    const char* const wide = ",   ";
    std::string line = digits(f, 3) + wide + t.FunctionNames[f] + wide + CategoryName(t, t.FunctionCategory[f]) +
                       wide + SignalTypeName(t.FunctionSignalType[f]) + wide + t.FunctionFullName[f] + ", " +
                       digits(t.FunctionDataType[f], 2) + ",  " + digits(t.FunctionIndex1[f], 3) + wide +
                       digits(t.FunctionIndex2[f], 3) + wide + digits(t.FunctionIndex3[f], 3) + wide +
                       digits(t.FunctionIndex4[f], 3);
    if (layout != FunctionLineLayout::Load)
        for (const Byte slot : {t.FunctionSlot1[f], t.FunctionSlot2[f], t.FunctionSlot3[f], t.FunctionSlot4[f]})
            line += wide + digits(slot, 1);
    if (layout != FunctionLineLayout::Delete)
        line += wide + digits(t.FunctionAux[f], 1);
    return line + wide + general(t.FunctionMultiply[f]) + ", " + general(t.FunctionDivide[f]);
}

QStringList FunctionEditorLines(const ConfigTables& tables, FunctionLineLayout layout)
{
    QStringList lines;
    for (int f = 0; f < kStoredFunctionRows; ++f)
        lines << fromLatin1(FunctionEditorLine(tables, f, layout));
    return lines;
}

FunctionFields FollowStoredFunction(const FunctionFields& typed, const FunctionFields& shown,
                                    const FunctionFields& stored)
{
    const auto follow = [](const auto& t, const auto& s, const auto& now) { return t == s ? now : t; };
    FunctionFields f;
    f.category = follow(typed.category, shown.category, stored.category);
    f.signalType = follow(typed.signalType, shown.signalType, stored.signalType);
    f.dataType = follow(typed.dataType, shown.dataType, stored.dataType);
    f.shortName = follow(typed.shortName, shown.shortName, stored.shortName);
    f.fullName = follow(typed.fullName, shown.fullName, stored.fullName);
    for (std::size_t n = 0; n < 4; ++n) {
        f.index[n] = follow(typed.index[n], shown.index[n], stored.index[n]);
        f.slot[n] = follow(typed.slot[n], shown.slot[n], stored.slot[n]);
    }
    f.preAdd = follow(typed.preAdd, shown.preAdd, stored.preAdd);
    f.multiplier = follow(typed.multiplier, shown.multiplier, stored.multiplier);
    f.divisor = follow(typed.divisor, shown.divisor, stored.divisor);
    f.minimum = follow(typed.minimum, shown.minimum, stored.minimum);
    f.maximum = follow(typed.maximum, shown.maximum, stored.maximum);
    f.macroNr = follow(typed.macroNr, shown.macroNr, stored.macroNr);
    return f;
}

FunctionFields FieldsOfFunction(const ConfigTables& t, int f)
{
    FunctionFields fields;
    fields.category = item(t.FunctionCategory[f], kBuiltInCategories);
    fields.signalType = item(t.FunctionSignalType[f], kSignalTypes);
    fields.dataType = item(t.FunctionDataType[f], kDataTypes);
    fields.shortName = fromLatin1(t.FunctionNames[f]);
    fields.fullName = DescriptionForBox(t.FunctionFullName[f]);
    fields.index = {QString::number(t.FunctionIndex1[f]), QString::number(t.FunctionIndex2[f]),
                    QString::number(t.FunctionIndex3[f]), QString::number(t.FunctionIndex4[f])};
    fields.slot = {QString::number(t.FunctionSlot1[f]), QString::number(t.FunctionSlot2[f]),
                   QString::number(t.FunctionSlot3[f]), QString::number(t.FunctionSlot4[f])};
    if (t.FunctionNames[f].empty()) {
        fields.preAdd = fields.minimum = fields.macroNr = QStringLiteral("0");
        fields.multiplier = fields.divisor = fields.maximum = QStringLiteral("1");
    } else {
        fields.preAdd = fromLatin1(general(t.FunctionPreAdd[f]));
        fields.multiplier = fromLatin1(general(t.FunctionMultiply[f]));
        fields.divisor = fromLatin1(general(t.FunctionDivide[f]));
        fields.minimum = fromLatin1(general(t.FunctionMinimum[f]));
        fields.maximum = fromLatin1(general(t.FunctionMaximum[f]));
        fields.macroNr = QString::number(t.FunctionMacroNr[f]);
    }
    return fields;
}

std::optional<QString> StoreFunctionFields(ConfigTables& t, int f, const FunctionFields& fields)
{
    if (fields.shortName.isEmpty())
        return QString::fromLatin1(kShortNameMissing);
    for (const QString& slot : fields.slot) {
        const std::optional<double> value = parseNumber(toLatin1(slot));
        if (value && (*value < 0 || *value > 7))
            return QString::fromLatin1(kValueSlotRule);
    }

    // Every field converts before anything is stored.
    std::array<std::optional<long long>, 4> index;
    std::array<std::optional<long long>, 4> slot;
    for (std::size_t i = 0; i < 4; ++i) {
        index[i] = whole(fields.index[i], -32768, 32767);
        slot[i] = whole(fields.slot[i], 0, 255);
    }
    const std::optional<float> multiplier = parseSingle(toLatin1(fields.multiplier));
    const std::optional<float> divisor = parseSingle(toLatin1(fields.divisor));
    const std::optional<float> preAdd = parseSingle(toLatin1(fields.preAdd));
    const std::optional<float> minimum = parseSingle(toLatin1(fields.minimum));
    const std::optional<float> maximum = parseSingle(toLatin1(fields.maximum));
    const std::optional<long long> macroNr = whole(fields.macroNr, -32768, 32767);
    bool converted = multiplier && divisor && preAdd && minimum && maximum && macroNr;
    for (std::size_t i = 0; i < 4; ++i)
        converted = converted && index[i] && slot[i];
    if (!converted)
        return QString::fromLatin1(kIncorrectData);
    if (item(fields.signalType, kSignalTypes) < 0)
        return QString::fromLatin1(kSignalTypeMissing);
    if (item(fields.dataType, kDataTypes) < 0)
        return QString::fromLatin1(kDataTypeMissing);

    t.FunctionNumber[f] = Integer(f);
    t.FunctionCategory[f] = Byte(fields.category);
    t.FunctionNames[f] = toLatin1(QString(fields.shortName).replace(u'"', u'\''));
    t.FunctionFullName[f] = DescriptionFromBox(fields.fullName);
    t.FunctionIndex1[f] = Integer(*index[0]);
    t.FunctionIndex2[f] = Integer(*index[1]);
    t.FunctionIndex3[f] = Integer(*index[2]);
    t.FunctionIndex4[f] = Integer(*index[3]);
    t.FunctionSlot1[f] = Byte(*slot[0]);
    t.FunctionSlot2[f] = Byte(*slot[1]);
    t.FunctionSlot3[f] = Byte(*slot[2]);
    t.FunctionSlot4[f] = Byte(*slot[3]);
    t.FunctionMultiply[f] = *multiplier;
    t.FunctionDivide[f] = *divisor;
    t.FunctionPreAdd[f] = *preAdd;
    t.FunctionMinimum[f] = *minimum;
    t.FunctionMaximum[f] = *maximum;
    t.FunctionMacroNr[f] = Integer(*macroNr);
    t.FunctionSignalType[f] = Byte(fields.signalType);
    t.FunctionDataType[f] = Byte(fields.dataType);
    return std::nullopt;
}

void DeleteFunction(ConfigTables& t, int f)
{
    t.FunctionCategory[f] = 0;
    t.FunctionNames[f].clear();
    t.FunctionFullName[f].clear();
    t.FunctionIndex1[f] = t.FunctionIndex2[f] = t.FunctionIndex3[f] = t.FunctionIndex4[f] = 0;
    t.FunctionMultiply[f] = 0;
    t.FunctionDivide[f] = 0;
    t.FunctionSignalType[f] = 0;
    t.FunctionDataType[f] = 0;
}

RowSearch SearchRows(const QStringList& lines, int start, int lastRow, const QString& text)
{
    const QString wanted = text.toLower();
    for (int row = start; row <= lastRow; ++row) {
        if (row >= lines.size())
            return {row > start ? row - 1 : -1, start};
        if (lines[row].toLower().contains(wanted))
            return {row, row >= lastRow ? 0 : row + 1};
    }
    return {start <= lastRow ? lastRow : -1, 0};
}

GetOffsetlist::GetOffsetlist()
{
    setObjectName(QStringLiteral("GetOffsetlist"));
    setWindowTitle(QStringLiteral("Creation and Maintenance of Varnet Functions"));

    // ---- Function list and search.
    auto* Frame2 = frame("Frame2", "List of Varnet Functions", this);
    Configlist = new QListWidget(Frame2);
    Configlist->setObjectName(QStringLiteral("Configlist"));
    // The list is what the window is for: keep a dozen functions in view.
    Configlist->setMinimumHeight(Configlist->fontMetrics().lineSpacing() * 12);
    (new QVBoxLayout(Frame2))->addWidget(Configlist);
    auto* Frame6 = frame("Frame6", "Search ", this);
    SearchTextFunction = textBox("SearchTextFunction", Frame6);
    auto* CmdSearchInFunctions = button("CmdSearchInFunctions", "Next", Frame6);
    auto* functionSearch = new QHBoxLayout(Frame6);
    functionSearch->addWidget(SearchTextFunction);
    functionSearch->addWidget(CmdSearchInFunctions);

    // ---- The function's fields.
    BoxFxNr = textBox("BoxFxNr", this);
    BoxFxNr->setReadOnly(true);
    ShortName = textBox("ShortName", this);
    ShortName->setMaxLength(int(kMaxItemLength));  // what the file reads back
    ComboClass = comboBox("ComboClass", this);
    FuncType = comboBox("FuncType", this);
    FullName = new QPlainTextEdit(this);
    FullName->setObjectName(QStringLiteral("FullName"));
    FullName->setMaximumHeight(90);
    auto* names = new QGridLayout;
    names->addWidget(label("Nr", this), 0, 0);
    names->addWidget(BoxFxNr, 0, 1);
    names->addWidget(label("Short name", this), 0, 2);
    names->addWidget(ShortName, 0, 3);
    names->addWidget(label("Category", this), 1, 0);
    names->addWidget(ComboClass, 1, 1);
    names->addWidget(label("Signal Type", this), 1, 2);
    names->addWidget(FuncType, 1, 3);
    names->addWidget(label("Full name/ Descripton         or Command", this), 2, 0, 1, 4);
    names->addWidget(FullName, 3, 0, 1, 4);

    auto* pointers = new QGridLayout;
    pointers->addWidget(label("X-Plane Index And Value pointers ", this), 0, 0, 1, 5);
    const char* const xpIndexNames[] = {"XPindex1", "XPindex2", "XPindex3", "XPindex4"};
    const char* const xpValNames[] = {"XPVal1", "XPVal2", "XPVal3", "XPVal4"};
    const char* const testNames[] = {"cmdTestFunction", "Command2", "Command3", "Command4"};
    for (int n = 0; n < 4; ++n) {
        XPindex[std::size_t(n)] = textBox(xpIndexNames[n], this);
        XPVal[std::size_t(n)] = textBox(xpValNames[n], this);
        auto* test = button(testNames[n], "T", this);
        pointers->addWidget(new QLabel(QString::number(n + 1), this), n + 1, 0);
        pointers->addWidget(label("index", this), n + 1, 1);
        pointers->addWidget(XPindex[std::size_t(n)], n + 1, 2);
        pointers->addWidget(label("V", this), n + 1, 3);
        pointers->addWidget(XPVal[std::size_t(n)], n + 1, 4);
        pointers->addWidget(test, n + 1, 5);
        connect(test, &QPushButton::clicked, this, [this, n] { testSelector(n + 1); });
    }
    auto* legend = new QHBoxLayout;
    legend->addWidget(label("Click: ", this));
    legend->addWidget(button("CmdTest1", "T", this));
    legend->addWidget(label("to Test Function", this));
    legend->addStretch();
    pointers->addLayout(legend, 5, 0, 1, 6);
    ComboDT = comboBox("ComboDT", this);
    pointers->addWidget(label("Datatype", this), 6, 0, 1, 2);
    pointers->addWidget(ComboDT, 6, 2, 1, 3);

    auto* Frame3 = frame("Frame3", "Recalculation Parameters at reading", this);
    BoxAdd = textBox("BoxAdd", Frame3, "0");
    Multiplier = textBox("Multiplier", Frame3, "1");
    Devider = textBox("Devider", Frame3, "1");
    BoxMacroNr = textBox("BoxMacroNr", Frame3, "0");
    auto* recalculation = new QGridLayout(Frame3);
    recalculation->addWidget(
        label("Value = (Read Value  + this)      Multiplied by this      Divided by  this) ", Frame3), 0, 0, 1, 4);
    recalculation->addWidget(label("Pre-Add/Subtract", Frame3), 1, 0);
    recalculation->addWidget(BoxAdd, 1, 1);
    recalculation->addWidget(label("Multiplier", Frame3), 1, 2);
    recalculation->addWidget(Multiplier, 1, 3);
    recalculation->addWidget(label("Divisor", Frame3), 2, 0);
    recalculation->addWidget(Devider, 2, 1);
    recalculation->addWidget(label("Macro#", Frame3), 2, 2);
    recalculation->addWidget(BoxMacroNr, 2, 3);

    auto* Frame1 = frame("Frame1", "Value Limits", this);
    boxMinimumValue = textBox("boxMinimumValue", Frame1, "0");
    boxMaximumValue = textBox("boxMaximumValue", Frame1, "1");
    auto* limits = new QGridLayout(Frame1);
    limits->addWidget(label("Minimum Value", Frame1), 0, 0);
    limits->addWidget(boxMinimumValue, 0, 1);
    limits->addWidget(label("Maximum Value", Frame1), 1, 0);
    limits->addWidget(boxMaximumValue, 1, 1);

    auto* CmdSave = button("CmdSave", "Save function", this);
    auto* Command1 = button("Command1", "Delete function", this);
    auto* CmdSaveConfig = button("CmdSaveConfig", "Save Config", this);
    auto* cmdClose = button("cmdClose", "Close", this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {CmdSave, Command1, CmdSaveConfig, cmdClose})
        buttons->addWidget(b);

    // ---- Command half.
    auto* Frame4 = frame("Frame4", "List of X-Plane Commands", this);
    ListXplaneCmnds = new QListWidget(Frame4);
    ListXplaneCmnds->setObjectName(QStringLiteral("ListXplaneCmnds"));
    (new QVBoxLayout(Frame4))->addWidget(ListXplaneCmnds);
    auto* frame5 = frame("frame5", "Search ", this);
    SearchText = textBox("SearchText", frame5);
    auto* Cmdsearch = button("Cmdsearch", "Search Next", frame5);
    auto* commandSearch = new QHBoxLayout(frame5);
    commandSearch->addWidget(SearchText);
    commandSearch->addWidget(Cmdsearch);
    auto* cmdCopyCmdToFunction = button("cmdCopyCmdToFunction", "Copy to Function as #", this);
    boxCmdNumber = textBox("boxCmdNumber", this, "0");
    auto* cmdTestCommand = button("cmdTestCommand", "Test X-Plane Command", this);
    auto* cmdClearFunction = button("cmdClearFunction", "Clear Commands in Function", this);
    auto* commandButtons = new QGridLayout;
    commandButtons->addWidget(cmdCopyCmdToFunction, 0, 0);
    commandButtons->addWidget(boxCmdNumber, 0, 1);
    commandButtons->addWidget(cmdTestCommand, 1, 0, 1, 2);
    commandButtons->addWidget(cmdClearFunction, 2, 0, 1, 2);

    auto* functionHalf = new QVBoxLayout;
    functionHalf->addWidget(Frame2, 1);
    functionHalf->addWidget(Frame6);
    functionHalf->addLayout(names);
    functionHalf->addLayout(pointers);
    functionHalf->addWidget(Frame3);
    functionHalf->addWidget(Frame1);
    functionHalf->addLayout(buttons);
    auto* commandHalf = new QVBoxLayout;
    commandHalf->addWidget(Frame4, 1);
    commandHalf->addWidget(frame5);
    commandHalf->addLayout(commandButtons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(functionHalf, 3);
    layout->addLayout(commandHalf, 2);
    resize(1100, 900);

    QStringList dataTypes;
    for (const char* name : kDataTypeItems)
        dataTypes << QString::fromLatin1(name);
    fill(ComboDT, dataTypes);

    connect(Configlist, &QListWidget::currentRowChanged, this, &GetOffsetlist::Configlist_Click);
    connect(CmdSearchInFunctions, &QPushButton::clicked, this, &GetOffsetlist::CmdSearchInFunctions_Click);
    connect(CmdSave, &QPushButton::clicked, this, &GetOffsetlist::CmdSave_Click);
    connect(Command1, &QPushButton::clicked, this, &GetOffsetlist::Command1_Click);
    connect(CmdSaveConfig, &QPushButton::clicked, this, &GetOffsetlist::CmdSaveConfig_Click);
    connect(cmdClose, &QPushButton::clicked, this, &GetOffsetlist::cmdClose_Click);
    connect(Cmdsearch, &QPushButton::clicked, this, &GetOffsetlist::Cmdsearch_Click);
    connect(cmdCopyCmdToFunction, &QPushButton::clicked, this, &GetOffsetlist::cmdCopyCmdToFunction_Click);
    connect(cmdTestCommand, &QPushButton::clicked, this, &GetOffsetlist::cmdTestCommand_Click);
    connect(cmdClearFunction, &QPushButton::clicked, this, &GetOffsetlist::cmdClearFunction_Click);
}

void GetOffsetlist::ShowWindow()
{
    GetOffsetlist& window = DefaultForm<GetOffsetlist>::get();
    window.show();
}

void GetOffsetlist::Form_Load()
{
    QStringList categories;
    QStringList signalTypes;
    for (int k = 0; k < kSignalTypes; ++k) {
        SignalTypeNames[std::size_t(k)] = QString::fromLatin1(kSignalTypeNames[k]);
        signalTypes << SignalTypeNames[std::size_t(k)];
    }
    for (int k = 0; k < kBuiltInCategories; ++k)
        categories << fromLatin1(Cfg.CategoryNames[k]);
    fill(ComboClass, categories);
    fill(FuncType, signalTypes);
    rebuildList(FunctionLineLayout::Load, -1);
    ReadXplaneCommands();
}

void GetOffsetlist::selectRow(QListWidget* list, int row)
{
    if (row < 0)
        return;
    {
        const QSignalBlocker blocker(list);
        list->setCurrentRow(row);
    }
    // A row selected by the program shows, like one the user picks.
    if (list == Configlist)
        Configlist_Click();
}

void GetOffsetlist::rebuildList(FunctionLineLayout layout, int row)
{
    {
        const QSignalBlocker blocker(Configlist);
        Configlist->clear();
        Configlist->addItems(FunctionEditorLines(Cfg, layout));
    }
    selectRow(Configlist, row);
}

void GetOffsetlist::showFields(const FunctionFields& f, const FunctionFields& stored)
{
    stored_ = stored;
    ComboClass->setCurrentIndex(f.category);
    FullName->setPlainText(f.fullName);
    FuncType->setCurrentIndex(f.signalType);
    for (std::size_t n = 0; n < 4; ++n) {
        XPindex[n]->setText(f.index[n]);
        XPVal[n]->setText(f.slot[n]);
    }
    ComboDT->setCurrentIndex(f.dataType);
    ShortName->setText(f.shortName);
    Multiplier->setText(f.multiplier);
    Devider->setText(f.divisor);
    BoxAdd->setText(f.preAdd);
    boxMinimumValue->setText(f.minimum);
    boxMaximumValue->setText(f.maximum);
    BoxMacroNr->setText(f.macroNr);
}

FunctionFields GetOffsetlist::fields() const
{
    FunctionFields f;
    f.category = ComboClass->currentIndex();
    f.signalType = FuncType->currentIndex();
    f.dataType = ComboDT->currentIndex();
    f.shortName = ShortName->text();
    f.fullName = FullName->toPlainText();
    for (std::size_t n = 0; n < 4; ++n) {
        f.index[n] = XPindex[n]->text();
        f.slot[n] = XPVal[n]->text();
    }
    f.preAdd = BoxAdd->text();
    f.multiplier = Multiplier->text();
    f.divisor = Devider->text();
    f.minimum = boxMinimumValue->text();
    f.maximum = boxMaximumValue->text();
    f.macroNr = BoxMacroNr->text();
    return f;
}

int GetOffsetlist::shownFunction() const
{
    bool shown = false;
    const int k = BoxFxNr->text().toInt(&shown);
    return shown && k >= 1 && k <= kLastFunction ? k : 0;
}

bool GetOffsetlist::editedNotStored() const
{
    return shownFunction() != 0 && fields() != stored_;
}

void GetOffsetlist::Form_Activate()
{
    if (const int k = shownFunction()) {
        const FunctionFields now = FieldsOfFunction(Cfg, k);
        showFields(FollowStoredFunction(fields(), stored_, now), now);
    }
}

void GetOffsetlist::Configlist_Click()
{
    const int k = Configlist->currentRow();
    if (k < 1 || k > kLastFunction)
        return;
    BoxFxNr->setText(QString::number(k));
    showFields(FieldsOfFunction(Cfg, k));
}

int GetOffsetlist::selectedFunction() const
{
    // The list makes a row current, unselected, as soon as it has the
    // focus: only a selected row names the function to change.
    const QListWidgetItem* line = Configlist->currentItem();
    return line && line->isSelected() ? Configlist->row(line) : -1;
}

void GetOffsetlist::CmdSave_Click()
{
    const int k = selectedFunction();
    if (k < 0 || ComboClass->currentIndex() < 0)
        return;
    if (const std::optional<QString> refused = StoreFunctionFields(Cfg, k, fields())) {
        messages().ok(*refused);
        return;
    }
    rebuildList(FunctionLineLayout::Save, k);
    Session.ConfigChanged = 1;
    unsaved_ = true;
    boxCmdNumber->setText(QStringLiteral("0"));
}

void GetOffsetlist::Command1_Click()
{
    const int k = selectedFunction();
    if (k < 0)
        return;
    DeleteFunction(Cfg, k);
    rebuildList(FunctionLineLayout::Delete, k);
    // A cleared function is an edit like any other: it must not be lost
    // without the question at closing.
    Session.ConfigChanged = 1;
    unsaved_ = true;
}

void GetOffsetlist::testSelector(int selector)
{
    if (BoxFxNr->text().isEmpty())
        return;
    // The box only ever shows the number of a function 1..300.
    const int function = BoxFxNr->text().toInt();
    frmTestFunction& test = DefaultForm<frmTestFunction>::get();
    test.show();
    test.StartScan(function, selector);
}

void GetOffsetlist::CmdSearchInFunctions_Click()
{
    QStringList lines;
    for (int row = 0; row < Configlist->count(); ++row)
        lines << Configlist->item(row)->text();
    const RowSearch found = SearchRows(lines, functionSearchStart_, kLastFunction, SearchTextFunction->text());
    selectRow(Configlist, found.row);
    functionSearchStart_ = found.nextStart;
}

void GetOffsetlist::CmdSaveConfig_Click()
{
    unsaved_ = false;
    SaveConfig& save = DefaultForm<SaveConfig>::get();
    save.show();
}

QString GetOffsetlist::unsavedQuestion() const
{
    return editedNotStored() ? QString::fromLatin1(kUpdatesNotSavedYet) : QString();
}

void GetOffsetlist::cmdClose_Click()
{
    if ((unsaved_ || editedNotStored()) && !messages().yesNoDefaultNo(QString::fromLatin1(kUpdatesNotSavedYet)))
        return;
    Form_CloseUnasked();
}

void GetOffsetlist::Form_CloseUnasked()
{
    ListXplaneCmnds->clear();
    DefaultForm<GetOffsetlist>::unload();
}

} // namespace varnet

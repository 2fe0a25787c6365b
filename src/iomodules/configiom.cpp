#include "iomodules/configiom.h"

#include "bus/deviceports.h"
#include "bus/gaugeframes.h"
#include "bus/ioentryrules.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "config/choicelists.h"
#include "iomodules/functionchoice.h"
#include "iomodules/iomodulelink.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/serialport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace varnet {

namespace {

constexpr int kTestIntervalMs = 100;
// Ticks of the test without a reply before the window says so.
constexpr int kSilentTicks = 10;
constexpr int kSwitchPage = 0;
constexpr int kAnaloguePage = 1;
constexpr int kLEDPage = 2;

} // namespace

class KeyCaptureBox final : public QLineEdit {
public:
    KeyCaptureBox(const char* name, QWidget* parent) : QLineEdit(parent)
    {
        setObjectName(QString::fromLatin1(name));
        setReadOnly(true);
        setPlaceholderText(QStringLiteral("press a key"));
        setCode(0);
    }

    int code() const { return code_; }
    void setCode(int code)
    {
        code_ = code;
        setText(KeyLabel(code));
    }
    std::function<void()> changed;

protected:
    // Tab and Escape are keys like any other here: they would otherwise
    // move the focus or close the window.
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            keyPressEvent(static_cast<QKeyEvent*>(e));
            return true;
        }
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }

    void keyPressEvent(QKeyEvent* e) override
    {
        const Qt::KeyboardModifiers m = e->modifiers();
        const std::optional<int> code =
            KeyCodeOfKey(e->key(), e->text(), m & Qt::ShiftModifier, m & Qt::ControlModifier);
        e->accept();
        if (!code)
            return;
        setCode(*code);
        if (changed)
            changed();
    }

private:
    int code_ = 0;
};

ConfigIOM::ConfigIOM()
{
    setObjectName(QStringLiteral("ConfigIOM"));
    setWindowTitle(QStringLiteral("IO Module"));
    buildControls();
    TestTimer_.setParent(this);
    TestTimer_.setObjectName(QStringLiteral("TestTimer"));
    TestTimer_.setInterval(kTestIntervalMs);
    connect(&TestTimer_, &QTimer::timeout, this, &ConfigIOM::TestTimer_Timer);
}

ConfigIOM::~ConfigIOM() = default;

void ConfigIOM::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    Label1 = namedControl<QLabel>("Label1", this);
    Label1->setWordWrap(true);
    layout->addWidget(Label1);

    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);

    // --- The inputs and outputs of the module.
    auto* listFrame = frame("FrameEntries", QStringLiteral("Inputs and outputs"), this);
    auto* listLayout = new QVBoxLayout(listFrame);
    ComboKind = comboBox("ComboKind", listFrame);
    ComboKind->addItems({QStringLiteral("Switches 0..47"), QStringLiteral("Analogue inputs 0..7"),
                         QStringLiteral("LED outputs 0..31")});
    listLayout->addWidget(ComboKind);
    ListEntries = namedControl<QListWidget>("ListEntries", listFrame);
    ListEntries->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ListEntries->setMinimumWidth(ListEntries->fontMetrics().averageCharWidth() * 62);
    ListEntries->setMinimumHeight(ListEntries->fontMetrics().height() * 16);
    listLayout->addWidget(ListEntries, 1);
    auto* debounceRow = new QHBoxLayout;
    debounceRow->addWidget(label(QStringLiteral("Debounce time (ms, 0..20):"), listFrame));
    boxDebounce = textBox("boxDebounce", listFrame);
    boxDebounce->setMaximumWidth(60);
    debounceRow->addWidget(boxDebounce);
    cmdSetDebounce = button("cmdSetDebounce", QStringLiteral("set"), listFrame);
    debounceRow->addWidget(cmdSetDebounce);
    debounceRow->addStretch(1);
    listLayout->addLayout(debounceRow);
    columns->addWidget(listFrame, 3);

    // --- The entry of the selected line.
    auto* entryFrame = frame("FrameEntry", QStringLiteral("Entry"), this);
    auto* entryLayout = new QVBoxLayout(entryFrame);
    LabelEntry = namedControl<QLabel>("LabelEntry", entryFrame);
    entryLayout->addWidget(LabelEntry);
    auto* functionGrid = new QGridLayout;
    functionChoice_ = new FunctionChoice(entryFrame, "ComboFunction");
    ComboClass = functionChoice_->ComboClass;
    ComboFunction = functionChoice_->FunctionList;
    ComboFunction->setMinimumWidth(220);
    ComboSeqNr = comboBox("ComboSeqNr", entryFrame);
    ComboSeqNr->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    functionChoice_->place(functionGrid, 0, QStringLiteral("Category:"), QStringLiteral("Function:"));
    functionGrid->addWidget(label(QStringLiteral("Selector:"), entryFrame), 3, 0);
    functionGrid->addWidget(ComboSeqNr, 3, 1, Qt::AlignLeft);
    entryLayout->addLayout(functionGrid);

    KindPages = namedControl<QStackedWidget>("KindPages", entryFrame);
    // Switch page.
    auto* switchPage = new QWidget(KindPages);
    auto* switchGrid = new QGridLayout(switchPage);
    switchGrid->setContentsMargins(0, 0, 0, 0);
    OptionAbsolute =
        namedControl<QRadioButton>("OptionAbsolute", QStringLiteral("Set a value (% of the function's range)"), switchPage);
    OptionIncrement = namedControl<QRadioButton>("OptionIncrement", QStringLiteral("Add to the value"), switchPage);
    OptionKeystroke = namedControl<QRadioButton>("OptionKeystroke", QStringLiteral("Type a key"), switchPage);
    switchModes_ = new QButtonGroup(this);
    switchModes_->addButton(OptionAbsolute, int(SwitchMode::Absolute));
    switchModes_->addButton(OptionIncrement, int(SwitchMode::Increment));
    switchModes_->addButton(OptionKeystroke, int(SwitchMode::Keystroke));
    switchGrid->addWidget(OptionAbsolute, 0, 0, 1, 3);
    switchGrid->addWidget(OptionIncrement, 1, 0, 1, 3);
    LabelValueOn = label(QString(), switchPage);
    LabelValueOff = label(QString(), switchPage);
    boxValueOn = textBox("boxValueOn", switchPage);
    boxValueOff = textBox("boxValueOff", switchPage);
    CheckStepOn = namedControl<QCheckBox>("CheckStepOn", QStringLiteral("acts"), switchPage);
    CheckStepOff = namedControl<QCheckBox>("CheckStepOff", QStringLiteral("acts"), switchPage);
    switchGrid->addWidget(LabelValueOn, 2, 0);
    switchGrid->addWidget(boxValueOn, 2, 1);
    switchGrid->addWidget(CheckStepOn, 2, 2);
    switchGrid->addWidget(LabelValueOff, 3, 0);
    switchGrid->addWidget(boxValueOff, 3, 1);
    switchGrid->addWidget(CheckStepOff, 3, 2);
    switchGrid->addWidget(OptionKeystroke, 4, 0, 1, 3);
    boxKeyOn = new KeyCaptureBox("boxKeyOn", switchPage);
    boxKeyOff = new KeyCaptureBox("boxKeyOff", switchPage);
    cmdNoKeyOn = button("cmdNoKeyOn", QStringLiteral("None"), switchPage);
    cmdNoKeyOff = button("cmdNoKeyOff", QStringLiteral("None"), switchPage);
    switchGrid->addWidget(label(QStringLiteral("Key on:"), switchPage), 5, 0);
    switchGrid->addWidget(boxKeyOn, 5, 1);
    switchGrid->addWidget(cmdNoKeyOn, 5, 2);
    switchGrid->addWidget(label(QStringLiteral("Key off:"), switchPage), 6, 0);
    switchGrid->addWidget(boxKeyOff, 6, 1);
    switchGrid->addWidget(cmdNoKeyOff, 6, 2);
    switchGrid->setRowStretch(7, 1);
    KindPages->addWidget(switchPage);
    // Analogue page.
    auto* analoguePage = new QWidget(KindPages);
    auto* analogueGrid = new QGridLayout(analoguePage);
    analogueGrid->setContentsMargins(0, 0, 0, 0);
    boxMinimum = textBox("boxMinimum", analoguePage);
    boxCentre = textBox("boxCentre", analoguePage);
    boxMaximum = textBox("boxMaximum", analoguePage);
    boxThreshold = textBox("boxThreshold", analoguePage);
    analogueGrid->addWidget(label(QStringLiteral("Minimum raw value (0..4095):"), analoguePage), 0, 0);
    analogueGrid->addWidget(boxMinimum, 0, 1);
    analogueGrid->addWidget(label(QStringLiteral("Centre raw value (below 1 = none):"), analoguePage), 1, 0);
    analogueGrid->addWidget(boxCentre, 1, 1);
    analogueGrid->addWidget(label(QStringLiteral("Maximum raw value (0..4095):"), analoguePage), 2, 0);
    analogueGrid->addWidget(boxMaximum, 2, 1);
    analogueGrid->addWidget(label(QStringLiteral("Change threshold:"), analoguePage), 3, 0);
    analogueGrid->addWidget(boxThreshold, 3, 1);
    analogueGrid->setRowStretch(4, 1);
    KindPages->addWidget(analoguePage);
    // LED page.
    auto* ledPage = new QWidget(KindPages);
    auto* ledGrid = new QGridLayout(ledPage);
    ledGrid->setContentsMargins(0, 0, 0, 0);
    ledGrid->addWidget(label(QStringLiteral("Lit when the value is:"), ledPage), 0, 0, 1, 2);
    CheckAtMinimum = namedControl<QCheckBox>("CheckAtMinimum", QStringLiteral("at the function's minimum"), ledPage);
    CheckAtMaximum = namedControl<QCheckBox>("CheckAtMaximum", QStringLiteral("at the function's maximum"), ledPage);
    CheckAboveCrossover = namedControl<QCheckBox>("CheckAboveCrossover", QStringLiteral("above the crossover"), ledPage);
    CheckAtFreeValue = namedControl<QCheckBox>("CheckAtFreeValue", QStringLiteral("at the free value"), ledPage);
    boxCrossover = textBox("boxCrossover", ledPage);
    boxFreeValue = textBox("boxFreeValue", ledPage);
    CheckInvert = namedControl<QCheckBox>("CheckInvert", QStringLiteral("Invert (lit when none holds)"), ledPage);
    ledGrid->addWidget(CheckAtMinimum, 1, 0, 1, 2);
    ledGrid->addWidget(CheckAtMaximum, 2, 0, 1, 2);
    ledGrid->addWidget(CheckAboveCrossover, 3, 0, 1, 2);
    ledGrid->addWidget(CheckAtFreeValue, 4, 0, 1, 2);
    ledGrid->addWidget(label(QStringLiteral("Crossover (% of the range):"), ledPage), 5, 0);
    ledGrid->addWidget(boxCrossover, 5, 1);
    ledGrid->addWidget(label(QStringLiteral("Free value:"), ledPage), 6, 0);
    ledGrid->addWidget(boxFreeValue, 6, 1);
    ledGrid->addWidget(CheckInvert, 7, 0, 1, 2);
    ledGrid->setRowStretch(8, 1);
    KindPages->addWidget(ledPage);
    entryLayout->addWidget(KindPages, 1);

    auto* entryButtons = new QHBoxLayout;
    cmdSaveEntry = button("cmdSaveEntry", QStringLiteral("Save entry"), entryFrame);
    cmdDeleteEntry = button("cmdDeleteEntry", QStringLiteral("Delete entry"), entryFrame);
    entryButtons->addWidget(cmdSaveEntry);
    entryButtons->addWidget(cmdDeleteEntry);
    entryButtons->addStretch(1);
    entryLayout->addLayout(entryButtons);
    columns->addWidget(entryFrame, 2);

    // --- The live test.
    auto* testFrame = frame("FrameTest", QStringLiteral("Test the module (while no run is active)"), this);
    auto* testGrid = new QGridLayout(testFrame);
    cmdTest = button("cmdTest", QStringLiteral("Start test"), testFrame);
    LabelTestStatus = namedControl<QLabel>("LabelTestStatus", QStringLiteral("Not testing"), testFrame);
    LabelSwitches = namedControl<QLabel>("LabelSwitches", testFrame);
    LabelChannels = namedControl<QLabel>("LabelChannels", testFrame);
    for (QLabel* l : {LabelSwitches, LabelChannels}) {
        l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    boxTestLED = textBox("boxTestLED", testFrame, QStringLiteral("0"));
    boxTestLED->setMaximumWidth(60);
    cmdLEDOn = button("cmdLEDOn", QStringLiteral("Light"), testFrame);
    cmdLEDOff = button("cmdLEDOff", QStringLiteral("Darken"), testFrame);
    testGrid->addWidget(cmdTest, 0, 0);
    testGrid->addWidget(LabelTestStatus, 0, 1, 1, 4);
    testGrid->addWidget(label(QStringLiteral("Switches:"), testFrame), 1, 0);
    testGrid->addWidget(LabelSwitches, 1, 1, 1, 4);
    testGrid->addWidget(label(QStringLiteral("Analogue:"), testFrame), 2, 0);
    testGrid->addWidget(LabelChannels, 2, 1, 1, 4);
    testGrid->addWidget(label(QStringLiteral("LED output (0..31):"), testFrame), 3, 0);
    testGrid->addWidget(boxTestLED, 3, 1);
    testGrid->addWidget(cmdLEDOn, 3, 2);
    testGrid->addWidget(cmdLEDOff, 3, 3);
    testGrid->setColumnStretch(4, 1);
    layout->addWidget(testFrame);

    auto* closeRow = new QHBoxLayout;
    auto* cmdSaveConfig = button("cmdSaveConfig", QStringLiteral("Save / Load Configuration"), this);
    auto* cmdClose = button("cmdClose", QStringLiteral("Close"), this);
    closeRow->addWidget(cmdSaveConfig);
    closeRow->addStretch(1);
    closeRow->addWidget(cmdClose);
    layout->addLayout(closeRow);

    connect(ComboKind, &QComboBox::currentIndexChanged, this, &ConfigIOM::ComboKind_Click);
    connect(ListEntries, &QListWidget::currentRowChanged, this, &ConfigIOM::ListEntries_Click);
    connect(cmdSetDebounce, &QPushButton::clicked, this, &ConfigIOM::cmdSetDebounce_Click);
    connect(boxDebounce, &QLineEdit::returnPressed, this, &ConfigIOM::cmdSetDebounce_Click);
    connect(ComboClass, &QComboBox::currentIndexChanged, this, [this](int) {
        showFunctions(0);
        fieldsEdited();
    });
    connect(ComboFunction, &QComboBox::currentIndexChanged, this, &ConfigIOM::fieldsEdited);
    connect(ComboSeqNr, &QComboBox::currentIndexChanged, this, &ConfigIOM::fieldsEdited);
    connect(switchModes_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            showSwitchMode();
            fieldsEdited();
        }
    });
    for (QLineEdit* box : {boxValueOn, boxValueOff, boxMinimum, boxCentre, boxMaximum, boxThreshold, boxCrossover,
                           boxFreeValue})
        connect(box, &QLineEdit::textEdited, this, &ConfigIOM::fieldsEdited);
    for (QCheckBox* box : {CheckStepOn, CheckStepOff, CheckAtMinimum, CheckAtMaximum, CheckAboveCrossover,
                           CheckAtFreeValue, CheckInvert})
        connect(box, &QCheckBox::toggled, this, &ConfigIOM::fieldsEdited);
    boxKeyOn->changed = boxKeyOff->changed = [this] { fieldsEdited(); };
    connect(cmdNoKeyOn, &QPushButton::clicked, this, [this] {
        boxKeyOn->setCode(0);
        fieldsEdited();
    });
    connect(cmdNoKeyOff, &QPushButton::clicked, this, [this] {
        boxKeyOff->setCode(0);
        fieldsEdited();
    });
    connect(cmdSaveEntry, &QPushButton::clicked, this, &ConfigIOM::cmdSaveEntry_Click);
    connect(cmdDeleteEntry, &QPushButton::clicked, this, &ConfigIOM::cmdDeleteEntry_Click);
    connect(cmdTest, &QPushButton::clicked, this, &ConfigIOM::cmdTest_Click);
    connect(cmdLEDOn, &QPushButton::clicked, this, [this] { cmdLED_Click(true); });
    connect(cmdLEDOff, &QPushButton::clicked, this, [this] { cmdLED_Click(false); });
    connect(cmdSaveConfig, &QPushButton::clicked, this, &ConfigIOM::cmdSaveConfig_Click);
    connect(cmdClose, &QPushButton::clicked, this, &ConfigIOM::cmdClose_Click);
}

void ConfigIOM::Form_Load()
{
    GaugeID = CurrentGaugeID;
    Label1->setText(IOModuleDescription(GaugeID) +
                    QStringLiteral(": its 48 switch inputs, 8 analogue inputs and 32 LED outputs, each tied to a "
                                   "simulator function or a keystroke. Select a line to define or change its entry."));
    setWindowTitle(QStringLiteral("IO Module - ") + IOModuleDescription(GaugeID));
    // The debounce time is the stand-alone modules' own.
    for (QWidget* w : {static_cast<QWidget*>(boxDebounce), static_cast<QWidget*>(cmdSetDebounce)})
        w->setEnabled(standAlone());
    boxDebounce->setText(QString::number(Session.IODebounceTime));
    functionChoice_->fillCategories(0);
    {
        const QSignalBlocker blocker(ComboKind);
        ComboKind->setCurrentIndex(0);
    }
    ComboKind_Click(0);
}

bool ConfigIOM::standAlone() const
{
    return standAloneModuleOf(GaugeID).has_value();
}

void ConfigIOM::ComboKind_Click(int index)
{
    const int kind = index + IOEntrySwitch;
    // Another kind shows another entry, as another line does.
    if (kind != kind_ && !unstoredMayGo(edited_)) {
        const QSignalBlocker blocker(ComboKind);
        ComboKind->setCurrentIndex(kind_ - IOEntrySwitch);
        return;
    }
    kind_ = kind;
    number_ = 0;
    refreshList();
    ListEntries->setCurrentRow(0);
    ListEntries_Click(0);
}

void ConfigIOM::refreshList()
{
    const QSignalBlocker blocker(ListEntries);
    ListEntries->clear();
    for (int n = 0; n < IOEntryNumbers(kind_); ++n)
        ListEntries->addItem(IOEntryLine(Cfg, GaugeID, kind_, n));
    ListEntries->setCurrentRow(number_);
}

QString ConfigIOM::unsavedQuestion() const
{
    return edited_ ? QString::fromLatin1(kUpdatesNotSavedYet) : QString();
}

void ConfigIOM::ListEntries_Click(int row)
{
    if (row < 0 || row >= IOEntryNumbers(kind_))
        return;
    if (row != number_ && !unstoredMayGo(edited_)) {
        const QSignalBlocker blocker(ListEntries);
        ListEntries->setCurrentRow(number_);
        return;
    }
    number_ = row;
    showEntry();
}

bool ConfigIOM::unstoredMayGo(bool unstored)
{
    return !unstored || messages().yesNoDefaultNo(QString::fromLatin1(kUpdatesNotSavedYet));
}

void ConfigIOM::showEntry()
{
    loading_ = true;
    Session.IOEntryIndex = Integer(FindIOEntry(Cfg, GaugeID, kind_, number_));
    const IOEntryForm f = ReadIOEntryForm(Cfg, Session.IOEntryIndex, kind_, number_);
    LabelEntry->setText(IOEntryName(kind_, number_) +
                        (Session.IOEntryIndex == 0 ? QStringLiteral(": no entry yet")
                                                   : QStringLiteral(": entry %1").arg(Session.IOEntryIndex)));
    ComboClass->setCurrentIndex(f.category >= 0 && f.category < kBuiltInCategories ? f.category : 0);
    showFunctions(f.function);
    ComboSeqNr->setCurrentIndex(f.selector - 1);
    KindPages->setCurrentIndex(kind_ == IOEntrySwitch ? kSwitchPage : kind_ == IOEntryAnalogue ? kAnaloguePage : kLEDPage);
    switchModes_->button(int(f.mode))->setChecked(true);
    boxValueOn->setText(f.valueOn);
    boxValueOff->setText(f.valueOff);
    CheckStepOn->setChecked(f.stepOn);
    CheckStepOff->setChecked(f.stepOff);
    boxKeyOn->setCode(f.keyOn);
    boxKeyOff->setCode(f.keyOff);
    boxMinimum->setText(f.minimum);
    boxCentre->setText(f.centre);
    boxMaximum->setText(f.maximum);
    boxThreshold->setText(f.threshold);
    CheckAtMinimum->setChecked(f.atMinimum);
    CheckAtMaximum->setChecked(f.atMaximum);
    CheckAboveCrossover->setChecked(f.aboveCrossover);
    CheckAtFreeValue->setChecked(f.atFreeValue);
    boxCrossover->setText(f.crossover);
    boxFreeValue->setText(f.freeValue);
    CheckInvert->setChecked(f.invert);
    showSwitchMode();
    cmdDeleteEntry->setEnabled(Session.IOEntryIndex != 0);
    loading_ = false;
    edited_ = false;
}

void ConfigIOM::showFunctions(int function)
{
    functionChoice_->showFunctions(IOEntryFunctionItems(Cfg, kind_, functionChoice_->category(), function), function);
}

void ConfigIOM::showSwitchMode()
{
    const auto mode = SwitchMode(switchModes_->checkedId());
    const bool keys = mode == SwitchMode::Keystroke;
    const bool steps = mode == SwitchMode::Increment;
    LabelValueOn->setText(steps ? QStringLiteral("Add on switching on:") : QStringLiteral("On (%, -1 = no action):"));
    LabelValueOff->setText(steps ? QStringLiteral("Add on switching off:") : QStringLiteral("Off (%, -1 = no action):"));
    for (QWidget* w : std::initializer_list<QWidget*>{boxValueOn, boxValueOff, LabelValueOn, LabelValueOff})
        w->setEnabled(!keys);
    CheckStepOn->setEnabled(steps);
    CheckStepOff->setEnabled(steps);
    for (QWidget* w : std::initializer_list<QWidget*>{boxKeyOn, boxKeyOff, cmdNoKeyOn, cmdNoKeyOff})
        w->setEnabled(keys);
    // A key entry has no function.
    const bool function = !(kind_ == IOEntrySwitch && keys);
    for (QWidget* w : std::initializer_list<QWidget*>{ComboClass, ComboFunction, ComboSeqNr})
        w->setEnabled(function);
}

void ConfigIOM::fieldsEdited()
{
    if (!loading_)
        edited_ = true;
}

IOEntryForm ConfigIOM::formFields() const
{
    IOEntryForm f;
    f.kind = kind_;
    f.number = number_;
    f.category = ComboClass->currentIndex();
    f.function = functionChoice_->selectedFunction();
    f.selector = ComboSeqNr->currentIndex() + 1;
    f.mode = SwitchMode(switchModes_->checkedId());
    f.valueOn = boxValueOn->text();
    f.valueOff = boxValueOff->text();
    f.stepOn = CheckStepOn->isChecked();
    f.stepOff = CheckStepOff->isChecked();
    f.keyOn = boxKeyOn->code();
    f.keyOff = boxKeyOff->code();
    f.minimum = boxMinimum->text();
    f.centre = boxCentre->text();
    f.maximum = boxMaximum->text();
    f.threshold = boxThreshold->text();
    f.atMinimum = CheckAtMinimum->isChecked();
    f.atMaximum = CheckAtMaximum->isChecked();
    f.aboveCrossover = CheckAboveCrossover->isChecked();
    f.atFreeValue = CheckAtFreeValue->isChecked();
    f.crossover = boxCrossover->text();
    f.freeValue = boxFreeValue->text();
    f.invert = CheckInvert->isChecked();
    return f;
}

void ConfigIOM::cmdSaveEntry_Click()
{
    if (const std::optional<QString> refused = StoreIOEntry(Cfg, Session, GaugeID, formFields())) {
        messages().ok(*refused);
        return;
    }
    unsaved_ = true;
    refreshList();
    showEntry();
}

void ConfigIOM::cmdDeleteEntry_Click()
{
    if (Session.IOEntryIndex == 0)
        return;
    DeleteIOEntry(Cfg, Session);
    unsaved_ = true;
    refreshList();
    showEntry();
}

void ConfigIOM::cmdSetDebounce_Click()
{
    if (const std::optional<QString> refused = SetDebounceTime(Session, boxDebounce->text()))
        messages().ok(*refused);
    boxDebounce->setText(QString::number(Session.IODebounceTime));
}

void ConfigIOM::cmdSaveConfig_Click()
{
    if (ShowSaveWindow)
        ShowSaveWindow();
}

bool ConfigIOM::unloadAsked()
{
    // A save since the entries were edited clears ConfigChanged.
    if (!unstoredMayGo(edited_ || (unsaved_ && Session.ConfigChanged != 0)))
        return false;
    DefaultForm<ConfigIOM>::unload();
    return true;
}

void ConfigIOM::cmdClose_Click()
{
    if (unloadAsked() && ShowConfigurationScreen)
        ShowConfigurationScreen();
}

void ConfigIOM::Open()
{
    if (DefaultForm<ConfigIOM>::loaded()) {
        ConfigIOM& open = DefaultForm<ConfigIOM>::get();
        if (open.GaugeID != CurrentGaugeID && !open.unloadAsked()) {
            open.show();
            return;
        }
    }
    ConfigIOM& window = DefaultForm<ConfigIOM>::get();
    window.show();
}

void ConfigIOM::Form_TitleBarClose()
{
    cmdClose_Click();
}

void ConfigIOM::Form_Unload()
{
    TestTimer_.stop();
}

// ---- Live test ------------------------------------------------------------------

IOModuleLink* ConfigIOM::moduleLink() const
{
    if (GaugeID == kStandAloneIOM1)
        return &DefaultForm<frmStatusIOM>::get();
    if (GaugeID == kStandAloneIOM2)
        return &DefaultForm<frmstatusIOM2>::get();
    return nullptr;
}

bool ConfigIOM::halted() const
{
    if (IOModuleLink* link = moduleLink())
        return link->Running != 1;
    return true;
}

void ConfigIOM::cmdTest_Click()
{
    if (TestTimer_.isActive()) {
        TestTimer_.stop();
        cmdTest->setText(QStringLiteral("Start test"));
        LabelTestStatus->setText(QStringLiteral("Not testing"));
        return;
    }
    // A stand-alone module's port is not open yet when the window was opened
    // straight from the configuration screen.
    if (IOModuleLink* link = moduleLink(); link && !link->MSComm1().isOpen()) {
        const QPointer<ConfigIOM> self(this);
        OpenComPorts();
        if (!self)
            return;
    }
    testReplies_ = 0;
    testSilentTicks_ = 0;
    LabelTestStatus->setText(QStringLiteral("Asking the module..."));
    cmdTest->setText(QStringLiteral("Stop test"));
    TestTimer_.start();
}

void ConfigIOM::TestTimer_Timer()
{
    auto busy = testing_.enter();
    if (!busy)
        return;
    if (!halted()) {
        LabelTestStatus->setText(QStringLiteral("The module's link is running: the test works while it is halted"));
        return;
    }
    std::optional<QByteArray> reply;
    if (IOModuleLink* link = moduleLink()) {
        if (IsWellFramedReply(link->ReplyBuffer))
            reply = link->ReplyBuffer;
        link->ReplyBuffer.clear();
        if (link->SendPending != 1)
            link->ComposeCmd(GaugeID, kIOModuleStatusCommand, 0);
    } else {
        reply = GaugeAnswer(GaugeID);
        AskGaugeStatus(GaugeID, 0);
    }
    if (reply) {
        ++testReplies_;
        testSilentTicks_ = 0;
        showInputs(*reply);
        LabelTestStatus->setText(QStringLiteral("Replies: %1").arg(testReplies_));
    } else if (++testSilentTicks_ >= kSilentTicks) {
        LabelTestStatus->setText(QStringLiteral("No reply from the module: check its port and power"));
    }
}

void ConfigIOM::showInputs(const QByteArray& reply)
{
    const IOModuleInputs in = DecodeIOModuleInputs(reply);
    QString switches;
    for (int s = 0; s < kIOModuleSwitches; ++s) {
        if (s % 8 == 0 && s > 0)
            switches += QLatin1Char(' ');
        if (s % 16 == 0 && s > 0)
            switches += QLatin1Char(' ');
        switches += IOSwitchOn(in.switches, s) ? QLatin1Char('1') : QLatin1Char('0');
    }
    LabelSwitches->setText(QStringLiteral("0..47: ") + switches);
    QStringList channels;
    for (int ch = 0; ch < kIOModuleChannels; ++ch)
        channels << QStringLiteral("%1:%2").arg(ch).arg(in.channels[std::size_t(ch)], 4);
    LabelChannels->setText(channels.join(QStringLiteral("  ")));
}

void ConfigIOM::cmdLED_Click(bool on)
{
    const std::optional<int> output = TestLEDOutput(boxTestLED->text());
    if (!output) {
        messages().ok(QString::fromLatin1(kTestLEDRule));
        return;
    }
    if (!halted()) {
        messages().ok(QStringLiteral("The module's link is running: the LEDs can be tested while it is halted"));
        return;
    }
    std::array<Long, 2> words = testWords_;
    const int command = SetTestLED(words, *output, on);
    const QPointer<ConfigIOM> self(this);
    bool sent = false;
    {
        // The test's polls would take the free send slot from under the
        // LED command on every tick of its wait.
        auto polls = testing_.enter();
        sent = SendGaugeCommand(GaugeID, command, words[command == kIOOutputWord1Command ? 0 : 1]);
    }
    if (!self)
        return;
    if (sent)
        testWords_ = words;
    else
        LabelTestStatus->setText(QStringLiteral("The LED command could not be sent"));
}

} // namespace varnet

#include "gauges/platewindow.h"

#include "bus/sendpath.h"
#include "config/itemtext.h"
#include "platform/controls.h"
#include "simlink/functiontest.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace varnet {

Integer CalNeedleNr = 0;
std::string CalCategoryName;
std::string CalFunctionName;
Integer CalFunctionNr = 0;
Integer CalSeqNr = 0;
Integer CalPlateNr = 0;

namespace {

const char* const kGrey = "rgb(128, 128, 128)";
const char* const kLightYellow = "rgb(255, 255, 192)";
const char* const kWhite = "rgb(255, 255, 255)";
const char* const kRed = "rgb(192, 0, 0)";
const char* const kNavy = "rgb(0, 0, 128)";
const char* const kScaleCaptions[] = {"100", "10", "1", "0.1", "0.01"};

QString latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

// Sets the text only when it differs, so that the cursor of a box being
// typed in stays where it is.
void showText(QLineEdit* box, const std::string& text)
{
    const QString shown = latin1(text);
    if (box->text() != shown)
        box->setText(shown);
}

void paint(QWidget* control, const char* background, const char* text)
{
    QString sheet;
    if (background)
        sheet += QStringLiteral("background-color: %1;").arg(QLatin1String(background));
    if (text)
        sheet += QStringLiteral("color: %1;").arg(QLatin1String(text));
    if (control->styleSheet() != sheet)
        control->setStyleSheet(sheet);
}

// A name box: light yellow while it may be edited, white and locked otherwise.
void showNameBox(QLineEdit* box, const std::string& text, bool editable)
{
    showText(box, text);
    box->setReadOnly(!editable);
    paint(box, editable ? kLightYellow : kWhite, nullptr);
}

QLineEdit* readOnlyBox(const char* name, QWidget* parent)
{
    QLineEdit* box = textBox(name, parent);
    box->setReadOnly(true);
    return box;
}

QToolButton* arrow(const QString& name, const QString& hint, QWidget* parent)
{
    auto* control = new QToolButton(parent);
    control->setObjectName(name);
    control->setArrowType(Qt::LeftArrow);
    control->setToolTip(hint);
    return control;
}

} // namespace

void OpenPlateWindow()
{
    // Each opening reads the hand-over anew.
    DefaultForm<frmCalibrate>::unload();
    frmCalibrate& window = DefaultForm<frmCalibrate>::get();
    window.show();
}

frmCalibrate::frmCalibrate()
{
    setObjectName(QStringLiteral("frmCalibrate"));
    setWindowTitle(QStringLiteral("Gaugeplate calibration"));

    auto* left = new QVBoxLayout;
    left->addWidget(buildActiveGauge());
    left->addWidget(buildPlates(), 1);
    left->addWidget(buildCurrentPlate());
    left->addWidget(buildNewPlate());

    CalibrationAction = new QLabel(this);
    CalibrationAction->setObjectName(QStringLiteral("CalibrationAction"));
    QFont bold = CalibrationAction->font();
    bold.setBold(true);
    CalibrationAction->setFont(bold);
    CalibrationAction->setWordWrap(true);
    auto* cmdClose = button("cmdClose", QStringLiteral("Close"), this);
    auto* right = new QVBoxLayout;
    right->addWidget(buildValueToTransfer());
    right->addWidget(buildFunction());
    right->addStretch(1);
    right->addWidget(CalibrationAction);
    right->addWidget(cmdClose, 0, Qt::AlignRight);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildGrid());
    layout->addLayout(right);

    connect(cmdClose, &QPushButton::clicked, this, &frmCalibrate::cmdClose_Click);
    connectTyping();
    showState();
}

QGroupBox* frmCalibrate::buildActiveGauge()
{
    QGroupBox* box = frame("FrameActiveGauge", QStringLiteral("Active Gauge"), this);
    boxGaugeID = readOnlyBox("boxGaugeID", box);
    boxGaugeType = readOnlyBox("boxGaugeType", box);
    BoxNeedleNr = readOnlyBox("BoxNeedleNr", box);
    boxCurrentCategory = readOnlyBox("boxCurrentCategory", box);
    boxCurrentFunction = readOnlyBox("boxCurrentFunction", box);
    BoxSeqNr = readOnlyBox("BoxSeqNr", box);
    boxGaugeType->setMinimumWidth(250); // the longest type names
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("GaugeID"), boxGaugeID);
    form->addRow(QStringLiteral("Gauge Type"), boxGaugeType);
    form->addRow(QStringLiteral("Needle Nr"), BoxNeedleNr);
    form->addRow(QStringLiteral("Category"), boxCurrentCategory);
    form->addRow(QStringLiteral("Function"), boxCurrentFunction);
    form->addRow(QStringLiteral("Sequence Nr"), BoxSeqNr);
    return box;
}

QGroupBox* frmCalibrate::buildPlates()
{
    QGroupBox* box = frame("FramePlates", QStringLiteral("Available Plates"), this);
    ListPlates = namedControl<QListWidget>("ListPlates", box);
    ListPlates->setMinimumHeight(120);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(ListPlates);
    connect(ListPlates, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            run([row](PlateModel& m) { m.ListPlates_Click(row); });
    });
    return box;
}

QGroupBox* frmCalibrate::buildCurrentPlate()
{
    FrameCurrentPlate = frame("FrameCurrentPlate", QStringLiteral("Current Plate"), this);
    QGroupBox* box = FrameCurrentPlate;
    CurrentPlateName = textBox("CurrentPlateName", box);
    CurrentPlateName->setMaxLength(int(kMaxItemLength));  // what the file reads back
    boxCurrentPlateNr = readOnlyBox("boxCurrentPlateNr", box);
    boxCurrentPlateNr->setMaximumWidth(50);
    auto* CmdRenamePlate = command("CmdRenamePlate", "Rename", box, &PlateModel::CmdRenamePlate_Click);
    auto* CmdUpdatePlate = command("CmdUpdatePlate", "Update", box, &PlateModel::CmdUpdatePlate_Click);
    auto* cmdSavePlate = command("cmdSavePlate", "Save", box, &PlateModel::cmdSavePlate_Click,
                                 "Saves changes (when made) to the above highligthed plate");
    auto* cmdLoadPlate = command("cmdLoadPlate", "Reload", box, &PlateModel::cmdLoadPlate_Click,
                                 "Will reload the original calibrationpoints (if not saved yet)");
    auto* CmdCancel2 = command("CmdCancel2", "Cancel", box, &PlateModel::CmdCancel2_Click);
    auto* CmdPlateToGauge = command("CmdPlateToGauge", "-> Gauge", box, &PlateModel::CmdPlateToGauge_Click);

    auto* grid = new QGridLayout(box);
    grid->addWidget(CurrentPlateName, 0, 0, 1, 2);
    grid->addWidget(boxCurrentPlateNr, 0, 2);
    QPushButton* const buttons[] = {CmdRenamePlate, CmdUpdatePlate, cmdSavePlate,
                                    cmdLoadPlate,   CmdCancel2,     CmdPlateToGauge};
    for (int i = 0; i < 6; ++i)
        grid->addWidget(buttons[i], 1 + i / 3, i % 3);

    return box;
}

QGroupBox* frmCalibrate::buildNewPlate()
{
    QGroupBox* box = frame("FrameNewPlate", QStringLiteral("Create New Plate"), this);
    BoxNameNewPlate = textBox("BoxNameNewPlate", box);
    BoxNameNewPlate->setMaxLength(int(kMaxItemLength));
    boxNewPlateNumber = readOnlyBox("boxNewPlateNumber", box);
    boxNewPlateNumber->setMaximumWidth(50);
    CmdCreateNewPlate = command("CmdCreateNewPlate", "Create", box, &PlateModel::CmdCreateNewPlate_Click);
    cmdSetNewName = command("cmdSetNewName", "Plate Name", box, &PlateModel::cmdSetNewName_Click);
    CmdCalibrateNewPlate = command("CmdCalibrateNewPlate", "Calibrate", box, &PlateModel::CmdCalibrateNewPlate_Click);
    CmdSaveNewPlate = command("CmdSaveNewPlate", "Save", box, [](PlateModel& m) {
        const int before = m.handOverPlate();
        m.CmdSaveNewPlate_Click();
        // The opener's dialog offers the plate just created.
        if (m.handOverPlate() != before)
            CalPlateNr = Integer(m.handOverPlate());
    });
    cmdCancelAdd = command("cmdCancelAdd", "Cancel", box, &PlateModel::cmdCancelAdd_Click);

    auto* grid = new QGridLayout(box);
    grid->addWidget(BoxNameNewPlate, 0, 0, 1, 2);
    grid->addWidget(boxNewPlateNumber, 0, 2);
    grid->addWidget(CmdCreateNewPlate, 1, 0);
    grid->addWidget(cmdSetNewName, 1, 1);
    grid->addWidget(CmdCalibrateNewPlate, 1, 2);
    grid->addWidget(CmdSaveNewPlate, 2, 0);
    grid->addWidget(cmdCancelAdd, 2, 1);
    return box;
}

QGroupBox* frmCalibrate::buildGrid()
{
    Frame1 = frame("Frame1", QStringLiteral("Gauge Calibration"), this);
    QGroupBox* box = Frame1;
    box->setToolTip(QStringLiteral("Use Update or Create Plate to enable"));
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    grid->addWidget(label(QStringLiteral("Point"), box), 0, 0);
    grid->addWidget(label(QStringLiteral("Value"), box), 0, 1);
    grid->addWidget(label(QStringLiteral("Needle"), box), 0, 3);
    for (int k = 0; k < kPlateRows; ++k) {
        GridRow& row = rows_[std::size_t(k)];
        row.label = new QLabel(QString::number(k), box);
        row.label->setObjectName(QStringLiteral("LabelCalibrationPoint_%1").arg(k));
        row.value = textBox("", box);
        row.value->setObjectName(QStringLiteral("Curve1_%1").arg(k));
        row.value->setMaximumWidth(90);
        row.valueArrow = arrow(QStringLiteral("boxValue_%1").arg(k), QStringLiteral("Value to Transfer"), box);
        row.needle = textBox("", box);
        row.needle->setObjectName(QStringLiteral("boxLinearStep_%1").arg(k));
        row.needle->setMaximumWidth(60);
        row.needleArrow = arrow(QStringLiteral("SetStep_%1").arg(k), QStringLiteral("Needle position"), box);
        grid->addWidget(row.label, k + 1, 0);
        grid->addWidget(row.value, k + 1, 1);
        grid->addWidget(row.valueArrow, k + 1, 2);
        grid->addWidget(row.needle, k + 1, 3);
        grid->addWidget(row.needleArrow, k + 1, 4);
        connect(row.valueArrow, &QToolButton::clicked, this,
                [this, k] { run([k](PlateModel& m) { m.boxValue_Click(k); }); });
        connect(row.needleArrow, &QToolButton::clicked, this,
                [this, k] { run([k](PlateModel& m) { m.SetStep_Click(k); }); });
    }

    auto* cmdSetValue = command(
        "cmdSetValue", "Range", box, &PlateModel::cmdSetValue_Click,
        "Enables the calibration points between minimum and maximum value. Use dot (.)  for decimal separator.");
    auto* cmdLinearVal =
        command("cmdLinearVal", "Divide", box, &PlateModel::cmdLinearVal_Click,
                "Will subdivide the values between Minimum and the Value entered in one of the boxes below");
    auto* cmdResetVal = command("cmdResetVal", "Clear", box, &PlateModel::cmdResetVal_Click,
                                "Will set all calibrationpoints (value) to zeo");
    auto* cmdLinearSteps = command("cmdLinearSteps", "Divide", box, &PlateModel::cmdLinearSteps_Click,
                                   "Will linearly subdivide the calibrationpoints between minimum and maximum");
    auto* cmdClearStep = command("cmdClearStep", "Clear", box, &PlateModel::cmdClearStep_Click,
                                 "Will set all calbrationpoints (needle) to zero");
    auto* cmdSetCheck = command("cmdSetCheck", "Check Plate", box, &PlateModel::cmdSetCheck_Click,
                                "Will check plate  values for inconsistencies");
    const int below = kPlateRows + 1;
    grid->addWidget(cmdSetValue, below, 1);
    grid->addWidget(cmdLinearSteps, below, 3, 1, 2);
    grid->addWidget(cmdLinearVal, below + 1, 1);
    grid->addWidget(cmdClearStep, below + 1, 3, 1, 2);
    grid->addWidget(cmdResetVal, below + 2, 1);
    grid->addWidget(cmdSetCheck, below + 2, 3, 1, 2);

    UpDown1 = namedControl<QSpinBox>("UpDown1", box);
    SliderMoveNeedle = namedControl<QSlider>("SliderMoveNeedle", Qt::Horizontal, box);
    SliderMoveNeedle->setRange(0, kNeedleSliderTop);
    SliderMoveNeedle->setTracking(true);
    SliderMoveNeedle->setMinimumWidth(160);
    boxSliderNeedle = readOnlyBox("boxSliderNeedle", box);
    // Wide enough for the four digits of a needle position.
    boxSliderNeedle->setMinimumWidth(56);
    boxSliderNeedle->setMaximumWidth(70);
    auto* cmdSliderMin = command("cmdSliderMin", "-1", box, &PlateModel::cmdSliderMin_Click);
    auto* cmdSliderPlus = command("cmdSliderPlus", "+1", box, &PlateModel::cmdSliderPlus_Click);
    auto* needleRow = new QHBoxLayout;
    needleRow->addWidget(label(QStringLiteral("Point"), box));
    needleRow->addWidget(UpDown1);
    needleRow->addWidget(cmdSliderMin);
    needleRow->addWidget(boxSliderNeedle);
    needleRow->addWidget(cmdSliderPlus);
    grid->addLayout(needleRow, below + 3, 0, 1, 5);
    grid->addWidget(SliderMoveNeedle, below + 4, 0, 1, 5);

    connect(UpDown1, &QSpinBox::valueChanged, this,
            [this](int k) { run([k](PlateModel& m) { m.UpDown1_Change(k); }); });
    // While the thumb is dragged the position is only shown; the needle
    // follows when the slider's value settles.
    connect(SliderMoveNeedle, &QSlider::valueChanged, this, [this](int position) {
        if (SliderMoveNeedle->isSliderDown())
            run([position](PlateModel& m) { m.SliderMoveNeedle_Scroll(position); });
        else
            run([position](PlateModel& m) { m.SliderMoveNeedle_Change(position); });
    });
    connect(SliderMoveNeedle, &QSlider::sliderReleased, this, [this] {
        const int position = SliderMoveNeedle->value();
        run([position](PlateModel& m) { m.SliderMoveNeedle_Change(position); });
    });
    return box;
}

QGroupBox* frmCalibrate::buildValueToTransfer()
{
    QGroupBox* box = frame("FrameValueToTransfer", QStringLiteral("Value to Transfer"), this);
    BoxValueToTransfer = textBox("BoxValueToTransfer", box);
    auto* CmdCalValMin = command("CmdCalValMin", "-", box, &PlateModel::CmdCalValMin_Click);
    auto* CmdCalValuePlus = command("CmdCalValuePlus", "+", box, &PlateModel::CmdCalValuePlus_Click);
    auto* CmdSetMinimum = command("CmdSetMinimum", "Copy Minimum", box, &PlateModel::CmdSetMinimum_Click);
    auto* CmdMaximum = command("CmdMaximum", "Copy Maximum", box, &PlateModel::CmdMaximum_Click);
    QGroupBox* units = frame("FrameUnits", QStringLiteral("Add / Subtract Unit"), box);
    OptionScale = new QButtonGroup(this);
    auto* unitRow = new QHBoxLayout(units);
    for (int i = 0; i < 5; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(kScaleCaptions[i]), units);
        option->setObjectName(QStringLiteral("OptionScale_%1").arg(i));
        OptionScale->addButton(option, i);
        unitRow->addWidget(option);
    }

    auto* grid = new QGridLayout(box);
    grid->addWidget(CmdCalValMin, 0, 0);
    grid->addWidget(BoxValueToTransfer, 0, 1);
    grid->addWidget(CmdCalValuePlus, 0, 2);
    grid->addWidget(units, 1, 0, 1, 3);
    grid->addWidget(CmdSetMinimum, 2, 0, 1, 2);
    grid->addWidget(CmdMaximum, 2, 2);

    connect(OptionScale, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            model_->state.scaleOption = id;
    });
    return box;
}

QGroupBox* frmCalibrate::buildFunction()
{
    FrameFunction = frame("FrameFunction", QString(), this);
    QGroupBox* box = FrameFunction;
    CaliCategoryName = readOnlyBox("CaliCategoryName", box);
    CaliFunctionName = readOnlyBox("CaliFunctionName", box);
    CalMinimumValue = textBox("CalMinimumValue", box);
    CalMaximumValue = textBox("CalMaximumValue", box);
    auto* cmdUpdateMinMax =
        command("cmdUpdateMinMax", "Update Min/Max in Function", box, &PlateModel::cmdUpdateMinMax_Click);
    auto* ReadFromFS = button("ReadFromFS", QStringLiteral("Show  Function"), box);
    ReadFromFS->setToolTip(
        QStringLiteral("Opens a small window showing the actual Function value read from Sim (if connected).  "));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Category"), CaliCategoryName);
    form->addRow(QStringLiteral("Function"), CaliFunctionName);
    form->addRow(QStringLiteral("Minimum"), CalMinimumValue);
    form->addRow(QStringLiteral("Maximum"), CalMaximumValue);
    form->addRow(cmdUpdateMinMax);
    form->addRow(ReadFromFS);

    connect(ReadFromFS, &QPushButton::clicked, this, &frmCalibrate::ReadFromFS_Click);
    return box;
}

void frmCalibrate::connectTyping()
{
    // What the user types goes into the model as it is typed.
    const auto keep = [this](QLineEdit* box, std::string PlateWindowState::*field) {
        connect(box, &QLineEdit::textEdited, this,
                [this, field](const QString& text) { model_->state.*field = bytes(text); });
    };
    keep(CurrentPlateName, &PlateWindowState::currentPlateName);
    keep(BoxNameNewPlate, &PlateWindowState::newPlateName);
    keep(BoxValueToTransfer, &PlateWindowState::valueToTransfer);
    keep(CalMinimumValue, &PlateWindowState::calMinimum);
    keep(CalMaximumValue, &PlateWindowState::calMaximum);
    for (int k = 0; k < kPlateRows; ++k) {
        const auto row = std::size_t(k);
        connect(rows_[row].value, &QLineEdit::textEdited, this,
                [this, row](const QString& text) { model_->state.rows[row].value = bytes(text); });
        connect(rows_[row].needle, &QLineEdit::textEdited, this,
                [this, row](const QString& text) { model_->state.rows[row].needle = bytes(text); });
    }
}

void frmCalibrate::Form_Load()
{
    const PlateHandOver handOver{CurrentGaugeID,  CurrentGaugeTypeName, CalNeedleNr, CalCategoryName,
                                 CalFunctionName, CalFunctionNr,        CalSeqNr,    CalPlateNr};
    run([&handOver](PlateModel& m) { m.Load(handOver); });
}

QPushButton* frmCalibrate::command(const char* name, const char* caption, QWidget* parent,
                                   const std::function<void(PlateModel&)>& handler, const char* hint)
{
    QPushButton* control = button(name, QString::fromLatin1(caption), parent);
    if (hint)
        control->setToolTip(QString::fromLatin1(hint));
    connect(control, &QPushButton::clicked, this, [this, handler] { run(handler); });
    return control;
}

void frmCalibrate::run(const std::function<void(PlateModel&)>& handler)
{
    const QPointer<frmCalibrate> self(this);
    // Kept alive by this copy should the window be unloaded inside a wait.
    const std::shared_ptr<PlateModel> model = model_;
    handler(*model);
    if (self)
        showState();
}

void frmCalibrate::showRow(int k)
{
    const PlateRow& row = model_->state.rows[std::size_t(k)];
    const GridRow& shown = rows_[std::size_t(k)];
    showText(shown.value, row.value);
    showText(shown.needle, row.needle);
    shown.value->setEnabled(!row.grey);
    shown.valueArrow->setVisible(!row.grey);
    shown.needleArrow->setVisible(!row.grey);
    paint(shown.value, row.grey ? kGrey : nullptr, row.valueMarked ? kRed : nullptr);
    paint(shown.needle, row.grey ? kGrey : nullptr, row.needleMarked ? kRed : nullptr);
    paint(shown.label, nullptr, row.labelMarked ? kRed : nullptr);
}

void frmCalibrate::showState()
{
    PlateWindowState& s = model_->state;
    showText(boxGaugeID, s.gaugeIDText);
    showText(boxGaugeType, s.gaugeTypeText);
    showText(BoxNeedleNr, s.needleText);
    showText(boxCurrentCategory, s.categoryText);
    showText(boxCurrentFunction, s.functionText);
    showText(BoxSeqNr, s.seqNrText);
    FrameFunction->setTitle(latin1(s.functionCaption));
    showText(CaliCategoryName, s.categoryText);
    showText(CaliFunctionName, s.functionShortName);
    showText(CalMinimumValue, s.calMinimum);
    showText(CalMaximumValue, s.calMaximum);

    {
        const QSignalBlocker blocker(ListPlates);
        QStringList items;
        for (const PlateListItem& item : s.list)
            items << latin1(item.text);
        QStringList shown;
        for (int i = 0; i < ListPlates->count(); ++i)
            shown << ListPlates->item(i)->text();
        if (shown != items) {
            ListPlates->clear();
            ListPlates->addItems(items);
        }
        ListPlates->setCurrentRow(s.selectedItem);
    }

    FrameCurrentPlate->setEnabled(s.currentPlateFrameEnabled);
    showNameBox(CurrentPlateName, s.currentPlateName, s.plateNameEditable);
    showText(boxCurrentPlateNr, s.currentPlateNr);
    showNameBox(BoxNameNewPlate, s.newPlateName, s.newNameEditable);
    showText(boxNewPlateNumber, s.newPlateNumber);
    CmdCreateNewPlate->setEnabled(s.createEnabled);
    cmdSetNewName->setEnabled(s.setNameEnabled);
    CmdCalibrateNewPlate->setEnabled(s.calibrateEnabled);
    CmdSaveNewPlate->setEnabled(s.saveNewEnabled);
    cmdCancelAdd->setEnabled(s.cancelAddEnabled);

    Frame1->setEnabled(s.gridEnabled);
    for (int k = 0; k < kPlateRows; ++k)
        showRow(k);
    CalibrationAction->setText(QString::fromLatin1(ActivityCaption(s.activity)));
    paint(CalibrationAction, nullptr, s.activity == PlateActivity::AtRest ? kNavy : kRed);

    showText(BoxValueToTransfer, s.valueToTransfer);
    {
        const QSignalBlocker blocker(OptionScale);
        if (QAbstractButton* option = OptionScale->button(s.scaleOption))
            option->setChecked(true);
    }
    {
        const QSignalBlocker sliderBlocker(SliderMoveNeedle);
        const QSignalBlocker selectorBlocker(UpDown1);
        if (!SliderMoveNeedle->isSliderDown())
            SliderMoveNeedle->setValue(s.slider);
        UpDown1->setRange(0, s.selectorMax);
        UpDown1->setValue(s.selector);
    }
    showText(boxSliderNeedle, s.sliderText);

    if (s.focusRow >= 0 && s.focusRow < kPlateRows) {
        rows_[std::size_t(s.focusRow)].value->setFocus();
        s.focusRow = -1;
    }
}

void frmCalibrate::ReadFromFS_Click()
{
    const int function = model_->functionNr();
    if (function <= 0)
        return;
    frmTestFunction& test = DefaultForm<frmTestFunction>::get();
    test.show();
    test.StartScan(function, 0);
}

void frmCalibrate::cmdClose_Click()
{
    DefaultForm<frmCalibrate>::unload();
}

} // namespace varnet

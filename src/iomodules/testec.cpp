#include "iomodules/testec.h"

#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "iomodules/ecframe.h"
#include "iomodules/enginelink.h"
#include "iomodules/functionchoice.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include <algorithm>

namespace varnet {

namespace {

constexpr int kReplyIntervalMs = 200;
// The lines the note under the Plate box is given.
constexpr int kNoteLines = 3;

// A plate list read again each time it opens: a plate made in the
// calibration window meanwhile is offered at once.
class PlateCombo final : public QComboBox {
public:
    PlateCombo(QWidget* parent, std::function<void()> refill) : QComboBox(parent), refill_(std::move(refill)) {}
    void showPopup() override
    {
        refill_();
        QComboBox::showPopup();
    }

private:
    std::function<void()> refill_;
};

} // namespace

frmTestEC::frmTestEC()
    : ListNeedles(namedControl<QListWidget>("ListNeedles", this)),
      functionChoice_(new FunctionChoice(this, "GaugeFunction")),
      ComboClass(functionChoice_->ComboClass),
      GaugeFunction(functionChoice_->FunctionList),
      ComboPlate(new PlateCombo(this, [this] { fillPlates(); })),
      LabelPlateNote(namedControl<QLabel>("LabelPlateNote", this)),
      CheckDisplay(namedControl<QCheckBox>("CheckDisplay", QStringLiteral("Needle has a display"), this)),
      cmdCalibrate(button("cmdCalibrate", QStringLiteral("Calibrate"), this)),
      OptionSingle(namedControl<QRadioButton>("OptionType_1", QStringLiteral("Single engine"), this)),
      OptionDual(namedControl<QRadioButton>("OptionType_2", QStringLiteral("Dual engine"), this)),
      BoxTestPosition(textBox("BoxTestPosition", this, QStringLiteral("0"))),
      cmdMoveNeedle(button("cmdMoveNeedle", QStringLiteral("Move Needle"), this)),
      BoxReply(textBox("BoxReply", this)),
      cmdClose(button("cmdClose", QStringLiteral("Close"), this))
{
    setObjectName(QStringLiteral("frmTestEC"));
    setWindowTitle(QStringLiteral("Engine Cluster"));
    ComboPlate->setObjectName(QStringLiteral("ComboPlate"));
    BoxReply->setReadOnly(true);
    BoxTestPosition->setToolTip(QStringLiteral("Needle position in the cluster's own steps (four for each plate step), 0 to %1")
                                    .arg(kECLargestPosition));
    BoxTestPosition->setMaximumWidth(fontMetrics().averageCharWidth() * 12);
    LabelPlateNote->setWordWrap(true);
    LabelPlateNote->setVisible(false);
    // The longest notes take three lines (see showPlateNote).
    LabelPlateNote->setMinimumHeight(kNoteLines * LabelPlateNote->fontMetrics().lineSpacing() +
                                     LabelPlateNote->contentsMargins().top() + LabelPlateNote->contentsMargins().bottom());
    QPalette warning = LabelPlateNote->palette();
    warning.setColor(QPalette::WindowText, QColor(0xA0, 0x00, 0x00));
    LabelPlateNote->setPalette(warning);
    GaugeFunction->setMinimumWidth(260);
    ComboPlate->setMinimumWidth(260);
    ListNeedles->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    for (int needle = 0; needle < kECFrameNeedles; ++needle)
        ListNeedles->addItem(QString());

    auto* needlesFrame = frame("FrameNeedles", QStringLiteral("Needles"), this);
    auto* needlesLayout = new QVBoxLayout(needlesFrame);
    needlesLayout->addWidget(ListNeedles);

    auto* needleFrame = frame("FrameNeedle", QStringLiteral("Selected Needle"), this);
    auto* grid = new QGridLayout(needleFrame);
    functionChoice_->place(grid, 0, QStringLiteral("Category"), QStringLiteral("Function"));
    grid->addWidget(label(QStringLiteral("Plate"), needleFrame), 3, 0);
    grid->addWidget(ComboPlate, 3, 1);
    grid->addWidget(LabelPlateNote, 4, 1);
    grid->addWidget(CheckDisplay, 5, 1);
    grid->addWidget(cmdCalibrate, 6, 1, Qt::AlignRight);

    auto* typeFrame = frame("FrameType", QStringLiteral("Cluster Type"), this);
    auto* typeLayout = new QHBoxLayout(typeFrame);
    typeLayout->addWidget(OptionSingle);
    typeLayout->addWidget(OptionDual);
    auto* types = new QButtonGroup(this);
    types->addButton(OptionSingle, kECSingleEngine);
    types->addButton(OptionDual, kECDualEngine);

    auto* testFrame = frame("FrameTest", QStringLiteral("Test"), this);
    auto* testLayout = new QGridLayout(testFrame);
    testLayout->addWidget(label(QStringLiteral("Position"), testFrame), 0, 0);
    testLayout->addWidget(BoxTestPosition, 0, 1);
    testLayout->addWidget(cmdMoveNeedle, 0, 2);
    testLayout->addWidget(label(QStringLiteral("Last reply"), testFrame), 1, 0);
    testLayout->addWidget(BoxReply, 1, 1, 1, 2);

    auto* right = new QVBoxLayout;
    right->addWidget(needleFrame);
    right->addWidget(typeFrame);
    right->addWidget(testFrame);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(needlesFrame, 1);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
    BoxReply->setMinimumWidth(fontMetrics().averageCharWidth() * 52);

    connect(ListNeedles, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            showNeedle(row);
    });
    connect(ComboClass, &QComboBox::currentIndexChanged, this, &frmTestEC::ComboClass_Change);
    connect(GaugeFunction, &QComboBox::currentIndexChanged, this, &frmTestEC::GaugeFunction_Change);
    connect(ComboPlate, &QComboBox::currentIndexChanged, this, &frmTestEC::ComboPlate_Change);
    connect(CheckDisplay, &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_ && settings_.setDisplay(selectedNeedle(), on))
            needleEdited();
    });
    connect(types, &QButtonGroup::idToggled, this, [this](int type, bool checked) {
        if (checked && !showing_)
            settings_.setClusterType(type);
    });
    connect(cmdCalibrate, &QPushButton::clicked, this, &frmTestEC::cmdCalibrate_Click);
    connect(cmdMoveNeedle, &QPushButton::clicked, this, &frmTestEC::cmdMoveNeedle_Click);
    connect(BoxTestPosition, &QLineEdit::returnPressed, this, &frmTestEC::cmdMoveNeedle_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTestEC::cmdClose_Click);
    TimerReply_.setParent(this);
    TimerReply_.setObjectName(QStringLiteral("TimerReply"));
    TimerReply_.setInterval(kReplyIntervalMs);
    connect(&TimerReply_, &QTimer::timeout, this, &frmTestEC::TimerReply_Timer);
}

void frmTestEC::Form_Load()
{
    GaugeID = CurrentGaugeID;
    functionChoice_->fillCategories(-1);
    for (int needle = 0; needle < kECFrameNeedles; ++needle)
        refreshNeedleText(needle);
    {
        const QSignalBlocker quiet(ListNeedles);
        ListNeedles->setCurrentRow(0);
    }
    showNeedle(0);
    const int type = settings_.clusterType();
    showing_ = true;
    OptionSingle->setChecked(type == kECSingleEngine);
    OptionDual->setChecked(type == kECDualEngine);
    showing_ = false;
    TimerReply_Timer();
    TimerReply_.start();
}

void frmTestEC::Form_Activate()
{
    fillPlates();
    for (int needle = 0; needle < kECFrameNeedles; ++needle)
        refreshNeedleText(needle);
}

int frmTestEC::selectedNeedle() const
{
    return std::max(ListNeedles->currentRow(), 0);
}

void frmTestEC::refreshNeedleText(int needle)
{
    if (QListWidgetItem* item = ListNeedles->item(needle))
        item->setText(settings_.needleText(needle));
    // Every line readable whole: the list grows with its longest one.
    const int wanted = ListNeedles->sizeHintForColumn(0) + 2 * ListNeedles->frameWidth() + fontMetrics().averageCharWidth() * 2;
    if (wanted > ListNeedles->minimumWidth())
        ListNeedles->setMinimumWidth(wanted);
}

void frmTestEC::needleEdited()
{
    refreshNeedleText(selectedNeedle());
    showPlateNote();
}

void frmTestEC::showNeedle(int needle)
{
    showing_ = true;
    ComboClass->blockSignals(true);
    ComboClass->setCurrentIndex(settings_.category(needle));
    ComboClass->blockSignals(false);
    fillFunctions();
    fillPlates();
    CheckDisplay->setChecked(settings_.display(needle));
    showing_ = false;
}

void frmTestEC::fillFunctions()
{
    functionChoice_->showFunctions(settings_.functions(functionChoice_->category()),
                                   settings_.function(selectedNeedle()));
}

void frmTestEC::fillPlates()
{
    const ListItems plates = settings_.plates();
    plateMap_ = plates.numbers;
    showListItems(ComboPlate, plates, settings_.plate(selectedNeedle()));
    showPlateNote();
}

void frmTestEC::showPlateNote()
{
    const int needle = selectedNeedle();
    // A plate the box does not offer shows in it as the list line shows it,
    // with nothing selected; the note under it says what that means.
    const QString placeholder = settings_.enginesPlate(needle) ? QString() : settings_.plateText(needle);
    ComboPlate->setPlaceholderText(placeholder);
    // Readable whole: the box grows with it.
    QStyleOptionComboBox option;
    option.initFrom(ComboPlate);
    const QSize text(ComboPlate->fontMetrics().horizontalAdvance(placeholder), ComboPlate->fontMetrics().height());
    const int wanted = ComboPlate->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, ComboPlate).width();
    if (wanted > ComboPlate->minimumWidth())
        ComboPlate->setMinimumWidth(wanted);
    const QString note = settings_.plateNote(needle);
    // Wide enough for the note in the lines it has room for: a third of the
    // text on each, and the longest word, which wrapping may push to the
    // next line, on top.
    const QFontMetrics metrics = LabelPlateNote->fontMetrics();
    int longestWord = 0;
    for (const QString& word : note.split(u' '))
        longestWord = std::max(longestWord, metrics.horizontalAdvance(word + u' '));
    const int noteWidth = metrics.horizontalAdvance(note) / kNoteLines + longestWord;
    if (noteWidth > LabelPlateNote->minimumWidth())
        LabelPlateNote->setMinimumWidth(noteWidth);
    LabelPlateNote->setText(note);
    LabelPlateNote->setVisible(!note.isEmpty());
}

void frmTestEC::ComboClass_Change(int)
{
    if (showing_)
        return;
    fillFunctions();
    // What the function box shows is the needle's function: none when the
    // new category does not list it.
    if (GaugeFunction->currentIndex() < 0 && settings_.setFunction(selectedNeedle(), 0))
        needleEdited();
}

void frmTestEC::GaugeFunction_Change(int index)
{
    const int function = functionChoice_->selectedFunction();
    if (showing_ || index < 0 || function == 0)
        return;
    if (settings_.setFunction(selectedNeedle(), function))
        needleEdited();
}

void frmTestEC::ComboPlate_Change(int index)
{
    if (showing_ || index < 0 || index >= int(plateMap_.size()))
        return;
    if (settings_.setPlate(selectedNeedle(), plateMap_[std::size_t(index)]))
        needleEdited();
}

void frmTestEC::cmdCalibrate_Click()
{
    const std::optional<ECCalibration> handOver = settings_.calibration(selectedNeedle(), GaugeFunction->currentText());
    if (!handOver) {
        messages().ok(QString::fromLatin1(kAssignBeforeCalibrating));
        return;
    }
    CurrentGaugeID = 0;
    CurrentGaugeTypeName = "Engine Cluster";
    if (OpenPlateWindow)
        OpenPlateWindow(*handOver);
}

void frmTestEC::cmdMoveNeedle_Click()
{
    const std::optional<int> position = ReadTestPosition(BoxTestPosition->text());
    if (!position) {
        RefuseTyped(*BoxTestPosition, QString::fromLatin1(kTestPositionRule));
        return;
    }
    DefaultForm<frmStatusEC>::get().MoveSingleNeedle(selectedNeedle(), *position);
}

void frmTestEC::TimerReply_Timer()
{
    const QString shown = ECReplyBuffer.isEmpty() ? QStringLiteral("none yet")
                                                  : QString::fromLatin1(ECReplyBuffer.toHex(' ').toUpper());
    if (BoxReply->text() != shown)
        BoxReply->setText(shown);
}

void frmTestEC::cmdClose_Click()
{
    if (settings_.edited() && Session.ConfigChanged != 0) {
        const QPointer<frmTestEC> self(this);
        const bool goOn = messages().yesNoDefaultNo(QString::fromLatin1(kUpdatesNotSavedYet));
        if (!self || !goOn)
            return;
    }
    DefaultForm<frmTestEC>::unload();
}

} // namespace varnet

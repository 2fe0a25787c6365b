#include "gauges/displayneedle.h"

#include "bus/needles.h"
#include "gauges/singleneedle.h"
#include "platform/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

namespace varnet {

namespace {

// The display shows at most 999.9.
constexpr int kDisplayTopTenths = 9999;
constexpr int kBacklightWordModels = 3;

} // namespace

int DisplayTestTenths(int position, double minimum, double maximum)
{
    const double span = double(RoundHalfEven(maximum - minimum)) * 10;
    const double share = double(std::clamp(position, 0, kDisplayDialTop)) / kDisplayDialTop;
    const double tenths = double(RoundHalfEven(share * span));
    return int(std::clamp(tenths, 0.0, double(kDisplayTopTenths)));
}

QString DisplayTestText(int tenths)
{
    // What the display's digits show: three whole digits from 100.0 up.
    if (tenths >= 1000)
        return QString::number(tenths / 10);
    return QStringLiteral("%1.%2").arg(tenths / 10, 2, 10, QLatin1Char('0')).arg(tenths % 10);
}

std::optional<QString> LimitedRangeText(const QString& text)
{
    const double value = LenientNumber(text);
    if (value < 0)
        return QStringLiteral("0");
    if (value > kDisplayRangeTop)
        return QString::number(kDisplayRangeTop);
    return std::nullopt;
}

NeedleAssignment* AssignmentFrame(GaugeDialog& dialog, QGroupBox* box, Needle needle, const char* calibrateName,
                                  const QString& sequenceCaption)
{
    const bool second = needle == Needle::Second;
    auto* assignment = new NeedleAssignment(dialog, needle, box, second ? "1" : "");
    QPushButton* calibrate = button(calibrateName, QStringLiteral("Calibrate"), box);
    auto* grid = new QGridLayout(box);
    grid->addWidget(label(QStringLiteral("Category"), box), 0, 0);
    grid->addWidget(assignment->ComboClass, 0, 1);
    grid->addWidget(label(QStringLiteral("Function"), box), 1, 0);
    grid->addWidget(assignment->GaugeFunction, 1, 1);
    grid->addWidget(assignment->FunctionFullName, 2, 1, 1, 2);
    // A long full name shows from its beginning.
    QLineEdit* fullName = assignment->FunctionFullName;
    QObject::connect(fullName, &QLineEdit::textChanged, fullName, [fullName] { fullName->setCursorPosition(0); });
    grid->addWidget(label(sequenceCaption, box), 3, 0);
    grid->addWidget(assignment->ComboSeqNr, 3, 1);
    grid->addWidget(label(QStringLiteral("Plate"), box), 4, 0);
    grid->addWidget(assignment->ComboPlate, 4, 1);
    grid->addWidget(calibrate, 4, 2);
    onClicked(calibrate, [assignment, second] { assignment->calibrate(second ? 2 : 1); });
    return assignment;
}

ConfigGaugeSD::ConfigGaugeSD()
    : DialogOf("ConfigGaugeSD", QStringLiteral("Configure Single Needle Gauge with Display"),
               FrameParts{.light = true, .displays = true, .backlight = true, .speed = true, .speedBox = true})
{
    QGroupBox* assign = frame("FrameAssignment", QStringLiteral("Gauge Assignment"), this);
    assignment_ = AssignmentFrame(*this, assign, Needle::First, "cmdAdvanced", QStringLiteral("Sequence Nr"));
    assignment_->plateAtOnce = false;  // the plate counts from Apply on

    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    SliderValue1 = slider("SliderValue1", 0, kDisplayDialTop, test);
    BoxtestValue1 = readOnlyBox("BoxtestValue1", test);
    QPushButton* cmdCentre = button("cmdCentre", QStringLiteral("Center"), test);
    MinValDisp = textBox("MinValDisp", test, QStringLiteral("00.0"));
    MaxValDisp = textBox("MaxValDisp", test, QStringLiteral("130"));
    ActValDisp = readOnlyBox("ActValDisp", test);
    ActValDisp->setText(QStringLiteral("0.00"));
    for (QLineEdit* box : {BoxtestValue1, MinValDisp, MaxValDisp, ActValDisp})
        box->setMaximumWidth(60);
    auto* testGrid = new QGridLayout(test);
    testGrid->addWidget(SliderValue1, 0, 0, 1, 4);
    testGrid->addWidget(BoxtestValue1, 0, 4);
    testGrid->addWidget(cmdCentre, 0, 5);
    testGrid->addWidget(label(QStringLiteral("Display from"), test), 1, 0);
    testGrid->addWidget(MinValDisp, 1, 1);
    testGrid->addWidget(label(QStringLiteral("to"), test), 1, 2);
    testGrid->addWidget(MaxValDisp, 1, 3);
    testGrid->addWidget(ActValDisp, 1, 4);
    onValueChanged(SliderValue1, [this](int position) { SliderValue1_Change(position, !SliderValue1->isSliderDown()); });
    // A drag settles when the thumb is let go.
    connect(SliderValue1, &QSlider::sliderReleased, this, [this] { SliderValue1_Change(SliderValue1->value(), true); });
    onClicked(cmdCentre, [this] { SliderValue1->setValue(kStandardDialCentre); });
    for (QLineEdit* box : {MinValDisp, MaxValDisp})
        connect(box, &QLineEdit::textChanged, this, [this, box] { keepInRange(box); });

    QRadioButton* cw = optionButton("Option3", QStringLiteral("CW"), this);
    QRadioButton* ccw = optionButton("Option4", QStringLiteral("CCW"), this);
    QGroupBox* rotation = columnFrame("FrameRotation", QStringLiteral("Rotation"), {cw, ccw}, this);
    onSelected(cw, [this] { send(4, 0); });
    onSelected(ccw, [this] { send(4, 1); });

    // The gauge opens with its light off and display on, which is nothing
    // to send.
    for (QRadioButton* option : {LightOff, DisplayOn}) {
        const QSignalBlocker blocker(option);
        option->setChecked(true);
    }
    if (auto* displayFrame = qobject_cast<QGroupBox*>(DisplayOn->parentWidget()))
        displayFrame->setTitle(QStringLiteral("Display"));

    auto* row = new QHBoxLayout;
    row->addWidget(test, 1);
    row->addWidget(rotation);
    content()->addWidget(assign);
    content()->addLayout(row);
}

void ConfigGaugeSD::loadRecord()
{
    FrameBacklightMode->setVisible(context().record().model >= kBacklightWordModels);
    assignment_->load();
}

void ConfigGaugeSD::GaugeSDinitialize()
{
    assignment_->load();
}

void ConfigGaugeSD::Form_Activate()
{
    assignment_->rebuildPlates();
}

ApplySteps ConfigGaugeSD::applySteps()
{
    return {.validate = [this] { return assignment_->complete(); },
            .clears = Field::IdentityAndNeedle1,
            .move = MovePolicy::Connected,
            .write = [this](int id) { assignment_->write(id); },
            .afterwards = {}};
}

void ConfigGaugeSD::SliderValue1_Change(int position, bool settled)
{
    BoxtestValue1->setText(QString::number(position));
    const QPointer<ConfigGaugeSD> self(this);
    send(5, position);
    if (!self || !settled)
        return;
    const int tenths =
        DisplayTestTenths(position, LenientNumber(MinValDisp->text()), LenientNumber(MaxValDisp->text()));
    ActValDisp->setText(DisplayTestText(tenths));
    // The run's own encoder, so the test shows what a run would show.
    if (const std::optional<int> word = DisplayWord(Single(tenths) / 10))
        send(6, *word);
}

void ConfigGaugeSD::keepInRange(QLineEdit* box)
{
    if (const std::optional<QString> limited = LimitedRangeText(box->text()))
        box->setText(*limited);
}

} // namespace varnet

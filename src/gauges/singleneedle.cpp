#include "gauges/singleneedle.h"

#include "bus/gaugeframes.h"
#include "gauges/needlelists.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace varnet {

namespace {

constexpr int kStandardDialLow = 945;
constexpr int kStandardDialHigh = 3780;
constexpr int kFullDialCentreLow = 540;
constexpr int kFullDialCentreHigh = 2160;
constexpr int kModel52mm = 2;
constexpr int kCalibrationTop = 1079;

} // namespace

bool BeyondStandardDial(int position, int sliderMaximum)
{
    return sliderMaximum == kLowResolutionTop ? position > kStandardDialLow : position > kStandardDialHigh;
}

ConfigGaugeSN::ConfigGaugeSN()
    : DialogOf(
          "ConfigGaugeSN", QStringLiteral("Configure Single needle Gauge"),
          FrameParts{.setNewID = true, .light = true, .backlight = true, .speed = true, .speedBox = true})
{
    auto* assign = frame("FrameAssignment", QStringLiteral("Gauge Assignment"), this);
    assignment_ = new NeedleAssignment(*this, Needle::First, assign);
    QPushButton* cmdAdvanced = button("cmdAdvanced", QStringLiteral("Calibrate"), assign);
    auto* grid = new QGridLayout(assign);
    grid->addWidget(label(QStringLiteral("Category"), assign), 0, 0);
    grid->addWidget(assignment_->ComboClass, 0, 1);
    grid->addWidget(label(QStringLiteral("Function"), assign), 1, 0);
    grid->addWidget(assignment_->GaugeFunction, 1, 1);
    grid->addWidget(assignment_->FunctionFullName, 2, 1);
    grid->addWidget(label(QStringLiteral("Sequence Nr"), assign), 3, 0);
    grid->addWidget(assignment_->ComboSeqNr, 3, 1);
    grid->addWidget(label(QStringLiteral("Plate"), assign), 4, 0);
    grid->addWidget(assignment_->ComboPlate, 4, 1);
    grid->addWidget(cmdAdvanced, 4, 2);
    onClicked(cmdAdvanced, [this] { assignment_->calibrate(1); });

    SliderValue1 = slider("SliderValue1", 0, kLowResolutionTop, this);
    BoxtestValue1 = readOnlyBox("BoxtestValue1", this);
    BoxtestValue1->setMaximumWidth(60);
    QPushButton* cmdCentre = button("cmdCentre", QStringLiteral("Center"), this);
    QGroupBox* test = rowFrame("FrameTest", QStringLiteral("Test Gauge"), {SliderValue1, BoxtestValue1, cmdCentre}, this);
    onValueChanged(SliderValue1, [this](int position) { SliderValue1_Change(position); });
    onClicked(cmdCentre, [this] { SliderValue1->setValue(centre_); });

    QRadioButton* cw = optionButton("Option3", QStringLiteral("CW"), this);
    QRadioButton* ccw = optionButton("Option4", QStringLiteral("CCW"), this);
    QGroupBox* rotation = columnFrame("FrameRotation", QStringLiteral("Rotation"), {cw, ccw}, this);
    onSelected(cw, [this] { send(4, 0); });
    onSelected(ccw, [this] { send(4, 1); });

    QPushButton* high = button("cmdSetHigh", QStringLiteral("Set High Resolution"), this);
    QPushButton* low = button("CmdLowRes", QStringLiteral("Set Low Resolution"), this);
    onClicked(high, [this] { setResolution(true); });
    onClicked(low, [this] { setResolution(false); });
    QList<QPushButton*> extras;
    for (int n = 0; n < 4; ++n) {
        const QByteArray name = "CmdExtra" + QByteArray::number(n + 1);
        QPushButton* extra = button(name.constData(), QStringLiteral("C%1").arg(n + 1), this);
        onClicked(extra, [this, n] { send(14, n); });
        extras << extra;
    }
    FrameCommands = rowFrame("FrameCommands", QStringLiteral("Special cmds"),
                             {high, low, extras[0], extras[1], extras[2], extras[3]}, this);

    QPushButton* dwnLarge = button("cmdDwnLargeMove", QStringLiteral("<<"), this);
    QPushButton* dwnSmall = button("cmdDwnSmallMove", QStringLiteral("<"), this);
    QPushButton* upSmall = button("CmdMoveUpSmallMove", QStringLiteral("> "), this);
    QPushButton* upLarge = button("CmdUpLargeMove", QStringLiteral(">>"), this);
    boxCalibrationValue = textBox("boxCalibrationValue", this, QStringLiteral("0"));
    boxCalibrationValue->setMaximumWidth(60);
    QPushButton* set = button("cmdSetCalibration", QStringLiteral("Set"), this);
    QPushButton* testCal = button("CmdTestCalibration", QStringLiteral("Test"), this);
    QPushButton* reset = button("cmdResetCalibration", QStringLiteral("Reset"), this);
    Frame52mmModel = rowFrame("Frame52mmModel", QStringLiteral("Needle Calibration 49mm/52mm model"),
                              {dwnLarge, dwnSmall, boxCalibrationValue, upSmall, upLarge, set, testCal, reset}, this);
    onClicked(upSmall, [this] { stepCalibration(11, 4, 1); });
    onClicked(upLarge, [this] { stepCalibration(11, 40, 10); });
    onClicked(dwnSmall, [this] { stepCalibration(12, 4, -1); });
    onClicked(dwnLarge, [this] { stepCalibration(12, 40, -10); });
    onClicked(set, [this] { cmdSetCalibration_Click(); });
    onClicked(testCal, [this] { send(1, 0); });
    onClicked(reset, [this] { cmdResetCalibration_Click(); });

    auto* row = new QHBoxLayout;
    row->addWidget(test, 1);
    row->addWidget(rotation);
    content()->addWidget(assign);
    content()->addLayout(row);
    content()->addWidget(FrameCommands);
    content()->addWidget(Frame52mmModel);
}

void ConfigGaugeSN::loadRecord()
{
    const bool model52 = context().record().model == kModel52mm;
    Frame52mmModel->setVisible(model52);
    FrameCommands->setVisible(model52);
    assignment_->load();
}

void ConfigGaugeSN::GaugeSNInitialize()
{
    assignment_->load();
}

void ConfigGaugeSN::Form_Activate()
{
    assignment_->rebuildPlates();
    warned_ = false;
    centre_ = kStandardDialCentre;
}

ApplySteps ConfigGaugeSN::applySteps()
{
    return {.validate = [this] { return assignment_->complete(); },
            .clears = Field::IdentityAndNeedle1,
            .move = MovePolicy::Connected,
            .write = [this](int id) { assignment_->write(id); },
            .afterwards = {}};
}

void ConfigGaugeSN::SliderValue1_Change(int position)
{
    BoxtestValue1->setText(QString::number(position));
    if (!warned_ && BeyondStandardDial(position, SliderValue1->maximum())) {
        warned_ = true;
        const QPointer<ConfigGaugeSN> self(this);
        const bool goOn = messages().yesNo(QString::fromLatin1(kEndStopQuestion));
        if (!self || !goOn)
            return;
        const bool low = SliderValue1->maximum() == kLowResolutionTop;
        centre_ = low ? kFullDialCentreLow : kFullDialCentreHigh;
        messages().ok(QStringLiteral("Needle center will be set to %1").arg(centre_));
        if (!self)
            return;
    }
    send(5, position);
}

void ConfigGaugeSN::setResolution(bool high)
{
    send(9, high ? 1 : 0);
    SliderValue1->setMaximum(high ? kHighResolutionTop : kLowResolutionTop);
    centre_ = high ? kFullDialCentreHigh : kFullDialCentreLow;
}

void ConfigGaugeSN::stepCalibration(int command, int value, int delta)
{
    send(command, value);
    const int stepped = LenientCounter(boxCalibrationValue->text()) + delta;
    boxCalibrationValue->setText(QString::number(JumpWrap(stepped, kCalibrationTop)));
}

void ConfigGaugeSN::cmdSetCalibration_Click()
{
    const std::optional<double> value = StrictNumber(boxCalibrationValue->text());
    const QString rule = QString::fromLatin1(kCalibrationValueRule);
    if (!value) {
        messages().ok(rule);
        return;
    }
    // Four steps per unit; the frame carries at most 16 bits.
    if (const std::optional<int> word = CheckRange(*value * 4, 0, kMaxFrameMagnitude, rule))
        send(13, *word);
}

void ConfigGaugeSN::cmdResetCalibration_Click()
{
    if (SliderValue1->maximum() >= 1081) {
        messages().ok(QString::fromLatin1(kLowResolutionOnly));
        return;
    }
    boxCalibrationValue->setText(QStringLiteral("0"));
    const QPointer<ConfigGaugeSN> self(this);
    send(13, 0);
    if (!self)
        return;
    SliderValue1->setValue(0);
    if (self)
        send(1, 0);
}

} // namespace varnet

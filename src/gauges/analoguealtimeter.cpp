#include "gauges/analoguealtimeter.h"

#include "platform/controls.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace varnet {

namespace {

constexpr int kInHg = 1;
constexpr int kMBar = 2;
constexpr int kAltitudeCategory = 8;
constexpr int kAltitudeFunction = 4;
constexpr int kSlave = -1;
constexpr int kPollMs = 200;

constexpr int kPressureHighByte = 7;
constexpr int kPressureLowByte = 8;
constexpr int kKnobViaSimByte = 10;
constexpr int kKnobRotationByte = 12;
constexpr int kMovingByte = 16;

QLabel* note(const QString& text, QWidget* parent)
{
    QLabel* l = label(text, parent);
    l->setWordWrap(true);
    l->setMinimumWidth(190);
    return l;
}

} // namespace

int AltimeterSpeed(int position)
{
    return 16 - int(RoundHalfEven(position / 10.0));
}

ConfigAnalogueAltimeter::ConfigAnalogueAltimeter()
    : DialogOf("ConfigAnalogueAltimeter", QStringLiteral("Configure and Test Analogue Altimeter"),
               FrameParts{.light = true, .speed = true})
{
    CmdApply->setObjectName(QStringLiteral("Command6"));
    CmdApply->setText(QStringLiteral("Apply/Assign"));
    CmdClose->setObjectName(QStringLiteral("cmdClose"));
    BoxGaugename->setMinimumWidth(330);
    {
        const QSignalBlocker blocker(SliderSpeed);
        SliderSpeed->setValue(50);
    }

    // ---- Settings stored on Apply (the unit also at once).
    Option1 = optionButton("Option1", QStringLiteral("inHg"), this);
    Option2 = optionButton("Option2", QStringLiteral("mBar"), this);
    QGroupBox* mode = columnFrame(
        "FrameMode", QStringLiteral("Mode"),
        {Option1, Option2, note(QStringLiteral("The mode depends on the Gauge Airpressure indicator."), this)}, this);
    SelectAtDesign(Option1);
    onSelected(Option1, [this] { unitChosen(kInHg); });
    onSelected(Option2, [this] { unitChosen(kMBar); });

    Master = optionButton("Master", QStringLiteral("Master"), this);
    Slave = optionButton("Slave", QStringLiteral("Slave"), this);
    QGroupBox* role = columnFrame("FrameFunction", QStringLiteral("Gauge Function"),
                                  {Master, Slave,
                                   note(QStringLiteral("In Mastermode the Gauge Airpressure is written to Sim. In Slave "
                                                       "mode the display will show (otherwise controlled) Sim Value."),
                                        this)},
                                  this);

    PressEffectsAlt = checkBox("PressEffectsAlt", QStringLiteral("Control via SIM"), this);
    QCheckBox* blockReset = checkBox("CheckBlockReset", QStringLiteral("No Reset knob"), this);
    connect(PressEffectsAlt, &QCheckBox::toggled, this, [this](bool set) { PressEffectsAlt_Click(set); });
    connect(blockReset, &QCheckBox::toggled, this, [this](bool set) { send(13, set ? 1 : 0); });
    QGroupBox* knob = columnFrame("FramePressureControl", QStringLiteral("Air Pressure Control"),
                                  {PressEffectsAlt, blockReset,
                                   note(QStringLiteral("If set the Air Pressure knob is controlled via  FS.  Knob and "
                                                       "Pressure display are separated functions. Will be slower due "
                                                       "to turn-around."),
                                        this)},
                                  this);
    auto* settings = new QHBoxLayout;
    settings->addWidget(mode);
    settings->addWidget(role);
    settings->addWidget(knob);

    // ---- Air pressure on the gauge.
    boxAirPress = textBox("boxAirPress", this);
    boxAirPress->setMaximumWidth(80);
    QPushButton* write = button("cmdWriteAirPress", QStringLiteral("Write"), this);
    QPushButton* read = button("CmdReadAirPress", QStringLiteral("Read"), this);
    onClicked(write, [this] { cmdWriteAirPress_Click(); });
    onClicked(read, [this] { CmdReadAirPress_Click(); });
    CheckPressViaFS = checkBox("CheckPressViaFS", QStringLiteral("Control via FS"), this);
    BoxPressRotation = readOnlyBox("BoxPressRotation", this);
    BoxPressRotation->setMaximumWidth(50);
    auto* pressure = new QHBoxLayout;
    pressure->addWidget(label(QStringLiteral("Airpressure setting:"), this));
    pressure->addWidget(boxAirPress);
    pressure->addWidget(write);
    pressure->addWidget(read);
    pressure->addWidget(rowFrame("FrameKnobRead", QStringLiteral("Air Pressure Control"),
                                 {CheckPressViaFS, label(QStringLiteral("Knob:"), this), BoxPressRotation}, this));

    // ---- Needle calibration with the gauge's help.
    auto* calibration = frame("FrameCalibration", QStringLiteral("Needle calibration"), this);
    boxStatus = readOnlyBox("boxStatus", calibration);
    boxStatus->setText(QStringLiteral("Ready"));
    QPushButton* recalibrate = button("cmdRecalibrate", QStringLiteral("Recalibrate"), calibration);
    onClicked(recalibrate, [this] { send(1, 0); });
    Option100Feet = optionButton("Option100Feet", QStringLiteral("100 Feet  "), calibration);
    Option1000Feet = optionButton("Option1000Feet", QStringLiteral("1000 Feet  "), calibration);
    Option10000feet = optionButton("Option10000feet", QStringLiteral("10.000 Feet  "), calibration);
    Option100Feet->setChecked(true);
    QPushButton* reset = button("Command2", QStringLiteral("Reset"), calibration);
    Needledelta = textBox("Needledelta", calibration, QStringLiteral("0"));
    Needledelta->setMaximumWidth(60);
    QPushButton* set = button("Command1", QStringLiteral("Set"), calibration);
    onClicked(reset, [this] { Command2_Click(); });
    onClicked(set, [this] { Command1_Click(); });
    auto* calGrid = new QGridLayout(calibration);
    calGrid->addWidget(label(QStringLiteral("Gauge Status: "), calibration), 0, 0);
    calGrid->addWidget(boxStatus, 0, 1, 1, 3);
    calGrid->addWidget(recalibrate, 0, 4);
    calGrid->addWidget(Option100Feet, 1, 0);
    calGrid->addWidget(Option1000Feet, 1, 1);
    calGrid->addWidget(Option10000feet, 1, 2);
    calGrid->addWidget(reset, 1, 3);
    auto* nudges = new QHBoxLayout;
    const std::pair<const char*, int> steps[] = {{"NL10", -100}, {"NL1", -10}, {"NR1", 10}, {"NR10", 100}};
    const char* captions[] = {"<<", "<", ">", ">>"};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(steps[i].first, QString::fromLatin1(captions[i]), calibration);
        onClicked(b, [this, delta = steps[i].second] { nudge(delta); });
        nudges->addWidget(b);
        if (i == 1)
            nudges->addWidget(Needledelta);
    }
    nudges->addWidget(set);
    calGrid->addLayout(nudges, 2, 0, 1, 5);
    calGrid->addWidget(
        note(QStringLiteral("WARNING: Calibration is done at Production. Don't recalibrate if not needed!"), calibration),
        3, 0, 1, 5);
    calGrid->addWidget(note(QStringLiteral("Calibration must be done to -2000 Feet. Set Altitude to -2000 and "
                                           "recalibrate first."),
                            calibration),
                       4, 0, 1, 5);

    // ---- Test altitude.
    SliderValue1 = slider("SliderValue1", -2000, 40000, this);
    SliderValue1->setSingleStep(5);
    SliderValue1->setPageStep(100);
    SliderValue1->setTickInterval(1000);
    SliderValue1->setTickPosition(QSlider::TicksBelow);
    BoxtestValue1 = readOnlyBox("BoxtestValue1", this);
    BoxtestValue1->setText(QStringLiteral("0"));
    BoxtestValue1->setMaximumWidth(60);
    QPushButton* plus = button("CmdPlus", QStringLiteral("+1"), this);
    QPushButton* zero = button("cmdsetzero", QStringLiteral("Zero"), this);
    onValueChanged(SliderValue1, [this](int altitude) {
        BoxtestValue1->setText(QString::number(altitude));
        send(4, altitude);
    });
    // At the top of the range "+1" leaves the slider where it is.
    onClicked(plus, [this] { SliderValue1->setValue(SliderValue1->value() + 1); });
    onClicked(zero, [this] {
        SliderValue1->setValue(0);
        BoxtestValue1->setText(QStringLiteral("0"));
    });
    QGroupBox* test = rowFrame("FrameTest", QStringLiteral("Test Gauge"),
                               {label(QStringLiteral("Altitude -2000"), this), SliderValue1,
                                label(QStringLiteral("+40000"), this), label(QStringLiteral("Value"), this),
                                BoxtestValue1, plus, zero},
                               this);

    content()->addWidget(label(QStringLiteral("Fixed Function; Assigned to Altitude."), this));
    content()->addLayout(settings);
    content()->addLayout(pressure);
    content()->addWidget(calibration);
    content()->addWidget(test);

    TimerScan_ = new StatusPoll(*this, kPollMs, [this](const Reply& reply) { showStatus(reply); });
    // The altimeter's status request carries the altitude under test.
    TimerScan_->requestValue = [this] { return SliderValue1->value(); };
}

QString ConfigAnalogueAltimeter::typeNameText() const
{
    return QStringLiteral("Analogue Altimeter (range -2000  to +40000 feet)");
}

void ConfigAnalogueAltimeter::loadRecord()
{
    const GaugeRecord record = context().record();
    (record.model == kMBar ? Option2 : Option1)->setChecked(true);
    (record.function2 != 0 ? Slave : Master)->setChecked(true);
    PressEffectsAlt->setChecked(record.seqNr2 != 0);
    TimerScan_->start();
}

ApplySteps ConfigAnalogueAltimeter::applySteps()
{
    return {.validate = {},
            .clears = Field::IdentityAndNeedle1,
            .move = MovePolicy::Connected,
            .write =
                [this](int id) {
                    GaugeRecord r;
                    r.model = Option1->isChecked() ? kInHg : kMBar;
                    r.category1 = kAltitudeCategory;
                    r.function1 = kAltitudeFunction;
                    r.seqNr1 = 1;
                    r.plate1 = 0;
                    r.function2 = Slave->isChecked() ? kSlave : 0;
                    r.seqNr2 = PressEffectsAlt->isChecked() ? 1 : 0;
                    r.Write(Cfg, id, Field::Model | Field::Needle1 | Field::Function2 | Field::SeqNr2);
                },
            // The gauge learns its unit once the record holds it.
            .afterwards = [this] {
                const GaugeRecord r = context().record();
                send(9, r.version * 256 + r.model);
            }};
}

void ConfigAnalogueAltimeter::unitChosen(int unit)
{
    WriteAtOnce(gaugeID(), Field::Model, GaugeRecord{.model = unit});
    send(5, UnitWordOfOption(unit == kMBar, PressEffectsAlt->isChecked(), context().record().version));
}

void ConfigAnalogueAltimeter::PressEffectsAlt_Click(bool set)
{
    send(5, UnitWordOfKnobCheck(Option2->isChecked(), set));
}

void ConfigAnalogueAltimeter::showStatus(const Reply& reply)
{
    const bool moving = reply.byte(kMovingByte) != 0;
    boxStatus->setText(moving ? QStringLiteral("Busy moving Needle(s)") : QStringLiteral("Ready"));
    boxStatus->setStyleSheet(moving ? QStringLiteral("color: red") : QStringLiteral("color: black"));
}

void ConfigAnalogueAltimeter::CmdReadAirPress_Click()
{
    const std::optional<Reply> reply = readReply(SliderValue1->value());
    if (!reply)
        return;
    boxAirPress->setText(AirPressureText(reply->word(kPressureHighByte, kPressureLowByte), Option1->isChecked()));
    CheckPressViaFS->setChecked(reply->byte(kKnobViaSimByte) != 0);
    BoxPressRotation->setText(QString::number(reply->byte(kKnobRotationByte) - 128));
}

void ConfigAnalogueAltimeter::cmdWriteAirPress_Click()
{
    if (const std::optional<int> word = AirPressureWord(boxAirPress->text(), Option1->isChecked()))
        send(12, *word);
    else
        messages().ok(QString::fromLatin1(kAirPressureRule));
}

void ConfigAnalogueAltimeter::Command2_Click()
{
    Needledelta->setText(QStringLiteral("0"));
    const int needle = Option100Feet->isChecked() ? 1 : Option1000Feet->isChecked() ? 2 : 3;
    const QPointer<ConfigAnalogueAltimeter> self(this);
    send(10, needle);
    if (self)
        TimerScan_->start();
}

std::optional<int> ConfigAnalogueAltimeter::needledelta()
{
    return ReadWholeNumber(Needledelta->text(), 0, kNeedledeltaTop, RangeRule(QStringLiteral("Needledelta"), 0, kNeedledeltaTop));
}

void ConfigAnalogueAltimeter::Command1_Click()
{
    const std::optional<int> delta = needledelta();
    if (!delta)
        return;
    const QPointer<ConfigAnalogueAltimeter> self(this);
    send(6, *delta);
    if (self)
        send(10, 0);
}

void ConfigAnalogueAltimeter::nudge(int delta)
{
    const std::optional<int> value = needledelta();
    if (!value)
        return;
    const int stepped = JumpWrap(*value + delta, kNeedledeltaTop);
    Needledelta->setText(QString::number(stepped));
    send(11, stepped);
}

} // namespace varnet

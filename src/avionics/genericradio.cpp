#include "avionics/genericradio.h"

#include "gauges/radiocodecs.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <limits>

namespace varnet {

namespace {

constexpr int kByteTop = 255;
constexpr int kCommFunction = 20;
constexpr int kNavFunction = 22;
constexpr int kAdfFunction = 24;
constexpr int kFirstVersionWithTwoClicks = 6;
constexpr int kAdfFastRotateDefault = 8;

// Reply positions of the radio type and the two frequencies.
constexpr int kTypeByte = 4;
constexpr int kActiveHigh = 7;
constexpr int kStandbyHigh = 10;

// A knob step typed into a box: a finite number within [0, top].
std::optional<double> StepValue(const QString& text, double top, const char* rule)
{
    const std::optional<double> value = StrictNumber(text);
    if (!value || !std::isfinite(*value) || *value < 0 || *value > top) {
        messages().ok(QString::fromLatin1(rule));
        return std::nullopt;
    }
    return value;
}

int ClampedByte(double value)
{
    return int(RoundHalfEven(std::min(value, double(kByteTop))));
}

} // namespace

// ---- Plain logic ----------------------------------------------------------------

FrequencyTexts FrequencyDefaults(int typeCode)
{
    switch (typeCode) {
    case kRadioNav: return {KilohertzText(108000), KilohertzText(117950), KilohertzText(113000)};
    case kRadioAdf1: return {AdfText(1000), AdfText(9999), AdfText(5000)};
    case kRadioAdf2: return {AdfText(1000), AdfText(17000), AdfText(8500)};
    default: return {KilohertzText(118000), KilohertzText(138975), KilohertzText(121000)};
    }
}

QString FrequencyRule(int typeCode, const QString& what)
{
    if (IsAdfRadio(typeCode))
        return QStringLiteral("%1 must be a number of kHz between 0.0 and 6553.5").arg(what);
    return QStringLiteral("%1 must be a whole number of kHz (118,000 or 118000) up to 65,535 or from 100,001 to 165,535")
        .arg(what);
}

std::optional<int> FrequencyWord(int typeCode, const QString& text, const QString& what)
{
    const std::optional<int> word = IsAdfRadio(typeCode) ? AdfWord(text) : ComNavWord(text);
    if (!word)
        messages().ok(FrequencyRule(typeCode, what));
    return word;
}

QString ReplyFrequencyText(int typeCode, int word)
{
    return IsAdfRadio(typeCode) ? AdfText(word) : ComNavText(word);
}

std::optional<int> KnobWord(int typeCode, const QString& upper, const QString& lower)
{
    if (IsAdfRadio(typeCode)) {
        // Larger steps than a byte holds are sent as the largest.
        constexpr double kNoTop = std::numeric_limits<double>::infinity();
        const std::optional<double> up = StepValue(upper, kNoTop, kAdfUpperKnobRule);
        const std::optional<double> low = up ? StepValue(lower, kNoTop, kAdfLowerKnobRule) : std::nullopt;
        if (!low)
            return std::nullopt;
        return ClampedByte(*up * 10) * 256 + ClampedByte(*low);
    }
    // The lower step travels in tens of kHz; each step keeps to its byte so
    // that neither spills into the other.
    const std::optional<double> up = StepValue(upper, kByteTop, kUpperKnobRule);
    const std::optional<double> low = up ? StepValue(lower, kByteTop * 10, kLowerKnobRule) : std::nullopt;
    if (!low)
        return std::nullopt;
    return int(RoundHalfEven(*up * 256 + ClampedByte(*low / 10)));
}

std::optional<RadioCommands> LimitsAndKnob(const RadioSettings& s)
{
    const int type = s.typeCode;
    const std::optional<int> maximum = FrequencyWord(type, s.frequencies.maximum, QStringLiteral("Maximum frequency"));
    if (!maximum)
        return std::nullopt;
    const std::optional<int> minimum = FrequencyWord(type, s.frequencies.minimum, QStringLiteral("Minimum frequency"));
    if (!minimum)
        return std::nullopt;
    const std::optional<int> standard = FrequencyWord(type, s.frequencies.standard, QStringLiteral("Default frequency"));
    if (!standard)
        return std::nullopt;
    const std::optional<int> knob = KnobWord(type, s.upperStep, s.lowerStep);
    if (!knob)
        return std::nullopt;
    // Command 9: the module's version in the high byte, the radio type in the low.
    return RadioCommands{{9, s.version * 256 + type}, {10, *maximum}, {11, *minimum}, {12, *standard}, {5, *knob}};
}

std::optional<RadioCommands> GenericRadioWrite(const RadioSettings& settings, const GenericRadioExtras& extras)
{
    std::optional<RadioCommands> limits = LimitsAndKnob(settings);
    if (!limits)
        return std::nullopt;
    const QString rule = QString::fromLatin1(kClicksRule);
    const std::optional<int> upper = ReadWholeNumber(extras.clicksUpper, 0, kByteTop, rule);
    const std::optional<int> lower = upper ? ReadWholeNumber(extras.clicksLower, 0, kByteTop, rule) : std::nullopt;
    if (!lower)
        return std::nullopt;
    RadioCommands commands{{13, extras.brightness}};
    commands.insert(commands.end(), limits->begin(), limits->end());
    commands.emplace_back(4, IsAdfRadio(settings.typeCode) ? settings.fastRotate * 2 : -1);
    commands.emplace_back(13, extras.brightness);
    commands.emplace_back(14, *upper * 256 + *lower);
    return commands;
}

int IndicatorWord(bool leftUp, bool leftDown, bool rightUp, bool rightDown)
{
    return (leftDown ? 0x1000 : 0) + (leftUp ? 0x0100 : 0) + (rightDown ? 0x0010 : 0) + (rightUp ? 0x0001 : 0);
}

void WriteRadioAssignment(int gaugeID, int function1, int function2)
{
    GaugeRecord r;
    r.function1 = function1;
    r.function2 = function2;
    r.Write(Cfg, gaugeID, Field::Function1 | Field::Function2 | Field::Plate1);
}

QLabel* WriteOnlyNote(QWidget* parent)
{
    QLabel* note = label(QStringLiteral("Note: The values in the Frequency and Knobs boxes are not actual. These are "
                                        "located  in the radio module and not read back. So, these are Write Only.  "
                                        "     Decimal separator = \".\" (point)"),
                         parent);
    note->setWordWrap(true);
    return note;
}

// ---- The frame of both radios --------------------------------------------------------

RadioDialog::RadioDialog(const char* name, const ModuleParts& parts, const RadioCaptions& captions)
    : ModuleDialog(name, QStringLiteral("Configure Generic Radio Module"), parts,
                   ModuleAssignment{.function1 = kCommFunction, .function2 = kCommFunction + 1})
{
    OptionRadioComm = optionButton("OptionRadioComm", QStringLiteral("COMM"), this);
    OptionRadioNav = optionButton("OptionRadioNav", QStringLiteral("NAV"), this);
    OptionRadioAdf1 = optionButton("OptionRadioAdf1", QStringLiteral("ADF 100-999.9"), this);
    OptionRadioAdf2 = optionButton("OptionRadioAdf2", QStringLiteral("ADF 100-1700"), this);
    for (QRadioButton* option : typeOptions())
        onSelected(option, [this] {
            cmdSetDefaultFreq_Click();
            CmdSetKnobs_Click();
        });
    QGroupBox* typeFrame = columnFrame("FrameRadioType", QStringLiteral("Radio type"),
                                       {OptionRadioComm, OptionRadioNav, OptionRadioAdf1, OptionRadioAdf2}, this);

    // The frequency settings, in kHz.
    BoxMinimumFreq = textBox("BoxMinimumFreq", this, QStringLiteral("118,000"));
    BoxMaximumFreq = textBox("BoxMaximumFreq", this, QStringLiteral("138,975"));
    BoxDefaultFreq = textBox("BoxDefaultFreq", this, QStringLiteral("121,000"));
    QPushButton* setDefaultFreq = button("cmdSetDefaultFreq", captions.defaults, this);
    onClicked(setDefaultFreq, [this] { cmdSetDefaultFreq_Click(); });
    QGroupBox* frequencyFrame = frame("FrameFrequencySettings", QStringLiteral("Frequency settings"), this);
    auto* frequencyRows = new QGridLayout(frequencyFrame);
    const std::pair<const char*, QLineEdit*> frequencyBoxes[] = {{"Minimum frequency:", BoxMinimumFreq},
                                                                  {"Maximum frequency:", BoxMaximumFreq},
                                                                  {"Default frequency: ", BoxDefaultFreq}};
    int row = 0;
    for (const auto& [caption, box] : frequencyBoxes) {
        box->setParent(frequencyFrame);
        box->setMaximumWidth(90);
        frequencyRows->addWidget(label(QString::fromLatin1(caption), frequencyFrame), row, 0);
        frequencyRows->addWidget(box, row, 1);
        frequencyRows->addWidget(label(QStringLiteral("Khz"), frequencyFrame), row++, 2);
    }
    CheckSendStandby->setParent(frequencyFrame);
    frequencyRows->addWidget(setDefaultFreq, row++, 1);
    frequencyRows->addWidget(CheckSendStandby, row, 0, 1, 3);

    // The knobs: the step of each, and the fast rotate.
    boxUpperKnobDelta = textBox("boxUpperKnobDelta", this, QStringLiteral("50"));
    boxLowerKnobDelta = textBox("boxLowerKnobDelta", this, QStringLiteral("1000"));
    SliderFastRotate = slider("SliderFastRotate", 0, 16, this);
    QPushButton* setKnobs = button("CmdSetKnobs", captions.defaults, this);
    onClicked(setKnobs, [this] { CmdSetKnobs_Click(); });
    QGroupBox* knobFrame = frame("FrameKnobs", QStringLiteral("Knobs and Displays"), this);
    knobRows_ = new QGridLayout(knobFrame);
    const std::pair<QString, QLineEdit*> knobBoxes[] = {{captions.upperKnob, boxUpperKnobDelta},
                                                         {captions.lowerKnob, boxLowerKnobDelta}};
    row = 0;
    for (const auto& [caption, box] : knobBoxes) {
        box->setParent(knobFrame);
        box->setMaximumWidth(70);
        knobRows_->addWidget(label(caption, knobFrame), row, 0);
        knobRows_->addWidget(box, row, 1);
        knobRows_->addWidget(label(QStringLiteral("Khz"), knobFrame), row++, 2);
    }
    // Row 3 is left for the slider's end labels, rows from 5 for the
    // dialogs' own settings.
    SliderFastRotate->setParent(knobFrame);
    knobRows_->addWidget(label(captions.fastRotate, knobFrame), row, 0);
    knobRows_->addWidget(SliderFastRotate, row, 1, 1, 3);
    setKnobs->setParent(knobFrame);
    knobRows_->addWidget(setKnobs, 4, 1);

    // The module's number and the write of everything above.
    QPushButton* write = button("cmdWriteSettings", QStringLiteral("Write settings to radio"), this);
    onClicked(write, [this] { cmdWriteSettings_Click(); });
    QGroupBox* assignment =
        columnFrame("FrameAssignment", QStringLiteral("Radio Assignment and Settings"), {RadioNumberFrame, write}, this);

    // The frequencies read back.
    boxActiveFrequency = readOnlyBox("boxActiveFrequency", this);
    boxStandbyFrequency = readOnlyBox("boxStandbyFrequency", this);
    QGroupBox* readBack = frame("FrameFrequency", captions.readBack, this);
    readBackRows_ = new QGridLayout(readBack);
    row = 0;
    for (const auto& [caption, box] : {std::pair{"Active", boxActiveFrequency}, std::pair{"Stand by", boxStandbyFrequency}}) {
        box->setParent(readBack);
        box->setMaximumWidth(90);
        readBackRows_->addWidget(label(QString::fromLatin1(caption), readBack), row, 0);
        readBackRows_->addWidget(box, row++, 1);
    }
    ReadButton->setParent(readBack);
    readBackRows_->addWidget(ReadButton, 0, 2);

    content()->addWidget(label(captions.fixedFunction, this));
    auto* upperRow = new QHBoxLayout;
    upperRow->addWidget(typeFrame);
    upperRow->addWidget(frequencyFrame);
    upperRow->addWidget(knobFrame);
    content()->addLayout(upperRow);
    lowerRow_ = new QHBoxLayout;
    lowerRow_->addWidget(assignment);
    lowerRow_->addWidget(readBack);
    content()->addLayout(lowerRow_);
    content()->addWidget(WriteOnlyNote(this));
}

int RadioDialog::selectedType() const
{
    const auto options = typeOptions();
    for (int code = kRadioComm; code <= kRadioAdf2; ++code)
        if (options[code]->isChecked())
            return code;
    return -1;
}

void RadioDialog::loadRecord()
{
    ModuleDialog::loadRecord();
    // Selecting the module's type shows that type's defaults; another model
    // byte leaves the boxes as they are and the code at COMM.
    const int model = context().record().model;
    if (model >= kRadioComm && model <= kRadioAdf2)
        typeOptions()[model]->setChecked(true);
}

void RadioDialog::cmdSetDefaultFreq_Click()
{
    const int type = selectedType();
    if (type < 0)
        return;
    const FrequencyTexts texts = FrequencyDefaults(type);
    BoxMinimumFreq->setText(texts.minimum);
    BoxMaximumFreq->setText(texts.maximum);
    BoxDefaultFreq->setText(texts.standard);
}

void RadioDialog::CmdSetKnobs_Click()
{
    const int type = selectedType();
    if (type < 0)
        return;
    radioType_ = type;
    if (IsAdfRadio(type)) {
        boxUpperKnobDelta->setText(QStringLiteral("0.1"));
        boxLowerKnobDelta->setText(QStringLiteral("1"));
        SliderFastRotate->setValue(kAdfFastRotateDefault);
    } else {
        boxUpperKnobDelta->setText(type == kRadioComm ? QStringLiteral("25") : QStringLiteral("50"));
        boxLowerKnobDelta->setText(QStringLiteral("1000"));
    }
    knobDefaultsSet();
}

RadioSettings RadioDialog::radioSettings() const
{
    return {.typeCode = radioType_,
            .version = GaugeRecord::Read(Cfg, gaugeID()).version,
            .frequencies = {BoxMinimumFreq->text(), BoxMaximumFreq->text(), BoxDefaultFreq->text()},
            .upperStep = boxUpperKnobDelta->text(),
            .lowerStep = boxLowerKnobDelta->text(),
            .fastRotate = SliderFastRotate->value()};
}

void RadioDialog::cmdWriteSettings_Click()
{
    if (const std::optional<RadioCommands> commands = settingsCommands())
        SendInOrder(*this, *commands);
}

void RadioDialog::writeModule(int gaugeID)
{
    const int function1 = radioType_ == kRadioComm ? kCommFunction
                          : radioType_ == kRadioNav ? kNavFunction
                                                    : kAdfFunction;
    WriteRadioAssignment(gaugeID, function1, function1 + 1);
}

void RadioDialog::decodeReply(const Reply& reply)
{
    const int type = reply.byte(kTypeByte);
    if (type < kRadioComm || type > kRadioAdf2)
        return;
    boxActiveFrequency->setText(ReplyFrequencyText(type, reply.word(kActiveHigh, kActiveHigh + 1)));
    boxStandbyFrequency->setText(ReplyFrequencyText(type, reply.word(kStandbyHigh, kStandbyHigh + 1)));
}

// ---- The generic radio module ---------------------------------------------------------

ConfigVHFRadio::ConfigVHFRadio()
    : RadioDialog("ConfigVHFRadio",
                  ModuleParts{.applyName = "Command6", .readName = "CmdReadRadio", .radioNumber = true},
                  RadioCaptions{.fixedFunction = QStringLiteral("Fixed function module"),
                                .defaults = QStringLiteral("Defaults"),
                                .upperKnob = QStringLiteral("Delta F upper knob:"),
                                .lowerKnob = QStringLiteral("Delta F lower knob: "),
                                .fastRotate = QStringLiteral("ADF fast rotate"),
                                .readBack = QStringLiteral("Frequency")})
{
    QWidget* knobs = boxUpperKnobDelta->parentWidget();
    boxClicksUpper = textBox("boxClicksUpper", knobs, QStringLiteral("12"));
    boxClicksLower = textBox("boxClicksLower", knobs, QStringLiteral("12"));
    ComboBrightness = comboBox("ComboBrightness", knobs);
    for (QLineEdit* box : {boxClicksUpper, boxClicksLower})
        box->setMaximumWidth(40);
    knobRows_->addWidget(label(QStringLiteral("Clicks"), knobs), 0, 3);
    knobRows_->addWidget(boxClicksUpper, 0, 4);
    knobRows_->addWidget(boxClicksLower, 1, 4);
    // The fast rotate slider's ends.
    knobRows_->addWidget(label(QStringLiteral("Off"), knobs), 3, 1, Qt::AlignLeft);
    knobRows_->addWidget(label(QStringLiteral("Max"), knobs), 3, 3, Qt::AlignRight);
    knobRows_->addWidget(label(QStringLiteral("Display brightness: "), knobs), 5, 0);
    knobRows_->addWidget(ComboBrightness, 5, 1, 1, 2);

    ADFindicatorLeftUp = checkBox("ADFindicatorLeftUp", QStringLiteral("Left up"), this);
    ADFindicatorLeftDown = checkBox("ADFindicatorLeftDown", QStringLiteral("Left down"), this);
    ADFindicatorRightUp = checkBox("ADFindicatorRightUp", QStringLiteral("Right up"), this);
    ADFindicatorRightDown = checkBox("ADFindicatorRightDown", QStringLiteral("Right down"), this);
    QPushButton* setIndicators = button("CmdSetIndicators", QStringLiteral("Set"), this);
    onClicked(setIndicators, [this] { CmdSetIndicators_Click(); });
    QGroupBox* indicators = frame("FrameADFIndicators", QStringLiteral("ADF indicators"), this);
    auto* grid = new QGridLayout(indicators);
    int cell = 0;
    for (QCheckBox* box : {ADFindicatorLeftUp, ADFindicatorRightUp, ADFindicatorLeftDown, ADFindicatorRightDown}) {
        box->setParent(indicators);
        grid->addWidget(box, cell / 2, cell % 2);
        ++cell;
    }
    setIndicators->setParent(indicators);
    grid->addWidget(setIndicators, 2, 0);
    lowerRow_->insertWidget(1, indicators);
}

void ConfigVHFRadio::loadRecord()
{
    fillList(ComboBrightness,
             {QStringLiteral("Minimum"), QStringLiteral("Low"), QStringLiteral("Medium"), QStringLiteral("Maximum")});
    RadioDialog::loadRecord();
    ComboBrightness->setCurrentIndex(0);
}

void ConfigVHFRadio::knobDefaultsSet()
{
    ComboBrightness->setCurrentIndex(0);
    const bool twoClicks = GaugeRecord::Read(Cfg, gaugeID()).version >= kFirstVersionWithTwoClicks;
    const QString clicks = twoClicks ? QStringLiteral("2") : QStringLiteral("12");
    boxClicksUpper->setText(clicks);
    boxClicksLower->setText(clicks);
}

std::optional<RadioCommands> ConfigVHFRadio::settingsCommands() const
{
    return GenericRadioWrite(radioSettings(), {.brightness = std::max(ComboBrightness->currentIndex(), 0),
                                               .clicksUpper = boxClicksUpper->text(),
                                               .clicksLower = boxClicksLower->text()});
}

void ConfigVHFRadio::CmdSetIndicators_Click()
{
    if (!OptionRadioAdf1->isChecked()) {
        messages().ok(QString::fromLatin1(kIndicatorsOnlyAdf1));
        for (QCheckBox* box : {ADFindicatorLeftUp, ADFindicatorLeftDown, ADFindicatorRightUp, ADFindicatorRightDown})
            box->setChecked(false);
        return;
    }
    send(6, IndicatorWord(ADFindicatorLeftUp->isChecked(), ADFindicatorLeftDown->isChecked(),
                          ADFindicatorRightUp->isChecked(), ADFindicatorRightDown->isChecked()));
}

} // namespace varnet

#include "gauges/digitalaltimeter.h"

#include "bus/gaugeframes.h"
#include "gauges/vorindicator.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>

#include <algorithm>

namespace varnet {

namespace {

constexpr int kModelInHg = 1;
constexpr int kModelMBar = 2;
// Versions above this have the pressure knob, its display and intensities.
constexpr int kLastVersionWithoutKnob = 3;
constexpr int kKnobBit = 0x100;
constexpr int kAltitudeLowest = -5000;
constexpr int kAltitudeHighest = 50000;
constexpr int kPressureTop = 9999;
constexpr int kNeedleDeltaTop = 1067;
constexpr int kNeedleDeltaWrapped = 1068;

const char* const kKnobHelp =
    "If set the Air Pressure knob is controlled via  FS. In that case the Knob and Pressure display are "
    "separated functions.";

} // namespace

std::optional<int> AirPressureWord(const QString& text, bool inHg)
{
    // The whole text is one decimal number: "29,92", "3o.1" or "1e3" is no
    // pressure at all rather than the part before the odd character.
    static const QRegularExpression decimal(QStringLiteral(R"(^\s*([+-]?)(\d*)(?:\.(\d*))?\s*$)"));
    const QRegularExpressionMatch m = decimal.match(text);
    QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (!m.hasMatch() || (whole.isEmpty() && fraction.isEmpty()))
        return std::nullopt;
    whole.remove(QRegularExpression(QStringLiteral("^0+")));
    if (whole.size() > 6)
        return std::nullopt;  // far above the range, and kept clear of overflow
    // In the unit the gauge takes (hundredths of an inch or millibar), read
    // exactly: the whole units, and whether anything is left after them.
    const int shift = inHg ? 2 : 0;
    const long long units = (whole + fraction.left(shift).leftJustified(shift, u'0')).toLongLong();
    const bool rest = fraction.mid(shift).contains(QRegularExpression(QStringLiteral("[1-9]")));
    const bool negative = m.captured(1) == u'-' && (units > 0 || rest);
    // The range counts before the value is cut to whole units: 9999.5 is
    // above 9999 and -0.001 below 0.
    if (negative || units > kPressureTop || (units == kPressureTop && rest))
        return std::nullopt;
    return int(units);
}

QString AirPressureText(int raw, bool inHg)
{
    return inHg ? QString::number(raw / 100.0) : QString::number(raw);
}

int UnitWordOfOption(bool mBar, bool knobViaSim, int version)
{
    return (mBar ? 1 : 0) | (version > kLastVersionWithoutKnob && knobViaSim ? kKnobBit : 0);
}

int UnitWordOfKnobCheck(bool mBar, bool knobViaSim)
{
    return (mBar ? 0x11 : 0) | (knobViaSim ? kKnobBit : 0);
}

int IntensityWord(int altitude, int pressure, bool night)
{
    return (32 - altitude) * 256 + (32 - pressure) + (night ? 0x4040 : 0);
}

int StepNeedleDelta(int value, int delta)
{
    const int stepped = value + delta;
    return stepped > kNeedleDeltaTop ? 0 : stepped < 0 ? kNeedleDeltaWrapped : stepped;
}

ConfigGaugeAD::ConfigGaugeAD()
    : DialogOf("ConfigGaugeAD", QStringLiteral("Configure Gauges"),
               FrameParts{.light = true, .displays = true, .backlight = true, .speed = true})
{
    // The fixed type text stands where the type name stands elsewhere.
    BoxGaugename->setObjectName(QStringLiteral("Text2"));
    CmdApply->setObjectName(QStringLiteral("Command6"));
    CmdClose->setObjectName(QStringLiteral("cmdClose"));
    {
        const QSignalBlocker light(LightOff), displays(DisplayOn), speed(SliderSpeed);
        LightOff->setChecked(true);
        DisplayOn->setChecked(true);
        SliderSpeed->setValue(80);
    }
    if (auto* speeds = findChild<QGroupBox*>(QStringLiteral("FrameSpeed"))) {
        auto* row = static_cast<QBoxLayout*>(speeds->layout());
        row->insertWidget(0, label(QStringLiteral("Slow"), speeds));
        row->addWidget(label(QStringLiteral("Fast"), speeds));
    }

    Option1 = optionButton("Option1", QStringLiteral("inHg"), this);
    Option2 = optionButton("Option2", QStringLiteral("mBar"), this);
    OptionAltDigits3 = optionButton("OptionAltDigits3", QStringLiteral("3 Digits Altitude"), this);
    OptionAltDigits5 = optionButton("OptionAltDigits5", QStringLiteral("5 Digits Altitude"), this);
    Master = optionButton("Master", QStringLiteral("Master"), this);
    Slave = optionButton("Slave", QStringLiteral("Slave"), this);
    PressEffectsAlt = checkBox("PressEffectsAlt", QStringLiteral("Control via FS"), this);
    QGroupBox* mode = columnFrame("FrameMode", QStringLiteral("Mode"), {Option1, Option2}, this);
    QGroupBox* digits =
        columnFrame("FrameDisplayMode", QStringLiteral("Display mode"), {OptionAltDigits3, OptionAltDigits5}, this);
    QGroupBox* function = columnFrame("FrameGaugeFunction", QStringLiteral("Gauge Function"), {Master, Slave}, this);
    QGroupBox* pressureControl =
        columnFrame("FramePressureControl", QStringLiteral("Air Pressure Ctrl"), {PressEffectsAlt}, this);
    FramePressureControl = pressureControl;
    Option1->setChecked(true);
    Master->setChecked(true);
    onSelected(Option1, [this] { unitChosen(false); });
    onSelected(Option2, [this] { unitChosen(true); });
    connect(PressEffectsAlt, &QCheckBox::toggled, this,
            [this](bool checked) { send(5, UnitWordOfKnobCheck(!inHg(), checked)); });
    onSelected(OptionAltDigits3, [this] { send(14, 1); });
    onSelected(OptionAltDigits5, [this] { send(14, 0); });

    SliderValue1 = slider("SliderValue1", kAltitudeLowest, kAltitudeHighest, this);
    BoxtestValue1 = readOnlyBox("BoxtestValue1", this);
    BoxtestValue1->setText(QStringLiteral("0"));
    BoxtestValue1->setMaximumWidth(70);
    QPushButton* minus = button("CmdMin", QStringLiteral("- 1"), this);
    QPushButton* plus = button("CmdPlus", QStringLiteral("+ 1"), this);
    QPushButton* zero = button("cmdsetzero", QStringLiteral("Zero"), this);
    QGroupBox* test = rowFrame("FrameTest", QStringLiteral("Test Gauge"),
                               {label(QStringLiteral("Altitude"), this), label(QStringLiteral("-5000"), this),
                                SliderValue1, label(QStringLiteral("+50000"), this), BoxtestValue1, minus, plus, zero},
                               this);
    ShowAndSend(*this, SliderValue1, BoxtestValue1, 4);
    onClicked(minus, [this] { SliderValue1->setValue(SliderValue1->value() - 1); });
    onClicked(plus, [this] { SliderValue1->setValue(SliderValue1->value() + 1); });
    onClicked(zero, [this] { MoveSliderTo(SliderValue1, 0); });

    boxAirPress = textBox("boxAirPress", this, QStringLiteral("----------"));
    boxAirPress->setMaximumWidth(90);
    QPushButton* write = button("cmdWriteAirPress", QStringLiteral("Write"), this);
    QPushButton* read = button("CmdReadAirPress", QStringLiteral("Read"), this);
    BoxPressRotation = readOnlyBox("BoxPressRotation", this);
    BoxPressRotation->setMaximumWidth(50);
    CheckPressViaFS = checkBox("CheckPressViaFS", QStringLiteral("Control via FS"), this);
    FrameTestKnob = rowFrame("FrameTestKnob", QStringLiteral("Air Pressure Control"),
                             {label(QStringLiteral("Airpressure setting:"), this), boxAirPress, write, read,
                              label(QStringLiteral("Knob:"), this), BoxPressRotation, CheckPressViaFS},
                             this);
    onClicked(write, [this] { cmdWriteAirPress_Click(); });
    onClicked(read, [this] { CmdReadAirPress_Click(); });
    for (QWidget* helped : {FrameTestKnob, static_cast<QWidget*>(digits), FramePressureControl})
        helped->setToolTip(QString::fromLatin1(kKnobHelp));

    SliderIntensityAlt = slider("SliderIntensityAlt", 1, 31, this);
    SliderPressIntensity = slider("SliderPressIntensity", 1, 31, this);
    SliderIntensityAlt->setValue(16);
    SliderPressIntensity->setValue(16);
    QPushButton* day = button("cmdSetDay", QStringLiteral("Set Day"), this);
    QPushButton* night = button("cmdSetNight", QStringLiteral("Set Night"), this);
    FrameIntensity = rowFrame("FrameIntensity", QStringLiteral("Llight Intensity"),
                              {label(QStringLiteral("Alittude display"), this), SliderIntensityAlt,
                               label(QStringLiteral("Pressure display"), this), SliderPressIntensity, day, night},
                              this);
    onClicked(day, [this] { setIntensity(false); });
    onClicked(night, [this] { setIntensity(true); });

    QPushButton* nl10 = button("NL10", QStringLiteral("<<"), this);
    QPushButton* nl1 = button("NL1", QStringLiteral("<"), this);
    QPushButton* nr1 = button("NR1", QStringLiteral(">"), this);
    QPushButton* nr10 = button("NR10", QStringLiteral(">>"), this);
    Needledelta = textBox("Needledelta", this, QStringLiteral("0"));
    Needledelta->setMaximumWidth(60);
    QPushButton* set = button("Command1", QStringLiteral("Set"), this);
    QPushButton* reset = button("Command2", QStringLiteral("Reset"), this);
    QGroupBox* needle = rowFrame("FrameNeedleCalibration", QStringLiteral("Needle calibration"),
                                 {nl10, nl1, Needledelta, nr1, nr10, set, reset}, this);
    onClicked(nl1, [this] { nudge(33, 1); });
    onClicked(nl10, [this] { nudge(42, 10); });
    onClicked(nr1, [this] { nudge(31, -1); });
    onClicked(nr10, [this] { nudge(22, -10); });
    onClicked(set, [this] { Command1_Click(); });
    onClicked(reset, [this] {
        Needledelta->setText(QStringLiteral("0"));
        send(6, 0);
    });

    auto* settings = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(mode), static_cast<QWidget*>(digits), static_cast<QWidget*>(function),
                       FramePressureControl})
        settings->addWidget(w);
    content()->addWidget(label(QStringLiteral("Fixed Function; Assigned to Altitude"), this));
    content()->addLayout(settings);
    content()->addWidget(test);
    content()->addWidget(FrameTestKnob);
    content()->addWidget(FrameIntensity);
    content()->addWidget(needle);
}

bool ConfigGaugeAD::inHg() const
{
    return !Option2->isChecked();
}

void ConfigGaugeAD::loadRecord()
{
    // Each stored choice that differs from the starting state runs its
    // handler, so the gauge is set as the record says.
    const GaugeRecord r = context().record();
    const QPointer<ConfigGaugeAD> self(this);
    if (r.model == kModelMBar)
        Option2->setChecked(true);
    if (!self)
        return;
    const bool knob = r.version > kLastVersionWithoutKnob;
    for (QWidget* w : {FrameIntensity, FramePressureControl, FrameTestKnob})
        w->setVisible(knob);
    (r.function2 != 0 ? Slave : Master)->setChecked(true);
    PressEffectsAlt->setChecked(r.seqNr2 == 1);
    if (!self)
        return;
    (r.plate1 == 0 ? OptionAltDigits5 : OptionAltDigits3)->setChecked(true);
}

ApplySteps ConfigGaugeAD::applySteps()
{
    return {.validate = {},
            .clears = Field::IdentityAndNeedle1,
            .move = MovePolicy::Connected,
            .write =
                [this](int id) {
                    Cfg.GaugeRecCategory1[id] = 8;
                    Cfg.GaugeRecFunction1[id] = 4;
                    Cfg.GaugeRecSeqNr1[id] = 1;
                    Cfg.GaugeRecPlate1[id] = OptionAltDigits5->isChecked() ? 0 : 1;
                    Cfg.GaugeRecFunction2[id] = Slave->isChecked() ? -1 : 0;
                    Cfg.GaugeRecSeqNr2[id] = PressEffectsAlt->isChecked() ? 1 : 0;
                    Cfg.GaugeRecModel[id] = inHg() ? kModelInHg : kModelMBar;
                },
            .afterwards = [this] { send(9, (inHg() ? kModelInHg : kModelMBar) + 256 * version()); }};
}

void ConfigGaugeAD::unitChosen(bool mBar)
{
    WriteAtOnce(gaugeID(), Field::Model, GaugeRecord{.model = mBar ? kModelMBar : kModelInHg});
    send(5, UnitWordOfOption(mBar, PressEffectsAlt->isChecked(), version()));
}

void ConfigGaugeAD::cmdWriteAirPress_Click()
{
    const std::optional<int> word = AirPressureWord(boxAirPress->text(), inHg());
    if (!word) {
        messages().ok(QString::fromLatin1(kAirPressureRule));
        return;
    }
    send(12, *word);
}

void ConfigGaugeAD::CmdReadAirPress_Click()
{
    const std::optional<Reply> reply = readReply();
    if (!reply)
        return;
    boxAirPress->setText(AirPressureText(reply->word(7, 8), inHg()));
    CheckPressViaFS->setChecked(reply->byte(10) != 0);
    BoxPressRotation->setText(QString::number(reply->byte(12) - 128));
}

void ConfigGaugeAD::nudge(int value, int delta)
{
    const QPointer<ConfigGaugeAD> self(this);
    send(11, value);
    if (!self)
        return;
    Needledelta->setText(QString::number(StepNeedleDelta(LenientCounter(Needledelta->text()), delta)));
}

void ConfigGaugeAD::Command1_Click()
{
    const QString rule = RangeRule(QStringLiteral("The needle offset"), 0, kMaxFrameMagnitude);
    if (const std::optional<int> delta = ReadWholeNumber(Needledelta->text(), 0, kMaxFrameMagnitude, rule))
        send(6, *delta);
}

void ConfigGaugeAD::setIntensity(bool night)
{
    const QPointer<ConfigGaugeAD> self(this);
    send(10, IntensityWord(SliderIntensityAlt->value(), SliderPressIntensity->value(), night));
    if (!self)
        return;
    (night ? LightOn : LightOff)->setChecked(true);
    if (self)
        send(8, lightWord());
}

} // namespace varnet

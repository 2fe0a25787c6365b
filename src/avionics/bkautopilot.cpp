#include "avionics/bkautopilot.h"

#include "bus/gaugeframes.h"
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
#include <QVBoxLayout>

#include <cmath>
#include <tuple>

namespace varnet {

namespace {

constexpr int kFirstFunction = 4;
constexpr int kSecondFunction = 7;

// Reply positions, high byte first.
constexpr int kAltitudeHigh = 7;
constexpr int kVerticalSpeedHigh = 10;
constexpr int kAltitudeAlertHigh = 13;
constexpr int kAirPressureHigh = 19;
constexpr int kModeByte = 22;
constexpr int kPressureUnitByte = 23;

constexpr int kAlertLamp = 0x0010;


const QString kHoldTip =
    QStringLiteral("If Checked, the AP Hold functions will be enabled at AP-Off. Else all Hold functions are reset at Off.");

QLineEdit* valueBox(const char* name, QWidget* parent)
{
    QLineEdit* box = readOnlyBox(name, parent);
    box->setMaximumWidth(80);
    return box;
}

} // namespace

// ---- Lamp boxes -------------------------------------------------------------------

// ---- Plain logic ------------------------------------------------------------------

int AutopilotOptions::Word() const
{
    return (hectopascal ? 1 : 0) | (useAirPressure ? 2 : 0) | (flightDirector ? 4 : 0) | (glideslope ? 8 : 0) |
           (copyAltitude ? 16 : 0);
}

AutopilotOptions AutopilotOptions::FromWord(int word)
{
    return {.hectopascal = (word & 1) != 0,
            .useAirPressure = (word & 2) != 0,
            .flightDirector = (word & 4) != 0,
            .glideslope = (word & 8) != 0,
            .copyAltitude = (word & 16) != 0};
}

std::optional<int> RotaryKnobWord(const QString& upper, const QString& lower)
{
    // Each step has one byte of the word.
    const std::optional<double> up = StrictNumber(upper);
    const std::optional<double> low = StrictNumber(lower);
    if (!up || !low || *up != std::floor(*up) || *up < 0 || *up > 255 || *low < 0 || *low > 2550)
        return std::nullopt;
    return int(*up) * 256 + int(RoundHalfEven(*low / 10));
}

int PitchTrimWord(bool up, bool pitchTrim, bool down)
{
    return (up ? 0x1000 : 0) | (pitchTrim ? 0x2000 : 0) | (down ? 0x4000 : 0);
}

std::optional<int> DefaultVerticalSpeed(const QString& text)
{
    if (text.trimmed().isEmpty())
        return 0;
    const std::optional<double> value = StrictNumber(text);
    if (!value)
        return std::nullopt;
    const long long feetPerMinute = RoundHalfEven(*value);
    if (feetPerMinute < -32768 || feetPerMinute > 32767)
        return std::nullopt;
    return int(feetPerMinute);
}

QString AutopilotPressureText(int value, bool inchesOfMercury)
{
    if (!inchesOfMercury)
        return QString::number(value);
    const int magnitude = std::abs(value);
    return QStringLiteral("%1%2.%3")
        .arg(value < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

// ---- The dialog -------------------------------------------------------------------

ConfigBKAP::ConfigBKAP()
    : ModuleDialogOf("ConfigBKAP", QStringLiteral("Configure Bendix/King Autopilot"),
                     ModuleParts{.applyName = "Command6",
                                 .readName = "cmdReadAP",
                                 .backlight = true,
                                 .versionGate = true,
                                 .dayNight = true},
                     ModuleAssignment{.function1 = kFirstFunction, .function2 = kSecondFunction})
{
    CmdClose->setObjectName(QStringLiteral("cmdClose"));
    content()->addWidget(buildSettings());
    content()->addWidget(buildTests());
    content()->addWidget(buildIndicators());
}

QGroupBox* ConfigBKAP::buildSettings()
{
    auto* settings = frame("FrameAssignment", QStringLiteral("BK-Autopilot  Assignment and Settings"), this);
    auto* row = new QHBoxLayout(settings);

    OptionAirPressINHG = optionButton("OptionAirPressINHG", QStringLiteral("InHG"), this);
    OptionAirPressHPA = optionButton("OptionAirPressHPA", QStringLiteral("HPA"), this);
    QGroupBox* mode = rowFrame("FrameMode", QStringLiteral("Mode"), {OptionAirPressINHG, OptionAirPressHPA}, this);
    CheckUseAirpressure = checkBox("CheckUseAirpressure", QStringLiteral("Use AP Air Pressure "), this);
    QPushButton* write = button("cmdWriteSettings", QStringLiteral("Set"), this);
    onClicked(write, [this] { send(9, OptionAirPressHPA->isChecked() ? 1 : 0); });
    QGroupBox* pressure =
        columnFrame("FrameAirPressure", QStringLiteral("Air Pressure Setting"), {mode, CheckUseAirpressure, write}, settings);
    pressure->setToolTip(QStringLiteral("If checked the Autopilot Airpressure will overwrite the Altimeter pressure."));
    row->addWidget(pressure);

    CheckCopyAltitude = checkBox("CheckCopyAltitude", QStringLiteral("Copy current Altitude at --> ON"), settings);
    CheckUseGS = checkBox("CheckUseGS", QStringLiteral("Enable Glideslope in APR mode"), settings);
    CheckFD = checkBox("CheckFD", QStringLiteral("Enable Flight Director"), settings);
    auto* checks = new QVBoxLayout;
    for (QCheckBox* check : {CheckCopyAltitude, CheckUseGS, CheckFD}) {
        check->setToolTip(kHoldTip);
        checks->addWidget(check);
    }
    row->addLayout(checks);

    DefaultVS = textBox("DefaultVS", this, QStringLiteral("700"));
    DefaultVS->setMaximumWidth(70);
    row->addWidget(rowFrame("FrameDefaultVS", QStringLiteral("Default VS"), {DefaultVS, label(QStringLiteral("FPM"), this)},
                            settings),
                   0, Qt::AlignTop);
    row->addStretch();
    return settings;
}

QWidget* ConfigBKAP::buildTests()
{
    auto* tests = new QWidget(this);
    auto* row = new QHBoxLayout(tests);
    row->setContentsMargins(0, 0, 0, 0);

    QPushButton* initialize = button("CmdInitialize", QStringLiteral("Initialize"), this);
    QPushButton* alert = button("CmdAlert", QStringLiteral("Test Alert"), this);
    onClicked(initialize, [this] { send(1, 0); });
    onClicked(alert, [this] { send(11, kAlertLamp); });
    row->addWidget(columnFrame("FrameTestAutopilot", QStringLiteral("Test Autopilot"), {initialize, alert}, tests));

    CheckPTup = checkBox("CheckPTup", QStringLiteral("UP"), this);
    CheckPT = checkBox("CheckPT", QStringLiteral("PT"), this);
    CheckPTdwn = checkBox("CheckPTdwn", QStringLiteral("DWN"), this);
    QRadioButton* off = optionButton("Option1", QStringLiteral("Off"), this);
    QPushButton* setPT = button("CmdSetPT", QStringLiteral("set"), this);
    onClicked(setPT,
              [this] { send(11, PitchTrimWord(CheckPTup->isChecked(), CheckPT->isChecked(), CheckPTdwn->isChecked())); });
    row->addWidget(columnFrame("FramePitchTrim", QStringLiteral("Test Pitch-Trim indicators"),
                               {CheckPTup, CheckPT, CheckPTdwn, off, setPT}, tests));

    ComboAltPress = comboBox("ComboAltPress", this);
    ComboAltPress->setMinimumWidth(70);
    fillList(ComboAltPress, {QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("100 "), QStringLiteral("200")});
    QPushButton* setDelta = button("CmdSetPressDelta", QStringLiteral("Set"), this);
    onClicked(setDelta, [this] { CmdSetPressDelta_Click(); });
    auto* upDown = frame("FrameAltUpDown", QStringLiteral("ALT Up/Dwn"), tests);
    auto* upDownGrid = new QGridLayout(upDown);
    upDownGrid->addWidget(ComboAltPress, 0, 0);
    upDownGrid->addWidget(label(QStringLiteral("FT "), upDown), 0, 1);
    upDownGrid->addWidget(label(QStringLiteral("Per Click"), upDown), 1, 0, 1, 2);
    upDownGrid->addWidget(setDelta, 2, 0, 1, 2);
    row->addWidget(upDown);

    ComboRotaryUpperKnob = comboBox("ComboRotaryUpperKnob", this);
    fillList(ComboRotaryUpperKnob, {QStringLiteral("1 "), QStringLiteral("10 "), QStringLiteral("20 "), QStringLiteral("100")});
    ComboAltRotaryLowerKnob = comboBox("ComboAltRotaryLowerKnob", this);
    fillList(ComboAltRotaryLowerKnob, {QStringLiteral("20"), QStringLiteral("100 "), QStringLiteral("1000 "), QStringLiteral(" ")});
    QPushButton* setRotary = button("cmdSetRotary", QStringLiteral("Set"), this);
    onClicked(setRotary, [this] { cmdSetRotary_Click(); });
    auto* rotary = frame("FrameAltRotary", QStringLiteral("ALT Rotary"), tests);
    rotary->setToolTip(QStringLiteral("Select Delta per click for Altitude Lower and Upper Rotary Knob. "));
    auto* rotaryGrid = new QGridLayout(rotary);
    for (QComboBox* knob : {ComboRotaryUpperKnob, ComboAltRotaryLowerKnob}) {
        knob->setParent(rotary);
        knob->setMinimumWidth(70);
    }
    rotaryGrid->addWidget(label(QStringLiteral("Up"), rotary), 0, 0);
    rotaryGrid->addWidget(ComboRotaryUpperKnob, 0, 1);
    rotaryGrid->addWidget(label(QStringLiteral("FT/Click"), rotary), 0, 2, 2, 1);
    rotaryGrid->addWidget(label(QStringLiteral("Low"), rotary), 1, 0);
    rotaryGrid->addWidget(ComboAltRotaryLowerKnob, 1, 1);
    rotaryGrid->addWidget(setRotary, 2, 1);
    row->addWidget(rotary);

    DayNightFrame->setParent(tests);
    row->addWidget(DayNightFrame);
    return tests;
}

QGroupBox* ConfigBKAP::buildIndicators()
{
    auto* indicators = frame("FrameIndicators", QStringLiteral("Indicators and Values"), this);
    auto* grid = new QGridLayout(indicators);
    boxAltitude = valueBox("boxAltitude", indicators);
    boxAltitudeAlert = valueBox("boxAltitudeAlert", indicators);
    boxVSValue = valueBox("boxVSValue", indicators);
    boxAirPress = valueBox("boxAirPress", indicators);
    LabelAirPress = label(QStringLiteral("INHG"), indicators);
    LabelAirPress->setObjectName(QStringLiteral("LabelAirPress"));
    const std::tuple<const char*, QLineEdit*, QLabel*> rows[] = {
        {"Altitude", boxAltitude, label(QStringLiteral("FT"), indicators)},
        {"Alt. Alert", boxAltitudeAlert, label(QStringLiteral("FT"), indicators)},
        {"Vert. Speed", boxVSValue, label(QStringLiteral("FPM"), indicators)},
        {"Air Pressure", boxAirPress, LabelAirPress}};
    int r = 0;
    for (const auto& [caption, box, unit] : rows) {
        grid->addWidget(label(QString::fromLatin1(caption), indicators), r, 0);
        grid->addWidget(box, r, 1);
        grid->addWidget(unit, r, 2);
        ++r;
    }

    auto* controls = frame("FrameAPControls", QStringLiteral("Auto Pilot Controls"), indicators);
    auto* lamps = new QHBoxLayout(controls);
    boxAPMaster = LampBox("boxAPMaster", QStringLiteral("AP"), controls);
    boxHDG = LampBox("boxHDG", QStringLiteral("HDG"), controls);
    boxROL = LampBox("boxROL", QStringLiteral("ROL"), controls);
    boxNAV = LampBox("boxNAV", QStringLiteral("NAV"), controls);
    boxAPR = LampBox("boxAPR", QStringLiteral("APR"), controls);
    boxREV = LampBox("boxREV", QStringLiteral("REV"), controls);
    boxALT = LampBox("boxALT", QStringLiteral("ALT"), controls);
    for (QLineEdit* lamp : {boxAPMaster, boxHDG, boxROL, boxNAV, boxAPR, boxREV, boxALT})
        lamps->addWidget(lamp);
    grid->addWidget(controls, 0, 3, 2, 1);
    ReadButton->setParent(indicators);
    grid->addWidget(ReadButton, 3, 3, Qt::AlignRight);
    return indicators;
}

AutopilotOptions ConfigBKAP::options() const
{
    return {.hectopascal = OptionAirPressHPA->isChecked(),
            .useAirPressure = CheckUseAirpressure->isChecked(),
            .flightDirector = CheckFD->isChecked(),
            .glideslope = CheckUseGS->isChecked(),
            .copyAltitude = CheckCopyAltitude->isChecked()};
}

void ConfigBKAP::loadRecord()
{
    ModuleDialog::loadRecord();
    const GaugeRecord r = context().record();
    const AutopilotOptions o = AutopilotOptions::FromWord(r.plate1);
    (o.hectopascal ? OptionAirPressHPA : OptionAirPressINHG)->setChecked(true);
    CheckUseAirpressure->setChecked(o.useAirPressure);
    CheckFD->setChecked(o.flightDirector);
    CheckUseGS->setChecked(o.glideslope);
    CheckCopyAltitude->setChecked(o.copyAltitude);
    DefaultVS->setText(QString::number(r.plate2));
}

bool ConfigBKAP::validateModule()
{
    const std::optional<int> vs = DefaultVerticalSpeed(DefaultVS->text());
    if (!vs) {
        messages().ok(QString::fromLatin1(kDefaultVSRule));
        return false;
    }
    defaultVS_ = *vs;
    // The model byte is the autopilot's own and goes wherever the module goes.
    model_ = context().record().model;
    return true;
}

void ConfigBKAP::writeModule(int gaugeID)
{
    GaugeRecord r;
    r.plate1 = options().Word();
    r.plate2 = defaultVS_;
    r.Write(Cfg, gaugeID, Field::Plate1 | Field::Plate2);
}

void ConfigBKAP::cmdSetRotary_Click()
{
    const std::optional<int> word = RotaryKnobWord(ComboRotaryUpperKnob->currentText(), ComboAltRotaryLowerKnob->currentText());
    if (!word) {
        messages().ok(QString::fromLatin1(kKnobSelectionIncorrect));
        return;
    }
    send(15, *word);
}

void ConfigBKAP::CmdSetPressDelta_Click()
{
    if (const std::optional<int> step =
            ReadWholeNumber(ComboAltPress->currentText(), 0, kMaxFrameMagnitude, QString::fromLatin1(kIncorrectValue)))
        send(12, *step);
}

void ConfigBKAP::decodeReply(const Reply& reply)
{
    boxAltitude->setText(QString::number(reply.signedWord(kAltitudeHigh, kAltitudeHigh + 1)));
    boxVSValue->setText(QString::number(reply.signedWord(kVerticalSpeedHigh, kVerticalSpeedHigh + 1)));
    boxAltitudeAlert->setText(QString::number(reply.signedWord(kAltitudeAlertHigh, kAltitudeAlertHigh + 1)));
    const bool inchesOfMercury = reply.byte(kPressureUnitByte) == 0;
    boxAirPress->setText(AutopilotPressureText(reply.signedWord(kAirPressureHigh, kAirPressureHigh + 1), inchesOfMercury));
    LabelAirPress->setText(inchesOfMercury ? QStringLiteral("INHG") : QStringLiteral("HPA"));
    ShowLamps({{boxAPMaster, 0x01}, {boxHDG, 0x02}, {boxROL, 0x04}, {boxNAV, 0x08}, {boxAPR, 0x10}, {boxREV, 0x20},
               {boxALT, 0x80}},
              reply.byte(kModeByte));
}

} // namespace varnet

#include "gauges/lightclock.h"

#include "bus/gaugeframes.h"
#include "gauges/headingindicator.h"
#include "gauges/timewords.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>

#include <cmath>

namespace varnet {

namespace {

QLineEdit* timeBox(const char* name, QWidget* parent)
{
    QLineEdit* box = textBox(name, parent, QStringLiteral("00"));
    box->setMaximumWidth(40);
    return box;
}

// The number in a box, or the rule shown when it is none.
std::optional<double> numberOf(const QLineEdit* box, const QString& rule)
{
    const std::optional<double> value = StrictNumber(box->text());
    if (!value)
        messages().ok(rule);
    return value;
}

} // namespace

ConfigCessnaClock::ConfigCessnaClock()
    : DialogOf("ConfigCessnaClock", QStringLiteral("Configure Cessna Clock"),
               FrameParts{.light = true, .displays = true})
{
    SelectAtDesign(LightOff);
    SelectAtDesign(DisplayOn);
    if (auto* displays = findChild<QGroupBox*>(QStringLiteral("FrameDisplays")))
        displays->setTitle(QStringLiteral("Display "));

    // Settings: synchronisation, seconds blinker, alarm sounder.
    ComboClockSyncMode = comboBox("ComboClockSyncMode", this);
    fillList(ComboClockSyncMode, {QStringLiteral("Stand alone / no sync"), QStringLiteral("PC time -> Clock"),
                                  QStringLiteral("FS time -> Clock")});
    QRadioButton* spacer = optionButton("OptionSecondsBlinkerSpace", QStringLiteral("Spacer"), this);
    QRadioButton* dot = optionButton("OptionSecondsBlinkerDot", QStringLiteral("Dot"), this);
    QRadioButton* blinkerOff = optionButton("OptionSecondsBlinkerdisabled", QStringLiteral("Off"), this);
    QRadioButton* enable = optionButton("OptionSounderEnable", QStringLiteral("Enable"), this);
    QRadioButton* disable = optionButton("OptionSounderDisable", QStringLiteral("Disable"), this);
    SelectAtDesign(spacer);
    SelectAtDesign(enable);
    onSelected(spacer, [this] { send(13, 32); });
    onSelected(dot, [this] { send(13, 165); });
    onSelected(blinkerOff, [this] { send(13, 0); });
    onSelected(enable, [this] { send(10, 1); });
    onSelected(disable, [this] { send(10, 0); });
    auto* settings = frame("FrameAssignment", QStringLiteral("Gauge Assignment and Settings"), this);
    auto* settingsRow = new QHBoxLayout(settings);
    settingsRow->addWidget(label(QStringLiteral("Assigned  to Clock (fixed function gauge)"), settings));
    settingsRow->addWidget(
        rowFrame("FrameSync", QStringLiteral("Clock Synchronization "), {ComboClockSyncMode}, settings));
    settingsRow->addWidget(
        columnFrame("FrameSecondsBlinker", QStringLiteral("Seconds Blinker"), {spacer, dot, blinkerOff}, settings));
    settingsRow->addWidget(
        columnFrame("FrameSounder", QStringLiteral("Alarm Sound  Buzzer"), {enable, disable}, settings));
    content()->addWidget(settings);

    // Test: the three times, temperatures and voltage.
    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    auto* grid = new QGridLayout(test);
    const auto timeRow = [&](int row, const QString& caption, QLineEdit*& h, QLineEdit*& m, QLineEdit*& s,
                             const char* names[3], QPushButton* action) {
        h = timeBox(names[0], test);
        m = timeBox(names[1], test);
        s = timeBox(names[2], test);
        grid->addWidget(label(caption, test), row, 0);
        grid->addWidget(h, row, 1);
        grid->addWidget(label(QStringLiteral(":"), test), row, 2);
        grid->addWidget(m, row, 3);
        grid->addWidget(label(QStringLiteral(":"), test), row, 4);
        grid->addWidget(s, row, 5);
        grid->addWidget(action, row, 6);
    };
    const char* universal[3] = {"UniversalTimeHours", "UniversalTimeMinutes", "UniversalTimeSeconds"};
    const char* local[3] = {"LocalTimeHours", "LocalTimeMinutes", "LocalTimeSeconds"};
    const char* flight[3] = {"FThrs", "FTmin", "FTsec"};
    QPushButton* copyTime = button("CmdSetUT", QStringLiteral("Copy PC Time"), test);
    QPushButton* setLocal = button("cmdSetLT", QStringLiteral("Set Local Time"), test);
    QPushButton* setFlight = button("Command1", QStringLiteral("Set Flight Time"), test);
    timeRow(0, QStringLiteral("Universal Time"), UniversalTimeHours, UniversalTimeMinutes, UniversalTimeSeconds,
            universal, copyTime);
    timeRow(1, QStringLiteral("Local Time"), LocalTimeHours, LocalTimeMinutes, LocalTimeSeconds, local, setLocal);
    timeRow(2, QStringLiteral("Flight Time"), FThrs, FTmin, FTsec, flight, setFlight);
    // Local time differs from universal time only in its hours.
    QObject::connect(UniversalTimeMinutes, &QLineEdit::textChanged, LocalTimeMinutes, &QLineEdit::setText);
    QObject::connect(UniversalTimeSeconds, &QLineEdit::textChanged, LocalTimeSeconds, &QLineEdit::setText);
    onClicked(copyTime, [this] { copyPCTime(); });
    onClicked(setLocal, [this] { setLocalTime(); });
    onClicked(setFlight, [this] { setFlightTime(); });
    grid->setColumnStretch(7, 1);
    QPushButton* read = button("CmdReadAirPress", QStringLiteral("Read Time"), test);
    grid->addWidget(read, 3, 6);
    onClicked(read, [this] { readTime(); });

    const auto valueRow = [&](int row, const QString& caption, std::initializer_list<QLineEdit*> boxes,
                              const char* setName) {
        grid->addWidget(label(caption, test), row, 0);
        int column = 1;
        for (QLineEdit* box : boxes) {
            box->setMaximumWidth(50);
            grid->addWidget(box, row, column, 1, 2);
            column += 2;
        }
        QPushButton* set = button(setName, QStringLiteral("set"), test);
        grid->addWidget(set, row, 6);
        return set;
    };
    boxCelcius = textBox("boxCelcius", test, QStringLiteral("20"));
    boxFahrenheit = textBox("boxFahrenheit", test, QStringLiteral("34"));
    boxVoltHigh = textBox("boxVoltHigh", test, QStringLiteral("24 "));
    boxVoltLow = textBox("boxVoltLow", test, QStringLiteral("0"));
    onClicked(valueRow(4, QStringLiteral("Degr. C."), {boxCelcius}, "cmdSetCelcius"),
              [this] { setTemperature(boxCelcius, 11); });
    onClicked(valueRow(5, QStringLiteral("Degr. F."), {boxFahrenheit}, "cmdSetFahrenheit"),
              [this] { setTemperature(boxFahrenheit, 12); });
    onClicked(valueRow(6, QStringLiteral("Voltage"), {boxVoltHigh, boxVoltLow}, "cmdSetVoltage"),
              [this] { setVoltage(); });
    content()->addWidget(test);
}

void ConfigCessnaClock::loadRecord()
{
    ShowSyncMode(ComboClockSyncMode, context().record().plate1);
}

void ConfigCessnaClock::Form_Activate()
{
    fillFreeIDs();
    ShowSyncMode(ComboClockSyncMode, context().record().plate1);
}

int ConfigCessnaClock::lightWord() const
{
    return ClockLightWord(LightOn->isChecked(), DisplayOn->isChecked());
}

void ConfigCessnaClock::copyPCTime()
{
    const QTime now = varnet::clock().now().time();
    UniversalTimeHours->setText(QString::number(now.hour()));
    UniversalTimeMinutes->setText(QString::number(now.minute()));
    UniversalTimeSeconds->setText(QString::number(now.second()));
    send(5, TimeWordValue(SecondsOfDay(now)));
}

void ConfigCessnaClock::setLocalTime()
{
    const QString rule = QString::fromLatin1(kLocalHoursRule);
    if (const std::optional<double> hours = numberOf(LocalTimeHours, rule))
        if (const std::optional<int> value = CheckRange(*hours, 0, 23, rule))
            send(4, *value);
}

void ConfigCessnaClock::setFlightTime()
{
    if (const std::optional<int> seconds =
            ReadTimeOfDay(FThrs->text(), FTmin->text(), FTsec->text(), QString::fromLatin1(kFlightTimeRule)))
        send(6, TimeWordValue(*seconds));
}

void ConfigCessnaClock::setVoltage()
{
    const QString rule = QString::fromLatin1(kVoltageRule);
    const std::optional<double> high = StrictNumber(boxVoltHigh->text());
    const std::optional<double> low = StrictNumber(boxVoltLow->text());
    const auto fits = [](const std::optional<double>& v) { return v && *v >= 0 && *v <= 255; };
    if (!fits(high) || !fits(low)) {
        messages().ok(rule);
        return;
    }
    send(9, RoundHalfEven(*high * 256 + *low));
}

void ConfigCessnaClock::setTemperature(QLineEdit* box, int command)
{
    const QString rule = QString::fromLatin1(kTemperatureRule);
    if (const std::optional<double> degrees = numberOf(box, rule))
        if (const std::optional<int> value = CheckRange(std::floor(*degrees), -kMaxFrameMagnitude, kMaxFrameMagnitude, rule))
            send(command, *value);
}

void ConfigCessnaClock::readTime()
{
    const std::optional<Reply> reply = readReply();
    if (!reply)
        return;
    const auto show = [&reply](QLineEdit* box, int position) { box->setText(QString::number(reply->byte(position))); };
    show(UniversalTimeHours, 11);
    show(UniversalTimeMinutes, 12);
    show(UniversalTimeSeconds, 13);
    show(FThrs, 15);
    show(FTmin, 16);
    show(FTsec, 17);
    show(LocalTimeHours, 7);
}

ApplySteps ConfigCessnaClock::applySteps()
{
    const int mode = AppliedSyncMode(ComboClockSyncMode, context().record().plate1);
    return {.validate = {},
            .clears = Field::Identity,
            .move = MovePolicy::Connected,
            .write = [mode](int id) { ClockAssignment(mode).Write(Cfg, id, kClockAssignmentFields); },
            .afterwards = {}};
}

} // namespace varnet

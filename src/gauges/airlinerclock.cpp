#include "gauges/airlinerclock.h"

#include "gauges/headingindicator.h"
#include "gauges/timewords.h"
#include "platform/clock.h"
#include "platform/controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSlider>

namespace varnet {

ConfigBoeingClock::ConfigBoeingClock()
    : DialogOf("ConfigBoeingClock", QStringLiteral("Configure Boeing Clock "),
               FrameParts{.light = true, .displays = true, .backlight = true})
{
    FrameBacklightMode->setTitle(QStringLiteral("Backlight Mode and Intensity (If available)"));

    // Settings kept in the record.
    ComboClockSyncMode = comboBox("ComboClockSyncMode", this);
    fillList(ComboClockSyncMode, {QStringLiteral("Stand alone / no sync"), QStringLiteral("PC time/date -> Clock"),
                                  QStringLiteral("FS time/date -> Clock"),
                                  QStringLiteral("Clock -> FS time/date (at start)")});
    OptionSecondsRealTime = optionButton("OptionSecondsRealTime", QStringLiteral("Real time"), this);
    OptionSecondsElapsedTime = optionButton("OptionSecondsElapsedTime", QStringLiteral("Elapsed time"), this);
    onSelected(OptionSecondsRealTime, [this] { send(14, 1); });
    onSelected(OptionSecondsElapsedTime, [this] { send(14, 0); });
    OptionShowLocalTime = optionButton("OptionShowLocalTime", QStringLiteral("Local Time"), this);
    OptionShowUTC = optionButton("OptionShowUTC", QStringLiteral("UTC time"), this);
    auto* settings = frame("FrameAssignment", QStringLiteral("Gauge Assignment and Settings"), this);
    auto* settingsRow = new QHBoxLayout(settings);
    settingsRow->addWidget(label(QStringLiteral("Assigned  to Clock (fixed function gauge)"), settings));
    settingsRow->addWidget(
        rowFrame("FrameSync", QStringLiteral("Clock Synchronization "), {ComboClockSyncMode}, settings));
    settingsRow->addWidget(columnFrame("FrameSecondsNeedle", QStringLiteral("Seconds Needle follows:"),
                                       {OptionSecondsRealTime, OptionSecondsElapsedTime}, settings));
    settingsRow->addWidget(columnFrame("FrameTimeMode", QStringLiteral("Time Mode Selection"),
                                       {OptionShowLocalTime, OptionShowUTC}, settings));
    content()->addWidget(settings);

    // Test: date and time from the PC, and the read-back.
    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    auto* grid = new QGridLayout(test);
    QPushButton* setTime = button("cmdSetTime", QStringLiteral("Set Date/Time"), test);
    setTime->setToolTip(QStringLiteral("Sets the Boeing clock to PC date and Time"));
    QPushButton* read = button("CmdReadAirPress", QStringLiteral("Read"), test);
    boxdate = readOnlyBox("boxdate", test);
    boxRealTime = readOnlyBox("boxRealTime", test);
    boxElapsedTime = readOnlyBox("boxElapsedTime", test);
    grid->addWidget(setTime, 0, 0);
    grid->addWidget(label(QStringLiteral("Date"), test), 0, 2);
    grid->addWidget(label(QStringLiteral("Real Time"), test), 0, 3);
    grid->addWidget(label(QStringLiteral("Elapsed Time"), test), 0, 4);
    grid->addWidget(read, 1, 0);
    grid->addWidget(label(QStringLiteral("Clock:"), test), 1, 1);
    grid->addWidget(boxdate, 1, 2);
    grid->addWidget(boxRealTime, 1, 3);
    grid->addWidget(boxElapsedTime, 1, 4);
    onClicked(setTime, [this] { setDateTime(); });
    onClicked(read, [this] { readClock(); });

    // Display brightness by day and night.
    Slider2 = slider("Slider2", 1, 15, this);
    boxDisplayBrightness = readOnlyBox("boxDisplayBrightness", this);
    boxDisplayBrightness->setMaximumWidth(40);
    Slider2->setValue(7);
    boxDisplayBrightness->setText(QStringLiteral("7"));
    onValueChanged(Slider2, [this](int position) { boxDisplayBrightness->setText(QString::number(position)); });
    QPushButton* day = button("cmdBrightnessDay", QStringLiteral("Set Day Mode"), this);
    QPushButton* night = button("CmdBrightnessNight", QStringLiteral("Set Night Mode"), this);
    onClicked(day, [this] { setBrightness(false); });
    onClicked(night, [this] { setBrightness(true); });
    QGroupBox* brightness =
        rowFrame("FrameDisplayBrightness", QStringLiteral("Display Brightness"),
                 {Slider2, boxDisplayBrightness, day, night}, this);

    // Seconds needle: speed and calibration.
    Slider1 = slider("Slider1", 100, 400, this);
    {
        const QSignalBlocker quiet(Slider1);
        Slider1->setValue(300);
    }
    onValueChanged(Slider1, [this](int position) { send(3, 450 - position); });
    QPushButton* nl10 = button("NL10", QStringLiteral("<<"), this);
    QPushButton* nl1 = button("NL1", QStringLiteral("<"), this);
    Needledelta = textBox("Needledelta", this, QStringLiteral("0"));
    Needledelta->setMaximumWidth(60);
    QPushButton* nr1 = button("NR1", QStringLiteral(">"), this);
    QPushButton* nr10 = button("NR10", QStringLiteral(">>"), this);
    QPushButton* reset = button("cmdResetCalibration", QStringLiteral("Reset"), this);
    QPushButton* set = button("cmdSetCalibration", QStringLiteral("Set"), this);
    onClicked(nl1, [this] { nudge(33, 1); });
    onClicked(nl10, [this] { nudge(42, 10); });
    onClicked(nr1, [this] { nudge(31, -1); });
    onClicked(nr10, [this] { nudge(22, -10); });
    onClicked(set, [this] {
        if (const std::optional<int> value = counter()) {
            paintCounter(Qt::white);
            send(12, *value);
        }
    });
    onClicked(reset, [this] {
        Needledelta->setText(QStringLiteral("0"));
        paintCounter(QColor(255, 192, 192));
        send(10, 0);
    });
    QGroupBox* calibration = rowFrame("FrameNeedleCalibration", QStringLiteral("Needle calibration"),
                                      {nl10, nl1, Needledelta, nr1, nr10, reset, set}, this);

    auto* row = new QHBoxLayout;
    row->addWidget(test, 1);
    row->addWidget(brightness);
    content()->addLayout(row);
    auto* needle = new QHBoxLayout;
    needle->addWidget(label(QStringLiteral("Needle speed"), this));
    needle->addWidget(Slider1);
    needle->addWidget(calibration, 1);
    content()->addLayout(needle);
}

void ConfigBoeingClock::loadRecord()
{
    showStoredOptions();
}

void ConfigBoeingClock::Form_Activate()
{
    fillFreeIDs();
    showStoredOptions();
}

void ConfigBoeingClock::showStoredOptions()
{
    const GaugeRecord record = context().record();
    ShowSyncMode(ComboClockSyncMode, record.plate1);
    // Selecting the needle's source tells the clock at once.
    const QPointer<ConfigBoeingClock> self(this);
    (record.plate1 & kSecondsFollowRealTime ? OptionSecondsRealTime : OptionSecondsElapsedTime)->setChecked(true);
    if (self)
        (record.plate2 != 0 ? OptionShowUTC : OptionShowLocalTime)->setChecked(true);
}

int ConfigBoeingClock::lightWord() const
{
    return ClockLightWord(LightOn->isChecked(), DisplayOn->isChecked());
}

void ConfigBoeingClock::setDateTime()
{
    // One reading, so that date and time belong together across midnight.
    const QDateTime now = varnet::clock().now();
    SendInOrder(*this, {{15, 0}, {5, TimeWordValue(SecondsOfDay(now.time()))}, {4, DateWord(now.date())}});
}

void ConfigBoeingClock::setBrightness(bool night)
{
    const QPointer<ConfigBoeingClock> self(this);
    send(13, DayNightWord(Slider2->value(), night));
    // Night lights the backlight, day puts it out; the selection sends the
    // light and display word when it changes.
    if (self)
        (night ? LightOn : LightOff)->setChecked(true);
}

std::optional<int> ConfigBoeingClock::counter()
{
    return ReadWholeNumber(Needledelta->text(), 0, kSecondsNeedleTop, QString::fromLatin1(kSecondsNeedleRule));
}

void ConfigBoeingClock::nudge(int command, int change)
{
    const std::optional<int> value = counter();
    if (!value)
        return;
    const QPointer<ConfigBoeingClock> self(this);
    send(11, command);
    if (self)
        Needledelta->setText(QString::number(JumpWrap(*value + change, kSecondsNeedleTop)));
}

void ConfigBoeingClock::paintCounter(const QColor& colour)
{
    QPalette palette = Needledelta->palette();
    palette.setColor(QPalette::Base, colour);
    Needledelta->setPalette(palette);
}

void ConfigBoeingClock::readClock()
{
    const std::optional<Reply> reply = readReply();
    if (!reply)
        return;
    const auto time = [&reply](int hours) {
        return QStringLiteral("%1:%2:%3").arg(reply->byte(hours)).arg(reply->byte(hours + 1)).arg(reply->byte(hours + 2));
    };
    boxdate->setText(QStringLiteral("%1-%2-%3").arg(reply->byte(7) + 2000).arg(reply->byte(8)).arg(reply->byte(9)));
    boxRealTime->setText(time(11));
    boxElapsedTime->setText(time(15));
}

ApplySteps ConfigBoeingClock::applySteps()
{
    const int mode = AppliedSyncMode(ComboClockSyncMode, context().record().plate1 & 15);
    const int options = mode | (OptionSecondsRealTime->isChecked() ? kSecondsFollowRealTime : 0);
    const int timeMode = OptionShowLocalTime->isChecked() ? 0 : 1;
    return {.validate = {},
            .clears = Field::Identity,
            .move = MovePolicy::Connected,
            .write =
                [options, timeMode](int id) {
                    GaugeRecord r = ClockAssignment(options);
                    r.plate2 = timeMode;
                    r.Write(Cfg, id, kClockAssignmentFields | Field::Plate2);
                },
            .afterwards = {}};
}

} // namespace varnet

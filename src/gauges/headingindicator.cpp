#include "gauges/headingindicator.h"

#include "platform/controls.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace varnet {

// ---- The heading indicator's words ----------------------------------------

int HeadingPreferences::word() const
{
    return (headingKnobPressed ? 1 : 0) | (bugKnobPressed ? 2 : 0) | (gyroDrift ? 4 : 0) | (showCompass ? 8 : 0)
           | (reversed ? 16 : 0);
}

HeadingPreferences HeadingPreferences::FromWord(int word)
{
    return {bool(word & 1), bool(word & 2), bool(word & 4), bool(word & 8), bool(word & 16)};
}

QString HeadingDegreesText(int steps)
{
    // Tenths of a degree, halves rounded up: 12 steps make a degree.
    const int tenths = (steps * 10 + 6) / 12;
    return QStringLiteral("%1.%2").arg(tenths / 10, 3, 10, QLatin1Char('0')).arg(tenths % 10);
}

namespace {

constexpr int kCategoryPosition = 8;
constexpr int kHeadingFunction = 7;
constexpr int kAutopilotHeadingFunction = 11;

QSlider* compassSlider(const char* name, QWidget* parent)
{
    QSlider* s = slider(name, 0, 359, parent);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(45);
    s->setSingleStep(1);
    return s;
}

QLineEdit* numberBox(const char* name, QWidget* parent, int width = 60)
{
    QLineEdit* box = readOnlyBox(name, parent);
    box->setMinimumWidth(width);
    box->setMaximumWidth(width);
    return box;
}

} // namespace

ConfigDG::ConfigDG()
    : DialogOf("ConfigDG", QStringLiteral("Configure Directional Giro"),
               FrameParts{.light = true, .backlight = true, .speed = true})
{
    UseSwitch1 = checkBox("UseSwitch1", QStringLiteral("Heading knob active if depressed"), this);
    UseSwitch2 = checkBox("UseSwitch2", QStringLiteral("Bug knob active if depressed"), this);
    CheckUseGyroDrift = checkBox("CheckUseGyroDrift", QStringLiteral("Send Gyro Drift to Simulator"), this);
    OptionShowHeading = optionButton("OptionShowHeading", QStringLiteral("Real Heading"), this);
    OptionShowCompass = optionButton("OptionShowCompass", QStringLiteral("Whiskey Compass"), this);
    QGroupBox* shows =
        rowFrame("FrameGaugeShows", QStringLiteral("Gauge shows:"), {OptionShowHeading, OptionShowCompass}, this);
    CheckReversCompassDirection =
        checkBox("CheckReversCompassDirection", QStringLiteral("Reverse Compass Direction"), this);
    QGroupBox* preferences =
        columnFrame("FramePreferences", QStringLiteral("Preferences"),
                    {UseSwitch1, UseSwitch2, CheckUseGyroDrift, shows, CheckReversCompassDirection}, this);
    CheckUseHeadingBug = checkBox("CheckUseHeadingBug", QStringLiteral("Use Heading bug for Auto Pilot"), this);
    content()->addWidget(columnFrame("FrameAssignment", QStringLiteral("Gauge Assignment and Settings"),
                                     {preferences, CheckUseHeadingBug,
                                      label(QStringLiteral("Fixed function gauge"), this)},
                                     this));
    SelectAtDesign(OptionShowHeading);
    SelectAtDesign(LightOff);
    SliderBacklight->setValue(15);
    FrameBacklightMode->setTitle(QStringLiteral("Backlight Mode and Intensity (If available)"));
    DressSpeedFrame(*this, QStringLiteral("Gauge Speed "), 100);
    QObject::connect(UseSwitch1, &QCheckBox::toggled, this, [this] { knobBoxChanged(); });
    QObject::connect(UseSwitch2, &QCheckBox::toggled, this, [this] { knobBoxChanged(); });
    QObject::connect(CheckReversCompassDirection, &QCheckBox::toggled, this, [this] { showDirection(); });

    // Calibration: disk and bug nudges, their "Set", reset and test.
    auto* calibrate = frame("FrameCalibrate", QStringLiteral("Calibrate"), this);
    auto* grid = new QGridLayout(calibrate);
    QPushButton* reset = button("ResetCalibration", QStringLiteral("Reset"), calibrate);
    QPushButton* test = button("cmdRecalibrate", QStringLiteral("Test"), calibrate);
    grid->addWidget(reset, 0, 0);
    grid->addWidget(test, 0, 5);
    struct Nudge {
        const char* name;
        const char* caption;
        int step;
    };
    const auto nudgeRow = [&](int row, const QString& caption, std::initializer_list<Nudge> nudges, int* position,
                              int command, const char* setName, int setCommand) {
        grid->addWidget(label(caption, calibrate), row, 0);
        int column = 1;
        for (const Nudge& n : nudges) {
            QPushButton* b = button(n.name, QString::fromLatin1(n.caption), calibrate);
            grid->addWidget(b, row, column++);
            onClicked(b, [this, position, command, step = n.step] { nudge(*position, command, step); });
        }
        QPushButton* set = button(setName, QStringLiteral("Set"), calibrate);
        grid->addWidget(set, row, column);
        onClicked(set, [this, position, setCommand] { send(setCommand, *position); });
    };
    nudgeRow(1, QStringLiteral("Disk"), {{"DL10", "<<", -50}, {"DL1", "<", -5}, {"DR1", ">", 5}, {"DR10", ">>", 50}},
             &disk_, 10, "SetDisk", 12);
    nudgeRow(2, QStringLiteral("Bug"), {{"BL10", "<<", 50}, {"BL1", "<", 2}, {"BR1", ">", -2}, {"BR10", ">>", -50}},
             &bug_, 11, "SetBug", 13);
    onClicked(reset, [this] {
        disk_ = bug_ = kHeadingCalibrationReset;
        send(14, 0);
    });
    onClicked(test, [this] { send(1, 0); });

    // Test: heading and bug sliders, the compass points, the read-back.
    SliderValue1 = compassSlider("SliderValue1", this);
    BoxtestValue1 = numberBox("BoxtestValue1", this);
    SliderValue2 = compassSlider("SliderValue2", this);
    BoxTestValue2 = numberBox("BoxTestValue2", this);
    onValueChanged(SliderValue1, [this](int position) {
        BoxtestValue1->setText(QString::number(position));
        send(5, HeadingSteps(position, CheckReversCompassDirection->isChecked()));
    });
    onValueChanged(SliderValue2, [this](int position) {
        BoxTestValue2->setText(QString::number(position));
        send(6, position * 12);
    });
    LabelHeadingLeft = label(QString(), this);
    LabelHeadingLeft->setObjectName(QStringLiteral("LabelHeadingLeft"));
    LabelHeadingRight = label(QString(), this);
    LabelHeadingRight->setObjectName(QStringLiteral("LabelHeadingRight"));
    showDirection();

    QPushButton* read = button("cmdReadStatus", QStringLiteral("Read"), this);
    boxCurrentHeading = numberBox("boxCurrentHeading", this, 70);
    boxCurrentBug = numberBox("boxCurrentBug", this, 70);
    onClicked(read, [this] { cmdReadStatus_Click(); });

    auto* testFrame = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    auto* tests = new QGridLayout(testFrame);
    tests->addWidget(label(QStringLiteral("Heading"), testFrame), 0, 0);
    tests->addWidget(SliderValue1, 0, 1);
    tests->addWidget(BoxtestValue1, 0, 2);
    auto* points = new QHBoxLayout;
    points->addWidget(label(QStringLiteral("N"), testFrame));
    points->addStretch();
    points->addWidget(LabelHeadingLeft);
    points->addStretch();
    points->addWidget(label(QStringLiteral("S"), testFrame));
    points->addStretch();
    points->addWidget(LabelHeadingRight);
    points->addStretch();
    points->addWidget(label(QStringLiteral("N"), testFrame));
    tests->addLayout(points, 1, 1);
    tests->addWidget(label(QStringLiteral("Bug"), testFrame), 2, 0);
    tests->addWidget(SliderValue2, 2, 1);
    tests->addWidget(BoxTestValue2, 2, 2);
    tests->addWidget(rowFrame("FrameReadStatus", QStringLiteral("Current Heading Disk and Bug position"),
                              {read, label(QStringLiteral("Disk:"), this), boxCurrentHeading,
                               label(QStringLiteral("Bug:"), this), boxCurrentBug},
                              this),
                     3, 0, 1, 3);

    auto* row = new QHBoxLayout;
    row->addWidget(calibrate);
    row->addWidget(testFrame, 1);
    content()->addLayout(row);
}

void ConfigDG::loadRecord()
{
    const GaugeRecord record = context().record();
    CheckUseHeadingBug->setChecked(record.function2 != 0);
    CheckUseGyroDrift->setVisible(record.model > 2);
    FrameBacklightMode->setVisible(record.version > 1);

    // Set from one copy of the word: the knob boxes write their bits back
    // (and send command 9) as they are checked.
    const HeadingPreferences stored = HeadingPreferences::FromWord(record.plate2);
    const QPointer<ConfigDG> self(this);
    if (stored.headingKnobPressed)
        UseSwitch1->setChecked(true);
    if (self && stored.bugKnobPressed)
        UseSwitch2->setChecked(true);
    if (!self)
        return;
    if (stored.gyroDrift)
        CheckUseGyroDrift->setChecked(true);
    if (stored.showCompass)
        OptionShowCompass->setChecked(true);
    if (stored.reversed)
        CheckReversCompassDirection->setChecked(true);
    showDirection();
}

void ConfigDG::Form_Activate()
{
    fillFreeIDs();
}

HeadingPreferences ConfigDG::preferences() const
{
    return {UseSwitch1->isChecked(), UseSwitch2->isChecked(), CheckUseGyroDrift->isChecked(),
            OptionShowCompass->isChecked(), CheckReversCompassDirection->isChecked()};
}

void ConfigDG::knobBoxChanged()
{
    // The knob bits are stored at once; the other preferences wait for Apply.
    const HeadingPreferences knobs = preferences();
    Integer& stored = Cfg.GaugeRecPlate2[gaugeID()];
    stored = Integer((stored & ~3) | (knobs.word() & 3));
    Session.ConfigChanged = 1;
    send(9, knobs.knobWord());
}

void ConfigDG::showDirection()
{
    const bool reversed = CheckReversCompassDirection->isChecked();
    LabelHeadingLeft->setText(reversed ? QStringLiteral("W") : QStringLiteral("E"));
    LabelHeadingRight->setText(reversed ? QStringLiteral("E") : QStringLiteral("W"));
}

void ConfigDG::nudge(int& position, int command, int step)
{
    position = JumpWrap(position + step, kHeadingTop);
    send(command, step);
}

void ConfigDG::cmdReadStatus_Click()
{
    const std::optional<Reply> reply = readReply();
    if (!reply)
        return;
    boxCurrentHeading->setText(HeadingDegreesText(reply->word(7, 8)));
    boxCurrentBug->setText(HeadingDegreesText(reply->word(10, 11)));
}

ApplySteps ConfigDG::applySteps()
{
    return {.validate = {},
            .clears = Field::Identity,
            .move = MovePolicy::Connected,
            .write =
                [this](int id) {
                    GaugeRecord r;
                    r.category1 = kCategoryPosition;
                    r.function1 = kHeadingFunction;
                    r.function2 = CheckUseHeadingBug->isChecked() ? kAutopilotHeadingFunction : 0;
                    r.seqNr1 = r.seqNr2 = 1;
                    r.plate1 = 0;
                    r.plate2 = preferences().word();
                    r.Write(Cfg, id, Field::Needle1 | Field::Function2 | Field::SeqNr2 | Field::Plate2);
                },
            .afterwards = [this] { send(9, preferences().knobWord()); }};
}

} // namespace varnet

#include "gauges/attitude.h"

#include "gauges/vorindicator.h"
#include "platform/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace varnet {

namespace {

constexpr int kSweepMs = 1000;
// Command 14: the bank axis turns until stopped.
constexpr int kStopTurning = 0;
constexpr int kTurnCCW = 1;
constexpr int kTurnCW = 2;
// Stands in for a negative zero: the frame carries the sign of a value
// that rounds to 0 (see bus/gaugeframes.h).
constexpr double kNegativeZero = -0.25;

struct Nudge {
    const char* name;
    const char* caption;
    int value;
};
// "<", "<<", ">", ">>" of one axis; the large steps differ by axis.
constexpr Nudge kBankNudges[] = {{"BL10", "<<", 50}, {"BL1", "<", 1}, {"BR1", ">", -1}, {"BR10", ">>", -50}};
constexpr Nudge kPitchNudges[] = {{"PL10", "<<", 20}, {"PL1", "<", 1}, {"PR1", ">", -1}, {"PR10", ">>", -20}};

} // namespace

AttitudeAxes AttitudeAxesOf(int model)
{
    switch (model) {
    case 1: return {4319, 1200, 5, 50, 5, 50, false, 0, 600, 250, 600};
    case 2: return {959, 160, 1, 10, 1, 20, true, 0, 600, 250, 600};
    default: return {3839, 640, 4, 40, 4, 80, true, 60, 500, 100, 100};
    }
}

int LevelPosition(int top)
{
    return int(RoundHalfEven(top / 2.0));
}

double PitchSpeedValue(int position)
{
    return position == 0 ? kNegativeZero : -position;
}

ConfigGaugeAI::ConfigGaugeAI()
    : DialogOf("ConfigGaugeAI", QStringLiteral("Configure Attitude Indicator"),
               FrameParts{.light = true, .backlight = true})
{
    // The fixed text stands where the type name stands elsewhere.
    BoxGaugename->setObjectName(QStringLiteral("Text2"));
    CmdApply->setText(QStringLiteral("Assign/Apply"));
    CmdClose->setObjectName(QStringLiteral("Command5"));
    BoxModel = readOnlyBox("BoxModel", this);
    BoxModel->setMaximumWidth(50);
    QGroupBox* assignment = rowFrame("FrameAssignment", QStringLiteral("Gauge Assignment and Settings"),
                                     {label(QStringLiteral("Model"), this), BoxModel}, this);

    const AttitudeAxes start = AttitudeAxesOf(1);
    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    auto* testGrid = new QGridLayout(test);
    const auto axis = [&](int row, const char* name, const char* boxName, QLineEdit*& box, const char* levelName,
                          int top, int command) {
        QSlider* s = slider(name, 0, top, test);
        s->setValue(LevelPosition(top));
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(LevelPosition(top));
        box = readOnlyBox(boxName, test);
        box->setMaximumWidth(60);
        box->setText(QString::number(s->value()));
        QPushButton* level = button(levelName, QStringLiteral("Level"), test);
        testGrid->addWidget(label(row == 0 ? QStringLiteral("Bank") : QStringLiteral("Pitch"), test), row, 0);
        testGrid->addWidget(s, row, 1);
        testGrid->addWidget(box, row, 2);
        testGrid->addWidget(level, row, 3);
        ShowAndSend(*this, s, box, command);
        onClicked(level, [s] { MoveSliderTo(s, LevelPosition(s->maximum())); });
        return s;
    };
    SliderValue1 = axis(0, "SliderValue1", "BoxtestValue1", BoxtestValue1, "cmdLevelBank", start.bankTop, 4);
    SliderValue2 = axis(1, "SliderValue2", "BoxTestValue2", BoxTestValue2, "cmdLevelPitch", start.pitchTop, 5);

    QPushButton* cw = button("cmdRotateCW", QStringLiteral("Bank CW"), this);
    QPushButton* ccw = button("cmdRotateCCW", QStringLiteral("Bank  CCW"), this);
    QPushButton* sweep = button("cmdMovePitch", QStringLiteral("Test Pitch"), this);
    QPushButton* stopButton = button("Command1", QStringLiteral("Stop"), this);
    QGroupBox* rotate = rowFrame("FrameRotate", QStringLiteral("Rotate and Test "), {cw, ccw, sweep, stopButton}, this);
    const auto turn = [this](int direction) {
        rotating_ = true;
        send(14, direction);
    };
    onClicked(cw, [turn] { turn(kTurnCW); });
    onClicked(ccw, [turn] { turn(kTurnCCW); });
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kSweepMs);
    connect(Timer1, &QTimer::timeout, this, [this] { sweepTick(); });
    onClicked(sweep, [this] { Timer1->start(); });
    onClicked(stopButton, [this] { stop(); });

    SliderBankSpeed = slider("SliderBankSpeed", start.speedMinimum, start.speedMaximum, this);
    SliderPitchSpeed = slider("SliderPitchSpeed", start.speedMinimum, start.speedMaximum, this);
    SliderBankSpeed->setValue(start.bankSpeed);
    SliderPitchSpeed->setValue(start.pitchSpeed);
    QPushButton* setBank = button("cmdSetBankSpeedl", QStringLiteral("Set"), this);
    QPushButton* setPitch = button("cmdSetPitchSpeed", QStringLiteral("Set"), this);
    auto* speeds = frame("FrameSpeeds", QString(), this);
    auto* speedGrid = new QGridLayout(speeds);
    speedGrid->addWidget(label(QStringLiteral("Bankspeed"), speeds), 0, 0);
    speedGrid->addWidget(SliderBankSpeed, 0, 1);
    speedGrid->addWidget(setBank, 0, 2);
    speedGrid->addWidget(label(QStringLiteral("Pitchspeed"), speeds), 1, 0);
    speedGrid->addWidget(SliderPitchSpeed, 1, 1);
    speedGrid->addWidget(setPitch, 1, 2);
    // The two speeds share command 3; the sign tells them apart.
    onClicked(setBank, [this] { send(3, SliderBankSpeed->value()); });
    onClicked(setPitch, [this] { send(3, PitchSpeedValue(SliderPitchSpeed->value())); });

    auto* calibrate = frame("FrameCalibrate", QStringLiteral("Calibrate"), this);
    auto* calGrid = new QGridLayout(calibrate);
    const auto nudges = [&](int row, const QString& name, const Nudge (&list)[4], int command) {
        calGrid->addWidget(label(name, calibrate), row, 0);
        for (int i = 0; i < 4; ++i) {
            QPushButton* b = button(list[i].name, QString::fromLatin1(list[i].caption), calibrate);
            calGrid->addWidget(b, row, i + 1);
            onClicked(b, [this, command, value = list[i].value] { send(command, value); });
        }
    };
    nudges(0, QStringLiteral("Bank"), kBankNudges, 10);
    nudges(1, QStringLiteral("Pitch"), kPitchNudges, 11);
    QPushButton* testCal = button("cmdRecalibrate", QStringLiteral("Test"), calibrate);
    QPushButton* save = button("CmdSetCalibration", QStringLiteral("Save calibration"), calibrate);
    QPushButton* clear = button("cmdResetCalibration", QStringLiteral("Clear calibration"), calibrate);
    calGrid->addWidget(testCal, 2, 1);
    calGrid->addWidget(save, 2, 2, 1, 2);
    calGrid->addWidget(clear, 2, 4);
    onClicked(testCal, [this] { send(1, 0); });
    onClicked(save, [this] { send(12, 0); });
    onClicked(clear, [this] { SendInOrder(*this, {{13, 0}, {1, 0}}); });

    auto* lower = new QHBoxLayout;
    lower->addWidget(speeds, 1);
    lower->addWidget(calibrate);
    content()->addWidget(assignment);
    content()->addWidget(test);
    content()->addWidget(rotate);
    content()->addLayout(lower);
}

void ConfigGaugeAI::Form_Activate()
{
    fillFreeIDs();
    const int model = context().record().model;
    BoxModel->setText(QString::number(model));
    const AttitudeAxes axes = AttitudeAxesOf(model);
    // A position cut back by a smaller range is shown, not sent: nothing
    // moves before the user asks.
    const auto range = [](QSlider* s, QLineEdit* box, int top, int small, int large) {
        {
            const QSignalBlocker blocker(s);
            s->setMaximum(top);
        }
        s->setSingleStep(small);
        s->setPageStep(large);
        s->setTickInterval(LevelPosition(top));
        box->setText(QString::number(s->value()));
    };
    range(SliderValue1, BoxtestValue1, axes.bankTop, axes.bankSmall, axes.bankLarge);
    range(SliderValue2, BoxTestValue2, axes.pitchTop, axes.pitchSmall, axes.pitchLarge);
    if (axes.setsSpeeds) {
        SliderBankSpeed->setRange(axes.speedMinimum, axes.speedMaximum);
        SliderPitchSpeed->setRange(axes.speedMinimum, axes.speedMaximum);
        SliderBankSpeed->setValue(axes.bankSpeed);
        SliderPitchSpeed->setValue(axes.pitchSpeed);
    }
}

ApplySteps ConfigGaugeAI::applySteps()
{
    return {.validate = {},
            .clears = Field::All,
            .move = MovePolicy::Always,
            .write =
                [this](int id) {
                    GaugeRecord r = GaugeRecord::Read(Cfg, id);
                    r.category1 = 8;
                    r.function1 = 5;
                    r.seqNr1 = 1;
                    r.plate1 = int(RoundHalfEven((SliderValue1->maximum() + 1) / 2.0));
                    r.category2 = 0;
                    r.function2 = 6;
                    r.seqNr2 = 1;
                    r.plate2 = LevelPosition(SliderValue2->maximum());
                    r.Write(Cfg, id, Field::Needle1 | Field::Assignment2 | Field::Plate2);
                },
            .afterwards = {}};
}

void ConfigGaugeAI::sweepTick()
{
    if (auto busy = sweeping_.enter()) {
        sweepState_ = sweepState_ == 0 ? SliderValue2->maximum() : 0;
        MoveSliderTo(SliderValue2, sweepState_);
    }
}

void ConfigGaugeAI::stop()
{
    // The timer first, so that no sweep step follows the stop.
    Timer1->stop();
    rotating_ = false;
    send(14, kStopTurning);
}

void ConfigGaugeAI::closing()
{
    if (rotating_ || Timer1->isActive())
        stop();
}

} // namespace varnet

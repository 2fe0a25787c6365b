#include "gauges/adfindicator.h"

#include "gauges/headingindicator.h"
#include "platform/controls.h"

#include <QBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace varnet {

namespace {

constexpr int kADFFunction = 32;

} // namespace

int CompassCourse(int cardPosition)
{
    // Single precision, as the gauge's own firmware works it out.
    const float course = float(double(kCompassCardSteps - cardPosition) / kCompassCardSteps * 360.0);
    const long long degrees = RoundHalfEven(course);
    return degrees > 359.9 ? 0 : int(degrees);
}

ConfigADF::ConfigADF()
    : DialogOf("ConfigADF", QStringLiteral("Configure ADF Direction Gauge"),
               FrameParts{.light = true, .backlight = true, .speed = true, .lightFrame = QStringLiteral("Light")})
{
    SelectAtDesign(LightOff);
    SliderBacklight->setValue(15);
    FrameBacklightMode->setTitle(QStringLiteral("Backlight Mode and Intensity (If available) "));
    DressSpeedFrame(*this, QStringLiteral("Pointer Speed Setting"), 50);

    QPushButton* calibrateCompass = button(
        "cmdCalibrateCompass", QStringLiteral("To calibrate OBS set Compass manually to  North and Click"), this);
    boxCourse = readOnlyBox("boxCourse", this);
    boxCourse->setMaximumWidth(60);
    onClicked(calibrateCompass, [this] { send(11, 1); });
    auto* compass = frame("FrameCalibrateCompass", QStringLiteral("Calibrate Compass "), this);
    auto* compassColumn = new QVBoxLayout(compass);
    compassColumn->addWidget(calibrateCompass);
    auto* reading = new QHBoxLayout;
    reading->addWidget(label(QStringLiteral("Current Compass Coarse reading:"), compass));
    reading->addWidget(boxCourse);
    reading->addWidget(label(QStringLiteral(" Degrees. "), compass));
    reading->addStretch();
    compassColumn->addLayout(reading);

    QLabel* instruction = label(QStringLiteral("Reset the calibration and use the arrow buttons to move the pointer "
                                               "North. Then depress the Set  Button to save the calibration. Use "
                                               "Test to test calibration"),
                                this);
    instruction->setWordWrap(true);
    QPushButton* reset = button("cmdResetCalibrationPointer", QStringLiteral("Reset"), this);
    QPushButton* nl10 = button("cmdNL10", QStringLiteral("<<"), this);
    QPushButton* nl1 = button("NL1", QStringLiteral("<"), this);
    Needledelta = textBox("Needledelta", this, QStringLiteral("0"));
    Needledelta->setMinimumWidth(50);
    Needledelta->setMaximumWidth(60);
    QPushButton* nr1 = button("NR1", QStringLiteral(">"), this);
    QPushButton* nr10 = button("NR10", QStringLiteral(">>"), this);
    QPushButton* set = button("cmdSetPointerCalibration", QStringLiteral("Set"), this);
    QPushButton* test = button("cmdTestPointerCalibration", QStringLiteral("Test"), this);
    onClicked(reset, [this] {
        if (SendInOrder(*this, {{9, 0}, {1, 0}}))
            Needledelta->setText(QStringLiteral("0"));
    });
    onClicked(nl10, [this] { nudge(50); });
    onClicked(nl1, [this] { nudge(5); });
    onClicked(nr1, [this] { nudge(-5); });
    onClicked(nr10, [this] { nudge(-50); });
    onClicked(set, [this] {
        if (const std::optional<int> delta = pointerDelta())
            send(9, *delta);
    });
    onClicked(test, [this] { send(1, 0); });
    auto* pointer = frame("FramePointerCalibration", QStringLiteral("Pointer Calibration"), this);
    auto* pointerColumn = new QVBoxLayout(pointer);
    pointerColumn->addWidget(instruction);
    auto* nudges = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{reset, nl10, nl1, Needledelta, nr1, nr10, set, test})
        nudges->addWidget(w);
    pointerColumn->addLayout(nudges);

    // The box shows the slider's position; any change of its text sends the
    // slider's direction again and puts the position back.
    SliderValue1 = slider("SliderValue1", 0, 359, this);
    SliderValue1->setTickPosition(QSlider::TicksBelow);
    SliderValue1->setTickInterval(30);
    BoxtestValue1 = textBox("BoxtestValue1", this);
    BoxtestValue1->setMaximumWidth(60);
    onValueChanged(SliderValue1, [this](int) { testPointer(); });
    QObject::connect(BoxtestValue1, &QLineEdit::textChanged, this, [this] { testPointer(); });
    content()->addWidget(compass);
    content()->addWidget(pointer);
    content()->addWidget(rowFrame("FrameTest", QStringLiteral("Test Gauge"),
                                  {label(QStringLiteral("Direction Pointer"), this), label(QStringLiteral("0"), this),
                                   SliderValue1, label(QStringLiteral("359"), this), BoxtestValue1,
                                   label(QStringLiteral("Degrees"), this)},
                                  this));

    poll_ = new StatusPoll(*this, kCompassPollMs,
                           [this](const Reply& reply) { boxCourse->setText(QString::number(CompassCourse(reply.word(7, 8)))); });
}

QString ConfigADF::typeNameText() const
{
    return QStringLiteral("Fixed Function: ") + GaugeDialog::typeNameText();
}

void ConfigADF::Form_Activate()
{
    poll_->start();
}

void ConfigADF::closing()
{
    poll_->stop();
}

void ConfigADF::testPointer()
{
    const int degrees = SliderValue1->value();
    const QPointer<ConfigADF> self(this);
    BoxtestValue1->setText(QString::number(degrees));
    if (self)
        send(5, PointerSteps(degrees));
}

std::optional<int> ConfigADF::pointerDelta()
{
    return ReadWholeNumber(Needledelta->text(), 0, kPointerTop, QString::fromLatin1(kPointerDeltaRule));
}

void ConfigADF::nudge(int step)
{
    const std::optional<int> delta = pointerDelta();
    if (!delta)
        return;
    Needledelta->setText(QString::number(JumpWrap(*delta + step, kPointerTop)));
    send(6, step);
}

ApplySteps ConfigADF::applySteps()
{
    return {.validate = {},
            .clears = Field::Identity | Field::Needle1 | Field::Assignment2,
            .move = MovePolicy::Connected,
            .write = [](int id) { Cfg.GaugeRecFunction1[id] = kADFFunction; },
            .afterwards = {}};
}

} // namespace varnet

#include "gauges/dualneedle.h"

#include "gauges/displayneedle.h"
#include "gauges/singleneedle.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace varnet {

namespace {

constexpr int kFullDialCentre = 540;
constexpr int kFastestSpeedPosition = 100;

// The design names of each needle's controls.
struct NeedleNames {
    const char* slider;
    const char* box;
    const char* centre;
    const char* calibrate;
    const char* cw;
    const char* ccw;
    const char* setDirection;
};
constexpr NeedleNames kNames[2] = {
    {"SliderValue1", "BoxtestValue1", "Command1", "cmdPlate1", "Needle1CW", "Needle1CCW", "cmdSetDirection1"},
    {"SliderValue2", "BoxTestValue2", "Command2", "cmdPlate2", "Needle2CW", "Needle2CCW", "CmdSetDirection2"},
};

} // namespace

ConfigGaugeDN::ConfigGaugeDN()
    : DialogOf("ConfigGaugeDN", QStringLiteral("Configure Gauges"),
               FrameParts{.setNewID = true, .light = true, .backlight = true, .speed = true})
{
    auto* assignments = new QHBoxLayout;
    assignments->addWidget(buildAssignment(needle1_, 1));
    assignments->addWidget(buildAssignment(needle2_, 2));
    // Choosing a category of either needle starts the test afresh, as an
    // activation does.
    for (NeedleAssignment* needle : {needle1_, needle2_})
        onIndexChanged(needle->ComboClass, [this](int) { resetTest(); });
    // The lists write a chosen category at once; needle 2's waits for Apply.
    onIndexChanged(needle2_->ComboClass, [this](int) {
        Cfg.GaugeRecCategory2[std::size_t(gaugeID())] = Byte(storedCategory2_);
    });

    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    auto* testLayout = new QVBoxLayout(test);
    test1_ = {nullptr, nullptr, 5, kEndStopQuestion};
    test2_ = {nullptr, nullptr, 6, kEndStopQuestionNeedle2};
    testLayout->addWidget(buildTestRow(test1_, 1, test));
    testLayout->addWidget(buildTestRow(test2_, 2, test));
    auto* scale = new QHBoxLayout;
    scale->addWidget(label(QStringLiteral("Minimum"), test));
    scale->addStretch(3);
    scale->addWidget(label(QStringLiteral("     Standard  max.( 315 dgr)"), test));
    scale->addStretch(1);
    scale->addWidget(label(QStringLiteral(" 360 dgr"), test));
    testLayout->addLayout(scale);

    auto* rotations = new QVBoxLayout;
    rotations->addWidget(buildRotation(1));
    rotations->addWidget(buildRotation(2));
    auto* row = new QHBoxLayout;
    row->addWidget(test, 1);
    row->addLayout(rotations);

    // The speed slider opens at its fastest without sending anything.
    {
        const QSignalBlocker blocker(SliderSpeed);
        SliderSpeed->setValue(kFastestSpeedPosition);
    }
    if (auto* speedRow = qobject_cast<QHBoxLayout*>(SliderSpeed->parentWidget()->layout())) {
        speedRow->insertWidget(0, label(QStringLiteral("Slow"), SliderSpeed->parentWidget()));
        speedRow->addWidget(label(QStringLiteral("Fast"), SliderSpeed->parentWidget()));
    }

    content()->addLayout(assignments);
    content()->addLayout(row);
}

QGroupBox* ConfigGaugeDN::buildAssignment(NeedleAssignment*& assignment, int needleNr)
{
    const QByteArray name = "FrameNeedle" + QByteArray::number(needleNr);
    QGroupBox* box = frame(name.constData(), QStringLiteral("Needle %1").arg(needleNr), this);
    assignment = AssignmentFrame(*this, box, needleNr == 1 ? Needle::First : Needle::Second,
                                 kNames[needleNr - 1].calibrate, QStringLiteral("Nr:"));
    assignment->macroClearsPlate = false;
    return box;
}

QWidget* ConfigGaugeDN::buildTestRow(TestNeedle& needle, int needleNr, QWidget* parent)
{
    const NeedleNames& names = kNames[needleNr - 1];
    auto* row = new QWidget(parent);
    needle.slider = slider(names.slider, 0, kLowResolutionTop, row);
    needle.box = readOnlyBox(names.box, row);
    needle.box->setMaximumWidth(60);
    QPushButton* centre = button(names.centre, QStringLiteral("Center"), row);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label(QStringLiteral("Pointer %1").arg(needleNr), row));
    layout->addWidget(needle.slider, 1);
    layout->addWidget(needle.box);
    layout->addWidget(centre);
    const TestNeedle* moved = &needle;
    onValueChanged(needle.slider, [this, moved](int position) { needleMoved(*moved, position); });
    onClicked(centre, [this, moved] { moved->slider->setValue(centre_); });
    return row;
}

QGroupBox* ConfigGaugeDN::buildRotation(int needleNr)
{
    const NeedleNames& names = kNames[needleNr - 1];
    QRadioButton* cw = optionButton(names.cw, QStringLiteral("CW"), this);
    QRadioButton* ccw = optionButton(names.ccw, QStringLiteral("CCW"), this);
    QPushButton* set = button(names.setDirection, QStringLiteral("Set"), this);
    cw->setChecked(true);
    (needleNr == 1 ? Needle1CW : Needle2CW) = cw;
    const QByteArray frameName = "FrameRotation" + QByteArray::number(needleNr);
    QGroupBox* rotation = rowFrame(frameName.constData(), QStringLiteral("Rotation"), {cw, ccw, set}, this);
    onClicked(set, [this] { send(4, DirectionWord(!Needle1CW->isChecked(), !Needle2CW->isChecked())); });
    return rotation;
}

void ConfigGaugeDN::loadRecord()
{
    storedCategory2_ = context().record().category2;
    GaugeDNInitialize();
}

void ConfigGaugeDN::GaugeDNInitialize()
{
    needle1_->load();
    needle2_->load();
}

void ConfigGaugeDN::Form_Activate()
{
    needle1_->rebuildPlates();
    needle2_->rebuildPlates();
    resetTest();
}

void ConfigGaugeDN::resetTest()
{
    warned_ = false;
    centre_ = kStandardDialCentre;
}

void ConfigGaugeDN::needleMoved(const TestNeedle& needle, int position)
{
    needle.box->setText(QString::number(position));
    // One question for both needles: past the standard dial's end stop.
    if (!warned_ && BeyondStandardDial(position, kLowResolutionTop)) {
        warned_ = true;
        const QPointer<ConfigGaugeDN> self(this);
        const bool goOn = messages().yesNo(QString::fromLatin1(needle.question));
        if (!self || !goOn)
            return;
        centre_ = kFullDialCentre;
        messages().ok(QStringLiteral("Needle center will be set to %1").arg(kFullDialCentre));
        if (!self)
            return;
    }
    send(needle.command, position);
}

bool ConfigGaugeDN::confirmApply() const
{
    const struct {
        bool missing;
        const char* question;
    } checks[] = {
        {!needle1_->hasCategoryAndFunction(), kNoAssignmentNeedle1},
        {!needle2_->hasCategoryAndFunction(), kNoAssignmentNeedle2},
        {needle1_->plateText().isEmpty(), kNoPlateNeedle1},
        {needle2_->plateText().isEmpty(), kNoPlateNeedle2},
    };
    const QPointer<const ConfigGaugeDN> self(this);
    for (const auto& check : checks)
        if (check.missing && (!messages().yesNo(QString::fromLatin1(check.question)) || !self))
            return false;
    return true;
}

ApplySteps ConfigGaugeDN::applySteps()
{
    // What a Yes lets through is written as the lists stand: an empty
    // assignment or plate stores 0.
    return {.validate = [this] { return confirmApply(); },
            .clears = Field::All,
            .move = MovePolicy::Connected,
            .write =
                [this](int id) {
                    needle1_->write(id);
                    needle2_->write(id);
                },
            .afterwards = {}};
}

} // namespace varnet

#include "gauges/vorindicator.h"

#include "platform/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <span>

namespace varnet {

// ---- Shared by the instrument dialogs -------------------------------------------

void ShowAndSend(GaugeDialog& dialog, QSlider* slider, QLineEdit* box, int command)
{
    onValueChanged(slider, [&dialog, box, command](int position) {
        box->setText(QString::number(position));
        dialog.context().Send(command, position);
    });
}

void MoveSliderTo(QSlider* slider, int position)
{
    if (slider->value() == position)
        emit slider->valueChanged(position);
    else
        slider->setValue(position);
}

// ---- VOR indicator ----------------------------------------------------------------

namespace {

constexpr int kCountsPerTurn = 1084;
constexpr int kNeedleTop = 944;
constexpr int kDiskTop = 3775;
constexpr int kDiskPositionMask = 0xFFF;
constexpr int kFlagSpacing = 420;
constexpr int kPollMs = 50;

// The flag positions a VOR1 stores upwards from the From flag, and a VOR2
// downwards.
constexpr int kVOR1Flags[] = {7, 5, 6, 2, 1, 3, 4};
constexpr int kVOR2Flags[] = {3, 1, 2};

// A slider set from the program without its handler: the design's starting
// positions are not sent.
QSlider* startingAt(QSlider* s, int position)
{
    const QSignalBlocker blocker(s);
    s->setValue(position);
    return s;
}

} // namespace

int CourseFromCount(int count)
{
    const long long course = RoundHalfEven(double(kCountsPerTurn - count) / kCountsPerTurn * 360.0);
    return course > 359 ? 0 : int(course);
}

int IndicatorWord(ToFromFlag flag, bool glideslope, int typeCode)
{
    int word = glideslope && typeCode == kVOR1 ? 4 : 0;
    if (flag == ToFromFlag::To)
        word += 1;
    else if (flag == ToFromFlag::From)
        word += 2;
    return word + 1;
}

std::vector<int> IndicatorCalibration(int position, int typeCode)
{
    const bool vor1 = typeCode == kVOR1;
    const int step = vor1 ? kFlagSpacing : -kFlagSpacing;
    const std::span<const int> flags = vor1 ? std::span<const int>(kVOR1Flags) : std::span<const int>(kVOR2Flags);
    std::vector<int> values;
    int p = position & kDiskPositionMask;
    for (int flag : flags) {
        values.push_back(p + 4096 * flag);
        p = (p + step) & kDiskPositionMask;
    }
    return values;
}

ConfigGaugeVOR::ConfigGaugeVOR()
    : DialogOf("ConfigGaugeVOR", QStringLiteral("Configure VOR1 / VOR2"),
               FrameParts{.light = true, .backlight = true, .speed = true})
{
    // Needle tests: the slider sends; a typed box sends the slider's
    // position again and shows it.
    SliderValue1 = startingAt(slider("SliderValue1", 0, kNeedleTop, this), kVORNeedleCentre);
    SliderValue2 = startingAt(slider("SliderValue2", 0, kNeedleTop, this), kVORNeedleCentre);
    BoxtestValue1 = textBox("BoxtestValue1", this, QString::number(kVORNeedleCentre));
    BoxTestValue2 = textBox("BoxTestValue2", this, QString::number(kVORNeedleCentre));
    QPushButton* centreLOC = button("cmdCenterLOC", QStringLiteral("Center"), this);
    QPushButton* centreGS = button("Command1", QStringLiteral("Center"), this);
    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    auto* testGrid = new QGridLayout(test);
    const auto needle = [&](int row, QSlider* s, QLineEdit* box, QPushButton* centre, int command) {
        box->setParent(test);
        box->setMaximumWidth(60);
        testGrid->addWidget(s, row, 0);
        testGrid->addWidget(box, row, 1);
        testGrid->addWidget(centre, row, 2);
        ShowAndSend(*this, s, box, command);
        connect(box, &QLineEdit::textEdited, this, [this, s, box, command] {
            box->setText(QString::number(s->value()));
            send(command, s->value());
        });
        onClicked(centre, [s] { MoveSliderTo(s, kVORNeedleCentre); });
    };
    needle(0, SliderValue1, BoxtestValue1, centreLOC, 5);
    testGrid->addWidget(label(QStringLiteral("(VOR1 only)"), test), 1, 0, Qt::AlignLeft);
    needle(2, SliderValue2, BoxTestValue2, centreGS, 6);

    QPushButton* clearCal = button("cmdClearCal", QStringLiteral("Clear Calibration"), this);
    QPushButton* testCal = button("cmdRecalibrate", QStringLiteral("Test Calibration"), this);
    QPushButton* setLOC = button("cmdCenterLocNeedle", QStringLiteral("Set LOC Needle"), this);
    QPushButton* setGS = button("cmdCenterGSneedle", QStringLiteral("Set GS Needle"), this);
    auto* instruction = label(QStringLiteral("Use sliders to set needle(s) to center and click the Set LOC/set GS "
                                             "Needle button(s). Start with Clear Calibration."),
                              this);
    instruction->setWordWrap(true);
    // Wide enough that the wrapped text takes its lines in full.
    instruction->setMinimumSize(260, instruction->heightForWidth(260));
    QGroupBox* calibrate = columnFrame("FrameCalibrateNeedles", QStringLiteral("Calibrate Needle(s)"),
                                       {instruction, clearCal, setLOC, setGS, testCal}, this);
    onClicked(clearCal, [this] { cmdClearCal_Click(); });
    onClicked(testCal, [this] { send(1, 0); });
    onClicked(setLOC, [this] { send(4, SliderValue1->value() - kVORNeedleCentre); });
    onClicked(setGS, [this] { send(9, SliderValue2->value() - kVORNeedleCentre); });

    // The frame's speed slider drives the needles; the disk has its own.
    startingAt(SliderSpeed, 60);
    Slider1 = startingAt(slider("Slider1", 0, 100, this), 80);
    onValueChanged(Slider1, [this](int position) { send(14, 2 * (125 - position)); });
    if (auto* speeds = findChild<QGroupBox*>(QStringLiteral("FrameSpeed"))) {
        speeds->setTitle(QStringLiteral("Needle and  Indicator speeds"));
        auto* row = static_cast<QBoxLayout*>(speeds->layout());
        row->insertWidget(0, label(QStringLiteral("LOC and GS Needles"), speeds));
        row->addWidget(label(QStringLiteral("Indicator  Disk"), speeds));
        Slider1->setParent(speeds);
        row->addWidget(Slider1);
    }

    Sliderindicator = slider("Sliderindicator", 0, kDiskTop, this);
    boxindicatorvalue = readOnlyBox("boxindicatorvalue", this);
    boxindicatorvalue->setMaximumWidth(60);
    boxindicatorvalue->setText(QStringLiteral("0"));
    QPushButton* resetDisk = button("cmdRestCalibrateDisk", QStringLiteral("Reset"), this);
    QPushButton* calibrateDisk = button("cmdCalibrateDisk", QStringLiteral("Calibrate"), this);
    QGroupBox* disk = rowFrame("FrameCalibrateDisk", QStringLiteral("Calibrate Indicator Positions"),
                               {Sliderindicator, boxindicatorvalue, resetDisk, calibrateDisk}, this);
    ShowAndSend(*this, Sliderindicator, boxindicatorvalue, 10);
    onClicked(resetDisk, [this] { MoveSliderTo(Sliderindicator, 0); });
    onClicked(calibrateDisk, [this] { cmdCalibrateDisk_Click(); });

    const char* flagCaptions[] = {"To", "None", "From"};
    for (int i = 0; i < 3; ++i)
        SetToFromFlag[i] = optionButton(QStringLiteral("SetToFromFlag_%1").arg(i).toLatin1().constData(),
                                        QString::fromLatin1(flagCaptions[i]), this);
    setGSflag[0] = optionButton("setGSflag_0", QStringLiteral("Off"), this);
    setGSflag[1] = optionButton("setGSflag_1", QStringLiteral("GS"), this);
    QPushButton* setIndicators = button("CmdSetIndicators", QStringLiteral("Set"), this);
    QGroupBox* indicators = rowFrame(
        "FrameTestIndicators", QStringLiteral("Test Indicator Positions"),
        {columnFrame("FrameToFrom", QStringLiteral("To/From Flag"), {SetToFromFlag[0], SetToFromFlag[1], SetToFromFlag[2]},
                     this),
         columnFrame("FrameGSflag", QStringLiteral("GS flag (VOR1 only)"), {setGSflag[0], setGSflag[1]}, this),
         setIndicators},
        this);
    // Checked once each stands in its own frame, its own exclusive choice.
    SetToFromFlag[0]->setChecked(true);
    setGSflag[0]->setChecked(true);
    onClicked(setIndicators, [this] { CmdSetIndicators_Click(); });

    CheckBlockWriteToSim = checkBox("CheckBlockWriteToSim", QStringLiteral("Disable write Coarse to Simulator"), this);
    QPushButton* compass =
        button("cmdCalibrateCompass", QStringLiteral("To calibrate OBS set Compass manually to  North and Click"), this);
    boxCourse = readOnlyBox("boxCourse", this);
    boxCourse->setMaximumWidth(60);
    QGroupBox* course = columnFrame("FrameCompass", QStringLiteral("Calibrate Compass "),
                                    {CheckBlockWriteToSim, compass, boxCourse}, this);
    onClicked(compass, [this] { send(11, 1); });

    Timer1 = new StatusPoll(*this, kPollMs, [this](const Reply& reply) { showCourse(reply); });

    auto* top = new QHBoxLayout;
    top->addWidget(test, 1);
    top->addWidget(calibrate);
    auto* middle = new QHBoxLayout;
    middle->addWidget(disk, 1);
    middle->addWidget(indicators);
    content()->addLayout(top);
    content()->addLayout(middle);
    content()->addWidget(course);
}

QString ConfigGaugeVOR::typeNameText() const
{
    return QStringLiteral("Fixed Function: ") + GaugeDialog::typeNameText();
}

void ConfigGaugeVOR::loadRecord()
{
    CheckBlockWriteToSim->setChecked(context().record().plate1 == 1);
}

void ConfigGaugeVOR::Form_Activate()
{
    Timer1->start();
}

void ConfigGaugeVOR::closing()
{
    Timer1->stop();
}

ApplySteps ConfigGaugeVOR::applySteps()
{
    return {.validate = {},
            .clears = Field::Identity | Field::Needle1 | Field::Assignment2,
            .move = MovePolicy::Connected,
            .write =
                [this](int id) {
                    Cfg.GaugeRecFunction1[id] = 31;
                    Cfg.GaugeRecPlate1[id] = CheckBlockWriteToSim->isChecked() ? 1 : 0;
                },
            .afterwards = {}};
}

void ConfigGaugeVOR::cmdClearCal_Click()
{
    const QPointer<ConfigGaugeVOR> self(this);
    if (!SendInOrder(*this, {{9, 0}, {4, 0}}) || !self)
        return;
    // Both needles to the centre, sent once each whatever the sliders showed.
    for (QSlider* s : {SliderValue1, SliderValue2}) {
        const QSignalBlocker blocker(s);
        s->setValue(kVORNeedleCentre);
    }
    BoxtestValue1->setText(QString::number(kVORNeedleCentre));
    BoxTestValue2->setText(QString::number(kVORNeedleCentre));
    SendInOrder(*this, {{5, kVORNeedleCentre}, {6, kVORNeedleCentre}});
}

void ConfigGaugeVOR::cmdCalibrateDisk_Click()
{
    std::vector<std::pair<int, double>> frames;
    for (int value : IndicatorCalibration(Sliderindicator->value(), context().typeCode()))
        frames.emplace_back(13, value);
    SendInOrder(*this, frames);
}

void ConfigGaugeVOR::CmdSetIndicators_Click()
{
    const ToFromFlag flag = SetToFromFlag[0]->isChecked()   ? ToFromFlag::To
                            : SetToFromFlag[2]->isChecked() ? ToFromFlag::From
                                                            : ToFromFlag::None;
    send(12, IndicatorWord(flag, setGSflag[1]->isChecked(), context().typeCode()));
}

void ConfigGaugeVOR::showCourse(const Reply& reply)
{
    boxCourse->setText(QString::number(CourseFromCount(reply.word(7, 8))));
}

} // namespace varnet

#include "gauges/rmi.h"

#include "gauges/bcdwords.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace varnet {

namespace {

constexpr int kFixedCategory = 8;
constexpr int kHeadingFunction = 39;
constexpr int kSecondFunction = 31;
constexpr int kYellowNeedleBit = 0x4000;
constexpr int kStepsPerDegree = 12;
constexpr int kGreenSourceByte = 7;
constexpr int kYellowSourceByte = 8;

// Command 13: the high byte says what the low byte sets.
constexpr int kDayBrightness = 0x100;
constexpr int kNightBrightness = 0x200;
constexpr int kDmeAbsent = 0x300;
constexpr int kDmePresent = 0x301;
constexpr int kDmeInAdfMode = 0x400;
constexpr int kNoDmeInAdfMode = 0x500;

int motorSpeed(int position)
{
    return (106 - position) * 40;
}

QString needleSource(int byte)
{
    return byte == 0 ? QStringLiteral("ADF") : QStringLiteral("VOR");
}

// A test slider 0..359 degrees with the box that shows its position.
QSlider* degreeSlider(const char* name, QLineEdit*& box, const char* boxName, QWidget* parent)
{
    QSlider* s = slider(name, 0, 359, parent);
    box = readOnlyBox(boxName, parent);
    box->setText(QStringLiteral("0"));
    box->setMaximumWidth(50);
    return s;
}

} // namespace

// ---- Calibration counter ----------------------------------------------------------

void RmiCalibration::reset(RmiPart part)
{
    target = int(part);
    position = 0;
}

int RmiCalibration::nudge(RmiPart part, int buttonStep)
{
    // The card turns against the needles: its "<" raises the count.
    const bool card = part == RmiPart::Compass;
    const int step = card ? -buttonStep : buttonStep;
    position = JumpWrap(position + step, card ? kCompassCardTurn : kRmiNeedleTurn);
    return step;
}

// ---- Dialog ---------------------------------------------------------------------

ConfigRMI::ConfigRMI()
    : DialogOf("ConfigRMI", QStringLiteral("Configure Radio Magnetic Indicator"), FrameParts{.light = true})
{
    CmdApply->setObjectName(QStringLiteral("Command6"));
    CmdApply->setText(QStringLiteral("Apply/Assign"));
    CmdClose->setObjectName(QStringLiteral("cmdClose"));
    BoxGaugename->setObjectName(QStringLiteral("Text2"));

    // ---- Assignment and settings: the stored words.
    auto* settings = frame("FrameSettings", QStringLiteral("Gauge Assignment and Settings"), this);
    OptionHasDME = optionButton("OptionHasDME", QStringLiteral("Yes"), settings);
    OptionNoDME = optionButton("OptionNoDME", QStringLiteral("None"), settings);
    OptionShowIfADFYes = optionButton("OptionShowIfADFYes", QStringLiteral("Yes"), settings);
    OptionShowIfADFNo = optionButton("OptionShowIfADFNo", QStringLiteral("No"), settings);
    OptionCompass = optionButton("OptionCompass", QStringLiteral("Compass"), settings);
    OptionHDG = optionButton("OptionHDG", QStringLiteral("Hdg"), settings);
    OptionVOR1Yel = optionButton("OptionVOR1Yel", QStringLiteral("VOR1"), settings);
    OptionVOR2Yel = optionButton("OptionVOR2Yel", QStringLiteral("VOR2"), settings);
    OptionVOR1Grn = optionButton("OptionVOR1Grn", QStringLiteral("VOR1"), settings);
    OptionVOR2Grn = optionButton("OptionVOR2Grn", QStringLiteral("VOR2"), settings);
    onSelected(OptionHasDME, [this] {
        showDmeFrames(true);
        send(13, kDmePresent);
    });
    onSelected(OptionNoDME, [this] {
        showDmeFrames(false);
        send(13, kDmeAbsent);
    });
    onSelected(OptionShowIfADFYes, [this] { send(13, kDmeInAdfMode); });
    onSelected(OptionShowIfADFNo, [this] { send(13, kNoDmeInAdfMode); });
    auto* vor = columnFrame("FrameVOR", QStringLiteral("VOR Number if selected"),
                            {rowFrame("FrameYellow", QStringLiteral("YEL Needle"), {OptionVOR1Yel, OptionVOR2Yel}, settings),
                             rowFrame("FrameGreen", QStringLiteral("GRN Needle"), {OptionVOR1Grn, OptionVOR2Grn}, settings)},
                            settings);
    auto* settingsRow = new QHBoxLayout(settings);
    settingsRow->addWidget(columnFrame("FrameHasDME", QStringLiteral("Unit has DME ?"), {OptionHasDME, OptionNoDME}, settings));
    settingsRow->addWidget(
        columnFrame("FrameShowIfADF", QStringLiteral("Display if ADF?"), {OptionShowIfADFYes, OptionShowIfADFNo}, settings));
    settingsRow->addWidget(columnFrame("FrameCard", QStringLiteral("Card Shows"), {OptionCompass, OptionHDG}, settings));
    settingsRow->addWidget(vor);
    // Starting choices, once each pair stands in its own frame.
    SelectAtDesign(OptionNoDME);
    SelectAtDesign(OptionCompass);

    // ---- DME display brightness.
    QSlider* intensity = slider("SliderDMEIntensity", 0, 15, this);
    QPushButton* day = button("CmdSetIntensityDay", QStringLiteral("Set Day"), this);
    QPushButton* night = button("CmdSetIntensityNight", QStringLiteral("Set Night"), this);
    onClicked(day, [this, intensity] { send(13, kDayBrightness + intensity->value()); });
    onClicked(night, [this, intensity] { send(13, kNightBrightness + intensity->value()); });
    FrameDME1 = rowFrame("FrameDME1", QStringLiteral("DME Display Settings"),
                         {label(QStringLiteral("Display Intensity "), this), intensity, day, night}, this);

    // ---- Calibration of the card and the needles.
    auto* calibration = frame("FrameCalibration", QStringLiteral("Instrument Calibration"), this);
    QPushButton* recalibrate = button("cmdRecalibrate", QStringLiteral("Recalibrate"), calibration);
    onClicked(recalibrate, [this] { send(1, 0); });
    OptionCalibrateCompass = optionButton("OptionCalibrateCompass", QStringLiteral("Compass card"), calibration);
    OptionCalibrateGreenNeedle = optionButton("OptionCalibrateGreenNeedle", QStringLiteral("Green Needle"), calibration);
    OptionCalibrateYellowNeedle =
        optionButton("OptionCalibrateYellowNeedle", QStringLiteral("Yellow Needle"), calibration);
    OptionCalibrateCompass->setChecked(true);
    QPushButton* reset = button("cmdResetCalibration", QStringLiteral("Reset"), calibration);
    QPushButton* set = button("cmdSetCalibration", QStringLiteral("Set"), calibration);
    onClicked(reset, [this] { cmdResetCalibration_Click(); });
    onClicked(set, [this] { cmdSetCalibration_Click(); });
    NL10 = button("NL10", QStringLiteral("<<"), calibration);
    NL1 = button("NL1", QStringLiteral("<"), calibration);
    NR1 = button("NR1", QStringLiteral(">"), calibration);
    NR10 = button("NR10", QStringLiteral(">>"), calibration);
    onClicked(NL10, [this] { nudge(-100); });
    onClicked(NL1, [this] { nudge(-10); });
    onClicked(NR1, [this] { nudge(10); });
    onClicked(NR10, [this] { nudge(100); });
    QSlider* compassSpeed = slider("SliderCompassSpeed", 0, 100, calibration);
    QSlider* needlesSpeed = slider("SliderNeedlesSpeed", 0, 100, calibration);
    compassSpeed->setValue(50);
    needlesSpeed->setValue(50);
    onValueChanged(compassSpeed, [this](int position) { send(3, motorSpeed(position)); });
    onValueChanged(needlesSpeed, [this](int position) { send(4, motorSpeed(position)); });
    auto* calGrid = new QGridLayout(calibration);
    calGrid->addWidget(recalibrate, 0, 0);
    calGrid->addWidget(OptionCalibrateCompass, 0, 1);
    calGrid->addWidget(OptionCalibrateGreenNeedle, 0, 2);
    calGrid->addWidget(OptionCalibrateYellowNeedle, 0, 3);
    auto* nudges = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{reset, NL10, NL1, NR1, NR10, set})
        nudges->addWidget(w);
    calGrid->addLayout(nudges, 1, 0, 1, 4);
    calGrid->addWidget(label(QStringLiteral("Compass Card Speed"), calibration), 2, 0);
    calGrid->addWidget(compassSpeed, 2, 1, 1, 3);
    calGrid->addWidget(label(QStringLiteral("Needles Speed"), calibration), 3, 0);
    calGrid->addWidget(needlesSpeed, 3, 1, 1, 3);

    // ---- Test: card, needles, flag, needle sources.
    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    QLineEdit *cardBox, *greenBox, *yellowBox;
    QSlider* card = degreeSlider("SliderValue1", cardBox, "BoxtestValue1", test);
    QSlider* green = degreeSlider("SliderGreenNeedle", greenBox, "boxGreenValue", test);
    QSlider* yellow = degreeSlider("SliderYellowNeedle", yellowBox, "boxYellowValue", test);
    onValueChanged(card, [this, cardBox](int position) {
        cardBox->setText(QString::number(position));
        send(5, position * kCompassCardTurn / 360);
    });
    onValueChanged(green, [this, greenBox](int position) {
        greenBox->setText(QString::number(position));
        send(6, position * kStepsPerDegree);
    });
    onValueChanged(yellow, [this, yellowBox](int position) {
        yellowBox->setText(QString::number(position));
        send(6, position * kStepsPerDegree + kYellowNeedleBit);
    });
    QPushButton* setFlag = button("cdSetFlag", QStringLiteral("Set"), test);
    QPushButton* resetFlag = button("CmdResetFlag", QStringLiteral("Reset"), test);
    onClicked(setFlag, [this] { send(14, 1); });
    onClicked(resetFlag, [this] { send(14, 0); });
    QPushButton* get = button("CmdReadNeedleSelection", QStringLiteral("Get"), test);
    boxGRNselection = readOnlyBox("boxGRNselection", test);
    boxYellowSelection = readOnlyBox("boxYellowSelection", test);
    for (QLineEdit* box : {boxGRNselection, boxYellowSelection}) {
        box->setText(QStringLiteral("---"));
        box->setMaximumWidth(50);
    }
    onClicked(get, [this] { CmdReadNeedleSelection_Click(); });
    auto* testGrid = new QGridLayout(test);
    const std::pair<const char*, std::pair<QSlider*, QLineEdit*>> sliders[] = {
        {"Compass Card", {card, cardBox}}, {"Green Needle", {green, greenBox}}, {"Yellow Needle", {yellow, yellowBox}}};
    int row = 0;
    for (const auto& [caption, pair] : sliders) {
        testGrid->addWidget(label(QString::fromLatin1(caption), test), row, 0);
        testGrid->addWidget(pair.first, row, 1);
        testGrid->addWidget(pair.second, row, 2);
        ++row;
    }
    testGrid->addWidget(rowFrame("FrameINOP", QStringLiteral("INOP flag"), {setFlag, resetFlag}, test), row, 0);
    testGrid->addWidget(rowFrame("FrameNeedleSelection", QStringLiteral("Needle Selection"),
                                 {get, label(QStringLiteral("Green Needle"), test), boxGRNselection,
                                  label(QStringLiteral("Yellow Needle"), test), boxYellowSelection},
                                 test),
                        row, 1, 1, 2);

    // ---- DME displays.
    OptionDisplaysOn = optionButton("OptionDisplaysOn", QStringLiteral("On"), this);
    OptionDisplaysOff = optionButton("OptionDisplaysOff", QStringLiteral("Off"), this);
    onSelected(OptionDisplaysOn, [this] { send(8, lightWord()); });
    onSelected(OptionDisplaysOff, [this] { send(8, lightWord()); });
    BoxLeftDME = textBox("BoxLeftDME", this, QStringLiteral(" 12.3"));
    boxRightDME = textBox("boxRightDME", this, QStringLiteral("45.6"));
    BoxLeftDME->setMaximumWidth(80);
    boxRightDME->setMaximumWidth(80);
    CheckhowDMELeft = checkBox("CheckhowDMELeft", QString(), this);
    CheckShowMERight = checkBox("CheckShowMERight", QString(), this);
    CheckhowDMELeft->setChecked(true);
    CheckShowMERight->setChecked(true);
    QPushButton* writeLeft = button("cmdWriteLeftDME", QStringLiteral("Set"), this);
    QPushButton* writeRight = button("CmdWriteRightDME", QStringLiteral("Set"), this);
    onClicked(writeLeft, [this] { writeDisplay(false); });
    onClicked(writeRight, [this] { writeDisplay(true); });
    auto* dme2 = frame("FrameDME2", QStringLiteral("Test DME Display"), this);
    auto* dmeGrid = new QGridLayout(dme2);
    dmeGrid->addWidget(columnFrame("FrameDisplay", QStringLiteral("Display"), {OptionDisplaysOn, OptionDisplaysOff}, dme2),
                       0, 0, 3, 1);
    dmeGrid->addWidget(label(QStringLiteral("Show"), dme2), 0, 3);
    dmeGrid->addWidget(label(QStringLiteral("Left"), dme2), 1, 1);
    dmeGrid->addWidget(BoxLeftDME, 1, 2);
    dmeGrid->addWidget(CheckhowDMELeft, 1, 3);
    dmeGrid->addWidget(writeLeft, 1, 4);
    dmeGrid->addWidget(label(QStringLiteral("Right"), dme2), 2, 1);
    dmeGrid->addWidget(boxRightDME, 2, 2);
    dmeGrid->addWidget(CheckShowMERight, 2, 3);
    dmeGrid->addWidget(writeRight, 2, 4);
    FrameDME2 = dme2;
    SelectAtDesign(OptionDisplaysOn);

    SelectAtDesign(LightOff);

    content()->addWidget(label(QStringLiteral("Fixed Function Device"), this));
    content()->addWidget(settings);
    content()->addWidget(FrameDME1);
    content()->addWidget(calibration);
    content()->addWidget(test);
    content()->addWidget(FrameDME2);
}

void ConfigRMI::loadRecord()
{
    const GaugeRecord record = context().record();
    (record.plate2 & kRmiYellowVor2 ? OptionVOR2Yel : OptionVOR1Yel)->setChecked(true);
    (record.plate2 & kRmiGreenVor2 ? OptionVOR2Grn : OptionVOR1Grn)->setChecked(true);
    const bool hasDme = record.plate1 & kRmiHasDme;
    // Without DME the starting choice "None" stands and nothing is sent.
    showDmeFrames(hasDme);
    if (hasDme)
        OptionHasDME->setChecked(true);
    (record.plate1 & kRmiDmeInAdfMode ? OptionShowIfADFYes : OptionShowIfADFNo)->setChecked(true);
    (record.plate1 & kRmiCardFollowsCompass ? OptionCompass : OptionHDG)->setChecked(true);
}

ApplySteps ConfigRMI::applySteps()
{
    return {.validate = {},
            .clears = Field::IdentityAndNeedle1,
            .move = MovePolicy::Connected,
            .write =
                [this](int id) {
                    GaugeRecord r;
                    r.category1 = kFixedCategory;
                    r.function1 = kHeadingFunction;
                    r.plate2 = (OptionVOR1Yel->isChecked() ? 0 : kRmiYellowVor2)
                               | (OptionVOR1Grn->isChecked() ? 0 : kRmiGreenVor2);
                    r.function2 = kSecondFunction;
                    r.seqNr2 = 0;
                    r.plate1 = (OptionHasDME->isChecked() ? kRmiHasDme : 0)
                               | (OptionShowIfADFYes->isChecked() ? kRmiDmeInAdfMode : 0)
                               | (OptionCompass->isChecked() ? kRmiCardFollowsCompass : 0);
                    r.Write(Cfg, id, Field::Needle1 | Field::Function2 | Field::SeqNr2 | Field::Plate2);
                },
            .afterwards = {}};
}

int ConfigRMI::lightWord() const
{
    return (LightOn->isChecked() ? kLampOn : kLampOff) + (OptionDisplaysOn->isChecked() ? kDisplaysOn : 0);
}

RmiPart ConfigRMI::selectedPart() const
{
    if (OptionCalibrateGreenNeedle->isChecked())
        return RmiPart::GreenNeedle;
    if (OptionCalibrateYellowNeedle->isChecked())
        return RmiPart::YellowNeedle;
    return RmiPart::Compass;
}

void ConfigRMI::showDmeFrames(bool shown)
{
    FrameDME1->setVisible(shown);
    FrameDME2->setVisible(shown);
}

void ConfigRMI::cmdResetCalibration_Click()
{
    const RmiPart part = selectedPart();
    calibration_.reset(part);
    const QPointer<ConfigRMI> self(this);
    send(10, calibration_.target);
    if (!self)
        return;
    send(13, 0);
    if (!self)
        return;
    // The large step is offered only where it raises the count.
    const bool card = part == RmiPart::Compass;
    NL10->setVisible(card);
    NR10->setVisible(!card);
}

void ConfigRMI::nudge(int buttonStep)
{
    send(11, calibration_.nudge(selectedPart(), buttonStep));
}

void ConfigRMI::cmdSetCalibration_Click()
{
    const QPointer<ConfigRMI> self(this);
    send(12, calibration_.position);
    if (self)
        send(10, 0);
}

void ConfigRMI::writeDisplay(bool right)
{
    QLineEdit* box = right ? boxRightDME : BoxLeftDME;
    const bool show = (right ? CheckShowMERight : CheckhowDMELeft)->isChecked();
    const std::optional<std::uint16_t> word = RmiDisplayWord(ReadDisplayDigits(box->text()), show, right);
    if (!word) {
        messages().ok(RmiValueRule(right ? QStringLiteral("right DME value") : QStringLiteral("left DME value")));
        return;
    }
    send(15, *word);
}

void ConfigRMI::CmdReadNeedleSelection_Click()
{
    if (const std::optional<Reply> reply = readReply()) {
        boxGRNselection->setText(needleSource(reply->byte(kGreenSourceByte)));
        boxYellowSelection->setText(needleSource(reply->byte(kYellowSourceByte)));
    }
}

} // namespace varnet

#include "avionics/bkradio.h"

#include "gauges/radiocodecs.h"
#include "platform/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace varnet {

namespace {

constexpr int kComFunction = 20;
constexpr int kNavFunction = 22;
// Command 5's fixed value: 100 in both bytes.
constexpr int kFixedSetup = 0x6464;

// Reply positions of the four frequencies, high byte first.
constexpr int kComActiveHigh = 7;
constexpr int kComStandbyHigh = 10;
constexpr int kNavActiveHigh = 13;
constexpr int kNavStandbyHigh = 16;

} // namespace

ComNavFrequencies ComNavDefaults()
{
    return {FrequencyDefaults(kRadioComm), FrequencyDefaults(kRadioNav)};
}

std::optional<RadioCommands> BKRadioWrite(const ComNavFrequencies& f, bool externalOnOff)
{
    // In this module's command set 10 is the COM minimum and 11 its maximum;
    // 3, 4 and 9 carry the NAV radio's.
    const std::pair<int, std::pair<const QString*, const char*>> boxes[] = {
        {10, {&f.com.minimum, "COM minimum frequency"}}, {11, {&f.com.maximum, "COM maximum frequency"}},
        {12, {&f.com.standard, "COM default frequency"}}, {3, {&f.nav.minimum, "NAV minimum frequency"}},
        {4, {&f.nav.maximum, "NAV maximum frequency"}},   {9, {&f.nav.standard, "NAV default frequency"}}};
    RadioCommands commands{{5, kFixedSetup}};
    for (const auto& [command, box] : boxes) {
        const std::optional<int> word = FrequencyWord(kRadioComm, *box.first, QString::fromLatin1(box.second));
        if (!word)
            return std::nullopt;
        commands.emplace_back(command, *word);
    }
    commands.emplace_back(6, externalOnOff ? 1 : 0);
    return commands;
}

ConfigBKradio::ConfigBKradio()
    : ModuleDialogOf("ConfigBKradio", QStringLiteral("Configure Bendix/King COM/NAV radio"),
                     ModuleParts{.applyName = "CmdApply",
                                 .readName = "CmdReadRadio",
                                 .backlight = true,
                                 .versionGate = true,
                                 .dayNight = true,
                                 .radioNumber = true,
                                 .numberFrame = QStringLiteral("Radio Module Number"),
                                 .standbyCaption = QStringLiteral("Transfer Standby frequencies")},
                     ModuleAssignment{.function1 = kComFunction, .function2 = kNavFunction})
{
    // The limits and power-on frequencies, COM beside NAV.
    QGroupBox* settings = frame("FrameFrequencySettings", QStringLiteral("Frequency settings"), this);
    auto* grid = new QGridLayout(settings);
    BoxMinimumFreq = textBox("BoxMinimumFreq", settings);
    BoxMaximumFreq = textBox("BoxMaximumFreq", settings);
    BoxDefaultFreq = textBox("BoxDefaultFreq", settings);
    boxMinimumfreqNav = textBox("boxMinimumfreqNav", settings);
    boxMaximumFreqNav = textBox("boxMaximumFreqNav", settings);
    boxDefaultFreqNav = textBox("boxDefaultFreqNav", settings);
    grid->addWidget(label(QStringLiteral("COM"), settings), 0, 1);
    grid->addWidget(label(QStringLiteral("NAV"), settings), 0, 2);
    const char* captions[] = {"Minimum frequency:", "Maximum frequency:", "Default frequency: "};
    const std::pair<QLineEdit*, QLineEdit*> rows[] = {{BoxMinimumFreq, boxMinimumfreqNav},
                                                       {BoxMaximumFreq, boxMaximumFreqNav},
                                                       {BoxDefaultFreq, boxDefaultFreqNav}};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(label(QString::fromLatin1(captions[row]), settings), row + 1, 0);
        for (QLineEdit* box : {rows[row].first, rows[row].second}) {
            box->setFixedWidth(80);
            grid->addWidget(box, row + 1, box == rows[row].first ? 1 : 2);
        }
    }
    QPushButton* defaults = button("cmdSetDefaultFreq", QStringLiteral("Restore defaults"), settings);
    onClicked(defaults, [this] { cmdSetDefaultFreq_Click(); });
    CheckSendStandby->setParent(settings);
    grid->addWidget(defaults, 4, 1);
    grid->addWidget(CheckSendStandby, 5, 0, 1, 3);

    LocalOnOff = checkBox("LocalOnOff", QStringLiteral("Disable power switch /External On/Off"), this);
    QGroupBox* power =
        columnFrame("FramePowerSwitch", QStringLiteral("Power switch and  Displays"), {LocalOnOff, DayNightFrame}, this);

    QPushButton* write = button("cmdWriteSettings", QStringLiteral("Write settings to radio"), this);
    onClicked(write, [this] { cmdWriteSettings_Click(); });
    QGroupBox* assignment =
        columnFrame("FrameAssignment", QStringLiteral("Radio Assignment and Settings"), {RadioNumberFrame, write}, this);

    // The four frequencies read back.
    QGroupBox* readBack = frame("FrameFrequency", QStringLiteral("Frequency and Switch"), this);
    auto* readRows = new QGridLayout(readBack);
    boxActiveFrequency = readOnlyBox("boxActiveFrequency", readBack);
    boxStandbyFrequency = readOnlyBox("boxStandbyFrequency", readBack);
    boxActiveFrequencyNAV = readOnlyBox("boxActiveFrequencyNAV", readBack);
    boxStandbyFrequencyNAV = readOnlyBox("boxStandbyFrequencyNAV", readBack);
    readRows->addWidget(label(QStringLiteral("COM"), readBack), 0, 1);
    readRows->addWidget(label(QStringLiteral("NAV"), readBack), 0, 2);
    readRows->addWidget(label(QStringLiteral("Active"), readBack), 1, 0);
    readRows->addWidget(label(QStringLiteral("Stand by"), readBack), 2, 0);
    readRows->addWidget(boxActiveFrequency, 1, 1);
    readRows->addWidget(boxStandbyFrequency, 2, 1);
    readRows->addWidget(boxActiveFrequencyNAV, 1, 2);
    readRows->addWidget(boxStandbyFrequencyNAV, 2, 2);
    ReadButton->setParent(readBack);
    readRows->addWidget(ReadButton, 3, 1);

    content()->addWidget(label(QStringLiteral("Fixed Function module"), this));
    auto* upper = new QHBoxLayout;
    upper->addWidget(settings);
    upper->addWidget(power);
    content()->addLayout(upper);
    auto* lower = new QHBoxLayout;
    lower->addWidget(assignment);
    lower->addWidget(readBack);
    content()->addLayout(lower);
    content()->addWidget(WriteOnlyNote(this));
}

void ConfigBKradio::loadRecord()
{
    ModuleDialog::loadRecord();
    cmdSetDefaultFreq_Click();
}

void ConfigBKradio::cmdSetDefaultFreq_Click()
{
    const ComNavFrequencies f = ComNavDefaults();
    BoxMinimumFreq->setText(f.com.minimum);
    BoxMaximumFreq->setText(f.com.maximum);
    BoxDefaultFreq->setText(f.com.standard);
    boxMinimumfreqNav->setText(f.nav.minimum);
    boxMaximumFreqNav->setText(f.nav.maximum);
    boxDefaultFreqNav->setText(f.nav.standard);
}

std::optional<RadioCommands> ConfigBKradio::settingsCommands() const
{
    return BKRadioWrite({{BoxMinimumFreq->text(), BoxMaximumFreq->text(), BoxDefaultFreq->text()},
                         {boxMinimumfreqNav->text(), boxMaximumFreqNav->text(), boxDefaultFreqNav->text()}},
                        LocalOnOff->isChecked());
}

void ConfigBKradio::cmdWriteSettings_Click()
{
    if (const std::optional<RadioCommands> commands = settingsCommands())
        SendInOrder(*this, *commands);
}

void ConfigBKradio::writeModule(int gaugeID)
{
    WriteRadioAssignment(gaugeID, kComFunction, kNavFunction);
}

void ConfigBKradio::decodeReply(const Reply& reply)
{
    const std::pair<QLineEdit*, int> boxes[] = {{boxActiveFrequency, kComActiveHigh},
                                                {boxStandbyFrequency, kComStandbyHigh},
                                                {boxActiveFrequencyNAV, kNavActiveHigh},
                                                {boxStandbyFrequencyNAV, kNavStandbyHigh}};
    for (const auto& [box, high] : boxes)
        box->setText(ComNavText(reply.word(high, high + 1)));
}

} // namespace varnet

#include "avionics/bkdme.h"

#include "gauges/dmeindicator.h"
#include "platform/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varnet {

namespace {

constexpr int kDmeFunction = 27;
constexpr int kSwitchByte = 17;
constexpr int kFrequencyLow = 19;
constexpr int kRmtSourceByte = 22;
constexpr int kFrequencySourceByte = 24;
constexpr int kFrequencyBase = 100000;  // kHz

} // namespace

QString DmeSwitchText(int position)
{
    switch (position) {
    case 1: return QStringLiteral("RMT");
    case 2: return QStringLiteral("FREQ");
    case 3: return QStringLiteral("GS/T");
    default: return {};
    }
}

QString DmeFrequencyText(int word)
{
    const int kHz = word + kFrequencyBase;
    return QStringLiteral("%1.%2").arg(kHz / 1000, 3, 10, QLatin1Char('0')).arg(kHz % 1000, 3, 10, QLatin1Char('0'));
}

ConfigBKDME::ConfigBKDME()
    : ModuleDialogOf("ConfigBKDME", QStringLiteral("Configure Bendix/King DME Indicator"),
                     ModuleParts{.applyName = "Command6",
                                 .readName = "CmdReadRadio",
                                 .backlight = true,
                                 .versionGate = true,
                                 .dayNight = true},
                     ModuleAssignment{.function1 = kDmeFunction, .keepsFunction2 = true})
{
    CmdClose->setObjectName(QStringLiteral("cmdClose"));
    content()->addWidget(buildSources());
    content()->addWidget(buildTest());
}

QGroupBox* ConfigBKDME::buildSources()
{
    auto* settings = frame("FrameAssignment", QStringLiteral("DME Assignment and Settings"), this);
    auto* row = new QHBoxLayout(settings);

    FrequencySources = {optionButton("OptionLocalDME1", QStringLiteral("Show DME1/NAV1 radio"), this),
                        optionButton("OptionLocalDME2", QStringLiteral("Show DME2/NAV2 radio"), this),
                        optionButton("OptionNAV1", QStringLiteral("DME1; Write freq->NAV1"), this),
                        optionButton("OptionNav2", QStringLiteral("DME2; Write freq->NAV2"), this)};
    QPushButton* setFrequency = button("CmdSetFrequency", QStringLiteral("Set"), this);
    onClicked(setFrequency, [this] { send(12, frequencySource()); });
    QGroupBox* source =
        columnFrame("FrameFrequencySource", QStringLiteral("Switch in GS/T "),
                    {FrequencySources[0], FrequencySources[1], FrequencySources[2], FrequencySources[3], setFrequency},
                    settings);
    source->setToolTip(QStringLiteral("Simulator has no separate DME frequency; Write to NAV1/NAV2 can be selected if no "
                                      "NAV radio available. "));
    row->addWidget(source);

    OptionRMTNav1 = optionButton("OptionRMTNav1", QStringLiteral("Show NAV1/DME1"), this);
    OptionRMTNav2 = optionButton("OptionRMTNav2", QStringLiteral("Show NAV2/DME2"), this);
    QPushButton* setRmt = button("CmdSetRMTNav", QStringLiteral("Set"), this);
    onClicked(setRmt, [this] { send(6, OptionRMTNav2->isChecked() ? 1 : 0); });
    row->addWidget(
        columnFrame("FrameRMT", QStringLiteral("Switch in RMT"), {OptionRMTNav1, OptionRMTNav2, setRmt}, settings),
        0, Qt::AlignTop);
    return settings;
}

QGroupBox* ConfigBKDME::buildTest()
{
    auto* test = frame("FrameTest", QStringLiteral("Test DME Indicator"), this);
    auto* data = frame("FrameData", QStringLiteral("DME Data"), test);
    auto* grid = new QGridLayout(data);
    AddDmeTestRows(grid, data, [this](int command, int word) { send(command, word); });
    RotarySwitchPosition = readOnlyBox("RotarySwitchPosition", data);
    RotarySwitchPosition->setText(QStringLiteral("--"));
    RotarySwitchPosition->setMaximumWidth(70);
    boxFrequency = readOnlyBox("boxFrequency", data);
    boxFrequency->setMaximumWidth(70);
    ReadButton->setParent(data);
    grid->addWidget(label(QStringLiteral("Switch position:"), data), 0, 4);
    grid->addWidget(RotarySwitchPosition, 0, 5);
    grid->addWidget(label(QStringLiteral("DME Frequency"), data), 1, 4);
    grid->addWidget(boxFrequency, 1, 5);
    grid->addWidget(ReadButton, 2, 5);

    QPushButton* testOn = button("CmdTestOn", QStringLiteral("Test On"), test);
    QPushButton* testOff = button("CmdTestOff", QStringLiteral("Test Off"), test);
    onClicked(testOn, [this] { send(10, 1); });
    onClicked(testOff, [this] { send(10, 0); });
    auto* testRow = new QHBoxLayout(test);
    auto* testButtons = new QVBoxLayout;
    testButtons->addWidget(testOn);
    testButtons->addWidget(testOff);
    testButtons->addStretch();
    testRow->addLayout(testButtons);
    testRow->addWidget(data);
    DayNightFrame->setParent(test);
    testRow->addWidget(DayNightFrame);
    return test;
}

int ConfigBKDME::frequencySource() const
{
    for (int source = 0; source < int(FrequencySources.size()); ++source)
        if (FrequencySources[source]->isChecked())
            return source;
    return 0;
}

void ConfigBKDME::loadRecord()
{
    ModuleDialog::loadRecord();
    const DmeOptions o = DmeOptions::FromWord(context().record().plate1);
    FrequencySources[o.frequencySource]->setChecked(true);
    (o.rmtShowsNav2 ? OptionRMTNav2 : OptionRMTNav1)->setChecked(true);
}

void ConfigBKDME::writeModule(int gaugeID)
{
    GaugeRecord r;
    r.plate1 = DmeOptions{frequencySource(), OptionRMTNav2->isChecked()}.Word();
    r.Write(Cfg, gaugeID, Field::Plate1);
}

void ConfigBKDME::decodeReply(const Reply& reply)
{
    if (const QString position = DmeSwitchText(reply.byte(kSwitchByte)); !position.isEmpty())
        RotarySwitchPosition->setText(position);
    boxFrequency->setText(DmeFrequencyText(reply.word(kFrequencyLow + 1, kFrequencyLow)));
    if (const int source = reply.byte(kFrequencySourceByte); source < int(FrequencySources.size()))
        FrequencySources[source]->setChecked(true);
    if (const int rmt = reply.byte(kRmtSourceByte); rmt <= 1)
        (rmt == 1 ? OptionRMTNav2 : OptionRMTNav1)->setChecked(true);
}

} // namespace varnet

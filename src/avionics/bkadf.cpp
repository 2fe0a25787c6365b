#include "avionics/bkadf.h"

#include "platform/controls.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace varnet {

namespace {

constexpr int kAdfFunction = 24;
constexpr int kActiveByte = 7;
constexpr int kStandbyByte = 10;
constexpr int kModeByte = 13;
constexpr int kBfoByte = 15;

QLineEdit* readBackBox(const char* name, QWidget* parent)
{
    QLineEdit* box = readOnlyBox(name, parent);
    box->setMinimumWidth(70);
    box->setMaximumWidth(90);
    return box;
}

} // namespace

QString AdfReadBackText(int replyWord)
{
    return QStringLiteral("%1.%2").arg(replyWord / 10, 4, 10, QLatin1Char('0')).arg(replyWord % 10);
}

ConfigBKADF::ConfigBKADF()
    : ModuleDialogOf("ConfigBKADF", QStringLiteral("Config Bendix/King ADF radio"),
                     ModuleParts{.applyName = "CmdApply",
                                 .readName = "CmdReadRadio",
                                 .backlight = true,
                                 .versionGate = true,
                                 .dayNight = true,
                                 .radioNumber = true},
                     ModuleAssignment{.function1 = kAdfFunction, .function2 = kAdfFunction + 1})
{
    CheckUseFraction = checkBox("CheckUseFraction", QStringLiteral("Use Fractional Frequency correction."), this);
    // The option is only stored; the module has no standby offset to set.
    connect(CheckSendStandby, &QCheckBox::toggled, this,
            [] { messages().ok(QString::fromLatin1(kNoStandbyOffset)); });
    auto* settings = frame("FrameAssignment", QStringLiteral("ADF Radio Assignment and Settings"), this);
    auto* settingsRow = new QHBoxLayout(settings);
    RadioNumberFrame->setParent(settings);
    settingsRow->addWidget(RadioNumberFrame);
    settingsRow->addWidget(columnFrame("FrameSpecial", QStringLiteral("Special Functions"),
                                       {CheckUseFraction, CheckSendStandby}, settings));

    auto* test = frame("FrameTest", QStringLiteral("Test Radio"), this);
    auto* data = frame("FrameData", QStringLiteral("Frequency and Switch"), test);
    auto* grid = new QGridLayout(data);
    boxActiveFrequency = readBackBox("boxActiveFrequency", data);
    boxStandbyFrequency = readBackBox("boxStandbyFrequency", data);
    BFOswitch = readBackBox("BFOswitch", data);
    BFOswitch->setText(QStringLiteral("--"));
    OptionANT = optionButton("OptionANT", QStringLiteral("ANT"), data);
    OptionADF = optionButton("OptionADF", QStringLiteral("ADF"), data);
    ReadButton->setParent(data);
    grid->addWidget(label(QStringLiteral("Active"), data), 0, 0);
    grid->addWidget(boxActiveFrequency, 0, 1);
    grid->addWidget(label(QStringLiteral("Stand by"), data), 1, 0);
    grid->addWidget(boxStandbyFrequency, 1, 1);
    grid->addWidget(label(QStringLiteral("BFO switch"), data), 2, 0);
    grid->addWidget(BFOswitch, 2, 1);
    grid->addWidget(rowFrame("FrameMode", QStringLiteral("ANT/ADF mode"), {OptionANT, OptionADF}, data), 0, 2, 2, 1);
    grid->addWidget(ReadButton, 2, 2);
    auto* testRow = new QHBoxLayout(test);
    testRow->addWidget(data);
    DayNightFrame->setTitle(QStringLiteral("Display brightness"));
    DayNightFrame->setParent(test);
    testRow->addWidget(DayNightFrame);

    content()->addWidget(label(QStringLiteral("Fixed Function module"), this));
    content()->addWidget(settings);
    content()->addWidget(test);
}

void ConfigBKADF::loadRecord()
{
    ModuleDialog::loadRecord();
    CheckUseFraction->setChecked(context().record().plate1 != 0);
}

void ConfigBKADF::writeModule(int gaugeID)
{
    GaugeRecord r;
    r.plate1 = CheckUseFraction->isChecked() ? 1 : 0;
    r.Write(Cfg, gaugeID, Field::Plate1);
}

void ConfigBKADF::decodeReply(const Reply& reply)
{
    boxActiveFrequency->setText(AdfReadBackText(reply.word(kActiveByte, kActiveByte + 1)));
    boxStandbyFrequency->setText(AdfReadBackText(reply.word(kStandbyByte, kStandbyByte + 1)));
    (reply.byte(kModeByte) != 0 ? OptionADF : OptionANT)->setChecked(true);
    BFOswitch->setText(QString::number(reply.byte(kBfoByte)));
}

} // namespace varnet

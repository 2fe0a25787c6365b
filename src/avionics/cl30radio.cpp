#include "avionics/cl30radio.h"

#include "platform/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSlider>

namespace varnet {

namespace {

constexpr int kRotarySwitchByte = 24;
constexpr int kFixedClicks = 2;

} // namespace

std::optional<RadioCommands> CL30RadioWrite(const RadioSettings& settings, bool externalOnOff)
{
    std::optional<RadioCommands> commands = LimitsAndKnob(settings);
    if (!commands)
        return std::nullopt;
    commands->insert(commands->end(), {{4, settings.fastRotate * 10}, {6, externalOnOff ? 1 : 0}, {14, kFixedClicks}});
    return commands;
}

ConfigCL30Radio::ConfigCL30Radio()
    : RadioDialog("ConfigCL30Radio",
                  ModuleParts{.applyName = "CmdApply",
                              .readName = "CmdReadRadio",
                              .backlight = true,
                              .dayNight = true,
                              .radioNumber = true},
                  RadioCaptions{.fixedFunction = QStringLiteral("Fixed Function module"),
                                .defaults = QStringLiteral("Restore defaults"),
                                .upperKnob = QStringLiteral("Upper knob:"),
                                .lowerKnob = QStringLiteral("Lower knob: "),
                                .fastRotate = QStringLiteral("Fast rotate"),
                                .readBack = QStringLiteral("Frequency and Switch")})
{
    FrameBacklightMode->setTitle(QStringLiteral("Backlight Mode and Intensity (If available)"));

    QWidget* knobs = boxUpperKnobDelta->parentWidget();
    LocalOnOff = checkBox("LocalOnOff", QStringLiteral("External On/Off"), knobs);
    DayNightFrame->setParent(knobs);
    knobRows_->addWidget(LocalOnOff, 5, 0, 1, 4);
    knobRows_->addWidget(DayNightFrame, 6, 0, 1, 4);

    QWidget* readBack = boxActiveFrequency->parentWidget();
    RotarySwitchPosition = readOnlyBox("RotarySwitchPosition", readBack);
    RotarySwitchPosition->setText(QStringLiteral("--"));
    RotarySwitchPosition->setMaximumWidth(50);
    readBackRows_->addWidget(label(QStringLiteral("Switch position:"), readBack), 2, 0);
    readBackRows_->addWidget(RotarySwitchPosition, 2, 1);
}

std::optional<RadioCommands> ConfigCL30Radio::settingsCommands() const
{
    return CL30RadioWrite(radioSettings(), LocalOnOff->isChecked());
}

void ConfigCL30Radio::decodeReply(const Reply& reply)
{
    RadioDialog::decodeReply(reply);
    RotarySwitchPosition->setText(QString::number(reply.byte(kRotarySwitchByte)));
}

} // namespace varnet

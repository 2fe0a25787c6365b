#include "avionics/cl30transponder.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace varnet {

namespace {

TransponderParts cl30Parts()
{
    return {.atc = {{"CheckUseStdby", "Use Transponder mode switch  (Stdby/On): "},
                    {"CheckuseIDENT", "Use IDENT Push button: "}},
            .atcFrame = QStringLiteral("ATC functions"),
            .atcNote = QStringLiteral("Note: In MS/FS these functions are used by IVAO. Check for availability")};
}

} // namespace

configCL30Transponder::configCL30Transponder()
    : TransponderDialogOf("configCL30Transponder", QStringLiteral("Configure CTL30 Transponder"),
                          ModuleParts{.backlight = true}, cl30Parts())
{
    FrameBacklightMode->setTitle(QStringLiteral("Backlight Mode and Intensity (If available)"));
    // The module's power source is not stored: the dialog always opens on
    // the local switch, and each choice goes to the module at once.
    QRadioButton* external = optionButton("OptionExternalOnOff", QStringLiteral("External On/Off"), this);
    QRadioButton* local = optionButton("OptionLocalOnOff", QStringLiteral("Local switch"), this);
    local->setChecked(true);
    onSelected(external, [this] { send(6, 1); });
    onSelected(local, [this] { send(6, 0); });
    settingsRow()->insertWidget(1, columnFrame("FramePowerSwitch", QStringLiteral("Power Switch"), {external, local}, this));
}

} // namespace varnet

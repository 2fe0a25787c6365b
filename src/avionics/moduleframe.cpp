#include "avionics/moduleframe.h"

#include "platform/controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace varnet {

namespace {

constexpr int kFirstVersionWithPowerOnOptions = 5;
constexpr int kBacklightStart = 15;
constexpr int kIntensityStart = 1;
const QColor kLampRed(255, 0, 0);
const QColor kLampGrey(192, 192, 192);

FrameParts frameParts(const ModuleParts& parts)
{
    FrameParts frame;
    frame.light = true;
    frame.displays = true;
    frame.displayOnName = "DisplaysOn";
    frame.displayOffName = "DisplaysOff";
    frame.displaysFrame = QStringLiteral(" Displays");
    frame.backlight = parts.backlight;
    frame.applyName = parts.applyName;
    frame.applyCaption = QStringLiteral("Assign/Apply");
    return frame;
}

} // namespace

ModuleDialog::ModuleDialog(const char* name, const QString& caption, const ModuleParts& parts,
                           const ModuleAssignment& assignment)
    : GaugeDialog(name, caption, frameParts(parts)), parts_(parts), assignment_(assignment)
{
    if (SliderBacklight)
        SliderBacklight->setValue(kBacklightStart);
    if (parts.readName) {
        ReadButton = button(parts.readName, QStringLiteral("Read"), this);
        onClicked(ReadButton, [this] { Read_Click(); });
    }
    if (parts.dayNight) {
        SliderLightIntensity = slider("SliderLightIntensity", 0, 15, this);
        SliderLightIntensity->setValue(kIntensityStart);
        QPushButton* day = button("cmdSetDaymode", QStringLiteral("Set day"), this);
        QPushButton* night = button("cmdSetNight", QStringLiteral("Set night"), this);
        onClicked(day, [this] { setDayOrNight(false); });
        onClicked(night, [this] { setDayOrNight(true); });
        DayNightFrame = rowFrame("FrameIntensity", QStringLiteral("Display brightness "),
                                 {SliderLightIntensity, day, night}, this);
    }
    if (parts.radioNumber) {
        OptionRadio1 = optionButton("OptionRadio1", QStringLiteral("1"), this);
        OptionRadio2 = optionButton("OptionRadio2", QStringLiteral("2"), this);
        RadioNumberFrame = rowFrame("FrameNumber", parts.numberFrame, {OptionRadio1, OptionRadio2}, this);
        CheckSendStandby = checkBox("CheckSendStandby", parts.standbyCaption, this);
    }
}

void ModuleDialog::loadRecord()
{
    const GaugeRecord r = context().record();
    if (parts_.radioNumber) {
        if (r.seqNr1 <= 1)
            OptionRadio1->setChecked(true);
        else if (r.seqNr1 == 2)
            OptionRadio2->setChecked(true);
        CheckSendStandby->setChecked(r.plate2 != 0);
    }
    if (parts_.versionGate && CheckSetDefault) {
        // Older modules always store their backlight as the default.
        const bool powerOnOptions = r.version >= kFirstVersionWithPowerOnOptions;
        CheckSetDefault->setChecked(!powerOnOptions);
        CheckSetDefault->setEnabled(powerOnOptions);
        if (auto* powerOn = findChild<QGroupBox*>(QStringLiteral("FramePowerOn")))
            powerOn->setVisible(powerOnOptions);
    }
}

int ModuleDialog::radioNumber() const
{
    return OptionRadio1 && OptionRadio1->isChecked() ? 1 : 2;
}

ApplySteps ModuleDialog::applySteps()
{
    FieldSet clears = Field::Identity | Field::Needle1;
    if (assignment_.transponder)
        clears |= Field::Function2 | Field::SeqNr2;
    return {.validate = [this] { return validateModule(); },
            .clears = clears,
            .move = MovePolicy::Always,
            .write =
                [this](int id) {
                    GaugeRecord r;
                    r.category1 = assignment_.category1;
                    r.function1 = assignment_.function1;
                    r.function2 = assignment_.function2;
                    r.model = modelAfterApply();
                    FieldSet fields = Field::Category1 | Field::Function1 | Field::Model;
                    if (!assignment_.keepsFunction2)
                        fields |= Field::Function2;
                    if (parts_.radioNumber) {
                        r.seqNr1 = r.seqNr2 = radioNumber();
                        r.plate2 = CheckSendStandby->isChecked() ? 1 : 0;
                        fields |= Field::SeqNr1 | Field::SeqNr2 | Field::Plate2;
                    }
                    if (assignment_.transponder) {
                        r.seqNr1 = 1;
                        fields |= Field::SeqNr1;
                    }
                    r.Write(Cfg, id, fields);
                    writeModule(id);
                },
            .afterwards = [this] { afterApply(); }};
}

int ModuleDialog::lightWord() const
{
    return (LightOn->isChecked() ? kLampOn : 0) + (DisplayOn->isChecked() ? kDisplaysOn : 0);
}

void ModuleDialog::setDayOrNight(bool night)
{
    const QPointer<ModuleDialog> self(this);
    send(13, DayNightWord(SliderLightIntensity->value(), night));
    if (self)
        (night ? LightOn : LightOff)->setChecked(true);
}

QLineEdit* LampBox(const char* name, const QString& text, QWidget* parent)
{
    QLineEdit* box = readOnlyBox(name, parent);
    box->setText(text);
    box->setAlignment(Qt::AlignCenter);
    box->setMaximumWidth(56);
    ShowLamp(box, false);
    return box;
}

void ShowLamp(QLineEdit* box, bool on)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, on ? kLampRed : kLampGrey);
    box->setPalette(palette);
}

void ShowLamps(std::initializer_list<std::pair<QLineEdit*, int>> boxes, int bits)
{
    for (const auto& [box, bit] : boxes)
        ShowLamp(box, (bits & bit) != 0);
}

void ModuleDialog::Read_Click()
{
    if (const std::optional<Reply> reply = readReply())
        decodeReply(*reply);
}

} // namespace varnet

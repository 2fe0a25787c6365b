#include "gauges/dmeindicator.h"

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
constexpr int kDmeFunction = 27;
constexpr int kRotarySwitchByte = 17;

} // namespace

void AddDmeTestRows(QGridLayout* grid, QWidget* parent, const std::function<void(int command, int word)>& send)
{
    struct TestRow {
        const char *caption, *box, *initial, *write, *show, *rule;
        int command;
    };
    const TestRow rows[] = {{"Distance", "boxDistance", "12.3", "ComdSetMiles", "CheckShowDistance", "distance", 4},
                            {"Speed", "boxSpeed", "456", "cmdWriteKnots", "CheckShowSpeed", "speed", 3},
                            {"Time", "boxTime", "78", "cmdsetMinutes", "CheckShowTime", "time", 5}};
    int r = 0;
    for (const TestRow& row : rows) {
        QLineEdit* box = textBox(row.box, parent, QString::fromLatin1(row.initial));
        box->setMinimumWidth(50);
        box->setMaximumWidth(70);
        QPushButton* write = button(row.write, QStringLiteral("Write"), parent);
        QCheckBox* show = checkBox(row.show, QStringLiteral("show"), parent);
        grid->addWidget(label(QString::fromLatin1(row.caption), parent), r, 0);
        grid->addWidget(box, r, 1);
        grid->addWidget(write, r, 2);
        grid->addWidget(show, r, 3);
        const QString what = QString::fromLatin1(row.rule);
        onClicked(write, [send, command = row.command, box, show, what] {
            const std::optional<std::uint16_t> word = DmeDisplayWord(ReadDisplayDigits(box->text()), show->isChecked());
            if (!word) {
                messages().ok(DisplayValueRule(what));
                return;
            }
            send(command, *word);
        });
        ++r;
    }
}

int DmeLightWord(bool backlightOn, bool displaysOn)
{
    return (backlightOn ? kLampOn : 0) + (displaysOn ? kDisplaysOn : 0);
}

ConfigDME::ConfigDME()
    : DialogOf("ConfigDME", QStringLiteral("Configure DME indicator"), FrameParts{.light = true})
{
    CmdApply->setObjectName(QStringLiteral("Command6"));
    CmdApply->setText(QStringLiteral("Assign/Apply"));

    OptionSingleDME = optionButton("OptionSingleDME", QStringLiteral("Single DME "), this);
    OptionDualDME = optionButton("OptionDualDME", QStringLiteral("Double DME"), this);
    OptionDME1 = optionButton("OptionDME1", QStringLiteral("DME nr.1"), this);
    OptionDME2 = optionButton("OptionDME2", QStringLiteral("DME nr.2"), this);
    OptionLocalOnOff = optionButton("OptionLocalOnOff", QStringLiteral("Local switch"), this);
    OptionExternalOnOff = optionButton("OptionExternalOnOff", QStringLiteral("External On/Off"), this);
    OptionLocalOnOff->setChecked(true);
    onSelected(OptionLocalOnOff, [this] { send(6, 0); });
    onSelected(OptionExternalOnOff, [this] { send(6, 1); });

    SliderLightIntensity = slider("SliderLightIntensity", 0, 15, this);
    SliderLightIntensity->setValue(1);
    QPushButton* day = button("cmdSetDaymode", QStringLiteral("Set day"), this);
    QPushButton* night = button("cmdSetNight", QStringLiteral("Set night"), this);
    onClicked(day, [this] { setBrightness(false); });
    onClicked(night, [this] { setBrightness(true); });

    auto* settings = frame("FrameSettings", QStringLiteral("DME Assignment and Settings"), this);
    auto* settingsRow = new QHBoxLayout(settings);
    settingsRow->addWidget(columnFrame("FrameUnits", QStringLiteral("Nr of Units"), {OptionSingleDME, OptionDualDME}, settings));
    settingsRow->addWidget(columnFrame("FrameDMENumber", QStringLiteral("DME Number"), {OptionDME1, OptionDME2}, settings));
    settingsRow->addWidget(
        columnFrame("FramePowerSwitch", QStringLiteral("Power Switch"), {OptionLocalOnOff, OptionExternalOnOff}, settings));
    settingsRow->addWidget(columnFrame("FrameIntensity", QStringLiteral("Displays Intensity"),
                                       {label(QStringLiteral("Display brightness "), settings), SliderLightIntensity, day,
                                        night},
                                       settings));

    auto* test = frame("FrameTest", QStringLiteral("Test DME Indicator"), this);
    auto* data = frame("FrameData", QStringLiteral("DME Data"), test);
    auto* grid = new QGridLayout(data);
    AddDmeTestRows(grid, data, [this](int command, int word) { send(command, word); });
    QPushButton* testOn = button("CmdTestOn", QStringLiteral("Test On"), test);
    QPushButton* testOff = button("CmdTestOff", QStringLiteral("Test Off"), test);
    onClicked(testOn, [this] { send(10, 1); });
    onClicked(testOff, [this] { send(10, 0); });
    RotarySwitchPosition = readOnlyBox("RotarySwitchPosition", test);
    RotarySwitchPosition->setText(QStringLiteral("--"));
    RotarySwitchPosition->setMaximumWidth(50);
    QPushButton* read = button("CmdReadRadio", QStringLiteral("Read"), test);
    onClicked(read, [this] { CmdReadRadio_Click(); });

    auto* testLayout = new QGridLayout(test);
    testLayout->addWidget(data, 0, 0, 1, 4);
    testLayout->addWidget(testOn, 1, 0);
    testLayout->addWidget(testOff, 1, 1);
    testLayout->addWidget(label(QStringLiteral("Switch position:"), test), 2, 0);
    testLayout->addWidget(RotarySwitchPosition, 2, 1);
    testLayout->addWidget(read, 2, 2);

    content()->addWidget(label(QStringLiteral("Fixed Function Gauge"), this));
    content()->addWidget(settings);
    content()->addWidget(test);

    // The backlight starts off and the displays on, as the gauge powers up;
    // no handler runs for these starting states.
    {
        const QSignalBlocker blocker(LightOff);
        LightOff->setChecked(true);
    }
    DisplaysOn = optionButton("DisplaysOn", QStringLiteral("On"), this);
    DisplaysOff = optionButton("DisplaysOff", QStringLiteral("Off"), this);
    DisplaysOn->setChecked(true);
    onSelected(DisplaysOn, [this] { send(8, lightWord()); });
    onSelected(DisplaysOff, [this] { send(8, lightWord()); });
    testLayout->addWidget(columnFrame("FrameDisplays", QStringLiteral(" Displays"), {DisplaysOn, DisplaysOff}, test), 1,
                          3, 2, 1);
}

void ConfigDME::loadRecord()
{
    const GaugeRecord record = context().record();
    (record.seqNr1 == 1 ? OptionDME1 : OptionDME2)->setChecked(true);
    (record.plate1 == 0 ? OptionSingleDME : OptionDualDME)->setChecked(true);
}

ApplySteps ConfigDME::applySteps()
{
    return {.validate = {},
            .clears = Field::IdentityAndNeedle1,
            .move = MovePolicy::Always,
            .write =
                [this](int id) {
                    GaugeRecord r;
                    r.category1 = kFixedCategory;
                    r.function1 = kDmeFunction;
                    r.plate1 = OptionSingleDME->isChecked() ? 0 : 1;
                    r.seqNr1 = OptionDME1->isChecked() ? 1 : 2;
                    r.Write(Cfg, id, Field::Needle1);
                },
            .afterwards = {}};
}

int ConfigDME::lightWord() const
{
    return DmeLightWord(LightOn->isChecked(), DisplaysOn && DisplaysOn->isChecked());
}

void ConfigDME::setBrightness(bool night)
{
    const QPointer<ConfigDME> self(this);
    send(13, DayNightWord(SliderLightIntensity->value(), night));
    // Night lights the backlight and day puts it out, with its own command 8.
    if (self)
        (night ? LightOn : LightOff)->setChecked(true);
}

void ConfigDME::CmdReadRadio_Click()
{
    if (const std::optional<Reply> reply = readReply())
        RotarySwitchPosition->setText(QString::number(reply->byte(kRotarySwitchByte)));
}

} // namespace varnet

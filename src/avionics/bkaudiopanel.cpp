#include "avionics/bkaudiopanel.h"

#include "avionics/bkautopilot.h"
#include "platform/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace varnet {

namespace {

constexpr int kFirstFunction = 38;
constexpr int kSecondFunction = 180;
constexpr int kCategory = 5;
constexpr int kButtonsByte1 = 7;
constexpr int kButtonsByte2 = 8;
constexpr int kRotaryByte = 10;

} // namespace

int MarkerWord(bool outer, bool middle, bool inner)
{
    return (outer ? 4 : 0) | (middle ? 2 : 0) | (inner ? 1 : 0);
}

QString AudioRotaryText(int position)
{
    static const char* const names[] = {"COM3", "COM2", "COM1", "COM12", "COM21", "TEL"};
    if (position < 1 || position > 6)
        return {};
    return QString::fromLatin1(names[position - 1]);
}

ConfigBKaudioPanel::ConfigBKaudioPanel()
    : ModuleDialogOf("ConfigBKaudioPanel", QStringLiteral("Configure Bendix/King Audio Panel"),
                     ModuleParts{.applyName = "CmdAssign", .readName = "CmdReadSwitches"},
                     ModuleAssignment{.function1 = kFirstFunction, .function2 = kSecondFunction, .category1 = kCategory})
{
    CmdClose->setObjectName(QStringLiteral("cmdClose"));
    // The panel has no backlight to switch, and its "Power" options only
    // stand there: neither sends anything.
    for (QRadioButton* option : {LightOn, LightOff, DisplayOn, DisplayOff})
        QObject::disconnect(option, &QRadioButton::toggled, option, nullptr);
    FrameBacklight->hide();
    if (auto* power = qobject_cast<QGroupBox*>(DisplayOn->parentWidget()))
        power->setTitle(QStringLiteral("Power"));

    auto* assignment = frame("FrameAssignment", QStringLiteral("BK Audio Panel assignments and  Settings"), this);
    auto* assignmentRow = new QHBoxLayout(assignment);
    auto* test = frame("FrameTest", QStringLiteral("Test BK Audio Panel"), assignment);
    auto* testRow = new QHBoxLayout(test);
    CheckOuterMarker = checkBox("CheckOuterMarker", QStringLiteral("Outer"), this);
    CheckMiddleMarker = checkBox("CheckMiddleMarker", QStringLiteral("Middle"), this);
    CheckInnerMarker = checkBox("CheckInnerMarker", QStringLiteral("Inner"), this);
    QPushButton* setMarkers = button("CmdSetMarkers", QStringLiteral("Set"), this);
    onClicked(setMarkers, [this] {
        send(6, MarkerWord(CheckOuterMarker->isChecked(), CheckMiddleMarker->isChecked(), CheckInnerMarker->isChecked()));
    });
    testRow->addWidget(columnFrame("FrameMarkers", QStringLiteral("Test Markers"),
                                   {CheckOuterMarker, CheckMiddleMarker, CheckInnerMarker, setMarkers}, test));
    assignmentRow->addWidget(test);

    auto* switches = frame("FrameSwitches", QStringLiteral("Switches"), assignment);
    auto* grid = new QGridLayout(switches);
    boxRotary = readOnlyBox("boxRotary", switches);
    boxRotary->setText(QStringLiteral("---"));
    boxRotary->setMaximumWidth(70);
    grid->addWidget(label(QStringLiteral("Rotary position"), switches), 0, 0, 1, 2);
    grid->addWidget(boxRotary, 0, 2, 1, 2);
    boxCOM1 = LampBox("boxCOM1", QStringLiteral("COM1"), switches);
    boxCOM2 = LampBox("boxCOM2", QStringLiteral("COM2"), switches);
    boxNAV1 = LampBox("boxNAV1", QStringLiteral("NAV1"), switches);
    boxNAV2 = LampBox("boxNAV2", QStringLiteral("NAV2"), switches);
    boxMKR = LampBox("boxMKR", QStringLiteral("MKR"), switches);
    boxADF = LampBox("boxADF", QStringLiteral("ADF"), switches);
    boxDME = LampBox("boxDME", QStringLiteral("DME"), switches);
    boxAUX = LampBox("boxAUX", QStringLiteral("AUX"), switches);
    boxICS = LampBox("boxICS", QStringLiteral("ICS"), switches);
    boxSPKR = LampBox("boxSPKR", QStringLiteral("SPR"), switches);
    int place = 0;
    for (QLineEdit* lamp : {boxCOM1, boxCOM2, boxNAV1, boxNAV2, boxMKR, boxADF, boxDME, boxAUX, boxICS, boxSPKR}) {
        grid->addWidget(lamp, 1 + place / 5, place % 5);
        ++place;
    }
    ReadButton->setParent(switches);
    grid->addWidget(ReadButton, 3, 4);
    assignmentRow->addWidget(switches);

    content()->addWidget(label(QStringLiteral("Fixed Function module"), this));
    content()->addWidget(assignment);
}

void ConfigBKaudioPanel::decodeReply(const Reply& reply)
{
    if (const QString rotary = AudioRotaryText(reply.byte(kRotaryByte)); !rotary.isEmpty())
        boxRotary->setText(rotary);
    ShowLamps({{boxCOM2, 0x01}, {boxNAV2, 0x02}, {boxICS, 0x04}, {boxAUX, 0x08}, {boxSPKR, 0x10}, {boxCOM1, 0x20}},
              reply.byte(kButtonsByte1));
    ShowLamps({{boxNAV1, 0x01}, {boxMKR, 0x02}, {boxADF, 0x04}, {boxDME, 0x08}}, reply.byte(kButtonsByte2));
}

} // namespace varnet

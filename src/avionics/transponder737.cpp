#include "avionics/transponder737.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>

namespace varnet {

namespace {

constexpr int kFailLamp = 0x001;
constexpr int kAtcLamp = 0x100;
constexpr int kAltSourceByte = 23;

TransponderParts parts737()
{
    return {.atc = {{"CheckUseStdby", "Use Standby/On"}, {"CheckIdent", "Use Ident button"},
                    {"CheckShowATC", "Show ATC Active"}},
            .atcOnOpening = AtcOnOpening::FromRecord,
            .atcFrame = QStringLiteral("ATC Functions"),
            .atcNote = QStringLiteral("These functions are intended for use wih IVAO"),
            .switchLabel = QStringLiteral("Rotary Switch position:"),
            .writeOnlyNote = false};
}

} // namespace

int TransponderLampWord(bool fail, bool atc)
{
    return (fail ? kFailLamp : 0) | (atc ? kAtcLamp : 0);
}

ConfigTransponder737::ConfigTransponder737()
    : TransponderDialogOf("ConfigTransponder737", QStringLiteral("Configure and Test 737 Transponder"), ModuleParts{},
                          parts737())
{
    CheckFail = checkBox("CheckFail", QStringLiteral("XPNDR Fail"), this);
    CheckATC = checkBox("CheckATC", QStringLiteral("ATC"), this);
    // Both lamps go out with one word, so each box sends both as they stand.
    for (QCheckBox* lamp : {CheckFail, CheckATC})
        connect(lamp, &QCheckBox::toggled, this,
                [this] { send(12, TransponderLampWord(CheckFail->isChecked(), CheckATC->isChecked())); });
    testRow()->insertWidget(1, columnFrame("FrameIndicators", QStringLiteral(" Indicators"), {CheckFail, CheckATC}, this));

    boxAltSource = readOnlyBox("boxAltSource", this);
    boxAltSource->setMinimumWidth(60);
    boxAltSource->setMaximumWidth(80);
    addDataRow(QStringLiteral("Alt Source Select"), boxAltSource);
}

void ConfigTransponder737::decodeMore(const Reply& reply)
{
    boxAltSource->setText(QString::number(reply.byte(kAltSourceByte)));
}

} // namespace varnet

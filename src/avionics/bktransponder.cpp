#include "avionics/bktransponder.h"

#include "platform/controls.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

namespace varnet {

namespace {

constexpr int kTopFlightLevel = 9999;
constexpr int kVfrByte = 15;

TransponderParts bkParts()
{
    return {.packing = CodePacking::Nibbles,
            .twoCodes = false,
            .confirmCodes = false,
            .atc = {{"CheckUseStdby", "Use Transponder mode switch  (Stdby/On): "},
                    {"CheckuseIDENT", "Use IDENT Push button: "}},
            .atcFrame = QStringLiteral("ATC functions"),
            .atcNote = QStringLiteral("Note: In MS/FS these functions are used by IVAO. Check for availability"),
            .defaultCode = QStringLiteral("1200"),
            .codeLabel = QStringLiteral("Default VFR code:"),
            .setCaption = QStringLiteral("set "),
            .codeNote = QStringLiteral("Note: Can be set on device by holding IDT and depress VFR in STBY mode."),
            .identCaption = QStringLiteral("IDT depressed"),
            .switchLabel = QStringLiteral("Switch:")};
}

} // namespace

std::optional<int> FlightLevel(const QString& text)
{
    // Letters or trailing text are refused rather than read as 0, so a typo
    // never blanks the module's display.
    const std::optional<double> value = StrictNumber(text);
    if (value && std::abs(*value) <= kTopFlightLevel + 1) {
        const long long level = RoundHalfEven(*value);
        if (level >= 0 && level <= kTopFlightLevel)
            return int(level);
    }
    messages().ok(QString::fromLatin1(kFlightLevelRule));
    return std::nullopt;
}

QString ModeSwitchName(int position)
{
    static const char* const names[] = {"OFF", "STBY", "TST", "ON", "ALT"};
    if (position < 1 || position > 5)
        return QStringLiteral("UNKNOWN");
    return QString::fromLatin1(names[position - 1]);
}

ConfigBKtransponder::ConfigBKtransponder()
    : TransponderDialogOf("ConfigBKtransponder", QStringLiteral("Configuure Bendix/King Transponder"),
                          ModuleParts{.backlight = true, .versionGate = true}, bkParts())
{
    boxFlightLevel = textBox("boxFlightLevel", this, QStringLiteral("0000"));
    boxFlightLevel->setMinimumWidth(60);
    boxFlightLevel->setMaximumWidth(80);
    QPushButton* write = button("cmdWriteFlightLevel", QStringLiteral("Write"), this);
    onClicked(write, [this] { cmdWriteFlightLevel_Click(); });
    testRow()->insertWidget(1, rowFrame("FrameFlightLevel", QStringLiteral("Flight Level"),
                                        {boxFlightLevel, label(QStringLiteral("FT x 100"), this), write}, this));

    OptionZero = optionButton("OptionZero", QStringLiteral("Zero if no ALT"), this);
    QRadioButton* dashes = optionButton("OptionDashes", QStringLiteral("Dashes if no ALT"), this);
    OptionZero->setChecked(true);
    const auto displayMode = [this] { send(12, OptionZero->isChecked() ? 0 : 1); };
    onSelected(OptionZero, displayMode);
    onSelected(dashes, displayMode);
    testRow()->insertWidget(2, columnFrame("FrameDisplayMode", QStringLiteral("FLT display mode"), {OptionZero, dashes},
                                           this));

    CheckVFR = checkBox("CheckVFR", QStringLiteral("VFR depressed"), this);
    addDataRow(CheckVFR);
}

void ConfigBKtransponder::cmdWriteFlightLevel_Click()
{
    if (const std::optional<int> level = FlightLevel(boxFlightLevel->text()))
        send(5, *level);
}

void ConfigBKtransponder::decodeMore(const Reply& reply)
{
    CheckVFR->setChecked(reply.byte(kVfrByte) != 0);
}

} // namespace varnet

#include "iomodules/ioentries.h"

#include "bus/standalonelinks.h"
#include "config/choicelists.h"
#include "config/numinput.h"
#include "config/numtext.h"
#include "simlink/keystrokes.h"

#include <Qt>

#include <algorithm>
#include <limits>

namespace varnet {

namespace {

bool kindMatches(int stored, int kind)
{
    return stored == kind || (kind == IOEntryLED && stored == IOEntrySwitchAndLED);
}

bool rowHolds(const ConfigTables& t, int row)
{
    return row > 0 && row < t.IOEntryCount && std::size_t(row) < t.IOEntryGaugeID.size();
}

QString functionText(const ConfigTables& t, int f)
{
    if (f <= 0 || f >= kFunctionRows)
        return QStringLiteral("no function");
    return ListItemText(f, t.FunctionNames[std::size_t(f)]);
}

QString numText(float value)
{
    return QString::fromStdString(formatSingle(value));
}

QString signedNumber(float value)
{
    return (value >= 0 ? QStringLiteral("+") : QString()) + numText(value);
}

QString switchText(const ConfigTables& t, int e)
{
    if (t.IOEntrySeqNr[e] == kKeystrokeSeqNr)
        return QStringLiteral("key on: %1  off: %2").arg(KeyLabel(t.IOEntryKeyOn[e]), KeyLabel(t.IOEntryKeyOff[e]));
    QString what = functionText(t, t.IOEntryFunction[e]);
    const float on = t.IOEntryValue1[e];
    const float off = t.IOEntryValue2[e];
    if (const Integer flags = t.IOEntryFlags[e]; flags != 0) {
        what += QStringLiteral("   step");
        if (flags & kStepOnSwitchingOn)
            what += QStringLiteral(" on: ") + signedNumber(on);
        if (flags & kStepOnSwitchingOff)
            what += QStringLiteral(" off: ") + signedNumber(off);
        return what;
    }
    const auto percent = [](float v) { return v == kIONoAction ? QStringLiteral("--") : numText(v) + QStringLiteral(" %"); };
    return what + QStringLiteral("   on: %1  off: %2").arg(percent(on), percent(off));
}

QString analogueText(const ConfigTables& t, int e)
{
    const float centre = t.IOEntryValue2[e];
    return functionText(t, t.IOEntryFunction[e]) +
           QStringLiteral("   raw %1..%2%3  threshold %4")
               .arg(numText(t.IOEntryValue1[e]), QString::number(t.IOEntryType[e]),
                    centre >= 1 ? QStringLiteral(" centre ") + numText(centre) : QString(),
                    QString::number(t.IOEntryKeyOff[e]));
}

QString ledText(const ConfigTables& t, int e)
{
    QStringList when;
    const Integer condition = t.IOEntryKeyOn[e];
    if (condition & kLitAtMinimum)
        when << QStringLiteral("at min");
    if (condition & kLitAtMaximum)
        when << QStringLiteral("at max");
    if (condition & kLitAboveCrossover)
        when << QStringLiteral("above %1 %").arg(numText(t.IOEntryValue1[e]));
    if (condition & kLitAtFreeValue)
        when << QStringLiteral("at %1").arg(t.IOEntryType[e]);
    QString text = functionText(t, t.IOEntryFunction[e]) + QStringLiteral("   lit ") +
                   (when.isEmpty() ? QStringLiteral("never") : when.join(QStringLiteral(", ")));
    if (t.IOEntryFlags[e] & kIOInvert)
        text += QStringLiteral(", inverted");
    return text;
}

// A whole number typed in a box, within [low, high].
std::optional<int> wholeNumber(const QString& text, int low, int high)
{
    return parseWholeNumber(text.toStdString(), low, high);
}

struct Checked {
    float value1 = 0, value2 = 0;
    int type = 0, flags = 0, keyOn = 0, keyOff = 0;
    Byte seqNr = 1;
};

std::optional<QString> checkSwitch(const IOEntryForm& f, Checked& c)
{
    if (f.mode == SwitchMode::Keystroke) {
        c.seqNr = kKeystrokeSeqNr;
        c.keyOn = f.keyOn;
        c.keyOff = f.keyOff;
        return std::nullopt;
    }
    const std::optional<float> on = parseSingle(f.valueOn.toStdString());
    const std::optional<float> off = parseSingle(f.valueOff.toStdString());
    if (f.mode == SwitchMode::Increment) {
        if (!on || !off)
            return QString::fromLatin1(kIncrementRule);
        if (!f.stepOn && !f.stepOff)
            return QString::fromLatin1(kIncrementActsRule);
        c.flags = (f.stepOn ? kStepOnSwitchingOn : 0) | (f.stepOff ? kStepOnSwitchingOff : 0);
    } else {
        const auto percent = [](const std::optional<float>& v) { return v && (*v == kIONoAction || (*v >= 0 && *v <= 100)); };
        if (!percent(on) || !percent(off))
            return QString::fromLatin1(kSwitchValueRule);
    }
    c.value1 = *on;
    c.value2 = *off;
    return std::nullopt;
}

std::optional<QString> checkAnalogue(const IOEntryForm& f, Checked& c)
{
    const std::optional<int> minimum = wholeNumber(f.minimum, 0, kLargestRawValue);
    const std::optional<int> centre = wholeNumber(f.centre, 0, kLargestRawValue);
    const std::optional<int> maximum = wholeNumber(f.maximum, 0, kLargestRawValue);
    if (!minimum || !centre || !maximum)
        return QString::fromLatin1(kRawValueRule);
    // The scaling divides by the maximum (no centre) or by the width of each
    // side of the centre: with the minimum at 0 or above, these two rules
    // keep every divisor above 0.
    if (*maximum <= *minimum)
        return QString::fromLatin1(kRawRangeRule);
    if (*centre >= 1 && (*centre <= *minimum || *centre >= *maximum))
        return QString::fromLatin1(kCentreRule);
    const std::optional<int> threshold = wholeNumber(f.threshold, 0, kLargestRawValue);
    if (!threshold)
        return QString::fromLatin1(kThresholdRule);
    c.value1 = float(*minimum);
    c.value2 = float(*centre);
    c.type = *maximum;
    c.keyOff = *threshold;
    return std::nullopt;
}

std::optional<QString> checkLED(const IOEntryForm& f, Checked& c)
{
    const std::optional<float> crossover = parseSingle(f.crossover.toStdString());
    if (!crossover || *crossover < 0 || *crossover > 100)
        return QString::fromLatin1(kCrossoverRule);
    const std::optional<int> freeValue =
        wholeNumber(f.freeValue, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
    if (!freeValue)
        return QString::fromLatin1(kFreeValueRule);
    c.value1 = *crossover;
    c.type = *freeValue;
    c.flags = f.invert ? kIOInvert : 0;
    c.keyOn = (f.atMinimum ? kLitAtMinimum : 0) | (f.atMaximum ? kLitAtMaximum : 0) |
              (f.aboveCrossover ? kLitAboveCrossover : 0) | (f.atFreeValue ? kLitAtFreeValue : 0);
    return std::nullopt;
}

} // namespace

int IOEntryNumbers(int kind)
{
    switch (kind) {
    case IOEntrySwitch:
        return kIOModuleSwitches;
    case IOEntryAnalogue:
        return kIOModuleChannels;
    case IOEntryLED:
        return kIOModuleOutputs;
    default:
        return 0;
    }
}

bool IOEntryOffersSignal(int kind, int signal)
{
    switch (kind) {
    case IOEntrySwitch:
        return signal == kSignalInputSwitch || signal == kSignalSwitchAndLED || signal == kSignalMacro ||
               signal == kSignalDedicatedGauge;
    case IOEntryAnalogue:
        return signal == kSignalInputAnalogue || signal == kSignalDedicatedGauge;
    case IOEntryLED:
        return signal == kSignalOutputLED || signal == kSignalSwitchAndLED || signal == kSignalMacro ||
               signal == kSignalGauge || signal == kSignalDedicatedGauge;
    default:
        return false;
    }
}

ListItems IOEntryFunctionItems(const ConfigTables& t, int kind, int category, int function)
{
    const ListItems offered = FunctionItems(t, category, [kind](int signal) { return IOEntryOffersSignal(kind, signal); });
    const auto isOffered = [&](int f) {
        return std::find(offered.numbers.begin(), offered.numbers.end(), f) != offered.numbers.end();
    };
    if (function <= 0 || function >= kStoredFunctionRows || t.FunctionCategory[std::size_t(function)] != category ||
        isOffered(function))
        return offered;
    const ListItems all = FunctionItems(t, category, [](int) { return true; });
    ListItems shown;
    for (std::size_t i = 0; i < all.numbers.size(); ++i)
        if (all.numbers[i] == function || isOffered(all.numbers[i])) {
            shown.texts << all.texts[qsizetype(i)];
            shown.numbers.push_back(all.numbers[i]);
        }
    return shown;
}

int FindIOEntry(const ConfigTables& t, int gaugeID, int kind, int number)
{
    for (int e = 1; rowHolds(t, e); ++e)
        if (t.IOEntryGaugeID[e] == gaugeID && kindMatches(t.IOEntryKind[e], kind) && t.IOEntryNumber[e] == number)
            return e;
    return 0;
}

QString IOEntryName(int kind, int number)
{
    switch (kind) {
    case IOEntrySwitch:
        return QStringLiteral("Switch %1").arg(number, 2, 10, QLatin1Char('0'));
    case IOEntryAnalogue:
        return QStringLiteral("Analogue %1").arg(number);
    default:
        return QStringLiteral("LED %1").arg(number, 2, 10, QLatin1Char('0'));
    }
}

QString IOEntryLine(const ConfigTables& t, int gaugeID, int kind, int number)
{
    const QString name = IOEntryName(kind, number).leftJustified(11);
    const int e = FindIOEntry(t, gaugeID, kind, number);
    if (e == 0)
        return name + QStringLiteral("--");
    switch (kind) {
    case IOEntrySwitch:
        return name + switchText(t, e);
    case IOEntryAnalogue:
        return name + analogueText(t, e);
    default:
        return name + ledText(t, e);
    }
}

QString IOModuleDescription(int gaugeID)
{
    if (standAloneModuleOf(gaugeID))
        return QStringLiteral("Stand-alone I/O module %1").arg(gaugeID / kStandAloneIOM1);
    return QStringLiteral("I/O module GaugeID %1 on the gauge bus").arg(gaugeID);
}

IOEntryForm ReadIOEntryForm(const ConfigTables& t, int row, int kind, int number)
{
    IOEntryForm f;
    f.kind = kind;
    f.number = number;
    if (!rowHolds(t, row))
        return f;
    const std::size_t e = std::size_t(row);
    f.category = t.IOEntryCategory[e];
    f.function = t.IOEntryFunction[e];
    const int seqNr = t.IOEntrySeqNr[e];
    f.selector = seqNr >= 1 && seqNr <= kSelectorCount ? seqNr : 1;
    const Integer flags = t.IOEntryFlags[e];
    switch (kind) {
    case IOEntrySwitch:
        f.mode = seqNr == kKeystrokeSeqNr ? SwitchMode::Keystroke
                 : flags != 0             ? SwitchMode::Increment
                                          : SwitchMode::Absolute;
        f.valueOn = numText(t.IOEntryValue1[e]);
        f.valueOff = numText(t.IOEntryValue2[e]);
        f.stepOn = flags & kStepOnSwitchingOn;
        f.stepOff = flags & kStepOnSwitchingOff;
        f.keyOn = std::uint16_t(t.IOEntryKeyOn[e]);
        f.keyOff = std::uint16_t(t.IOEntryKeyOff[e]);
        break;
    case IOEntryAnalogue:
        f.minimum = numText(t.IOEntryValue1[e]);
        f.centre = numText(t.IOEntryValue2[e]);
        f.maximum = QString::number(t.IOEntryType[e]);
        f.threshold = QString::number(t.IOEntryKeyOff[e]);
        break;
    default: {
        const Integer condition = t.IOEntryKeyOn[e];
        f.atMinimum = condition & kLitAtMinimum;
        f.atMaximum = condition & kLitAtMaximum;
        f.aboveCrossover = condition & kLitAboveCrossover;
        f.atFreeValue = condition & kLitAtFreeValue;
        f.crossover = numText(t.IOEntryValue1[e]);
        f.freeValue = QString::number(t.IOEntryType[e]);
        f.invert = flags & kIOInvert;
        break;
    }
    }
    return f;
}

std::optional<QString> StoreIOEntry(ConfigTables& t, SessionState& s, int gaugeID, const IOEntryForm& f)
{
    const bool keystroke = f.kind == IOEntrySwitch && f.mode == SwitchMode::Keystroke;
    if (!keystroke && (f.function <= 0 || f.function >= kStoredFunctionRows))
        return QString::fromLatin1(kFunctionRule);
    Checked c;
    c.seqNr = Byte(f.selector >= 1 && f.selector <= kSelectorCount ? f.selector : 1);
    std::optional<QString> refused;
    switch (f.kind) {
    case IOEntrySwitch:
        refused = checkSwitch(f, c);
        break;
    case IOEntryAnalogue:
        refused = checkAnalogue(f, c);
        break;
    case IOEntryLED:
        refused = checkLED(f, c);
        break;
    default:
        return QStringLiteral("Unknown entry kind");
    }
    if (refused)
        return refused;

    int row = rowHolds(t, s.IOEntryIndex) ? s.IOEntryIndex : 0;
    const int existing = FindIOEntry(t, gaugeID, f.kind, f.number);
    if (existing != 0 && existing != row)
        return QString::fromLatin1(kOneEntryRule);
    const bool added = row == 0;
    if (added)
        row = t.AddIOEntry();
    const std::size_t e = std::size_t(row);
    t.IOEntryGaugeID[e] = Integer(gaugeID);
    // An edited entry keeps a kind of its own ("switch and LED").
    if (added || !kindMatches(t.IOEntryKind[e], f.kind))
        t.IOEntryKind[e] = Integer(f.kind);
    t.IOEntryNumber[e] = Integer(f.number);
    t.IOEntryCategory[e] = Integer(keystroke ? 0 : f.category);
    t.IOEntryFunction[e] = Integer(keystroke ? 0 : f.function);
    t.IOEntrySeqNr[e] = c.seqNr;
    t.IOEntryValue1[e] = c.value1;
    t.IOEntryValue2[e] = c.value2;
    // A switch's type is kept as it came: nothing here gives it a meaning.
    if (f.kind != IOEntrySwitch)
        t.IOEntryType[e] = Integer(c.type);
    t.IOEntryFlags[e] = Integer(c.flags);
    t.IOEntryKeyOn[e] = Integer(std::uint16_t(c.keyOn));
    t.IOEntryKeyOff[e] = Integer(std::uint16_t(c.keyOff));
    s.IOEntryIndex = Integer(row);
    s.ConfigChanged = 1;
    return std::nullopt;
}

void DeleteIOEntry(ConfigTables& t, SessionState& s)
{
    if (rowHolds(t, s.IOEntryIndex)) {
        t.IOEntryGaugeID[std::size_t(s.IOEntryIndex)] = 0;
        s.ConfigChanged = 1;
    }
    s.IOEntryIndex = 0;
}

std::optional<QString> SetDebounceTime(SessionState& s, const QString& text)
{
    const std::optional<int> time = wholeNumber(text, 0, kLargestDebounceTime);
    if (!time)
        return QString::fromLatin1(kDebounceRule);
    s.IODebounceTime = Integer(*time);
    return std::nullopt;
}

// ---- Key codes ----------------------------------------------------------------

QString KeyLabel(int keyCode)
{
    const int code = std::uint16_t(keyCode);
    const int key = KeyNumber(code);
    if (key == 0 || key >= kKeyNameCount)
        return QStringLiteral("NONE");
    QString label;
    if (code & kKeyCtrlBit)
        label += QStringLiteral("Ctrl+");
    if (code & kKeyShiftBit)
        label += QStringLiteral("Shift+");
    if (key != kCharacterKey)
        return label + QString::fromLatin1(KeyNames[std::size_t(key)]);
    const QChar c = QChar::fromLatin1(char(code & 0xFF));
    return label + (c == QLatin1Char(' ') ? QStringLiteral("SPACE") : QString(c));
}

std::optional<int> KeyCodeOfKey(int qtKey, const QString& text, bool shift, bool ctrl)
{
    static const std::array<std::pair<int, int>, 20> named = {{
        {Qt::Key_Backspace, 2}, {Qt::Key_Pause, 3},    {Qt::Key_CapsLock, 4},   {Qt::Key_Delete, 5},
        {Qt::Key_Down, 6},      {Qt::Key_End, 7},      {Qt::Key_Return, 8},     {Qt::Key_Enter, 8},
        {Qt::Key_Escape, 9},    {Qt::Key_Help, 10},    {Qt::Key_Home, 11},      {Qt::Key_Insert, 12},
        {Qt::Key_Left, 13},     {Qt::Key_NumLock, 14}, {Qt::Key_PageDown, 15},  {Qt::Key_PageUp, 16},
        {Qt::Key_Print, 17},    {Qt::Key_Right, 18},   {Qt::Key_ScrollLock, 19}, {Qt::Key_Up, 21},
    }};
    const int modifiers = (ctrl ? kKeyCtrlBit : 0);
    int key = 0;
    for (const auto& [qt, number] : named)
        if (qt == qtKey)
            key = number;
    if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab)
        key = 20;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F16)
        key = 22 + (qtKey - Qt::Key_F1);
    if (key != 0)
        return modifiers | (shift ? kKeyShiftBit : 0) | (key << kKeyNumberShift);

    // A character: with Ctrl the text is a control character, so a letter is
    // taken from the key and Shift kept as a bit; otherwise the character
    // typed already holds the Shift.
    if (ctrl && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return modifiers | (shift ? kKeyShiftBit : 0) | (kCharacterKey << kKeyNumberShift) | ('a' + (qtKey - Qt::Key_A));
    if (text.size() == 1) {
        const char16_t c = text.at(0).unicode();
        if (c >= 0x20 && c <= 0xFF && c != 0x7F)
            return modifiers | (kCharacterKey << kKeyNumberShift) | int(c);
    }
    return std::nullopt;
}

// ---- Live test ------------------------------------------------------------------

std::optional<int> TestLEDOutput(const QString& text)
{
    return wholeNumber(text, 0, kIOModuleOutputs - 1);
}

int SetTestLED(std::array<Long, 2>& words, int output, bool on)
{
    const bool second = IOOutputInWord2(output);
    SetIOOutputBit(words[second ? 1 : 0], output, on);
    return second ? kIOOutputWord2Command : kIOOutputWord1Command;
}

} // namespace varnet

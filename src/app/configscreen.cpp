#include "app/configscreen.h"

#include "config/gaugetypes.h"
#include "config/numinput.h"
#include "config/numtext.h"

#include <QRegularExpression>

#include <cmath>

namespace varnet {

namespace {

constexpr int kListTypeRows = 50;  // the list names types from rows 1..50 only
constexpr std::size_t kFunctionTextChars = 14;
constexpr int kFunctionRowsNamed = 301;  // function numbers 1..300 have names

// The text of one function column: the assigned function's name, or what
// the gauge type stands for when none is assigned, cut to 14 characters and
// followed by the sequence number when there is more than one of it.
std::string functionText(const ConfigTables& t, int function, int seqNr, const char* unassigned)
{
    std::string text = unassigned;
    if (function > 0)
        text = function < kFunctionRowsNamed ? t.FunctionNames[function] : "Error";
    text = text.substr(0, kFunctionTextChars);
    if (seqNr > 1)
        text += " #" + std::to_string(seqNr);
    return text;
}

// The number at the start of `text` as a typed number is read: blanks
// skipped, an optional sign, digits with at most one decimal point.
std::optional<double> leadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([+-]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toDouble();
}

std::optional<int> wholeNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*\\d{1,9}\\s*$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    return text.trimmed().toInt();
}

NumberInput inRange(std::optional<int> value, int low, int high, QString rule)
{
    if (value && *value >= low && *value <= high)
        return {value, {}};
    return {std::nullopt, std::move(rule)};
}

} // namespace

std::string TypeNameInRows(const ConfigTables& t, int typeCode, int firstRow, int lastRow,
                           const std::string& fallback)
{
    std::string name = fallback;
    for (int row = firstRow; row <= lastRow && row < kGaugeTypeRows; ++row)
        if (t.GaugeTypeNumbers[row] == typeCode)
            name = t.GaugeTypeNames[row];
    return name;
}

std::string GaugeListLine(const ConfigTables& t, const SessionState& s, int id)
{
    const bool ioModule = t.GaugeRecType[id] == IOModuleType;
    const int status = s.GaugeRecBusStatus[id];
    std::string line = " " + zeroPadded(id, 3) + "    ";
    line += TypeNameInRows(t, t.GaugeRecType[id], 1, kListTypeRows, "Unknown");
    line += '\t' + zeroPadded(t.GaugeRecModel[id], 2) + '\t' + zeroPadded(t.GaugeRecVersion[id], 2) + '\t';
    line += functionText(t, t.GaugeRecFunction1[id], t.GaugeRecSeqNr1[id],
                         ioModule ? "Input/Switches" : "Not Assigned");
    line += '\t' + functionText(t, t.GaugeRecFunction2[id], t.GaugeRecSeqNr2[id], ioModule ? "Output/Leds" : "");
    line += '\t';
    if (status >= 0 && status <= 2)
        line += kBusStatusTexts[status];
    return line;
}

std::vector<std::string> GaugeListLines(const ConfigTables& t, const SessionState& s)
{
    std::vector<std::string> lines;
    for (int id = kFirstBusGaugeID; id <= kLastBusGaugeID; ++id)
        if (t.GaugeRecType[id] != 0)
            lines.push_back(GaugeListLine(t, s, id));
    return lines;
}

int GaugeIDOfLine(const std::string& line)
{
    const std::string digits = line.size() > 1 ? line.substr(1, 3) : std::string();
    const std::optional<double> number = leadingNumber(QString::fromLatin1(digits));
    if (!number || *number < 0 || *number >= kGaugeRows)
        return 0;
    return int(std::nearbyint(*number));
}

std::vector<std::string> GaugeListColumns(const std::string& line)
{
    const auto trimmedLeft = [](const std::string& text) {
        const std::size_t first = text.find_first_not_of(' ');
        return first == std::string::npos ? std::string() : text.substr(first);
    };
    constexpr std::size_t kIDChars = 4;  // a blank and "000"
    const std::size_t tab = line.find('\t');
    const std::string head = line.substr(0, tab);
    std::vector<std::string> columns{trimmedLeft(head.substr(0, kIDChars))};
    if (head.size() > kIDChars || tab != std::string::npos)
        columns.push_back(trimmedLeft(head.size() > kIDChars ? head.substr(kIDChars) : std::string()));
    for (std::size_t from = tab; from != std::string::npos;) {
        const std::size_t next = line.find('\t', from + 1);
        columns.push_back(line.substr(from + 1, next == std::string::npos ? std::string::npos : next - from - 1));
        from = next;
    }
    return columns;
}

void ClearGaugeAssignments(ConfigTables& t)
{
    for (int id = kFirstBusGaugeID; id <= kLastBusGaugeID; ++id) {
        t.GaugeRecType[id] = 0;
        t.GaugeRecModel[id] = 0;
        t.GaugeRecVersion[id] = 0;
        t.GaugeRecCategory1[id] = 0;
        t.GaugeRecFunction1[id] = 0;
        t.GaugeRecSeqNr1[id] = 0;
        t.GaugeRecPlate1[id] = 0;
        t.GaugeRecCategory2[id] = 0;
        t.GaugeRecFunction2[id] = 0;
        t.GaugeRecSeqNr2[id] = 0;
    }
}

std::optional<int> LightsChoiceFor(int mode, int mask)
{
    if (mode == 1)
        return 1;
    if (mode == 2)
        return 2;
    if (mode != 0)
        return std::nullopt;
    switch (mask) {
    case 0:
    case 32:
        return 0;
    case 1:
        return 3;
    case 63:
        return 4;
    default:
        return std::nullopt;
    }
}

void ApplyLightsChoice(ConfigTables& t, SessionState& s, int choice)
{
    if (choice < 0 || choice >= int(kLightsChoices.size()))
        return;
    const LightsChoice& c = kLightsChoices[std::size_t(choice)];
    // An edit is a choice other than the one the stored pair stands for, also
    // between two choices of the same mode; mask 0 stands for the instrument
    // lights as 32 does, so taking 32 for it is none.
    if (LightsChoiceFor(t.LightsMode, t.LightsMask) != choice)
        s.ConfigChanged = 1;
    t.LightsMode = c.mode;
    t.LightsMask = c.mask;
}

NumberInput ReadComPort(const QString& text)
{
    const QString rule = QStringLiteral("A COM port number must be between 0 and %1").arg(kMaxComPort);
    const std::optional<double> number = leadingNumber(text);
    if (!number)
        return {0, {}};
    if (*number != std::floor(*number) || *number < 0 || *number > kMaxComPort)
        return {std::nullopt, rule};
    return {int(*number), {}};
}

NumberInput ReadUdpPort(const QString& text)
{
    const std::optional<int> port = udpPort(text.toStdString());
    return {port, port ? QString() : QString::fromLatin1(kUdpPortRule)};
}

NumberInput ReadProcessInterval(const QString& text)
{
    return inRange(wholeNumber(text), kMinProcessInterval, kMaxProcessInterval,
                   QStringLiteral("The process interval must be between %1 and %2 ms")
                       .arg(kMinProcessInterval)
                       .arg(kMaxProcessInterval));
}

std::string ConfigText(const QString& typed)
{
    std::string text;
    text.reserve(std::size_t(typed.size()));
    for (QChar c : typed) {
        if (c == u'"')
            text += '\'';
        else if (c.unicode() > 0xFF)
            text += '?';
        else if (c.unicode() >= 0x20 && c.unicode() != 0x7F && !(c.unicode() >= 0x80 && c.unicode() < 0xA0))
            text += char(c.unicode());
    }
    return text;
}

} // namespace varnet

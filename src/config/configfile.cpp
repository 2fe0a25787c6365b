#include "config/configfile.h"

#include "config/files.h"
#include "config/numinput.h"
#include "platform/messages.h"

#include <QString>

#include <cmath>
#include <limits>
#include <optional>

namespace varnet {

namespace {

constexpr const char* kTitleQuestion =
    "The selected Configuration file is possibly not compatible with this program.\r\n"
    "In case a config from a previous version, ignore errors save it again.\r\n"
    "Continue?";

constexpr const char* kVersionQuestion =
    "The version of selected Configuration file differs from program version.\r\n"
    "Possibly the functions differ or are missing. Partially import the functions if needed.\r\n"
    "Correct and/or check and (re)save the configuration file.\r\n"
    "Continue?";

// Where the header carries the program title and the version text
// (1-based positions 15..49 and 70..79).
constexpr std::size_t kHeaderTitleAt = 14;
constexpr std::size_t kHeaderTitleLength = 35;
constexpr std::size_t kHeaderVersionAt = 69;
constexpr std::size_t kHeaderVersionLength = 10;

std::string slice(const std::string& text, std::size_t at, std::size_t length)
{
    return at < text.size() ? text.substr(at, length) : std::string();
}

bool titleMatches(const std::string& header, const std::string& programTitle)
{
    return slice(header, kHeaderTitleAt, kHeaderTitleLength) == slice(programTitle, 0, kHeaderTitleLength);
}

bool versionMatches(const std::string& header)
{
    std::string version = slice(header, kHeaderVersionAt, kHeaderVersionLength);
    while (!version.empty() && version.back() == ' ')
        version.pop_back();
    return version == kProgramVersion;
}

template <typename T>
T checked(T value, int limit)
{
    if (value < 0 || value > limit)
        throw ItemError(kErrorOutOfRange);
    return value;
}

Byte readCategory(ItemReader& in)
{
    return checked(in.readByte(), kCategoryRows - 1);
}

Integer wrap16(int value)
{
    return static_cast<Integer>(static_cast<std::uint16_t>(value));
}

Integer roundToInteger(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Integer>::min()))
        return std::numeric_limits<Integer>::min();
    if (rounded > std::numeric_limits<Integer>::max())
        return std::numeric_limits<Integer>::max();
    return static_cast<Integer>(rounded);
}

template <std::size_t N>
void readTypedRow(ItemReader& in, const std::array<ItemType, N>& types, auto& row)
{
    for (std::size_t i = 0; i < N; ++i)
        row[i] = static_cast<std::remove_reference_t<decltype(row[i])>>(in.readTyped(types[i]));
}

template <std::size_t N>
void writeTypedRow(ItemWriter& out, const std::array<ItemType, N>& types, const auto& row)
{
    for (std::size_t i = 0; i < N; ++i)
        out.typed(types[i], static_cast<Single>(row[i])).end();
}

} // namespace

YokeCalibrationRecord DeriveYokeCalibration(const std::array<Integer, 4>& rawLimits)
{
    // An unset maximum (below 500) stands for the full 10-bit range.
    YokeCalibrationRecord c;
    c.Limits = rawLimits;
    for (int maximum : {1, 3})
        if (c.Limits[maximum] < 500)
            c.Limits[maximum] = 1023;
    const Integer rangeA = wrap16(c.Limits[1] - c.Limits[0]);
    const Integer rangeB = wrap16(c.Limits[3] - c.Limits[2]);
    // A zero range would make the scale infinite; a zero scale keeps the
    // axis still instead of driving it to its end.
    c.ScaleA = rangeA != 0 ? Single(1024) / Single(rangeA) : 0;
    c.ScaleB = rangeB != 0 ? Single(1024) / Single(rangeB) : 0;
    c.CentreA = roundToInteger(rangeA / 2.0 + c.Limits[0]);
    c.CentreB = roundToInteger(rangeB / 2.0 + c.Limits[2]);
    return c;
}

// --- Reading ---------------------------------------------------------------

void ConfigSectionReader::expectSection(const char* name)
{
    if (in_.readString() != name)
        throw ItemError("");
}

std::string ConfigSectionReader::readPort()
{
    // Empty is a port not set yet, which the link reports when it opens.
    std::string port = in_.readString();
    if (!port.empty() && !udpPort(port))
        in_.failAtLastItem(kUdpPortRule);
    return port;
}

void ConfigSectionReader::readGeneral(ConfigTables& t)
{
    t.ConfigHeader = in_.readString();
    t.ComPortEC = in_.readInteger();
    t.ComPortGauges = in_.readInteger();
    t.ProcessTimerInterval = in_.readInteger();
    t.BlockUsel = in_.readInteger();
    t.LightsMask = in_.readInteger();
    t.LightsMode = in_.readInteger();
    t.RemoteIP = in_.readString();
    t.GeneralString9 = in_.readString();
    t.RemotePort = readPort();
    t.LocalPort = readPort();
    t.GeneralString12 = in_.readString();
    t.GeneralString13 = in_.readString();
    t.ByteOrderReverse = in_.readInteger();
    t.ComPortIOM = in_.readInteger();
}

void ConfigSectionReader::readIOM(ConfigTables& t)
{
    const Integer count = checked(in_.readInteger(), std::numeric_limits<Integer>::max());
    t.ResizeIOEntries(count);
    for (int row = 0; row < count; ++row) {
        t.IOEntryGaugeID[row] = in_.readInteger();
        t.IOEntryKind[row] = in_.readInteger();
        t.IOEntryNumber[row] = in_.readInteger();
        // Only shown, never used as an index: any Integer loads.
        t.IOEntryCategory[row] = in_.readInteger();
        t.IOEntryFunction[row] = in_.readInteger();
        t.IOEntrySeqNr[row] = in_.readByte();
        t.IOEntryValue1[row] = in_.readSingle();
        t.IOEntryValue2[row] = in_.readSingle();
        t.IOEntryType[row] = in_.readInteger();
        t.IOEntryFlags[row] = in_.readInteger();
        t.IOEntryLastValue[row] = in_.readSingle();
        t.IOEntryKeyOn[row] = in_.readInteger();
        t.IOEntryKeyOff[row] = in_.readInteger();
    }
}

void ConfigSectionReader::readFunction(ConfigTables& t, int f)
{
    t.FunctionNames[f] = in_.readString();
    t.FunctionFullName[f] = in_.readString(kMaxCommandTextLength);
    t.FunctionNumber[f] = in_.readInteger();
    t.FunctionSignalType[f] = checked(in_.readByte(), kSignalTypes - 1);
    t.FunctionCategory[f] = readCategory(in_);
    t.FunctionIndex1[f] = in_.readInteger();
    t.FunctionIndex2[f] = in_.readInteger();
    t.FunctionIndex3[f] = in_.readInteger();
    t.FunctionIndex4[f] = in_.readInteger();
    t.FunctionPreAdd[f] = in_.readSingle();
    t.FunctionDataType[f] = checked(in_.readByte(), kDataTypes - 1);
    t.FunctionAux[f] = in_.readByte();
    t.FunctionMultiply[f] = in_.readSingle();
    t.FunctionDivide[f] = in_.readSingle();
    t.FunctionMinimum[f] = in_.readSingle();
    t.FunctionMaximum[f] = in_.readSingle();
    t.FunctionMacroNr[f] = in_.readInteger();
    t.FunctionSlot1[f] = in_.readByte();
    t.FunctionSlot2[f] = in_.readByte();
    t.FunctionSlot3[f] = in_.readByte();
    t.FunctionSlot4[f] = in_.readByte();
}

void ConfigSectionReader::readFunctions(ConfigTables& t)
{
    for (int f = 0; f < kStoredFunctionRows; ++f)
        readFunction(t, f);
}

void ConfigSectionReader::readGaugeTypes(ConfigTables& t)
{
    for (int row = 0; row < kStoredGaugeTypeRows; ++row) {
        t.GaugeTypeNumbers[row] = in_.readInteger();
        t.GaugeTypeNames[row] = in_.readString();
    }
}

void ConfigSectionReader::readGauges(ConfigTables& t)
{
    for (int id = 0; id < kStoredGaugeRows; ++id) {
        t.GaugeRecType[id] = in_.readByte();
        t.GaugeRecModel[id] = in_.readByte();
        t.GaugeRecVersion[id] = in_.readByte();
        t.GaugeRecCategory1[id] = readCategory(in_);
        t.GaugeRecFunction1[id] = in_.readInteger();
        t.GaugeRecSeqNr1[id] = in_.readByte();
        t.GaugeRecCategory2[id] = readCategory(in_);
        t.GaugeRecFunction2[id] = in_.readInteger();
        t.GaugeRecSeqNr2[id] = in_.readByte();
        t.GaugeRecPlate1[id] = in_.readInteger();
        t.GaugeRecPlate2[id] = in_.readInteger();
    }
}

void ConfigSectionReader::readEngineCluster(ConfigTables& t)
{
    for (int needle = 0; needle < kECNeedles; ++needle) {
        t.ECNeedleDisplay[needle] = in_.readInteger();
        t.ECNeedleFunction[needle] = in_.readInteger();
        t.ECNeedlePlate[needle] = in_.readInteger();
    }
}

void ConfigSectionReader::readPlates(ConfigTables& t)
{
    const Integer count = checked(in_.readInteger(), std::numeric_limits<Integer>::max());
    t.ResizePlates(count);
    for (int plate = 0; plate < count; ++plate) {
        t.PlateName[plate] = in_.readString();
        for (int e = 0; e < kStoredPlateElements; ++e)
            t.PlateValue[plate][e] = in_.readDouble();
        for (int e = 0; e < kStoredPlateElements; ++e)
            t.PlateSteps[plate][e] = in_.readInteger();
        // The lookup and the plate window walk the points up to the last one
        // the plate claims.
        constexpr int lastPoint = kMaxPlatePoints - 1;
        if (!(t.PlateValue[plate][1] >= 0 && t.PlateValue[plate][1] <= lastPoint) || t.PlateSteps[plate][1] < 0 ||
            t.PlateSteps[plate][1] > lastPoint)
            throw ItemError(kErrorOutOfRange);
    }
}

void ConfigSectionReader::readYokeGeneral(ConfigTables& t)
{
    readTypedRow(in_, kYokeGeneralTypes, t.YokeGeneralSettings);
}

void ConfigSectionReader::readYoke(ConfigTables& t, int yoke)
{
    YokeSettingsRecord& y = t.YokeSettings[yoke];
    y.ComPort = in_.readByte();
    y.Mode = in_.readInteger();
    y.Slave = in_.readByte();
    readTypedRow(in_, kYokeScalarTypes, y.Scalars);
    for (int k = 0; k < 4; ++k) {
        readTypedRow(in_, kYokeModeTypes, y.ModeSettings[k]);
        y.CalibrationLimits[k] = in_.readInteger();
    }
    for (Byte& b : y.Tail)
        b = in_.readByte();
    t.YokeCalibration[yoke] = DeriveYokeCalibration(y.CalibrationLimits);
}

void ConfigSectionReader::readYokeSwitches(ConfigTables& t)
{
    for (auto& row : t.YokeSwitchTable)
        readTypedRow(in_, kYokeSwitchColumnTypes, row);
}

void ConfigSectionReader::readActiveIndexes(ConfigTables& t)
{
    for (int slot = 0; slot <= 21; ++slot) {
        t.YokeDataGroup[slot] = in_.readByte();
        t.YokeDataValue[slot] = in_.readByte();
    }
    for (int i = 0; i <= 10; ++i) {
        t.PedalCalibration[i] = in_.readSingle();
        t.PedalSettings[i] = in_.readByte();
    }
}

void ConfigSectionReader::readForceCurves(ConfigTables& t)
{
    for (auto* curve : {&t.ForceCurveAileron, &t.ForceCurveElevator})
        for (auto& point : *curve) {
            point[1] = in_.readSingle();
            point[2] = in_.readSingle();
        }
}

namespace {

// Reads the file into `t`. Returns false when the user refused a question;
// throws ItemError on a read fault.
bool readConfig(ItemReader& in, ConfigTables& t)
{
    ConfigSectionReader r(in);
    r.expectSection("General");
    r.readGeneral(t);
    if (!titleMatches(t.ConfigHeader, Session.ProgramTitle) && !messages().yesNo(kTitleQuestion))
        return false;
    if (!versionMatches(t.ConfigHeader) && !messages().yesNo(kVersionQuestion))
        return false;

    r.expectSection("IOM");
    r.readIOM(t);
    r.expectSection("Functions");
    r.readFunctions(t);
    r.expectSection("Gaugetypes");
    r.readGaugeTypes(t);
    r.expectSection("Gauges");
    r.readGauges(t);
    r.expectSection("Engine Cluster Settings");
    r.readEngineCluster(t);

    auto optionalSection = [&](const char* name) {
        if (in.peek() != name)
            return false;
        in.readString();
        return true;
    };
    if (optionalSection("Plates"))
        r.readPlates(t);
    // Files of earlier versions end here, without yoke settings.
    if (optionalSection("end"))
        return true;

    if (optionalSection("General FFB Yoke"))
        r.readYokeGeneral(t);
    if (optionalSection("Yoke1"))
        r.readYoke(t, 0);
    if (optionalSection("Yoke2"))
        r.readYoke(t, 1);
    if (optionalSection("User Defined Yoke Switches"))
        r.readYokeSwitches(t);
    if (optionalSection("Active Indexes"))
        r.readActiveIndexes(t);
    if (optionalSection("Force Curves"))
        r.readForceCurves(t);
    t.ComPortIOM2 = in.readInteger();
    r.expectSection("end");
    return true;
}

} // namespace

QString ConfigErrorText(const std::string& fileName, const std::string& description)
{
    QString text = QString::fromLatin1(kConfigErrorMessage) + FileNameText(fileName);
    if (!description.empty())
        text += QStringLiteral(": ") + QString::fromStdString(description);
    return text;
}

std::optional<ConfigTables> ReadConfigTables(const std::string& name, QString* error)
{
    Session.ConfigError = 0;
    // A file is a whole configuration: a section it lacks (a file of an
    // earlier version ends after the plates, or has none) starts empty, as
    // in a new configuration, and never keeps the one in memory's.
    ConfigTables loaded = NewConfiguration();
    try {
        ItemReader in = ItemReader::fromFile(name);
        if (!readConfig(in, loaded)) {
            Session.ConfigError = 1;
            return std::nullopt;
        }
    } catch (const ItemError& failure) {
        // The description alone does not say which file failed: the one
        // the start file names, chosen, or typed.
        const QString text = ConfigErrorText(name, failure.what());
        if (error)
            *error = text;
        else
            messages().ok(text);
        Session.ConfigError = 1;
        return std::nullopt;
    }
    return loaded;
}

void CommitConfiguration(const std::string& name, ConfigTables&& tables)
{
    Cfg = std::move(tables);
    Session.ConfigFileName = name;
    // What windows stored into the tables replaced went with them.
    Session.StoredNotSaved.clear();
}

void ReadConfigFile(QString* error)
{
    LoadConfigFile(Session.ConfigFileName, error);
}

bool LoadConfigFile(const std::string& name, QString* error)
{
    std::optional<ConfigTables> loaded = ReadConfigTables(name, error);
    if (!loaded)
        return false;
    CommitConfiguration(name, std::move(*loaded));
    return true;
}

// --- Writing ---------------------------------------------------------------

std::string SerializeConfig(const ConfigTables& t)
{
    ItemWriter out;
    out.line("General");
    out.string(t.ConfigHeader)
        .integer(t.ComPortEC)
        .integer(t.ComPortGauges)
        .integer(t.ProcessTimerInterval)
        .integer(t.BlockUsel)
        .integer(t.LightsMask)
        .integer(t.LightsMode)
        .string(t.RemoteIP)
        .string(t.GeneralString9)
        .string(t.RemotePort)
        .string(t.LocalPort)
        .string(t.GeneralString12)
        .string(t.GeneralString13)
        .integer(t.ByteOrderReverse)
        .integer(t.ComPortIOM)
        .end();

    out.line("IOM").lineInteger(t.IOEntryCount);
    for (int row = 0; row < t.IOEntryCount; ++row)
        out.integer(t.IOEntryGaugeID[row])
            .integer(t.IOEntryKind[row])
            .integer(t.IOEntryNumber[row])
            .integer(t.IOEntryCategory[row])
            .integer(t.IOEntryFunction[row])
            .integer(t.IOEntrySeqNr[row])
            .single(t.IOEntryValue1[row])
            .single(t.IOEntryValue2[row])
            .integer(t.IOEntryType[row])
            .integer(t.IOEntryFlags[row])
            .single(t.IOEntryLastValue[row])
            .integer(t.IOEntryKeyOn[row])
            .integer(t.IOEntryKeyOff[row])
            .end();

    out.line("Functions");
    for (int f = 0; f < kStoredFunctionRows; ++f)
        out.string(t.FunctionNames[f])
            .string(t.FunctionFullName[f])
            .integer(t.FunctionNumber[f])
            .integer(t.FunctionSignalType[f])
            .integer(t.FunctionCategory[f])
            .integer(t.FunctionIndex1[f])
            .integer(t.FunctionIndex2[f])
            .integer(t.FunctionIndex3[f])
            .integer(t.FunctionIndex4[f])
            .single(t.FunctionPreAdd[f])
            .integer(t.FunctionDataType[f])
            .integer(t.FunctionAux[f])
            .single(t.FunctionMultiply[f])
            .single(t.FunctionDivide[f])
            .single(t.FunctionMinimum[f])
            .single(t.FunctionMaximum[f])
            .integer(t.FunctionMacroNr[f])
            .integer(t.FunctionSlot1[f])
            .integer(t.FunctionSlot2[f])
            .integer(t.FunctionSlot3[f])
            .integer(t.FunctionSlot4[f])
            .end();

    out.line("Gaugetypes");
    for (int row = 0; row < kStoredGaugeTypeRows; ++row)
        out.integer(t.GaugeTypeNumbers[row]).string(t.GaugeTypeNames[row]).end();

    out.line("Gauges");
    for (int id = 0; id < kStoredGaugeRows; ++id)
        out.integer(t.GaugeRecType[id])
            .integer(t.GaugeRecModel[id])
            .integer(t.GaugeRecVersion[id])
            .integer(t.GaugeRecCategory1[id])
            .integer(t.GaugeRecFunction1[id])
            .integer(t.GaugeRecSeqNr1[id])
            .integer(t.GaugeRecCategory2[id])
            .integer(t.GaugeRecFunction2[id])
            .integer(t.GaugeRecSeqNr2[id])
            .integer(t.GaugeRecPlate1[id])
            .integer(t.GaugeRecPlate2[id])
            .end();

    out.line("Engine Cluster Settings");
    for (int needle = 0; needle < kECNeedles; ++needle)
        out.integer(t.ECNeedleDisplay[needle])
            .integer(t.ECNeedleFunction[needle])
            .integer(t.ECNeedlePlate[needle])
            .end();

    if (t.PlateCount > 0) {
        out.line("Plates").lineInteger(t.PlateCount);
        for (int plate = 0; plate < t.PlateCount; ++plate) {
            out.string(t.PlateName[plate]);
            for (int e = 0; e < kStoredPlateElements; ++e)
                out.real(t.PlateValue[plate][e]);
            out.end();
            for (int e = 0; e < kStoredPlateElements; ++e)
                out.integer(t.PlateSteps[plate][e]);
            out.end();
        }
    }

    out.line("General FFB Yoke");
    writeTypedRow(out, kYokeGeneralTypes, t.YokeGeneralSettings);

    for (int yoke = 0; yoke < 2; ++yoke) {
        const YokeSettingsRecord& y = t.YokeSettings[yoke];
        out.line(yoke == 0 ? "Yoke1" : "Yoke2");
        out.lineInteger(y.ComPort).lineInteger(y.Mode).lineInteger(y.Slave);
        writeTypedRow(out, kYokeScalarTypes, y.Scalars);
        for (int k = 0; k < 4; ++k) {
            writeTypedRow(out, kYokeModeTypes, y.ModeSettings[k]);
            out.lineInteger(y.CalibrationLimits[k]);
        }
        for (Byte b : y.Tail)
            out.lineInteger(b);
    }

    out.line("User Defined Yoke Switches");
    for (const auto& row : t.YokeSwitchTable)
        writeTypedRow(out, kYokeSwitchColumnTypes, row);

    out.line("Active Indexes");
    for (int slot = 0; slot <= 21; ++slot)
        out.lineInteger(t.YokeDataGroup[slot]).lineInteger(t.YokeDataValue[slot]);
    for (int i = 0; i <= 10; ++i)
        out.single(t.PedalCalibration[i]).end().lineInteger(t.PedalSettings[i]);

    out.line("Force Curves");
    for (const auto* curve : {&t.ForceCurveAileron, &t.ForceCurveElevator})
        for (const auto& point : *curve)
            out.single(point[1]).end().single(point[2]).end();

    out.lineInteger(t.ComPortIOM2);
    out.line("end");
    return out.data();
}

bool WriteConfigFile(std::string* error)
{
    return writeFileSafely(Session.ConfigFileName, SerializeConfig(Cfg), error);
}

} // namespace varnet

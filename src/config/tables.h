#pragma once

// The whole configuration of the cockpit: global parallel tables that live
// for the life of the program. Every table keeps the element width of the
// configuration file (Byte = uint8_t, Integer = int16_t, Single = float,
// Double = double) so that a file reads back and writes out unchanged.
//
// `Cfg` holds everything a configuration file stores (plus the few run-time
// columns that are sized with a stored table); `Session` holds what belongs
// to this run of the program only. A load reads into a copy of `Cfg` and
// commits it whole, so a refused or broken file never leaves a half-loaded
// configuration behind.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varnet {

using Byte = std::uint8_t;
using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;

// Index bounds of the fixed tables.
inline constexpr int kGaugeRows = 257;          // GaugeIDs 0..256; 1..255 are bus addresses
inline constexpr int kStoredGaugeRows = 256;    // rows 0..255 are stored
inline constexpr int kFunctionRows = 302;       // functions 0..301; 301 is a spare
inline constexpr int kStoredFunctionRows = 301; // 0..50 standard, 51..300 configurable
inline constexpr int kCategoryRows = 21;
inline constexpr int kBuiltInCategories = 12;
inline constexpr int kGaugeTypeRows = 129;
inline constexpr int kStoredGaugeTypeRows = 128;
inline constexpr int kBuiltInGaugeTypes = 28;   // rows 1..28
inline constexpr int kPlateElements = 26;       // elements 0..25; 25 is never stored
inline constexpr int kStoredPlateElements = 25;
inline constexpr int kMaxPlatePoints = 21;
inline constexpr int kECNeedles = 11;
inline constexpr int kSignalTypes = 8;          // 0 "--" .. 7 "Switch and LED"
inline constexpr int kDataTypes = 8;            // 0 Byte .. 7 Not used

// GaugeIDs that stand for the devices off the gauge bus.
inline constexpr int kStandAloneIOM1 = 1000;
inline constexpr int kStandAloneIOM2 = 2000;

enum DataType : Byte {
    DataTypeByte = 0,
    DataTypeInteger = 1,
    DataTypeUnsignedInt = 2,
    DataTypeLong = 3,
    DataTypeFloat = 4,
    DataTypeBCD = 5,
    DataTypeCommand = 6,
    DataTypeNotUsed = 7,
};

// Kind 7, found in stored files, is a switch that also drives an LED: it is
// driven, listed and edited as an LED output.
enum IOEntryKindCode : Integer { IOEntrySwitch = 1, IOEntryAnalogue = 2, IOEntryLED = 3, IOEntrySwitchAndLED = 7 };

// The item types of the configuration file; the yoke groups, whose meaning
// belongs to the yoke windows, are stored through layouts of these.
enum class ItemType { Byte, Integer, Single };

// One yoke's stored settings. The yoke windows give the values their
// meaning; the configuration only stores, loads and copies them.
struct YokeSettingsRecord {
    Byte ComPort = 0;  // 0 = yoke not used
    Integer Mode = 0;  // 0 Centre, 1 FFB, 2 Follow AP, 3 Servo, 4 Off
    Byte Slave = 0;
    // Scalar settings 4..17 of the section, typed by kYokeScalarTypes.
    std::array<Integer, 14> Scalars{};
    // Settings per mode 0..4, typed by kYokeModeTypes; mode 4 (Off) is kept
    // in memory but the file has no block for it.
    std::array<std::array<Integer, 20>, 5> ModeSettings{};
    // Raw calibration limits: minimum and maximum of the first axis, then of
    // the second; stored as the last item of mode blocks 0..3.
    std::array<Integer, 4> CalibrationLimits{};
    std::array<Byte, 10> Tail{};

    bool operator==(const YokeSettingsRecord&) const = default;
};

inline constexpr std::array<ItemType, 14> kYokeScalarTypes = {
    ItemType::Byte,    ItemType::Byte,    ItemType::Integer, ItemType::Integer, ItemType::Integer,
    ItemType::Byte,    ItemType::Integer, ItemType::Byte,    ItemType::Integer, ItemType::Byte,
    ItemType::Byte,    ItemType::Integer, ItemType::Byte,    ItemType::Byte};

inline constexpr std::array<ItemType, 20> kYokeModeTypes = {
    ItemType::Integer, ItemType::Integer, ItemType::Integer, ItemType::Integer, ItemType::Integer,
    ItemType::Integer, ItemType::Integer, ItemType::Integer, ItemType::Integer, ItemType::Integer,
    ItemType::Integer, ItemType::Integer, ItemType::Integer, ItemType::Integer, ItemType::Integer,
    ItemType::Integer, ItemType::Integer, ItemType::Byte,    ItemType::Integer, ItemType::Byte};

inline constexpr std::array<ItemType, 7> kYokeGeneralTypes = {
    ItemType::Byte, ItemType::Byte,    ItemType::Byte, ItemType::Byte,
    ItemType::Byte, ItemType::Integer, ItemType::Byte};

inline constexpr std::array<ItemType, 14> kYokeSwitchColumnTypes = {
    ItemType::Byte,    ItemType::Integer, ItemType::Byte,    ItemType::Byte,   ItemType::Byte,
    ItemType::Integer, ItemType::Single,  ItemType::Single,  ItemType::Integer, ItemType::Integer,
    ItemType::Integer, ItemType::Single,  ItemType::Single,  ItemType::Integer};

// Worked out from a yoke's raw limits when its section is loaded.
struct YokeCalibrationRecord {
    std::array<Integer, 4> Limits{};  // the adjusted raw limits
    Integer CentreA = 0;
    Integer CentreB = 0;
    Single ScaleA = 0;
    Single ScaleB = 0;

    bool operator==(const YokeCalibrationRecord&) const = default;
};

struct ConfigTables {
    // --- General settings, in the order of the file's "General" line.
    std::string ConfigHeader;
    Integer ComPortEC = 0;
    Integer ComPortGauges = 0;
    Integer ProcessTimerInterval = 0;
    Integer BlockUsel = 0;
    Integer LightsMask = 0;
    Integer LightsMode = 0;
    std::string RemoteIP;
    std::string GeneralString9;
    std::string RemotePort;
    std::string LocalPort;
    std::string GeneralString12;
    std::string GeneralString13;
    Integer ByteOrderReverse = 0;
    Integer ComPortIOM = 0;
    Integer ComPortIOM2 = 0;  // stored as the file's last line

    // --- Gauge records, indexed by GaugeID 0..256.
    std::array<Byte, kGaugeRows> GaugeRecType{};
    std::array<Byte, kGaugeRows> GaugeRecModel{};
    std::array<Byte, kGaugeRows> GaugeRecVersion{};
    std::array<Byte, kGaugeRows> GaugeRecCategory1{};
    std::array<Integer, kGaugeRows> GaugeRecFunction1{};
    std::array<Byte, kGaugeRows> GaugeRecSeqNr1{};
    std::array<Integer, kGaugeRows> GaugeRecPlate1{};
    std::array<Byte, kGaugeRows> GaugeRecCategory2{};
    std::array<Integer, kGaugeRows> GaugeRecFunction2{};
    std::array<Byte, kGaugeRows> GaugeRecSeqNr2{};
    std::array<Integer, kGaugeRows> GaugeRecPlate2{};

    // --- Function records, indexed by function number 0..301.
    std::array<std::string, kFunctionRows> FunctionNames{};
    std::array<std::string, kFunctionRows> FunctionFullName{};
    std::array<Integer, kFunctionRows> FunctionNumber{};
    std::array<Byte, kFunctionRows> FunctionSignalType{};
    std::array<Byte, kFunctionRows> FunctionCategory{};
    std::array<Integer, kFunctionRows> FunctionIndex1{};
    std::array<Integer, kFunctionRows> FunctionIndex2{};
    std::array<Integer, kFunctionRows> FunctionIndex3{};
    std::array<Integer, kFunctionRows> FunctionIndex4{};
    std::array<Single, kFunctionRows> FunctionPreAdd{};
    std::array<Byte, kFunctionRows> FunctionDataType{};
    std::array<Byte, kFunctionRows> FunctionAux{};
    std::array<Single, kFunctionRows> FunctionMultiply{};
    std::array<Single, kFunctionRows> FunctionDivide{};
    std::array<Single, kFunctionRows> FunctionMinimum{};
    std::array<Single, kFunctionRows> FunctionMaximum{};
    std::array<Integer, kFunctionRows> FunctionMacroNr{};
    std::array<Byte, kFunctionRows> FunctionSlot1{};
    std::array<Byte, kFunctionRows> FunctionSlot2{};
    std::array<Byte, kFunctionRows> FunctionSlot3{};
    std::array<Byte, kFunctionRows> FunctionSlot4{};

    // --- Built-in tables (LoadConstantTables); the gauge types are also stored.
    std::array<std::string, kCategoryRows> CategoryNames{};
    std::array<Integer, kGaugeTypeRows> GaugeTypeNumbers{};
    std::array<std::string, kGaugeTypeRows> GaugeTypeNames{};

    // --- Plates 0..PlateCount-1, each with one spare row at the end.
    // Indexed [plate][element]: element 0 category, 1 the number of the last
    // calibration point (the plate's steps: it has steps + 1 points, so at
    // most kMaxPlatePoints - 1), 2/3 the minimum and maximum ends, 4..24 the
    // calibration points 0..20.
    Integer PlateCount = 0;
    std::vector<std::string> PlateName;
    std::vector<std::array<double, kPlateElements>> PlateValue;
    std::vector<std::array<Integer, kPlateElements>> PlateSteps;

    // --- I/O entries: rows 0..IOEntryCount-1 in use (row 0 is always empty),
    // every column sized IOEntryCount + 1.
    Integer IOEntryCount = 0;
    std::vector<Integer> IOEntryGaugeID;
    std::vector<Integer> IOEntryKind;
    std::vector<Integer> IOEntryNumber;
    std::vector<Integer> IOEntryCategory;
    std::vector<Integer> IOEntryFunction;
    std::vector<Byte> IOEntrySeqNr;  // 100 marks a keystroke entry
    std::vector<Single> IOEntryValue1;
    std::vector<Single> IOEntryValue2;
    std::vector<Integer> IOEntryType;
    std::vector<Integer> IOEntryFlags;
    std::vector<Single> IOEntryLastValue;
    std::vector<Integer> IOEntryKeyOn;
    std::vector<Integer> IOEntryKeyOff;
    std::vector<Integer> IOEntryPort;  // sim port opened at run time; not stored

    // --- Stand-alone engine cluster, per needle 0..10.
    std::array<Integer, kECNeedles> ECNeedleDisplay{};  // element 9: cluster type
    std::array<Integer, kECNeedles> ECNeedleFunction{};
    std::array<Integer, kECNeedles> ECNeedlePlate{};

    // --- Yokes.
    std::array<Integer, 7> YokeGeneralSettings{};  // typed by kYokeGeneralTypes
    std::array<YokeSettingsRecord, 2> YokeSettings{};  // yoke 1, yoke 2
    std::array<YokeCalibrationRecord, 2> YokeCalibration{};
    std::array<std::array<Single, 14>, 17> YokeSwitchTable{};  // typed by kYokeSwitchColumnTypes
    std::array<Byte, 23> YokeDataGroup{};  // slots 0..21 stored
    std::array<Byte, 23> YokeDataValue{};
    std::array<Single, 12> PedalCalibration{};  // 0..10 stored
    std::array<Byte, 12> PedalSettings{};
    // Indexed [point 0..12][row 0..2]; rows 1 and 2 are stored.
    std::array<std::array<Single, 3>, 13> ForceCurveAileron{};
    std::array<std::array<Single, 3>, 13> ForceCurveElevator{};

    Byte& ComPortYoke1() { return YokeSettings[0].ComPort; }
    Byte& ComPortYoke2() { return YokeSettings[1].ComPort; }
    Byte ComPortYoke1() const { return YokeSettings[0].ComPort; }
    Byte ComPortYoke2() const { return YokeSettings[1].ComPort; }

    // Appends an I/O entry with every column grown and its contents kept;
    // returns the new row (1 for an empty table).
    int AddIOEntry();
    // Sizes every I/O column to 0..count (earlier contents discarded).
    void ResizeIOEntries(int count);
    // Appends an empty plate and returns its number.
    int AddPlate();
    // Sizes the plate tables to 0..count (earlier contents discarded).
    void ResizePlates(int count);

    bool operator==(const ConfigTables&) const = default;
};

// What belongs to this run of the program and is never stored.
struct SessionState {
    // 0 never asked since the program started, 1 asked by the bus search
    // without an answer, 2 answered.
    std::array<Byte, kGaugeRows> GaugeRecBusStatus{};
    std::string ConfigFileName;
    Integer ConfigChanged = 0;
    // The windows that stored values into the tables which ConfigChanged
    // does not count ("set", a test window's store, an updated description,
    // gauges found on the bus), by title, each once in the order they first
    // did: the values are the configuration's, not the window's, and a load
    // asks about each, open or not, before it replaces them. A save or a
    // load empties it.
    std::vector<std::string> StoredNotSaved;
    Integer ConfigError = 0;
    std::string ProgramTitle;
    Integer StartDelay = 0;
    Integer ConfigFromStatus = 0;
    Integer IOEntryIndex = 0;   // the I/O entry being edited, 0 = a new one
    Integer IODebounceTime = 3; // 0..20 ms
    std::array<std::array<Integer, kECNeedles>, kECNeedles> ECNeedlePort{};
};

extern ConfigTables Cfg;
extern SessionState Session;

// The title the start window sets; saved headers carry it.
inline constexpr const char* kProgramTitle = "Control Program for X-Plane Simulator      ";
// The program's version text, written into saved headers and compared on load.
inline constexpr const char* kProgramVersion = "1.0";

inline constexpr const char* kCategoryNames[kBuiltInCategories] = {
    "",        "Engines", "Surfaces", "Fuel",     "Autopilot", "Radios",
    "Cockpit", "Plane",   "Position", "Cabin",    "Avionics",  "External"};

inline constexpr const char* kSignalTypeNames[kSignalTypes] = {
    "--", "Input Switch", "Input Analogue", "Output LED", "Gauge", "Dedicated Gauge", "Macro",
    "Switch and LED"};

// Sets CategoryNames rows 0..11 and gauge-type rows 1..28 to the built-in
// values; touches nothing else.
void LoadConstantTables(ConfigTables& tables = Cfg);

// A new configuration: nothing configured, the built-in tables filled, and
// the plate and I/O tables sized as a file without any leaves them.
ConfigTables NewConfiguration();

// Notes that the window titled `storedBy` stored values into the tables
// that ConfigChanged does not count (SessionState::StoredNotSaved).
void MarkStoredNotSaved(SessionState& session, const std::string& storedBy);

// Row of the gauge-type table holding `code`, or -1.
int GaugeTypeRow(const ConfigTables& tables, int code);

} // namespace varnet

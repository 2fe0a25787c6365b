#include "config/sample_config.h"

#include "config/configfile.h"

#include <fstream>
#include <tuple>
#include <sstream>

namespace varnet::testing {

std::string programHeader(const std::string& version)
{
    std::string padded = version;
    padded.resize(10, ' ');
    return "Program Name: " + std::string(kProgramTitle) + " , Version: " + padded +
           ",Connected Sim: X-Plane, FSUIPC version: N/A ,Date/Time saved: 06-12-2026 17:30:00\r\n";
}

ConfigTables sampleConfig()
{
    ConfigTables t;
    LoadConstantTables(t);
    t.ConfigHeader = programHeader();
    std::tie(t.ComPortEC, t.ComPortGauges, t.ProcessTimerInterval, t.BlockUsel, t.LightsMask, t.LightsMode) = std::tuple(3, 1, 25, 1, 33, 2);
    std::tie(t.RemoteIP, t.GeneralString9, t.RemotePort, t.LocalPort, t.GeneralString12, t.GeneralString13) =
        std::tuple("192.168.1.20", "spare nine", "49000", "49001", "", "x");
    std::tie(t.ByteOrderReverse, t.ComPortIOM, t.ComPortIOM2) = std::tuple(1, 4, 5);

    for (int row = 0; row < 3; ++row) {
        const int r = t.AddIOEntry();
        t.IOEntryGaugeID[r] = Integer(row == 0 ? kStandAloneIOM1 : 17);
        t.IOEntryKind[r] = Integer(row + 1);
        t.IOEntryNumber[r] = Integer(40 + row);
        std::tie(t.IOEntryCategory[r], t.IOEntryFunction[r], t.IOEntrySeqNr[r], t.IOEntryValue1[r], t.IOEntryValue2[r]) =
            std::tuple(6, 60 + row, row == 2 ? 100 : 1, 0.1f, -999.5f);
        std::tie(t.IOEntryType[r], t.IOEntryFlags[r], t.IOEntryLastValue[r], t.IOEntryKeyOn[r], t.IOEntryKeyOff[r]) =
            std::tuple(2, -3, 1E-10f, 0x4161, -32768);
    }

    for (int f = 0; f < kStoredFunctionRows; f += 7) {
        t.FunctionNames[f] = "Func" + std::to_string(f);
        t.FunctionFullName[f] = f % 2 ? "#0:sim/lights/nav_lights_toggle\r\n#1:sim/none\r\n" : "Full name, with comma";
        t.FunctionNumber[f] = Integer(f);
        t.FunctionSignalType[f] = Byte(f % kSignalTypes);
        t.FunctionCategory[f] = Byte(f % kBuiltInCategories);
        std::tie(t.FunctionIndex1[f], t.FunctionIndex4[f], t.FunctionPreAdd[f], t.FunctionDataType[f], t.FunctionAux[f]) =
            std::tuple(f % 151, 32767, -999.5f, f % kDataTypes, 255);
        std::tie(t.FunctionMultiply[f], t.FunctionDivide[f], t.FunctionMinimum[f], t.FunctionMaximum[f]) =
            std::tuple(0.1f, 3.0e12f, -1.5e-7f, 1234567.0f);
        std::tie(t.FunctionMacroNr[f], t.FunctionSlot1[f], t.FunctionSlot4[f]) = std::tuple(4096, f % 8, 7);
    }

    std::tie(t.GaugeTypeNumbers[0], t.GaugeTypeNames[0], t.GaugeTypeNumbers[127], t.GaugeTypeNames[127]) =
        std::tuple(77, "Custom row zero", 250, "Last stored row ");

    for (int id : {1, 5, 17, 250, 255}) {
        std::tie(t.GaugeRecType[id], t.GaugeRecModel[id], t.GaugeRecVersion[id], t.GaugeRecPlate1[id], t.GaugeRecPlate2[id]) =
            std::tuple(id == 17 ? 10 : 106, 1, 5, 1, -1);
        std::tie(t.GaugeRecCategory1[id], t.GaugeRecFunction1[id], t.GaugeRecSeqNr1[id]) = std::tuple(4, 255, 2);
        std::tie(t.GaugeRecCategory2[id], t.GaugeRecFunction2[id], t.GaugeRecSeqNr2[id]) = std::tuple(11, 300, 3);
    }

    for (int needle = 0; needle < kECNeedles; ++needle) {
        std::tie(t.ECNeedleDisplay[needle], t.ECNeedleFunction[needle], t.ECNeedlePlate[needle]) = std::tuple(needle % 2, 100 + needle, needle);
    }
    t.ECNeedleDisplay[9] = 2;

    for (int plate = 0; plate < 2; ++plate) {
        const int p = t.AddPlate();
        t.PlateName[p] = "Plate " + std::to_string(p);
        std::tie(t.PlateValue[p][0], t.PlateValue[p][1], t.PlateValue[p][2], t.PlateValue[p][3]) = std::tuple(1, 3, -0.25, 1234.5678901234);
        std::tie(t.PlateSteps[p][1], t.PlateSteps[p][3]) = std::tuple(3, 1079);
        for (int e = 4; e < kStoredPlateElements; ++e) {
            t.PlateValue[p][e] = e * 0.25;
            t.PlateSteps[p][e] = Integer(e * 40);
        }
    }

    for (std::size_t i = 0; i < t.YokeGeneralSettings.size(); ++i)
        t.YokeGeneralSettings[i] = Integer(i == 5 ? -1200 : 10 + i);
    for (int yoke = 0; yoke < 2; ++yoke) {
        YokeSettingsRecord& y = t.YokeSettings[yoke];
        std::tie(y.ComPort, y.Mode, y.Slave) = std::tuple(7 + yoke, 1 + yoke, yoke);
        for (std::size_t i = 0; i < y.Scalars.size(); ++i)
            y.Scalars[i] = Integer(kYokeScalarTypes[i] == ItemType::Byte ? 200 + i : -300 - i);
        for (int k = 0; k < 4; ++k)
            for (std::size_t i = 0; i < kYokeModeTypes.size(); ++i)
                y.ModeSettings[k][i] = Integer(kYokeModeTypes[i] == ItemType::Byte ? k + i : 1000 * k - i);
        y.CalibrationLimits = {Integer(100 + yoke), 900, 50, 400};
        t.YokeCalibration[yoke] = DeriveYokeCalibration(y.CalibrationLimits);
        for (std::size_t i = 0; i < y.Tail.size(); ++i)
            y.Tail[i] = Byte(i * 20);
    }
    for (int sw = 0; sw < 17; ++sw)
        for (std::size_t c = 0; c < kYokeSwitchColumnTypes.size(); ++c)
            t.YokeSwitchTable[sw][c] = kYokeSwitchColumnTypes[c] == ItemType::Single ? sw * 0.5f - 2.25f
                                                                                      : float(sw + c);
    for (int slot = 0; slot <= 21; ++slot) {
        t.YokeDataGroup[slot] = Byte(slot * 6);
        t.YokeDataValue[slot] = Byte(slot % 8);
    }
    for (int i = 0; i <= 10; ++i) {
        t.PedalCalibration[i] = 100 + i * 0.5f;
        t.PedalSettings[i] = Byte(i);
    }
    for (int point = 0; point < 13; ++point) {
        t.ForceCurveAileron[point] = {0, point * 10.0f, -point * 0.125f};
        t.ForceCurveElevator[point] = {0, 5.5f, point * 1e-10f};
    }
    return t;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace varnet::testing

#include "config/sample_config.h"

#include "config/configfile.h"

#include <fstream>
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
    t.ComPortEC = 3;
    t.ComPortGauges = 1;
    t.ProcessTimerInterval = 25;
    t.BlockUsel = 1;
    t.LightsMask = 33;
    t.LightsMode = 2;
    t.RemoteIP = "192.168.1.20";
    t.GeneralString9 = "spare nine";
    t.RemotePort = "49000";
    t.LocalPort = "49001";
    t.GeneralString12 = "";
    t.GeneralString13 = "x";
    t.ByteOrderReverse = 1;
    t.ComPortIOM = 4;
    t.ComPortIOM2 = 5;

    for (int row = 0; row < 3; ++row) {
        const int r = t.AddIOEntry();
        t.IOEntryGaugeID[r] = Integer(row == 0 ? kStandAloneIOM1 : 17);
        t.IOEntryKind[r] = Integer(row + 1);
        t.IOEntryNumber[r] = Integer(40 + row);
        t.IOEntryCategory[r] = 6;
        t.IOEntryFunction[r] = Integer(60 + row);
        t.IOEntrySeqNr[r] = row == 2 ? 100 : 1;
        t.IOEntryValue1[r] = 0.1f;
        t.IOEntryValue2[r] = -999.5f;
        t.IOEntryType[r] = 2;
        t.IOEntryFlags[r] = -3;
        t.IOEntryLastValue[r] = 1E-10f;
        t.IOEntryKeyOn[r] = 0x4161;
        t.IOEntryKeyOff[r] = -32768;
    }

    for (int f = 0; f < kStoredFunctionRows; f += 7) {
        t.FunctionNames[f] = "Func" + std::to_string(f);
        t.FunctionFullName[f] = f % 2 ? "#0:sim/lights/nav_lights_toggle\r\n#1:sim/none\r\n" : "Full name, with comma";
        t.FunctionNumber[f] = Integer(f);
        t.FunctionSignalType[f] = Byte(f % kSignalTypes);
        t.FunctionCategory[f] = Byte(f % kBuiltInCategories);
        t.FunctionIndex1[f] = Integer(f % 151);
        t.FunctionIndex4[f] = 32767;
        t.FunctionPreAdd[f] = -999.5f;
        t.FunctionDataType[f] = Byte(f % kDataTypes);
        t.FunctionAux[f] = 255;
        t.FunctionMultiply[f] = 0.1f;
        t.FunctionDivide[f] = 3.0e12f;
        t.FunctionMinimum[f] = -1.5e-7f;
        t.FunctionMaximum[f] = 1234567.0f;
        t.FunctionMacroNr[f] = 4096;
        t.FunctionSlot1[f] = Byte(f % 8);
        t.FunctionSlot4[f] = 7;
    }

    t.GaugeTypeNumbers[0] = 77;
    t.GaugeTypeNames[0] = "Custom row zero";
    t.GaugeTypeNumbers[127] = 250;
    t.GaugeTypeNames[127] = "Last stored row ";

    for (int id : {1, 5, 17, 250, 255}) {
        t.GaugeRecType[id] = Byte(id == 17 ? 10 : 106);
        t.GaugeRecModel[id] = 1;
        t.GaugeRecVersion[id] = 5;
        t.GaugeRecCategory1[id] = 4;
        t.GaugeRecFunction1[id] = 255;
        t.GaugeRecSeqNr1[id] = 2;
        t.GaugeRecCategory2[id] = 11;
        t.GaugeRecFunction2[id] = 300;
        t.GaugeRecSeqNr2[id] = 3;
        t.GaugeRecPlate1[id] = 1;
        t.GaugeRecPlate2[id] = -1;
    }

    for (int needle = 0; needle < kECNeedles; ++needle) {
        t.ECNeedleDisplay[needle] = Integer(needle % 2);
        t.ECNeedleFunction[needle] = Integer(100 + needle);
        t.ECNeedlePlate[needle] = Integer(needle);
    }
    t.ECNeedleDisplay[9] = 2;

    for (int plate = 0; plate < 2; ++plate) {
        const int p = t.AddPlate();
        t.PlateName[p] = "Plate " + std::to_string(p);
        t.PlateValue[p][0] = 1;
        t.PlateValue[p][1] = 3;
        t.PlateSteps[p][1] = 3;
        t.PlateValue[p][2] = -0.25;
        t.PlateValue[p][3] = 1234.5678901234;
        t.PlateSteps[p][3] = 1079;
        for (int e = 4; e < kStoredPlateElements; ++e) {
            t.PlateValue[p][e] = e * 0.25;
            t.PlateSteps[p][e] = Integer(e * 40);
        }
    }

    for (std::size_t i = 0; i < t.YokeGeneralSettings.size(); ++i)
        t.YokeGeneralSettings[i] = Integer(i == 5 ? -1200 : 10 + i);
    for (int yoke = 0; yoke < 2; ++yoke) {
        YokeSettingsRecord& y = t.YokeSettings[yoke];
        y.ComPort = Byte(7 + yoke);
        y.Mode = Integer(1 + yoke);
        y.Slave = Byte(yoke);
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

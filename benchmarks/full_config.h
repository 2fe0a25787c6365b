#pragma once

// A configuration as large as a cockpit gets: all 301 functions, GaugeIDs
// 1..255 in use, 50 plates of 21 points and 500 I/O entries, with the yoke
// tables filled. Shared by the configuration benchmark and the fuzz seeds.

#include "config/configfile.h"
#include "config/tables.h"

#include <string>

namespace varnet::benchmarking {

inline constexpr int kFullPlates = 50;
inline constexpr int kFullIOEntries = 500;

inline ConfigTables fullConfig()
{
    ConfigTables t;
    LoadConstantTables(t);
    std::string version = kProgramVersion;
    version.resize(10, ' ');
    t.ConfigHeader = "Program Name: " + std::string(kProgramTitle) + " , Version: " + version +
                     ",Connected Sim: X-Plane, FSUIPC version: N/A ,Date/Time saved: 06-12-2026 17:30:00\r\n";
    t.ComPortGauges = 1;
    t.ComPortEC = 2;
    t.ComPortIOM = 3;
    t.ComPortIOM2 = 4;
    t.ProcessTimerInterval = 40;
    t.LightsMask = 33;
    t.RemoteIP = "192.168.1.20";
    t.RemotePort = "49000";
    t.LocalPort = "49001";

    for (int f = 1; f < kStoredFunctionRows; ++f) {
        t.FunctionNames[f] = "Function " + std::to_string(f);
        t.FunctionFullName[f] = "sim/cockpit/value_" + std::to_string(f);
        t.FunctionNumber[f] = Integer(f);
        t.FunctionSignalType[f] = Byte(f % kSignalTypes);
        t.FunctionCategory[f] = Byte(f % kBuiltInCategories);
        t.FunctionIndex1[f] = Integer(f % 151);
        t.FunctionIndex2[f] = Integer((f + 1) % 151);
        t.FunctionSlot1[f] = Byte(f % 8);
        t.FunctionSlot2[f] = Byte((f + 1) % 8);
        t.FunctionPreAdd[f] = f * 0.25f;
        t.FunctionDataType[f] = Byte(f % 6);
        t.FunctionMultiply[f] = 1.5f;
        t.FunctionDivide[f] = 3;
        t.FunctionMinimum[f] = -100.125f;
        t.FunctionMaximum[f] = 12345.67f;
    }
    for (int id = 1; id <= 255; ++id) {
        t.GaugeRecType[id] = Byte(1 + id % 8);
        t.GaugeRecModel[id] = 1;
        t.GaugeRecVersion[id] = 3;
        t.GaugeRecCategory1[id] = 1;
        t.GaugeRecFunction1[id] = Integer(1 + id % 300);
        t.GaugeRecSeqNr1[id] = 1;
        t.GaugeRecCategory2[id] = 2;
        t.GaugeRecFunction2[id] = Integer(1 + (id * 7) % 300);
        t.GaugeRecSeqNr2[id] = 1;
        t.GaugeRecPlate1[id] = Integer(id % kFullPlates);
        t.GaugeRecPlate2[id] = Integer((id + 1) % kFullPlates);
    }
    for (int needle = 0; needle < kECNeedles; ++needle) {
        t.ECNeedleDisplay[needle] = 1;
        t.ECNeedleFunction[needle] = Integer(200 + needle);
        t.ECNeedlePlate[needle] = Integer(needle);
    }
    for (int p = 0; p < kFullPlates; ++p) {
        t.AddPlate();
        t.PlateName[p] = "Plate " + std::to_string(p);
        auto& values = t.PlateValue[p];
        auto& steps = t.PlateSteps[p];
        values[1] = steps[1] = kMaxPlatePoints - 1;  // the last of its 21 points
        for (int k = 0; k < kMaxPlatePoints; ++k) {
            values[4 + k] = 12.5 * k + p / 3.0;
            steps[4 + k] = Integer(51 * k + p);
        }
        values[2] = values[4];
        steps[2] = steps[4];
        values[3] = values[4 + kMaxPlatePoints - 1];
        steps[3] = steps[4 + kMaxPlatePoints - 1];
    }
    for (int e = 0; e < kFullIOEntries; ++e) {
        const int row = t.AddIOEntry();
        t.IOEntryGaugeID[row] = Integer(e % 3 == 0 ? kStandAloneIOM1 : 10 + e % 40);
        t.IOEntryKind[row] = Integer(1 + e % 3);
        t.IOEntryNumber[row] = Integer(e % 48);
        t.IOEntryCategory[row] = 6;
        t.IOEntryFunction[row] = Integer(1 + e % 300);
        t.IOEntrySeqNr[row] = 1;
        t.IOEntryValue1[row] = 0.5f;
        t.IOEntryValue2[row] = 1024;
        t.IOEntryType[row] = 1;
        t.IOEntryLastValue[row] = -1;
    }
    for (int yoke = 0; yoke < 2; ++yoke) {
        YokeSettingsRecord& y = t.YokeSettings[yoke];
        y.ComPort = Byte(5 + yoke);
        y.Mode = 1;
        for (std::size_t i = 0; i < y.Scalars.size(); ++i)
            y.Scalars[i] = Integer(10 + i);
        for (auto& mode : y.ModeSettings)
            for (std::size_t i = 0; i < mode.size(); ++i)
                mode[i] = Integer(i * 3);
        y.CalibrationLimits = {10, 1000, 20, 990};
        t.YokeCalibration[yoke] = DeriveYokeCalibration(y.CalibrationLimits);
    }
    for (int sw = 0; sw < 17; ++sw)
        for (std::size_t c = 0; c < kYokeSwitchColumnTypes.size(); ++c)
            t.YokeSwitchTable[sw][c] = kYokeSwitchColumnTypes[c] == ItemType::Single ? sw * 0.5f : float(c);
    for (int point = 0; point < 13; ++point) {
        t.ForceCurveAileron[point] = {0, point * 10.0f, point * 0.5f};
        t.ForceCurveElevator[point] = {0, point * 8.0f, point * 0.25f};
    }
    return t;
}

} // namespace varnet::benchmarking

#pragma once

// What the configuration screen decides, apart from the window: the lines of
// its gauge list, the backlight choices, clearing the gauge assignments and
// the checks of what the user types into its boxes.

#include "config/tables.h"

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace varnet {

// Asked before edits that were not saved are dropped (Close of the screen,
// "Continue" on the start window).
inline constexpr const char* kUnsavedQuestion = "Updates are not saved; Continue anyway?";

// Bus addresses of the gauge bus.
inline constexpr int kFirstBusGaugeID = 1;
inline constexpr int kLastBusGaugeID = 255;

// Tab stops of the gauge list, in dialog units.
inline constexpr std::array<int, 5> kGaugeListTabStops = {155, 185, 210, 280, 360};

// Shown for the connection status 0, 1 and 2 of a gauge.
inline constexpr const char* kBusStatusTexts[3] = {"Unkown", "Not Connected", "Connected"};

// The name the type table gives `typeCode` in its rows firstRow..lastRow
// (the last matching row wins), or `fallback` when no row holds it.
std::string TypeNameInRows(const ConfigTables& tables, int typeCode, int firstRow, int lastRow,
                           const std::string& fallback);

// The list line of a configured gauge: " 005    <type>\t02\t03\t<first function>\t<second function>\t<status>".
std::string GaugeListLine(const ConfigTables& tables, const SessionState& session, int gaugeID);
// One line per GaugeID 1..255 with a type code, in GaugeID order.
std::vector<std::string> GaugeListLines(const ConfigTables& tables, const SessionState& session);
// The GaugeID a list line stands for (its characters 2 to 4); 0 when they
// hold no number.
int GaugeIDOfLine(const std::string& line);

// The captions over the gauge list, and where each stands, in dialog units
// (the last five are the list's tab stops).
inline constexpr const char* kGaugeListCaptions[] = {"ID",           "Device Type",     "Model",
                                                     "Version",      "First Function",  "Second Function",
                                                     "Connection Status"};
inline constexpr int kGaugeListCaptionStops[] = {0,
                                                 28,
                                                 kGaugeListTabStops[0],
                                                 kGaugeListTabStops[1],
                                                 kGaugeListTabStops[2],
                                                 kGaugeListTabStops[3],
                                                 kGaugeListTabStops[4]};

// The texts a list line shows under those captions: the GaugeID, the rest
// of the line up to its first TAB (the type), then one column per TAB. A
// bus search's line, which has no TAB, gives the GaugeID and, under
// "Device Type", the type code and name the answer brought.
std::vector<std::string> GaugeListColumns(const std::string& line);

// Every GaugeID 1..255 loses its type, model, version and both function
// assignments (category, function, sequence number, first plate); the second
// plate, the bus status, row 0 and everything else stay.
void ClearGaugeAssignments(ConfigTables& tables);

// The backlight choices of the screen, each a (LightsMode, LightsMask) pair.
struct LightsChoice {
    const char* text;
    Integer mode;
    Integer mask;
};
inline constexpr std::array<LightsChoice, 5> kLightsChoices = {{
    {"Instr. lights switch", 0, 32},
    {"Allways On", 1, 0},
    {"Allways Off", 2, 0},
    {"Nav. lights switch", 0, 1},
    {"Any light switch!", 0, 63},
}};

// The choice the screen shows for a stored pair; nothing for a pair that
// no choice stands for (the selection then stays as it is).
std::optional<int> LightsChoiceFor(int mode, int mask);
// Stores the pair of `choice`; marks the configuration changed when the
// stored pair stood for another choice (or none).
void ApplyLightsChoice(ConfigTables& tables, SessionState& session, int choice);

// Checks of typed numbers. Each gives the number, or nothing and the rule
// to show.
struct NumberInput {
    std::optional<int> value;
    QString rule;
};

inline constexpr int kMaxComPort = 255;
inline constexpr int kMinProcessInterval = 20;
inline constexpr int kMaxProcessInterval = 200;
inline constexpr int kDefaultProcessInterval = 40;

// A COM port from its combo: the leading number of the text, 0 (not used)
// when there is none; it must be a whole number from 0 to 255.
NumberInput ReadComPort(const QString& text);
// A UDP port: the whole text a number from 1 to 65535.
NumberInput ReadUdpPort(const QString& text);
// The process interval in ms: the whole text a number from 20 to 200.
NumberInput ReadProcessInterval(const QString& text);

// Typed text as the configuration file can hold it in a quoted item:
// Latin-1 (other characters become "?"), no line breaks or other control
// characters, and an apostrophe for each double quote.
std::string ConfigText(const QString& typed);

} // namespace varnet

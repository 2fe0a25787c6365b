// Writes the example working folder into the current directory: the
// configuration "Default.cfg" (two needle gauges with their functions and
// plates, and the functions the run window reads for itself), the start
// file and a short X-Plane command list. Every file is written by the
// program's own writers, so the folder is exactly what the program reads.
//
//     cd examples/cockpit && ../../build/tools/examplecockpit/examplecockpit
//
// It takes no arguments but --help, and refuses any other before it writes.

#include "app/loadsave.h"
#include "config/configfile.h"
#include "config/itemtext.h"
#include "config/startfile.h"
#include "config/tables.h"
#include "platform/messages.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <initializer_list>
#include <utility>

namespace varnet {
namespace {

enum Category : Byte { Engines = 1, Cockpit = 6, Plane = 7, Position = 8, External = 11 };
constexpr Byte kGaugeSignal = 4;
constexpr Byte kDedicatedGaugeSignal = 5;
constexpr Byte kSingleNeedleGauge = 1;

struct DataPair {
    int group;
    int slot;
};

// A function reading X-Plane DATA group `first.group`, value `first.slot`
// (selector 1) and optionally a second pair (selector 2), unscaled.
void defineFunction(ConfigTables& t, int nr, const char* name, const char* description, Byte category,
                    Byte signal, DataPair first, Single minimum, Single maximum, DataPair second = {0, 0})
{
    t.FunctionNames[nr] = name;
    t.FunctionFullName[nr] = description;
    t.FunctionSignalType[nr] = signal;
    t.FunctionCategory[nr] = category;
    t.FunctionIndex1[nr] = Integer(first.group);
    t.FunctionSlot1[nr] = Byte(first.slot);
    t.FunctionIndex2[nr] = Integer(second.group);
    t.FunctionSlot2[nr] = Byte(second.slot);
    t.FunctionDataType[nr] = DataTypeFloat;
    t.FunctionMultiply[nr] = 1;
    t.FunctionDivide[nr] = 1;
    t.FunctionMinimum[nr] = minimum;
    t.FunctionMaximum[nr] = maximum;
}

// A plate through the given (value, needle steps) points, lowest first.
int definePlate(ConfigTables& t, const char* name, Byte category,
                std::initializer_list<std::pair<double, Integer>> points)
{
    const int p = t.AddPlate();
    t.PlateName[p] = name;
    auto& value = t.PlateValue[p];
    auto& steps = t.PlateSteps[p];
    value[0] = category;
    // The number of the last point: the points count from 0.
    value[1] = steps[1] = Integer(points.size() - 1);
    value[2] = points.begin()->first;
    steps[2] = points.begin()->second;
    value[3] = (points.end() - 1)->first;
    steps[3] = (points.end() - 1)->second;
    int element = 4;
    for (const auto& [v, n] : points) {
        value[element] = v;
        steps[element] = n;
        ++element;
    }
    return p;
}

void defineNeedleGauge(ConfigTables& t, int gaugeID, Byte category, int function, int plate)
{
    t.GaugeRecType[gaugeID] = kSingleNeedleGauge;
    t.GaugeRecModel[gaugeID] = 1;
    t.GaugeRecVersion[gaugeID] = 1;
    t.GaugeRecCategory1[gaugeID] = category;
    t.GaugeRecFunction1[gaugeID] = Integer(function);
    t.GaugeRecSeqNr1[gaugeID] = 1;
    t.GaugeRecPlate1[gaugeID] = Integer(plate);
}

ConfigTables exampleCockpit()
{
    ConfigTables t;
    LoadConstantTables(t);
    t.ConfigHeader = BuildConfigHeader(kProgramTitle, QDateTime::currentDateTime());
    // No gauge bus until the builder names its COM port: the example starts
    // on any machine without a port error.
    t.ComPortGauges = 0;
    t.ProcessTimerInterval = 40;
    t.LightsMask = 32;  // the instrument-lights switch
    t.LightsMode = 0;   // backlights follow the switch
    t.RemoteIP = "127.0.0.1";
    t.RemotePort = "49000";
    t.LocalPort = "49001";
    for (int f = 0; f < kStoredFunctionRows; ++f)
        t.FunctionNumber[f] = Integer(f);

    // The values the run window reads for itself (general values). DATA
    // groups are the rows of X-Plane's Data Output screen, values counted
    // 0..7 from the left.
    const Byte G = kDedicatedGaugeSignal;
    defineFunction(t, 1, "BARO", "Barometer setting inHg", Cockpit, G, {7, 0}, 28, 31);
    defineFunction(t, 2, "IAS", "Indicated airspeed kias", Plane, G, {3, 0}, 0, 500);
    defineFunction(t, 3, "VVI", "Vertical speed fpm", Plane, G, {4, 2}, -6000, 6000);
    defineFunction(t, 4, "ALT", "Altitude ft MSL", Position, G, {20, 2}, -1000, 50000);
    defineFunction(t, 5, "PITCH", "Pitch degrees", Position, G, {17, 0}, -90, 90);
    defineFunction(t, 6, "ROLL", "Bank degrees", Position, G, {17, 1}, -180, 180);
    defineFunction(t, 7, "HDG", "Magnetic heading degrees", Position, G, {17, 3}, 0, 360);
    defineFunction(t, 8, "NAVLT", "Navigation lights switch", Cockpit, G, {106, 1}, 0, 1);
    defineFunction(t, 9, "VOLTS", "Battery voltage, bus 1 and 2", Cockpit, G, {54, 0}, 0, 30, {54, 1});
    defineFunction(t, 10, "TIME", "Local time hours", External, G, {1, 6}, 0, 24);
    defineFunction(t, 13, "OAT", "Outside air temperature C", External, G, {6, 1}, -60, 60);
    defineFunction(t, 14, "INSTLT", "Instrument lights switch", Cockpit, G, {106, 0}, 0, 1);
    defineFunction(t, 16, "COMPASS", "Magnetic compass degrees", Position, G, {19, 0}, 0, 360);

    // The two gauges' own values.
    defineFunction(t, 51, "AIRSPEED", "Airspeed indicator kias", Plane, kGaugeSignal, {3, 0}, 0, 200);
    defineFunction(t, 52, "RPM1", "Engine 1 RPM", Engines, kGaugeSignal, {37, 0}, 0, 3000);

    const int airspeedPlate =
        definePlate(t, "Airspeed 0-200 kt", Plane, {{0, 0}, {40, 100}, {100, 450}, {200, 1000}});
    const int rpmPlate = definePlate(t, "Tachometer 0-3000 RPM", Engines, {{0, 0}, {500, 100}, {3000, 900}});
    defineNeedleGauge(t, 1, Plane, 51, airspeedPlate);
    defineNeedleGauge(t, 2, Engines, 52, rpmPlate);
    return t;
}

constexpr const char* kCommands[] = {
    "sim/operation/pause_toggle",      "sim/flight_controls/flaps_down", "sim/flight_controls/flaps_up",
    "sim/flight_controls/landing_gear_toggle", "sim/lights/nav_lights_toggle", "sim/lights/beacon_lights_toggle",
    "sim/lights/landing_lights_toggle", "sim/lights/taxi_lights_toggle", "sim/lights/strobe_lights_toggle",
    "sim/instruments/barometer_2992",  "sim/autopilot/heading",          "sim/autopilot/altitude_hold",
};

// The writers' messages go to the terminal.
class ConsoleMessages final : public MessageService {
public:
    void ok(const QString& text) override { std::fprintf(stderr, "examplecockpit: %s\n", qPrintable(text)); }
    bool yesNo(const QString& text) override { return ok(text), false; }
    std::optional<QString> input(const QString&, const QString&) override { return std::nullopt; }
};

std::string commandList()
{
    ItemWriter out;
    out.line("List of Xplane Commands").lineInteger(std::size(kCommands));
    for (const char* command : kCommands)
        out.line(command);
    return out.data();
}

} // namespace
} // namespace varnet

int main(int argc, char** argv)
{
    using namespace varnet;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("examplecockpit");
    // Anything it is not meant for (a mistyped option, a folder name) stops
    // it before it overwrites the files of the folder it runs in.
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes the example cockpit into the current folder, replacing its "
                                     "Default.cfg, DefaultStartFile.cfn and Xplane_commands.txt.");
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString why = parser.errorText().isEmpty() ? QStringLiteral("It takes no arguments.") : parser.errorText();
        std::fprintf(stderr, "examplecockpit: %s Nothing was written.\n\n%s", qPrintable(why),
                     qPrintable(parser.helpText()));
        return 2;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    ConsoleMessages console;
    setMessageService(&console);
    std::string error;
    Cfg = exampleCockpit();
    Session.ConfigFileName = kDefaultConfigFile;
    Session.StartDelay = kDefaultStartDelay;
    if (!WriteConfigFile(&error) || !writeFileSafely("Xplane_commands.txt", commandList(), &error) ||
        !WriteStartFile(kDefaultConfigFile)) {
        if (!error.empty())
            std::fprintf(stderr, "examplecockpit: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

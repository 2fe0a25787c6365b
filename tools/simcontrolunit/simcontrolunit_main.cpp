// The simulated control unit as a program: a gauge bus without hardware.
// It puts a pseudo-terminal behind "COM<n>" in the current folder, where the
// program's port layer finds it, answers the status requests and identify
// frames of the gauges it is given, and prints every frame the program
// sends, decoded. With --module it plays a stand-alone I/O module instead:
// it answers the polls with the switches and channels typed on its
// terminal and prints the LED words it receives.
//
//     cd examples/cockpit && ../../build/tools/simcontrolunit/simcontrolunit --gauge 1:1 --gauge 2:1
//     cd examples/cockpit && ../../build/tools/simcontrolunit/simcontrolunit --com 2 --module

#include "config/tables.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>
#include <unistd.h>

namespace {

using varnet::testing::SimControlUnit;

// A stand-alone I/O module answers to bus address 10 on its own port.
constexpr int kModuleAddress = 10;
constexpr int kSwitches = 48;
constexpr int kChannels = 8;
constexpr int kChannelMaximum = 4095;

// The inputs of the simulated stand-alone module, set from the terminal.
struct ModuleInputs {
    QByteArray switches = QByteArray(kSwitches / 8, '\0');
    std::array<int, kChannels> channels{};

    bool switchOn(int s) const { return (quint8(switches[s / 8]) & (0x80 >> (s % 8))) != 0; }
    void setSwitch(int s, bool on)
    {
        const int mask = 0x80 >> (s % 8);
        switches[s / 8] = char(on ? (quint8(switches[s / 8]) | mask) : (quint8(switches[s / 8]) & ~mask));
    }
};

const char* const kModuleCommands = "  on N      switch N (0-47) on\n"
                                    "  off N     switch N off\n"
                                    "  set N V   analogue channel N (0-7) to V (0-4095)\n"
                                    "  show      the switches that are on and the channels\n";

void printModule(const ModuleInputs& module)
{
    QStringList on;
    for (int s = 0; s < kSwitches; ++s)
        if (module.switchOn(s))
            on << QString::number(s);
    QStringList channels;
    for (int value : module.channels)
        channels << QString::number(value);
    std::printf("module: switches on: %s  channels: %s\n", on.isEmpty() ? "none" : qPrintable(on.join(' ')),
                qPrintable(channels.join(' ')));
    std::fflush(stdout);
}

// One command typed on the terminal; false (with a line saying why) for
// anything else.
bool moduleCommand(ModuleInputs& module, const QString& line)
{
    const QStringList words = line.simplified().split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return true;
    std::vector<int> numbers;
    for (qsizetype i = 1; i < words.size(); ++i) {
        bool ok = false;
        numbers.push_back(words[i].toInt(&ok));
        if (!ok)
            numbers.back() = -1;
    }
    const QString verb = words[0].toLower();
    if ((verb == "on" || verb == "off") && numbers.size() == 1 && numbers[0] >= 0 && numbers[0] < kSwitches) {
        module.setSwitch(numbers[0], verb == "on");
        std::printf("module: switch %d %s\n", numbers[0], qPrintable(verb));
    } else if (verb == "set" && numbers.size() == 2 && numbers[0] >= 0 && numbers[0] < kChannels && numbers[1] >= 0
               && numbers[1] <= kChannelMaximum) {
        module.channels[std::size_t(numbers[0])] = numbers[1];
        std::printf("module: channel %d at %d\n", numbers[0], numbers[1]);
    } else if (verb == "show" && numbers.empty()) {
        printModule(module);
        return true;
    } else {
        std::printf("module: unknown command \"%s\"; the commands are:\n%s", qPrintable(line.simplified()),
                    kModuleCommands);
        std::fflush(stdout);
        return false;
    }
    std::fflush(stdout);
    return true;
}

// "LED word 1 (outputs 0-15): 1000 0000 0000 0000  lit: 0"
void printLEDWord(const QByteArray& frame)
{
    const int word = SimControlUnit::frameCommand(frame) == SimControlUnit::kModuleWord1Command ? 1 : 2;
    const int value = SimControlUnit::frameMagnitude(frame);
    const int first = word == 1 ? 0 : 16;
    QString bits;
    QStringList lit;
    for (int k = 0; k < 16; ++k) {
        const bool on = (value & (0x8000 >> k)) != 0;
        bits += on ? '1' : '0';
        if (k % 4 == 3 && k < 15)
            bits += ' ';
        if (on)
            lit << QString::number(first + k);
    }
    std::printf("module: LED word %d (outputs %d-%d): %s  lit: %s\n", word, first, first + 15, qPrintable(bits),
                lit.isEmpty() ? "none" : qPrintable(lit.join(' ')));
    std::fflush(stdout);
}

struct Gauge {
    int id;
    int type;
    int model;
    int version;
};

// "ID:TYPE[:MODEL[:VERSION]]", each a number; the GaugeID 1..255.
std::optional<Gauge> parseGauge(const QString& text)
{
    const QStringList parts = text.split(':');
    if (parts.size() < 2 || parts.size() > 4)
        return std::nullopt;
    int numbers[4] = {0, 0, 1, 1};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        if (!ok || numbers[i] < 0 || numbers[i] > 255)
            return std::nullopt;
    }
    if (numbers[0] < 1)
        return std::nullopt;
    return Gauge{numbers[0], numbers[1], numbers[2], numbers[3]};
}

// The type codes that --gauge takes, from the program's own built-in type
// table, in code order: "  1  Small gauge; Single Needle".
QString typeCodeList()
{
    using namespace varnet;
    LoadConstantTables(Cfg);
    std::vector<std::pair<int, QString>> types;
    for (int row = 1; row <= kBuiltInGaugeTypes; ++row)
        types.emplace_back(Cfg.GaugeTypeNumbers[row], QString::fromLatin1(Cfg.GaugeTypeNames[row].c_str()).trimmed());
    std::sort(types.begin(), types.end());
    QString list;
    for (const auto& [code, name] : types)
        list += QStringLiteral("\n  %1  %2").arg(code, 3).arg(name);
    return list;
}

// "00 01 5C 38 02 FF  GaugeID 1  command 5  value 450"
void printFrame(const QByteArray& frame)
{
    const int gaugeID = quint8(frame[1]);
    const int command = SimControlUnit::frameCommand(frame);
    std::printf("%s  GaugeID %d  command %d  value %d\n", frame.toHex(' ').toUpper().constData(), gaugeID, command,
                SimControlUnit::frameMagnitude(frame));
    std::fflush(stdout);
}

// The stand-alone module on the unit's port until Ctrl+C (or the end of
// the terminal's input).
int runModule(QCoreApplication& app, SimControlUnit& unit, bool requests)
{
    ModuleInputs module;
    unit.setIOModuleInputs(kModuleAddress, module.switches, module.channels);
    unit.answer = [requests](const QByteArray& frame) {
        const int command = SimControlUnit::frameCommand(frame);
        if (quint8(frame[1]) == kModuleAddress &&
            (command == SimControlUnit::kModuleWord1Command || command == SimControlUnit::kModuleWord2Command))
            printLEDWord(frame);
        else if (requests || command != SimControlUnit::kModulePollCommand)
            printFrame(frame);
        return QByteArray();  // the module's own answer follows
    };
    auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QByteArray typed;
    QObject::connect(input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            // No terminal any more: the module stays as it is.
            input->setEnabled(false);
            return;
        }
        typed.append(buffer, n);
        for (qsizetype end; (end = typed.indexOf('\n')) >= 0; typed.remove(0, end + 1)) {
            if (moduleCommand(module, QString::fromLocal8Bit(typed.left(end))))
                unit.setIOModuleInputs(kModuleAddress, module.switches, module.channels);
        }
    });
    std::printf("Stand-alone I/O module on COM%d; give the program's I/O module that COM port number. "
                "Type on, off, set or show; Ctrl+C ends.\n",
                unit.comNumber());
    std::fflush(stdout);
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("simcontrolunit");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A simulated control unit on a pseudo-terminal, linked as COM<n> in the current folder. It answers "
        "the status requests and identify frames of the gauges given with --gauge and prints every frame it "
        "receives: its bytes, GaugeID, command and value. Ends with Ctrl+C, removing the link.\n\n"
        "With --module it plays a stand-alone I/O module on that COM number instead (48 switches, 8 analogue "
        "channels of 0-4095, 32 LEDs): it answers the program's polls with its inputs, prints the LED words it "
        "receives (with the outputs they light), and takes these commands on its terminal:\n" +
        QString::fromLatin1(kModuleCommands) + "All switches start off and all channels at 0.\n\n"
        "Type codes for --gauge id:type:" +
        typeCodeList());
    parser.addHelpOption();
    const QCommandLineOption comOption("com", "The COM number to appear as (default 1).", "n", "1");
    const QCommandLineOption gaugeOption(
        "gauge", "A gauge on the bus: GaugeID 1-255 and type code, optionally model and version (default 1).",
        "id:type[:model[:version]]");
    const QCommandLineOption requestsOption("requests",
                                            "Also print the status requests (command 7), or a module's polls (command 6).");
    const QCommandLineOption moduleOption("module", "Play a stand-alone I/O module (bus address 10) instead of a bus.");
    parser.addOptions({comOption, gaugeOption, requestsOption, moduleOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        parser.showHelp(2);

    const int com = varnet::testing::comNumberOption(parser, comOption, "simcontrolunit");
    if (com == 0)
        return 2;
    const bool module = parser.isSet(moduleOption);
    if (module && parser.isSet(gaugeOption)) {
        std::fprintf(stderr, "simcontrolunit: a stand-alone module is alone on its port: --module takes no --gauge\n");
        return 2;
    }
    SimControlUnit unit(com);
    if (!unit.ready()) {
        std::fprintf(stderr, "simcontrolunit: no pseudo-terminal, or COM%d cannot be made here\n", com);
        return 1;
    }
    for (const QString& text : parser.values(gaugeOption)) {
        const std::optional<Gauge> gauge = parseGauge(text);
        if (!gauge) {
            std::fprintf(stderr, "simcontrolunit: --gauge %s: expected id:type[:model[:version]]\n", qPrintable(text));
            return 2;
        }
        unit.addGauge(gauge->id, gauge->type, gauge->model, gauge->version);
    }
    const bool requests = parser.isSet(requestsOption);
    varnet::testing::quitOnSignals(app);
    if (module)
        return runModule(app, unit, requests);
    unit.answer = [requests](const QByteArray& frame) {
        if (requests || SimControlUnit::isIdentify(frame) ||
            SimControlUnit::frameCommand(frame) != SimControlUnit::kStatusRequestCommand)
            printFrame(frame);
        return QByteArray();  // the unit's own answer follows
    };
    std::printf("Control unit on COM%d; give the program's gauge bus COM port %d. Ctrl+C ends.\n", com, com);
    std::fflush(stdout);
    return app.exec();
}

// The simulated control unit as a program: a gauge bus without hardware.
// It puts a pseudo-terminal behind "COM<n>" in the current folder, where the
// program's port layer finds it, answers the status requests and identify
// frames of the gauges it is given, and prints every frame the program
// sends, decoded.
//
//     cd examples/cockpit && ../../build/tools/simcontrolunit/simcontrolunit --gauge 1:1 --gauge 2:1

#include "config/tables.h"
#include "simcontrolunit/simcontrolunit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using varnet::testing::SimControlUnit;

constexpr int kStatusRequestCommand = 7;

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
    const int command = quint8(frame[2]) >> 4;
    std::printf("%s  GaugeID %d  command %d  value %d\n", frame.toHex(' ').toUpper().constData(), gaugeID, command,
                SimControlUnit::frameMagnitude(frame));
    std::fflush(stdout);
}

// Ctrl+C and kill end the event loop, so that the COM link is removed.
int quitPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(quitPipe[1], &byte, 1);
}

void quitOnSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, quitPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
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
        "Type codes for --gauge id:type:" +
        typeCodeList());
    parser.addHelpOption();
    const QCommandLineOption comOption("com", "The COM number to appear as (default 1).", "n", "1");
    const QCommandLineOption gaugeOption(
        "gauge", "A gauge on the bus: GaugeID 1-255 and type code, optionally model and version (default 1).",
        "id:type[:model[:version]]");
    const QCommandLineOption requestsOption("requests", "Also print the status requests (command 7).");
    parser.addOptions({comOption, gaugeOption, requestsOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        parser.showHelp(2);

    bool comOk = false;
    const int com = parser.value(comOption).toInt(&comOk);
    if (!comOk || com < 1) {
        std::fprintf(stderr, "simcontrolunit: --com needs a number of 1 or more\n");
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
    unit.answer = [requests](const QByteArray& frame) {
        const bool identify = frame.mid(2, 3) == QByteArray("\x7C\x80\xAA", 3);
        if (requests || identify || (quint8(frame[2]) >> 4) != kStatusRequestCommand)
            printFrame(frame);
        return QByteArray();  // the unit's own answer follows
    };
    quitOnSignals(app);
    std::printf("Control unit on COM%d; give the program's gauge bus COM port %d. Ctrl+C ends.\n", com, com);
    std::fflush(stdout);
    return app.exec();
}

// The simulated engine cluster as a program: the stand-alone engine cluster
// without hardware. It puts a pseudo-terminal behind "COM<n>" in the
// current folder, where the program's port layer finds it, and prints every
// frame the program sends as the cluster reads it: the eight needle
// positions and the two flags.
//
//     cd ~/varnet-cockpit && /path/to/build/tools/simenginecluster/simenginecluster --com 2

#include "simenginecluster/simenginecluster.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

using varnet::testing::SimEngineCluster;

// "engine cluster: needles 1:400 2:0 3:0 4:0 5:0 6:0 7:0 8:0  backlight off  displays on"
void printFrame(const SimEngineCluster::Frame& frame, bool bytes)
{
    QByteArray line = "engine cluster: needles";
    for (int n = 0; n < SimEngineCluster::kNeedles; ++n)
        line += ' ' + QByteArray::number(n + 1) + ':' + QByteArray::number(frame.needles[std::size_t(n)]);
    line += frame.backlightOn ? "  backlight on" : "  backlight off";
    line += frame.displaysOff ? "  displays off" : "  displays on";
    if (bytes)
        line += "  [" + frame.bytes.toHex(' ').toUpper() + ']';
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("simenginecluster");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A simulated stand-alone engine cluster on a pseudo-terminal, linked as COM<n> in the current folder. "
        "It prints every 40-byte frame it receives as the cluster reads it: the positions of needles 1 to 8 "
        "(in the cluster's steps, four for each plate step) and the backlight and display flags. Give the "
        "program's engine cluster the same COM number on its configuration screen, then watch the needles "
        "move with the calibration window's slider, the settings window's Move Needle, or a run. Ends with "
        "Ctrl+C, removing the link.");
    parser.addHelpOption();
    const QCommandLineOption comOption("com", "The COM number to appear as (default 2).", "n", "2");
    const QCommandLineOption bytesOption("bytes", "Also print each frame's bytes.");
    const QCommandLineOption replyOption(
        "reply", "Answer every frame with these 16 bytes, given as 32 hex digits (shown as the last reply).", "hex");
    const QCommandLineOption pacedOption("paced", "Take the bytes only as fast as the real line (3491 bytes/s).");
    parser.addOptions({comOption, bytesOption, replyOption, pacedOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        parser.showHelp(2);

    const int com = varnet::testing::comNumberOption(parser, comOption, "simenginecluster");
    if (com == 0)
        return 2;
    QByteArray reply;
    if (parser.isSet(replyOption)) {
        const QByteArray hex = parser.value(replyOption).toLatin1();
        reply = QByteArray::fromHex(hex);
        if (hex.size() != 2 * SimEngineCluster::kReplyBytes || reply.size() != SimEngineCluster::kReplyBytes) {
            std::fprintf(stderr, "simenginecluster: --reply needs 32 hex digits\n");
            return 2;
        }
    }
    SimEngineCluster cluster(com);
    if (!cluster.ready()) {
        std::fprintf(stderr, "simenginecluster: no pseudo-terminal, or COM%d cannot be made here\n", com);
        return 1;
    }
    cluster.setReply(reply);
    if (parser.isSet(pacedOption))
        cluster.setLineRate(SimEngineCluster::kLineRate);
    const bool bytes = parser.isSet(bytesOption);
    QObject::connect(&cluster, &SimEngineCluster::frameReceived, &app,
                     [bytes](const SimEngineCluster::Frame& frame) { printFrame(frame, bytes); });
    varnet::testing::quitOnSignals(app);
    std::printf("Engine cluster on COM%d; give the program's engine cluster COM port %d. Ctrl+C ends.\n", com, com);
    std::fflush(stdout);
    return app.exec();
}

// Writes the seed inputs of the fuzz targets with the program's own writers:
// configuration files as a save writes them, the packets the simulator link
// sends, and the replies of every gauge type as the simulated control unit
// sends them. Run it to renew the checked-in seeds:
//
//     build/fuzz/fuzz_seeds fuzz/corpus
//
// Inputs the fuzzers found and kept in the corpus are not touched.

#include "benchmarks/full_config.h"
#include "config/configfile.h"
#include "config/sample_config.h"
#include "simcontrolunit/simcontrolunit.h"
#include "simlink/packets.h"

#include <QByteArray>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace varnet;

void write(const std::filesystem::path& folder, const std::string& name, const std::string& bytes)
{
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

void write(const std::filesystem::path& folder, const std::string& name, const QByteArray& bytes)
{
    write(folder, name, bytes.toStdString());
}

void configSeeds(const std::filesystem::path& folder)
{
    const std::string sample = SerializeConfig(testing::sampleConfig());
    write(folder, "seed-sample.cfg", sample);
    write(folder, "seed-full.cfg", SerializeConfig(benchmarking::fullConfig()));

    ConfigTables empty;
    LoadConstantTables(empty);
    empty.ConfigHeader = testing::programHeader();
    write(folder, "seed-empty.cfg", SerializeConfig(empty));

    // Files of earlier versions end after the engine cluster or the plates.
    const auto plates = sample.find("\"Plates\"");
    const auto yokes = sample.find("\"General FFB Yoke\"");
    write(folder, "seed-older-without-plates.cfg", sample.substr(0, plates) + "\"end\"\r\n");
    write(folder, "seed-older-with-plates.cfg", sample.substr(0, yokes) + "\"end\"\r\n");
}

void dataSeeds(const std::filesystem::path& folder)
{
    write(folder, "seed-float.bin", *DataFloatPacket(3, 0, 80.5f, false));
    write(folder, "seed-float-reversed.bin", *DataFloatPacket(37, 7, -1234.5f, true));
    // Integer bit patterns with integer fillers, as some senders make them.
    write(folder, "seed-int.bin",
          QByteArray("DATA0") + LongToString4(106) + LongToString4(1) + LongToString4(-999).repeated(7));
    // Several records, one group twice, one above the table.
    QByteArray records("DATA@");
    for (const auto& [group, value] : {std::pair{3, 155.0f}, {150, 1.0f}, {3, 80.0f}, {200, 2.0f}})
        records += DataFloatPacket(group, group % 8, value, false)->mid(5);
    write(folder, "seed-records.bin", records);
    // What the link sends that is no DATA packet.
    write(folder, "seed-dsel.bin", DselPacket(3, false));
    write(folder, "seed-stop-all.bin", StopAllPacket(false));
    write(folder, "seed-char.bin", *CharPacket('g', "127.0.0.1"));
    write(folder, "seed-command.bin", *CommandPacket("#0:sim/lights/nav_lights_toggle\r\n", 0));
}

// A reply of `type` from GaugeID `id` with the given bytes (numbered 1..25).
QByteArray reply(int id, int type, std::initializer_list<std::pair<int, int>> bytes)
{
    QByteArray payload(21, '\0');
    for (const auto& [n, value] : bytes)
        payload[n - 4] = char(value);
    return testing::SimControlUnit::reply(id, type, payload);
}

void replySeeds(const std::filesystem::path& folder)
{
    const std::pair<int, int> vorMarks[] = {{9, 'A'}, {6, 'C'}};
    const QByteArray replies[] = {
        reply(106, 106, {vorMarks[0], vorMarks[1], {7, 2}, {8, 30}}),
        reply(107, 107, {vorMarks[0], vorMarks[1], {7, 4}, {8, 60}}),
        reply(108, 108, {vorMarks[0], vorMarks[1], {7, 1}, {8, 0}}),
        reply(105, 105, {{10, 8}, {11, 112}, {7, 0}, {8, 100}}),
        reply(101, 101, {{9, 'P'}, {6, 'P'}, {10, 1}, {12, 130}}),
        reply(101, 101, {{9, 'P'}, {6, 'P'}, {4, 1}, {7, 11}, {8, 176}}),
        reply(104, 104, {{7, 26}, {8, 12}, {9, 6}, {11, 17}, {12, 30}, {13, 0}}),
        reply(110, 110, {{9, 'S'}, {6, 'A'}, {7, 88}, {8, 172}, {10, 86}, {11, 34}}),
        reply(111, 111, {{9, 'S'}, {6, 'A'}, {7, 44}, {8, 86}}),
        reply(120, 120, {{9, 'S'}, {6, 'C'}, {7, 88}, {8, 172}, {13, 86}, {14, 34}, {23, 0}}),
        reply(112, 112, {{9, 'Y'}, {6, 'X'}, {7, 0x77}, {8, 0x00}, {15, 1}, {17, 3}, {13, 1}}),
        reply(122, 122, {{9, 'F'}, {6, 'X'}, {7, 0x12}, {8, 0x00}, {17, 4}}),
        reply(113, 113, {{9, 'D'}, {6, 'S'}, {17, 2}}),
        reply(123, 123, {{9, 'D'}, {6, 'S'}, {17, 3}, {24, 2}, {19, 0x2C}, {20, 0x04}}),
        reply(124, 124, {{9, 'V'}, {6, 'A'}, {22, 5}, {24, 1}, {7, 0x13}, {8, 0x88}, {10, 0x01}, {11, 0xF4},
                         {19, 0x0B}, {20, 0xB0}, {23, 0x41}}),
        reply(125, 125, {{7, 0x21}, {8, 0x0F}, {10, 3}}),
        reply(10, 10, {{6, 0x80}, {11, 0x01}, {13, 0x12}, {17, 0xFF}, {24, 0x10}}),
    };
    int n = 0;
    for (const QByteArray& r : replies)
        write(folder, "seed-" + std::to_string(quint8(r[2])) + "-" + std::to_string(n++) + ".bin", r);
    // Two replies in one read, one cut short before a whole one, and a
    // reply that comes in three bytes late.
    write(folder, "seed-two-replies.bin", replies[0] + replies[0]);
    write(folder, "seed-short-then-whole.bin", replies[3].left(10) + replies[3]);
    write(folder, "seed-late.bin", QByteArray(3, '\xFF') + replies[12]);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    const std::filesystem::path corpus(argv[1]);
    configSeeds(corpus / "configfile");
    dataSeeds(corpus / "datapacket");
    replySeeds(corpus / "gaugereply");
    return 0;
}

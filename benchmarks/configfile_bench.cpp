// Saving and loading the largest configuration a cockpit has (full_config.h:
// 301 functions, 255 gauges, 50 plates, 500 I/O entries), through the
// program's own file functions on a file in a temporary folder.
//
//     build/benchmarks/bench_configfile
//
// "Time" is one whole save or load; "bytes_per_second" the file's bytes.

#include "benchmarks/full_config.h"
#include "config/configfile.h"
#include "platform/messages.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace varnet;

// A load must not stop at a question; there is none for this file.
class NoBoxes final : public MessageService {
public:
    void ok(const QString& text) override { fail(text); }
    bool yesNo(const QString& text) override { return fail(text), false; }
    std::optional<QString> input(const QString& text, const QString&) override { return fail(text), std::nullopt; }

private:
    static void fail(const QString& text)
    {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
        std::abort();
    }
};

class FullConfigFile {
public:
    FullConfigFile()
    {
        setMessageService(&boxes_);
        Session.ProgramTitle = kProgramTitle;
        Session.ConfigFileName = folder_.filePath("full.cfg").toStdString();
        Cfg = benchmarking::fullConfig();
        bytes = SerializeConfig(Cfg).size();
    }
    ~FullConfigFile() { setMessageService(nullptr); }

    std::size_t bytes = 0;

private:
    NoBoxes boxes_;
    QTemporaryDir folder_;
};

void BM_SaveConfigFile(benchmark::State& state)
{
    FullConfigFile file;
    for (auto _ : state) {
        if (!WriteConfigFile())
            state.SkipWithError("the file could not be written");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * file.bytes));
}
BENCHMARK(BM_SaveConfigFile)->Unit(benchmark::kMillisecond);

void BM_LoadConfigFile(benchmark::State& state)
{
    FullConfigFile file;
    WriteConfigFile();
    for (auto _ : state) {
        ReadConfigFile();
        if (Session.ConfigError != 0)
            state.SkipWithError("the file did not load");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * file.bytes));
}
BENCHMARK(BM_LoadConfigFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

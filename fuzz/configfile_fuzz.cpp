// The configuration-file reader on any bytes. Properties:
// - a file that does not load says so in one box and leaves every table as
//   it was; a file that loads shows no error;
// - a file that loads, saved and loaded again, settles: its second save
//   writes exactly what its first one did (values that need more than the
//   seven digits of a Single settle at the first save).

#include "config/configfile.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

using namespace varnet;

std::string folder;
ConfigTables before;
fuzzing::AnsweringMessages* boxes = nullptr;

void writeFile(const std::string& bytes)
{
    std::FILE* file = std::fopen(Session.ConfigFileName.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    std::fclose(file);
}

// Loads `bytes` over the tables `before`; true when the load succeeded.
bool load(const std::string& bytes)
{
    writeFile(bytes);
    Cfg = before;
    const int notices = boxes->notices;
    ReadConfigFile();
    const bool loaded = Session.ConfigError == 0;
    FUZZ_CHECK(boxes->notices == notices + (loaded ? 0 : 1));
    return loaded;
}

void removeFolder()
{
    std::remove(Session.ConfigFileName.c_str());
    rmdir(folder.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    boxes = &fuzzing::setUpFuzzing(false);
    char name[] = "/tmp/varnet-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(name) != nullptr);
    folder = name;
    Session.ConfigFileName = folder + "/fuzz.cfg";
    Session.ProgramTitle = kProgramTitle;
    LoadConstantTables(before);
    before.ConfigHeader = "tables before the load";
    before.ComPortGauges = 7;
    before.AddPlate();
    before.PlateName[0] = "kept plate";
    before.AddIOEntry();
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (!load(input)) {
        FUZZ_CHECK(Cfg == before);
        return 0;
    }
    const std::string first = SerializeConfig(Cfg);
    FUZZ_CHECK(load(first));
    const std::string second = SerializeConfig(Cfg);
    FUZZ_CHECK(load(second));
    FUZZ_CHECK(SerializeConfig(Cfg) == second);
    return 0;
}

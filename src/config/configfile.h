#pragma once

// Configuration files ("*.cfg"): every stored table, section by section.

#include "config/itemtext.h"
#include "config/tables.h"

#include <QString>

#include <optional>
#include <string>

namespace varnet {

// Reads the file `name` whole, as the configuration it holds: every
// section the file lacks starts empty, as in a new configuration.
// Session.ConfigError is 0 when it was read and accepted and 1 when it
// failed or the user refused one of its questions; then nothing is given. A
// read error is shown in a box, or, when `error` is given, handed to the
// caller (who shows it with its own text, one box in all). The
// configuration in memory is left as it is: CommitConfiguration puts the
// tables read in its place.
std::optional<ConfigTables> ReadConfigTables(const std::string& name, QString* error = nullptr);

// `tables`, read from the file `name`, become the configuration in memory,
// under that name; what windows stored into the tables replaced and did not
// save goes with them.
void CommitConfiguration(const std::string& name, ConfigTables&& tables);

// Reads Session.ConfigFileName into Cfg (LoadConfigFile of that name).
void ReadConfigFile(QString* error = nullptr);

// Reads the file `name` and makes it the configuration in memory; true when
// it loaded. A file that failed or was refused leaves the tables, and
// Session.ConfigFileName naming them, as they were, so that a later save
// goes to that file and not over the one that failed.
bool LoadConfigFile(const std::string& name, QString* error = nullptr);

// Writes every stored table to Session.ConfigFileName. The previous file is
// replaced only once the new one was written whole; on failure it is left
// as it was and `error` holds the description.
bool WriteConfigFile(std::string* error = nullptr);

// The whole file text of `tables`.
std::string SerializeConfig(const ConfigTables& tables);

// The section readers, shared by the full load and the partial import. Each
// reads one section's items (after its name) into `tables`, validating what
// later indexing relies on; a fault throws ItemError.
class ConfigSectionReader {
public:
    explicit ConfigSectionReader(ItemReader& reader) : in_(reader) {}

    // Reads a section name and fails unless it is `name`.
    void expectSection(const char* name);
    std::string readSectionName() { return in_.readString(); }

    void readGeneral(ConfigTables& t);
    void readIOM(ConfigTables& t);
    void readFunction(ConfigTables& t, int function);
    void readFunctions(ConfigTables& t);
    void readGaugeTypes(ConfigTables& t);
    void readGauges(ConfigTables& t);
    void readEngineCluster(ConfigTables& t);
    void readPlates(ConfigTables& t);
    void readYokeGeneral(ConfigTables& t);
    void readYoke(ConfigTables& t, int yoke);
    void readYokeSwitches(ConfigTables& t);
    void readActiveIndexes(ConfigTables& t);
    void readForceCurves(ConfigTables& t);

private:
    std::string readPort();

    ItemReader& in_;
};

// Works out a yoke's calibration from its four raw limits.
YokeCalibrationRecord DeriveYokeCalibration(const std::array<Integer, 4>& rawLimits);

// The message that opens every load failure; the file's name and the
// error's description follow.
inline constexpr const char* kConfigErrorMessage = "Error Configuration file. ";

// "Error Configuration file. cockpit.cfg: File not found"; a wrong section
// name has no description and gives the name alone.
QString ConfigErrorText(const std::string& fileName, const std::string& description);

} // namespace varnet

#pragma once

#include "config/tables.h"

#include <string>

namespace varnet::testing {

// A configuration with non-trivial values in every stored table.
ConfigTables sampleConfig();

// A header as a save of this program writes it.
std::string programHeader(const std::string& version = kProgramVersion);

// The bytes of a file, or an empty string when it cannot be read.
std::string fileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

} // namespace varnet::testing

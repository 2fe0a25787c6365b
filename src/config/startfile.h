#pragma once

// The start file "DefaultStartFile.cfn": which configuration the program
// starts with and how many seconds it counts down before the autostart.

#include <string>

namespace varnet {

inline constexpr const char* kStartFileName = "DefaultStartFile.cfn";
inline constexpr const char* kDefaultConfigFile = "Default.cfg";
inline constexpr int kDefaultStartDelay = 10;

// Fills `fileName` and Session.StartDelay from the start file; a missing or
// malformed file gives "Default.cfg" and 10 seconds. Never reports.
void ReadStartFile(std::string& fileName);

// Writes the start file with `fileName` and Session.StartDelay; a failure is
// reported in an OK box and leaves the previous start file as it was.
bool WriteStartFile(const std::string& fileName);

} // namespace varnet

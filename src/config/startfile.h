#pragma once

// The start file "DefaultStartFile.cfn": which configuration the program
// starts with and how many seconds it counts down before the autostart.

#include <QString>

#include <string>

namespace varnet {

inline constexpr const char* kStartFileName = "DefaultStartFile.cfn";
inline constexpr const char* kDefaultConfigFile = "Default.cfg";
inline constexpr int kDefaultStartDelay = 10;

// Fills `fileName` and Session.StartDelay from the start file; a missing or
// malformed file gives "Default.cfg" and 10 seconds. So does a file whose
// name breaks the configuration-name rule (ConfigFileNameFault): nothing
// outside the working folder, nor a name the program would not write
// there, is loaded or started by itself. For that case only, the text
// returned says why the file was set aside (for the caller to show); it is
// empty otherwise.
QString ReadStartFile(std::string& fileName);

// Writes the start file with `fileName` and Session.StartDelay; a name that
// breaks the configuration-name rule and a failed write are reported in an
// OK box and leave the previous start file as it was.
bool WriteStartFile(const std::string& fileName);

} // namespace varnet

#pragma once

// The X-Plane command list of the function-table editor: the command names
// of "Xplane_commands.txt", shown numbered, from which the editor copies
// commands into a function's command text ("#0:command", one per line).

#include <optional>
#include <string>
#include <vector>

namespace varnet {

inline constexpr const char* kCommandFileName = "Xplane_commands.txt";
inline constexpr const char* kCommandFileHeader = "List of Xplane Commands";
inline constexpr const char* kCommandFileError =
    "=============== File with X-Plane commands (Xplane_commands.txt) not found or Incorrect ===============";
inline constexpr const char* kIncorrectCommand = "Incorrect X-Plane command; Cannot be copied";
inline constexpr const char* kCommandNumberRule = "The number after \"Copy to Function as #\" must be 0 to 32767";

struct CommandList {
    std::vector<std::string> lines;  // the commands read, then the error line when reading failed
    int count = 0;                   // the count the file gives; 0 when its header is wrong
};

// Reads the command file: the header item, the count, then that many names.
CommandList ReadCommandFile(const std::string& path = kCommandFileName);

// "0012 sim/lights/landing_lights_on": the number with at least four digits,
// so that the name begins at character 6.
std::string CommandListLine(int number, const std::string& name);

// The command a list line shows: from character 6 up to the first blank;
// nothing for a line shorter than six characters.
std::optional<std::string> CommandOfLine(const std::string& line);

// One line of a function's command text, as its box holds it: "#2:command".
std::string CommandTextLine(int number, const std::string& command);

} // namespace varnet

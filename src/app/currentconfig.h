#pragma once

#include <string>

namespace varnet {

// Shows `name` as the configuration in use wherever the program shows it,
// after a load or a save.
void ShowCurrentConfigFile(const std::string& name);

} // namespace varnet

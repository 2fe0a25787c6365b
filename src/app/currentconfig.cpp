#include "app/currentconfig.h"

namespace varnet {

void ShowCurrentConfigFile(const std::string& /*name*/)
{
    // The run window (BoxCurrentConfig) and the configuration screen (CurrentConfigFile) show it.
}

} // namespace varnet

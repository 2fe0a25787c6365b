#pragma once

namespace varnet {

// Makes the link windows of the stand-alone engine cluster and I/O modules
// reachable from the gauge-bus side (bus/standalonelinks.h). The program
// calls it once at start-up, before anything opens the device ports; calling
// it again changes nothing.
void InstallStandAloneLinks();

} // namespace varnet

#pragma once

// The part of the run preparation that needs no window: it counts the
// configured gauges and bus I/O modules, lays out the per-run tables (RunData),
// empties the sim-port table and opens one sim port for every simulator
// value that a gauge, a bus I/O-module entry or the run window itself reads
// or writes, handing out the poll numbers of the gauges that report back.
// The run window does the rest around it (link and yoke windows, the
// process interval, the device ports, the UDP link, the links' own ports).

namespace varnet {

class SimCom;

// Counting, tables, the gauge, module and general-value ports, in that
// order; afterwards PollMax and IOMPollMax hold the highest poll numbers.
// Every reply port of every GaugeID is reset first: the handles of the
// previous preparation no longer exist.
void PrepareRunTables(SimCom& link);

// The backlight state the first tick starts from: in lights mode 1 (always
// on) every gauge is lit at the first tick; a light mask of 0 becomes 32
// (the instrument lights).
void PrepareBacklight();

} // namespace varnet

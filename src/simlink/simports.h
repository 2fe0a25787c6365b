#pragma once

// The sim-port table: each port binds one simulator function, and one of its
// four (data group, value slot) pairs, to a small buffer that the receive
// path keeps filled. This is the plain part of the table; the link window
// (simcom.h) adds the messages and the packets.

#include "config/tables.h"
#include "simlink/xplanedata.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace varnet {

// The handle that stands for "no port" in every port field.
inline constexpr int kNoSimPort = 65535;
inline constexpr int kLastFunction = 300;
inline constexpr int kMacroSignalType = 6;
// What a port of macro 1 reads: the centre of the macro scale.
inline constexpr Single kMacroCentre = 472;

struct DataPair {
    int group = 0;
    int slot = 0;
};

struct SimPortEntry {
    int function = 0;  // 1..300
    int selector = 1;  // 1..4 choose a pair; anything else chooses none
    bool active = false;
    Byte byteValue = 0;
    Integer intValue = 0;  // Integer, Unsigned Int. and BCD code functions
    Long longValue = 0;
    Single singleValue = 0;
    // The group the port is listed under for the receive path (-1: none),
    // and whether the next datagram refreshes it whatever its groups.
    int listedGroup = -1;
    bool pending = false;
    // Changes whenever the port may read differently: a new value in its
    // buffers, another selector, enabled or disabled. Never the same for two
    // states of the table, also across clear().
    std::uint64_t version = 0;
};

// The outcome of a step that can fail at run time: a value, no value, or the
// description of the fault.
struct PortValue {
    std::optional<double> value;
    QString fault;  // empty unless the step failed
};

// Every datagram gives every active port the value of its pair. Only the
// ports of the datagram's groups can get a new value from it, so each active
// port is listed under the data group of its pair, and a datagram refreshes
// the ports listed under its records' groups: its cost follows its records,
// not the ports open. A port that changed since the last datagram (enabled,
// given another selector, written to) is refreshed by the next one whatever
// it carries, and a port whose function was given another group is listed
// anew when it is read. A datagram handled without refreshing (the test
// display) makes the next one refresh every port.
class SimPortTable {
public:
    int count() const { return int(ports_.size()); }
    // Handles run 0..count()-1; anything else, 65535 and -1 included, is no port.
    bool valid(int handle) const { return handle >= 0 && handle < count(); }
    const SimPortEntry& operator[](int handle) const { return ports_[std::size_t(handle)]; }

    // A new, inactive port with cleared buffers; returns its handle.
    int open(int function, int selector);
    void clear();
    void setActive(int handle, bool active);
    void setSelector(int handle, int selector);
    // The port's buffers, for a value the program writes into them; the next
    // datagram gives the port the simulator's value again.
    SimPortEntry& written(int handle);
    // Before a read: a port whose function has been given a pair in another
    // group (its definition was edited) is listed under that group and takes
    // its value from `data`, as the last datagram would have given it.
    // Returns the port's readable pair (readablePair).
    std::optional<DataPair> follow(int handle, const XplaneDataTable& data);

    // The pair the port's selector chooses (0 counts as 1), or none for a
    // selector outside 0..4.
    std::optional<DataPair> pair(int handle) const;
    // The pair when it lies inside the received-data table.
    std::optional<DataPair> readablePair(int handle) const;

    // After a datagram with `records` was stored in `data`: the active ports
    // of the records' groups, and those changed since the last datagram, get
    // the value of their pair converted to the function's data type. A port
    // whose pair lies outside the table, or whose value does not fit its
    // type, keeps what it held.
    void refresh(const XplaneDataTable& data, const DataGroups& groups);
    // A datagram was stored without refreshing the ports.
    void missed() { refreshAll_ = true; }

private:
    void refreshPort(int handle, const XplaneDataTable& data);
    void list(int handle);
    void unlist(int handle);
    void markPending(int handle);

    std::vector<SimPortEntry> ports_;
    // By data group: the active ports whose pair lies there.
    std::array<std::vector<int>, kXplaneGroups> listed_;
    std::vector<int> pending_;
    bool refreshAll_ = false;
    std::uint64_t versions_ = 0;
};

// x rounded to the nearest integer (halves to even) when that lies within
// lo..hi; nothing for a value out of range, a NaN or an infinity.
std::optional<long long> RoundedInRange(double x, long long lo, long long hi);

// The unscaled value of a port by its function's data type; no value for a
// command or an unused function, a fault for a negative BCD code.
PortValue RawPortValue(const SimPortEntry& port, Byte dataType);

// What a read gives: (raw + pre-add) x multiply / divide, as a Single. A
// zero divisor or a result beyond the range of a Single is a fault.
PortValue ScaleForReading(double raw, int function);
// What a write sends: value x divide / multiply - pre-add, as a Single. A
// zero multiplier or a result beyond the range of a Single is a fault.
PortValue ScaleForWriting(double value, int function);

} // namespace varnet

#pragma once

// What waits for the gauge bus during a run.
//
// The gauge bus carries 38400 baud with a start bit, eight data bits and two
// stop bits: 3491 bytes a second, 139 in a 40 ms tick. A tick may produce
// more (sixty moving needles make 420 bytes). Whatever the line cannot carry
// yet waits here, never in the port's write buffer, where it would pile up
// without bound and bring every needle an ever older value.
//
// A frame waits under its gauge, its command and the part of the gauge it
// sets; a newer frame for the same part replaces the waiting one where it
// stands. So no value waits longer than one pass over the parts that change,
// and what waits is bounded by the parts there are. Frames queued in one
// tick never replace each other: that tick meant every one of them.
//
// Two lanes, each oldest first. Values: needle positions, displays, lamps,
// the backlight. Answers: the frames after which a reply is due (the status
// request of the gauge in turn, a bus I/O module's turn with its output
// words); they take the line's bytes before any value and go last in the
// write, so that a reply belongs to the output last written.

#include "bus/gaugeframes.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

namespace varnet {

inline constexpr double kGaugeBusBytesPerSecond = 38400.0 / 11;
// One unit of run output: 0xFF, then the frame.
inline constexpr int kRunUnitBytes = 1 + kGaugeFrameBytes;

// The whole bytes the gauge bus carries in `intervalMs`.
int LineBytesPer(int intervalMs);
// The whole milliseconds the line takes to carry `bytes`, rounded up.
qint64 LineMsFor(qint64 bytes);

class LineOutput {
public:
    enum class Lane { Values, Answers };
    // A request is asked again by the loop in a later turn; anything else is
    // a value the loop counts as sent once it is queued.
    enum class Kind { Value, Request };

    // A new tick: frames queued from now on replace those of earlier ticks.
    void BeginTick() { ++tick_; }
    // Queues 0xFF and the 6-byte `frame`. `part` (0..3) tells apart the parts
    // of a gauge that one command sets.
    void Add(Lane lane, const QByteArray& frame, int part = 0, Kind kind = Kind::Value);
    void Add(Lane lane, const GaugeFrameBytes& frame, int part = 0, Kind kind = Kind::Value);
    // The oldest units that fit in `budget` bytes, whole: the answers take
    // their bytes first, the values what is left; values go first in the
    // result. They keep waiting until Handed().
    QByteArray Next(int budget);
    // The units of the last Next() went to the line.
    void Handed();
    // The run stops. Its requests are dropped; the values wait for the next
    // run, as the loop counts them as sent and would not send them again.
    void DropRequests();
    void Clear();

    int WaitingUnits() const { return int(values_.units.size() + answers_.units.size()); }

private:
    struct Unit {
        std::uint32_t key;
        std::uint64_t tick;
        Kind kind;
        std::array<char, kRunUnitBytes> bytes;
    };
    struct Waiting {
        std::deque<Unit> units;
        std::uint64_t head = 0;  // sequence number of units.front()
        // Key -> sequence number. The first frame of a part in a tick is
        // found by direct index (one slot per gauge, command and part, 0 for
        // none, else the sequence number + 1); a part queued more than once
        // in one tick, which is rare, is found by hash.
        std::vector<std::uint64_t> first;
        std::unordered_map<std::uint32_t, std::uint64_t> more;
        int taken = 0;           // units in the last Next()

        std::optional<std::uint64_t> find(std::uint32_t key) const;
        void place(std::uint32_t key, std::uint64_t sequence);
        void forget(std::uint32_t key);
    };

    Waiting& lane(Lane which) { return which == Lane::Values ? values_ : answers_; }
    static void handOut(Waiting& waiting, int units, QByteArray& out);
    static void remove(Waiting& waiting, int units);
    static void dropRequests(Waiting& waiting);

    Waiting values_;
    Waiting answers_;
    std::uint64_t tick_ = 0;
};

} // namespace varnet

#pragma once

// The bus search: asks every GaugeID 1..255 in turn with the identify frame
// and records who answers. It runs on the event loop and never waits
// itself: the screen's 20 ms clock calls tick() and a short poll timer calls
// poll(), so the screen stays usable ("->250", Close) while it runs.
//
// The search writes its frame straight into the shared send buffer, which
// the run window's configuration timer sends; answers come back through the
// run window's receive event (GaugeReply, GaugeReplyReceived).

#include "config/tables.h"

#include <QByteArray>

#include <functional>
#include <optional>
#include <string>

namespace varnet {

inline constexpr int kSkipToGaugeID = 250;
// Ticks of the 20 ms clock a GaugeID has to answer.
inline constexpr int kSearchWaitTicks = 2;
// Ticks a frame of somebody else may hold the send buffer before the search
// writes over it (its sender has stopped).
inline constexpr int kSearchSlotTicks = 50;

// What a gauge says about itself in its reply to the identify frame.
struct IdentifyAnswer {
    int gaugeID;
    int typeCode;
    int model;
    int version;
};

// The answer in a well-framed reply; nothing for a reply that names no bus
// address (GaugeID 0).
std::optional<IdentifyAnswer> ReadIdentifyAnswer(const QByteArray& reply);

// The line the search lists for an answer: a blank, the GaugeID "000",
// three blanks, the type code "000", nine blanks and the type name (rows
// 1..50 of the type table, " Unknown " when none holds it).
std::string SearchLine(const ConfigTables& tables, const IdentifyAnswer& answer);

class BusSearch {
public:
    // The GaugeID being asked, and the ticks left for its answer.
    Integer SearchGaugeID = 0;
    Integer SearchWaitTicks = 0;

    // A GaugeID is about to be asked.
    std::function<void(int gaugeID)> asking;
    // An answer was stored; the line to list for it.
    std::function<void(const std::string& line)> answered;
    // An answer changed what the tables held for its GaugeID.
    std::function<void()> stored;
    // GaugeID 255 had its turn.
    std::function<void()> finished;

    bool scanning() const { return scanning_; }

    // Starts at GaugeID 1; false (and nothing changes) while a search runs.
    bool start();
    // "->250": during a search, the GaugeID after the one being asked is 250
    // (or the next one, past 250). Outside a search the next start still
    // begins at 1.
    void skipTo250();
    // Ends a running search where it is, without finished().
    void stop();

    // One tick of the 20 ms clock.
    void tick();
    // Takes an answer that came in and moves on when the GaugeID being asked
    // answered or its time is up.
    void poll();

private:
    enum class Phase { WaitingForSendSlot, Listening };

    void beginGaugeID(int gaugeID);
    void sendIdentify();
    void takeReply();
    void nextGaugeID();

    bool scanning_ = false;
    Phase phase_ = Phase::WaitingForSendSlot;
    int asked_ = 0;
    int slotTicks_ = 0;
    bool skipPending_ = false;
};

} // namespace varnet

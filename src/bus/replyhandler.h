#pragma once

// The gauge bus has one reader: the run window's receive event hands every
// 25-byte unit to the GaugeReplyHandler. A gauge reply is 0x00, the GaugeID,
// the type code, 21 bytes of payload and 0xFF. Every well-framed reply is
// kept in GaugeReply and raises GaugeReplyReceived, run or no run: that is
// how the dialogs, the bus search and the gauge test window get their
// answers.
//
// During a run the reply is also decoded by its type: what the user set on
// the hardware (a course knob, a frequency, a squawk code, the barometer,
// the autopilot, the audio selector, the clock) goes to the simulator
// through the reply ports that the run preparation opened for the gauge
// (Instruments.GaugeReplyPort1..4) or through the link's instrument helpers,
// and a bus I/O module's switches and channels are stored for its turn.
//
// Which gauge may answer. During a run only the process loop writes to the
// bus, and every tick's output ends with its one request for an answer: the
// request of the gauge in turn (PollRequest, appended last), or in a bus
// I/O module's turn the module's status command. The next tick empties the
// input before it writes, so a reply that comes in belongs to the output
// last written, which is still in GaugeSendBuffer. A reply from any other
// GaugeID, or of a type other than the one configured for its GaugeID, is
// counted and not decoded: it would write through ports opened for another
// instrument.

#include "config/tables.h"
#include "platform/wait.h"

#include <QByteArray>

namespace varnet {

class SerialPort;
class SimCom;

// What came in since the handler was made (once per load of the run window).
struct ReplyCounts {
    int decoded = 0;
    // Not a whole reply (wrong length or framing): dropped with whatever
    // else the port had collected.
    int badFrames = 0;
    // Well framed, during a run, but not from the gauge asked or not of the
    // type configured for its GaugeID.
    int notAsked = 0;
    // From the gauge asked, but not used: markers that do not belong to its
    // type, a selection the instrument does not have, a type without
    // decoding, or a reply that came in while the previous one was still
    // being written behind a message box.
    int ignored = 0;
};

// The GaugeID whose answer a run output asks for: the gauge of pollRequest
// when the output ends with it, else the bus I/O module whose status
// command comes last in it; 0 when the output asks nobody.
int ExpectedReplyGaugeID(const QByteArray& output, const QByteArray& pollRequest);

class GaugeReplyHandler {
public:
    // `running` is the run window's run flag: replies are decoded only while
    // it is 1, and writing stops once a fault box stopped the run.
    // `pollRequest` is the process loop's request of the tick.
    GaugeReplyHandler(const Integer& running, const QByteArray& pollRequest)
        : running_(running), pollRequest_(pollRequest)
    {
    }

    // The receive event: reads one unit from the port. A unit that is not a
    // well-framed reply is dropped together with everything collected after
    // it, which is out of step with the replies; only a whole reply at the
    // very end of what was collected is kept. Break and framing errors are
    // the port owner's to handle.
    void OnComm(SerialPort& port);

    ReplyCounts counts;

    // ---- Last values of the instruments that write only on a change, and
    // what the autopilot and audio panel last reported.
    Integer LastVOR1Course = 0;
    Integer LastVOR2Course = 0;
    Long LastDMEFrequency = 0;
    Integer APReplyStatus = 0;
    Integer APVerticalSpeedReply = 0;
    Integer AudioPanelStatus = 0;

private:
    class Reply;

    // A well-framed reply.
    void take(const QByteArray& reply);
    // false when the reply was not used.
    bool decode(const Reply& b);

    void storeModuleInputs(const Reply& b);
    bool altimeter(const Reply& b);
    void airlinerClock(const Reply& b);
    void headingIndicator(const Reply& b);
    bool courseKnob(const Reply& b);
    bool radio(const Reply& b);
    bool transponder(const Reply& b);
    bool dmeIndicator(const Reply& b);
    bool dme(const Reply& b);
    bool autopilot(const Reply& b);
    void audioPanel(const Reply& b);
    void selectDME(int gaugeID, int selection);

    bool running() const { return running_ == 1; }
    SimCom& link();
    // Writes through a sim port while the run goes on; a value that is no
    // finite number never reaches the simulator.
    void put(int port, double value);

    const Integer& running_;
    const QByteArray& pollRequest_;
    BusyFlag decoding_;
};

} // namespace varnet

#pragma once

// The shared send path of the configuration dialogs. While no run is
// active, one frame at a time waits in GaugeSendBuffer with GaugeSendPending
// raised until the run window's configuration timer writes it to the gauge
// bus; replies come back through the run window's receive event into
// GaugeReply and GaugeReplyReceived. During a run the process loop owns
// GaugeSendBuffer (what its last write held) and single frames are refused.

#include "config/tables.h"

#include <QByteArray>

#include <optional>
#include <string>

namespace varnet {

extern QByteArray GaugeSendBuffer;   // one single frame while halted; the last tick's write while running
extern Integer GaugeSendPending;     // 1 while a single frame waits for the configuration timer
extern QByteArray GaugeReply;        // last input read from the gauge bus
extern Integer GaugeReplyReceived;   // 1 once a well-framed reply came in; cleared by the requesters
extern QByteArray GaugeCmdFrame;     // the last frame SendGaugeCommand or SendNewGaugeID built

// The record a dialog opens for, set by its opener before the dialog loads.
extern Integer CurrentGaugeID;
extern std::string CurrentGaugeTypeName;

// Longest wait for an earlier single frame to go out; it normally takes one
// tick of the 5 ms configuration timer.
inline constexpr int kSendSlotWaitMs = 1000;
// Longest wait of PollGauge for a reply; a gauge answers within a few
// milliseconds of its request.
inline constexpr int kPollReplyWaitMs = 250;

// Queues the command frame for a gauge on the bus (GaugeID 0..255), or hands
// the command to the link of stand-alone I/O module 1 (1000) or 2 (2000);
// any other GaugeID sends nothing. Waits, letting events run, while an
// earlier frame is still waiting. Returns once the frame is queued; false
// when nothing was queued: a run is active, the earlier frame did not go
// out in time, or the frame cannot be built.
bool SendGaugeCommand(int GaugeID, int Command, double Value);

// Queues the new-ID frame. An ID outside 0..255 shows "Wrong GaugeID
// specification"; on every failure NewID becomes -1 and nothing is queued.
bool SendNewGaugeID(int CurrentID, int& NewID);

// Sends the status request to a gauge and waits, at most kPollReplyWaitMs,
// until GaugeReplyReceived is 1; the caller then reads GaugeReply. Does not
// clear GaugeReplyReceived first. false (flag still 0) means no reply.
bool PollGauge(int GaugeID);

// The status request of a periodic poll, which never waits: forgets the
// reply kept for the gauge and queues the request only when the send path
// takes it at once (no earlier frame waiting, no run active). false when
// nothing was queued. GaugeReplyReceived is left to the requesters that wait.
bool AskGaugeStatus(int GaugeID, int Value);
// The well-framed reply of the gauge that came in since AskGaugeStatus last
// ran for it; nothing when none came.
std::optional<QByteArray> GaugeAnswer(int GaugeID);
// The reply handler keeps every well-framed reply by its GaugeID, so that
// the polls of several open dialogs do not lose their replies to each other
// in GaugeReply.
void KeepGaugeAnswer(const QByteArray& reply);

} // namespace varnet

#pragma once

// How the configuration dialogs and the plate window reach their gauge: one
// command frame at a time, the address change, and the status request with
// its reply. The program uses the shared send path of the gauge bus
// (bus/sendpath.h); tests install a recording link.

#include <QByteArray>

#include <optional>

namespace varnet {

class GaugeLink {
public:
    virtual ~GaugeLink() = default;

    // Queues one command frame; false when nothing was queued.
    virtual bool Send(int gaugeID, int command, double value) = 0;
    // Queues the address change; false (and nothing queued) when it failed.
    virtual bool SendNewID(int oldID, int newID) = 0;
    // Asks the gauge for its status (command 7; most gauges take 0, some
    // a test value with it) and waits, bounded, for a fresh reply: the 25
    // bytes of a well-framed reply from `gaugeID` that arrived after the
    // request, or nothing.
    virtual std::optional<QByteArray> Poll(int gaugeID, int requestValue = 0) = 0;
    // The request of a periodic poll, which never waits: forgets what the
    // gauge answered so far and queues the status request when the send path
    // takes it at once. false when nothing was queued.
    virtual bool Ask(int gaugeID, int requestValue) = 0;
    // The gauge's own well-framed reply that came in since its last Ask;
    // nothing when none came.
    virtual std::optional<QByteArray> Answer(int gaugeID) = 0;
};

// The link in use: the shared send path unless a test installed another.
GaugeLink& gaugeLink();
// Installs `link` (not owned) and returns the one it replaces; nullptr
// restores the shared send path.
GaugeLink* setGaugeLink(GaugeLink* link);

// `reply` when it is a well-framed 25-byte reply of `gaugeID`: 0x00, the
// GaugeID, ..., 0xFF.
std::optional<QByteArray> ReplyOf(const QByteArray& reply, int gaugeID);

} // namespace varnet

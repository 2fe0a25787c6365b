#pragma once

// Records what the dialogs send and answers status requests from a table.

#include "gauges/gaugelink.h"

#include <QByteArray>
#include <QMap>

#include <vector>

namespace varnet::testing {

using Commands = std::vector<std::pair<int, int>>;

struct SentCommand {
    int gaugeID;
    int command;
    double value;
    bool operator==(const SentCommand&) const = default;
};

class RecordingLink final : public GaugeLink {
public:
    RecordingLink() : previous_(setGaugeLink(this)) {}
    ~RecordingLink() override { setGaugeLink(previous_); }
    RecordingLink(const RecordingLink&) = delete;
    RecordingLink& operator=(const RecordingLink&) = delete;

    bool Send(int gaugeID, int command, double value) override
    {
        sent.push_back({gaugeID, command, value});
        return accept;
    }
    bool SendNewID(int oldID, int newID) override
    {
        newIDs.push_back({oldID, newID});
        return accept;
    }
    std::optional<QByteArray> Poll(int gaugeID, int requestValue = 0) override
    {
        sent.push_back({gaugeID, 7, double(requestValue)});
        if (!replies.contains(gaugeID))
            return std::nullopt;
        return ReplyOf(replies.value(gaugeID), gaugeID);
    }
    // The table's reply counts as come in once asked for.
    bool Ask(int gaugeID, int requestValue) override
    {
        sent.push_back({gaugeID, 7, double(requestValue)});
        return asked_[gaugeID] = accept;
    }
    std::optional<QByteArray> Answer(int gaugeID) override
    {
        return asked_.value(gaugeID) ? ReplyOf(replies.value(gaugeID), gaugeID) : std::nullopt;
    }

    // Commands as (command, value) pairs, for one-gauge tests.
    Commands commands() const
    {
        Commands out;
        for (const SentCommand& c : sent)
            out.emplace_back(c.command, int(c.value));
        return out;
    }
    void clear() { sent.clear(); newIDs.clear(); }

    std::vector<SentCommand> sent;
    Commands newIDs;
    QMap<int, QByteArray> replies;  // the status reply of each GaugeID
    bool accept = true;             // false: every send fails

private:
    GaugeLink* previous_;
    QMap<int, bool> asked_;
};

} // namespace varnet::testing

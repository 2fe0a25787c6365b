#include "gauges/gaugelink.h"

#include "bus/gaugeframes.h"
#include "bus/sendpath.h"
#include "platform/wait.h"

namespace varnet {

namespace {

class SharedSendPath final : public GaugeLink {
public:
    bool Send(int gaugeID, int command, double value) override { return SendGaugeCommand(gaugeID, command, value); }

    bool SendNewID(int oldID, int newID) override
    {
        int target = newID;
        return SendNewGaugeID(oldID, target) && target == newID;
    }

    std::optional<QByteArray> Poll(int gaugeID, int requestValue) override
    {
        // Cleared first, so that a reply standing from an earlier request
        // is never taken for this one.
        GaugeReplyReceived = 0;
        const bool answered = requestValue == 0 ? PollGauge(gaugeID)
                                                : SendGaugeCommand(gaugeID, kStatusRequestCommand, requestValue)
                                                      && waitUntil([] { return GaugeReplyReceived == 1; },
                                                                   kPollReplyWaitMs);
        if (!answered || GaugeReplyReceived != 1)
            return std::nullopt;
        return ReplyOf(GaugeReply, gaugeID);
    }

    bool Ask(int gaugeID, int requestValue) override { return AskGaugeStatus(gaugeID, requestValue); }
    std::optional<QByteArray> Answer(int gaugeID) override { return GaugeAnswer(gaugeID); }
};

SharedSendPath sharedSendPath;
GaugeLink* installed = nullptr;

} // namespace

GaugeLink& gaugeLink()
{
    return installed ? *installed : sharedSendPath;
}

GaugeLink* setGaugeLink(GaugeLink* link)
{
    GaugeLink* previous = installed;
    installed = link;
    return previous;
}

std::optional<QByteArray> ReplyOf(const QByteArray& reply, int gaugeID)
{
    if (reply.size() != kGaugeReplyBytes || reply.front() != '\0' || quint8(reply.back()) != 0xFF
        || quint8(reply.at(1)) != gaugeID)
        return std::nullopt;
    return reply;
}

} // namespace varnet

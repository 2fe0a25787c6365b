#include "app/bussearch.h"

#include "app/configscreen.h"
#include "bus/gaugeframes.h"
#include "bus/sendpath.h"

#include <algorithm>
#include <cstdio>

namespace varnet {

namespace {

constexpr int kSearchLineTypeRows = 50;

} // namespace

std::optional<IdentifyAnswer> ReadIdentifyAnswer(const QByteArray& reply)
{
    if (!IsWellFramedReply(reply))
        return std::nullopt;
    const auto byte = [&](int position) { return int(quint8(reply[position - 1])); };
    const IdentifyAnswer answer{byte(2), byte(3), byte(4), byte(5)};
    if (answer.gaugeID < kFirstBusGaugeID || answer.gaugeID > kLastBusGaugeID)
        return std::nullopt;
    return answer;
}

std::string SearchLine(const ConfigTables& t, const IdentifyAnswer& a)
{
    char head[32];
    std::snprintf(head, sizeof head, " %03d   %03d         ", a.gaugeID, a.typeCode);
    return head + TypeNameInRows(t, a.typeCode, 1, kSearchLineTypeRows, " Unknown ");
}

bool BusSearch::start()
{
    if (scanning_)
        return false;
    scanning_ = true;
    skipPending_ = false;
    beginGaugeID(kFirstBusGaugeID);
    return true;
}

void BusSearch::skipTo250()
{
    if (scanning_)
        skipPending_ = true;
    else
        SearchGaugeID = kSkipToGaugeID;
}

void BusSearch::stop()
{
    scanning_ = false;
}

void BusSearch::tick()
{
    if (SearchWaitTicks > 0)
        --SearchWaitTicks;
    if (scanning_ && phase_ == Phase::WaitingForSendSlot)
        ++slotTicks_;
}

void BusSearch::poll()
{
    if (!scanning_)
        return;
    // A late answer is taken whenever it comes, before the next frame
    // clears the flag.
    if (GaugeReplyReceived == 1) {
        takeReply();
        if (!scanning_)
            return;
    }
    if (phase_ == Phase::WaitingForSendSlot) {
        // A frame of a dialog still waiting for the sender is not
        // overwritten, unless the sender has stopped taking frames.
        if (GaugeSendPending == 1 && slotTicks_ < kSearchSlotTicks)
            return;
        sendIdentify();
        return;
    }
    if (SearchWaitTicks <= 0)
        nextGaugeID();
}

void BusSearch::beginGaugeID(int gaugeID)
{
    SearchGaugeID = Integer(gaugeID);
    asked_ = gaugeID;
    phase_ = Phase::WaitingForSendSlot;
    slotTicks_ = 0;
    if (asking)
        asking(gaugeID);
    poll();
}

void BusSearch::sendIdentify()
{
    CurrentGaugeID = Integer(asked_);
    GaugeReplyReceived = 0;
    GaugeReply.clear();
    GaugeSendBuffer = *IdentifyFrame(asked_);
    GaugeSendPending = 1;
    SearchWaitTicks = kSearchWaitTicks;
    Session.GaugeRecBusStatus[asked_] = 1;
    phase_ = Phase::Listening;
}

void BusSearch::takeReply()
{
    GaugeReplyReceived = 0;
    const std::optional<IdentifyAnswer> answer = ReadIdentifyAnswer(GaugeReply);
    if (!answer)
        return;
    // The record of the gauge that answered, whichever was asked: a late
    // answer belongs to its own GaugeID.
    const int id = answer->gaugeID;
    const bool changes = Cfg.GaugeRecType[id] != answer->typeCode || Cfg.GaugeRecModel[id] != answer->model ||
                         Cfg.GaugeRecVersion[id] != answer->version;
    Cfg.GaugeRecType[id] = Byte(answer->typeCode);
    Cfg.GaugeRecModel[id] = Byte(answer->model);
    Cfg.GaugeRecVersion[id] = Byte(answer->version);
    Session.GaugeRecBusStatus[id] = 2;
    if (changes && stored)
        stored();
    if (answered)
        answered(SearchLine(Cfg, *answer));
    if (phase_ == Phase::Listening && id == asked_)
        nextGaugeID();
}

void BusSearch::nextGaugeID()
{
    int next = asked_ + 1;
    if (skipPending_) {
        skipPending_ = false;
        next = std::max(next, kSkipToGaugeID);
    }
    if (next > kLastBusGaugeID) {
        scanning_ = false;
        if (finished)
            finished();
        return;
    }
    beginGaugeID(next);
}

} // namespace varnet

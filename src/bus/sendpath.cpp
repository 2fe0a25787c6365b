#include "bus/sendpath.h"

#include "bus/gaugeframes.h"
#include "bus/runwindow.h"
#include "bus/standalonelinks.h"
#include "platform/messages.h"
#include "platform/wait.h"

#include <array>

namespace varnet {

QByteArray GaugeSendBuffer;
Integer GaugeSendPending = 0;
QByteArray GaugeReply;
Integer GaugeReplyReceived = 0;
QByteArray GaugeCmdFrame;
Integer CurrentGaugeID = 0;
std::string CurrentGaugeTypeName;

namespace {

bool acceptingSingleFrames()
{
    // The run window serves the dialogs even when it was never shown.
    return DefaultForm<frmStatus>::get().SingleFramesAccepted();
}

// Waits until the earlier single frame is out. false when a run is active or
// starts meanwhile, or the frame is still waiting at the end of the wait.
bool waitForSendSlot()
{
    if (!acceptingSingleFrames())
        return false;
    waitUntil([] { return GaugeSendPending != 1 || !acceptingSingleFrames(); }, kSendSlotWaitMs);
    return GaugeSendPending != 1 && acceptingSingleFrames();
}

void queueSingleFrame(const QByteArray& frame)
{
    GaugeCmdFrame = frame;
    GaugeSendBuffer = frame;
    GaugeSendPending = 1;
}

std::array<QByteArray, 256> answers;

} // namespace

bool SendGaugeCommand(int GaugeID, int Command, double Value)
{
    if (GaugeID < 256) {
        const std::optional<QByteArray> frame = GaugeBusFrame(GaugeID, Command, Value);
        if (!frame || !waitForSendSlot())
            return false;
        queueSingleFrame(*frame);
        return true;
    }
    if (const std::optional<StandAloneDevice> module = standAloneModuleOf(GaugeID))
        return standAloneLinks().ComposeCmd(*module, GaugeID, Command, Value);
    return false;
}

bool SendNewGaugeID(int CurrentID, int& NewID)
{
    const std::optional<QByteArray> frame = NewGaugeIDFrame(CurrentID, NewID);
    if (!frame)
        messages().ok(QStringLiteral("Wrong GaugeID specification"));
    if (!frame || !waitForSendSlot()) {
        NewID = -1;
        return false;
    }
    queueSingleFrame(*frame);
    return true;
}

bool PollGauge(int GaugeID)
{
    if (!SendGaugeCommand(GaugeID, kStatusRequestCommand, 0))
        return false;
    return waitUntil([] { return GaugeReplyReceived == 1; }, kPollReplyWaitMs);
}

bool AskGaugeStatus(int GaugeID, int Value)
{
    if (GaugeID < 0 || GaugeID > 255)
        return false;
    answers[std::size_t(GaugeID)].clear();
    const std::optional<QByteArray> frame = GaugeBusFrame(GaugeID, kStatusRequestCommand, Value);
    if (!frame || GaugeSendPending == 1 || !acceptingSingleFrames())
        return false;
    queueSingleFrame(*frame);
    return true;
}

std::optional<QByteArray> GaugeAnswer(int GaugeID)
{
    if (GaugeID < 0 || GaugeID > 255 || answers[std::size_t(GaugeID)].isEmpty())
        return std::nullopt;
    return answers[std::size_t(GaugeID)];
}

void KeepGaugeAnswer(const QByteArray& reply)
{
    if (reply.size() > 1)
        answers[quint8(reply.at(1))] = reply;
}

} // namespace varnet

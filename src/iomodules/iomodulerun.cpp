#include "iomodules/iomodulerun.h"

#include "bus/gaugeframes.h"
#include "bus/ioentryrules.h"
#include "config/gaugetypes.h"
#include "simlink/simcom.h"

#include <exception>
#include <optional>

namespace varnet {

namespace {

// Reply byte 3 (0-based 2): the type code of the board.
constexpr int kTypeByte = 2;

QString describe(const std::exception& fault)
{
    return QString::fromLatin1(fault.what());
}

} // namespace

IOModuleRun::IOModuleRun(const SwitchEntries& switches, const ChannelEntries& channels, const OutputEntries& outputs)
    : switchEntries_(switches), channelEntries_(channels), outputEntries_(outputs)
{
    Reset();
}

void IOModuleRun::Reset()
{
    // Before the first reply the module counts as all switches on and every
    // channel at 1023, as the bus modules do: the first reply then sets the
    // simulator from every switch that is off.
    switchPrevious_ = QByteArray(kModuleSwitchBytes, kIOSwitchesBeforeFirstReply);
    switchState_ = QByteArray(kModuleSwitchBytes, '\0');
    channels_.fill(0);
    channelsLast_.fill(kIOChannelBeforeFirstReply);
    words_.fill(0);
    wordsPending_.fill(false);
    outputVersions_.fill(0);
    faultPassed_ = false;
    newReply_ = false;
    lastReply_.clear();
}

void IOModuleRun::RunStarted()
{
    wordsPending_.fill(true);
    outputVersions_.fill(0);
    faultPassed_ = false;
}

bool IOModuleRun::TakeReply(const QByteArray& reply)
{
    if (!IsWellFramedReply(reply) || quint8(reply[kTypeByte]) != IOModuleType)
        return false;
    // A module that is left alone says the same on every poll: its inputs
    // are those of the last reply.
    newReply_ = true;
    if (reply == lastReply_)
        return true;
    lastReply_ = reply;
    IOModuleInputs inputs = DecodeIOModuleInputs(reply);
    switchState_ = std::move(inputs.switches);
    channels_ = inputs.channels;
    return true;
}

bool IOModuleRun::Process(const Services& services)
{
    // The inputs act once per reply: before the first one there is nothing
    // the module said, and a reply already acted on says nothing new.
    const bool inputs = newReply_;
    newReply_ = false;
    if (inputs && !(processSwitches(services) && processChannels(services)))
        return false;
    return processOutputs(services);
}

bool IOModuleRun::processSwitches(const Services& s)
{
    // A box below may let a newer reply in: only the copy taken here is acted
    // on and kept as processed, and the newer one waits for the next tick.
    const QByteArray state = switchState_;
    const QByteArray previous = switchPrevious_;
    if (state == previous)
        return true;
    bool goOn = true;
    ForEachChangedSwitch(
        previous, state,
        [&](int sw, bool on) {
            const int e = switchEntries_[std::size_t(sw)];
            if (!ValidIOEntry(e))
                return;
            try {
                IOSwitchAction(s.link, e, on, s.sendKey);
            } catch (const std::exception& fault) {
                goOn = reportFault(s, QStringLiteral("switch:%1").arg(sw), describe(fault));
            }
            if (s.stopped())
                goOn = false;
        },
        [&] { return !goOn; });
    if (!goOn)
        return false;
    switchPrevious_ = state;
    return true;
}

bool IOModuleRun::processChannels(const Services& s)
{
    int n = 0;
    const std::function<bool(const QString&)> fault = [&](const QString& error) {
        return reportFault(s, QStringLiteral("analogue input:%1").arg(n), error);
    };
    for (; n < kIOModuleChannels; ++n) {
        const int e = channelEntries_[std::size_t(n)];
        if (!ValidIOEntry(e))
            continue;
        // The entry's change threshold, as the bus preparation copies it.
        if (!ProcessIOChannel(s.link, e, channels_[std::size_t(n)], channelsLast_[std::size_t(n)],
                              Cfg.IOEntryKeyOff[std::size_t(e)], fault) ||
            s.stopped())
            return false;
    }
    return true;
}

bool IOModuleRun::processOutputs(const Services& s)
{
    for (int output = 0; output < kIOModuleOutputs; ++output) {
        const int e = outputEntries_[std::size_t(output)];
        if (!ValidIOEntry(e))
            continue;
        const std::uint64_t version = s.link.PortVersion(IOEntrySimPort(e));
        if (version != 0 && version == outputVersions_[std::size_t(output)])
            continue;
        std::optional<Single> v;
        bool goOn = true;
        try {
            v = IOLampValue(s.link, e);
        } catch (const std::exception& fault) {
            goOn = reportFault(s, QStringLiteral("LED output:%1").arg(output), describe(fault));
        }
        if (!goOn || s.stopped())
            return false;
        // Nothing (a value that cannot be read, or an entry gone behind the
        // read's box) leaves the LED as it is.
        if (!v)
            continue;
        outputVersions_[std::size_t(output)] = version;
        const std::size_t word = IOOutputInWord2(output) ? 1 : 0;
        if (SetIOOutputBit(words_[word], output, IOLampLit(e, *v)))
            wordsPending_[word] = true;
    }
    return true;
}

bool IOModuleRun::reportFault(const Services& s, const QString& where, const QString& error)
{
    if (faultPassed_)
        return true;
    faultPassed_ = s.fault(where, error);
    return faultPassed_;
}

QByteArray IOModuleRun::Output() const
{
    // Made once: most ticks send nothing but the poll.
    static const QByteArray poll = *GaugeBusFrame(kStandAloneModuleAddress, kIOModuleStatusCommand, 0);
    if (!wordsPending_[0] && !wordsPending_[1])
        return poll;
    QByteArray out;
    const int commands[] = {kIOOutputWord1Command, kIOOutputWord2Command};
    for (std::size_t w = 0; w < 2; ++w) {
        if (!wordsPending_[w])
            continue;
        if (const std::optional<QByteArray> frame = GaugeBusFrame(kStandAloneModuleAddress, commands[w], words_[w]))
            out += *frame;
    }
    out += poll;
    return out;
}

void IOModuleRun::OutputWritten()
{
    wordsPending_.fill(false);
}

} // namespace varnet

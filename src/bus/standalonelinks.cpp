#include "bus/standalonelinks.h"

#include <QtGlobal>

namespace varnet {

namespace {

StandAloneLinks* installed = nullptr;

} // namespace

QByteArray ECFrame;
QByteArray ECReplyBuffer;
Integer ECReplyReceived = 0;
Integer ECMode = 0;
Integer ECRecalCountdown = 0;
Integer ECPortsOpened = 0;
Byte ECBacklightOn = 0;
Byte ECDisplaysOn = 0;

void setStandAloneLinks(StandAloneLinks* links)
{
    installed = links;
}

StandAloneLinks& standAloneLinks()
{
    if (!installed)
        qFatal("The stand-alone link windows are not installed (InstallStandAloneLinks)");
    return *installed;
}

std::optional<StandAloneDevice> standAloneModuleOf(int gaugeID)
{
    if (gaugeID == kStandAloneIOM1)
        return StandAloneDevice::IOModule1;
    if (gaugeID == kStandAloneIOM2)
        return StandAloneDevice::IOModule2;
    return std::nullopt;
}

} // namespace varnet

#include "iomodules/configwindows.h"

#include "bus/sendpath.h"

namespace varnet {

ConfigIOM::ConfigIOM()
{
    setObjectName(QStringLiteral("ConfigIOM"));
    setWindowTitle(QStringLiteral("IO Module"));
}

void ConfigIOM::Form_Load()
{
    GaugeID = CurrentGaugeID;
}

frmTestEC::frmTestEC()
{
    setObjectName(QStringLiteral("frmTestEC"));
    setWindowTitle(QStringLiteral("Engine Cluster"));
}

void frmTestEC::Form_Load()
{
    GaugeID = CurrentGaugeID;
}

} // namespace varnet

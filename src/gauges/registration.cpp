#include "gauges/registration.h"

#include "gauges/adfindicator.h"
#include "gauges/airlinerclock.h"
#include "gauges/attitude.h"
#include "gauges/digitalaltimeter.h"
#include "gauges/analoguealtimeter.h"
#include "gauges/dmeindicator.h"
#include "gauges/enginecluster.h"
#include "gauges/headingindicator.h"
#include "gauges/lightclock.h"
#include "gauges/displayneedle.h"
#include "gauges/dualneedle.h"
#include "gauges/platewindow.h"
#include "gauges/rmi.h"
#include "gauges/singleneedle.h"
#include "gauges/vorindicator.h"

namespace varnet {

void RegisterGaugeDialogs(const DialogOpenerSetter& set)
{
    set("ConfigGaugeSN", [] { OpenDialog<ConfigGaugeSN>(&ConfigGaugeSN::GaugeSNInitialize); });
    set("ConfigGaugeSD", [] { OpenDialog<ConfigGaugeSD>(&ConfigGaugeSD::GaugeSDinitialize); });
    set("ConfigGaugeDN", [] { OpenDialog<ConfigGaugeDN>(&ConfigGaugeDN::GaugeDNInitialize); });
    set("ConfigGaugeVOR", [] { OpenDialog<ConfigGaugeVOR>(); });
    set("ConfigGaugeAD", [] { OpenDialog<ConfigGaugeAD>(); });
    set("ConfigGaugeAI", [] { OpenDialog<ConfigGaugeAI>(); });
    set("ConfigCessnaEngineCluster", [] { OpenDialog<ConfigCessnaEngineCluster>(); });
    set("ConfigAnalogueAltimeter", [] { OpenDialog<ConfigAnalogueAltimeter>(); });
    set("ConfigDME", [] { OpenDialog<ConfigDME>(); });
    set("ConfigRMI", [] { OpenDialog<ConfigRMI>(); });
    set("ConfigDG", [] { OpenDialog<ConfigDG>(); });
    set("ConfigADF", [] { OpenDialog<ConfigADF>(); });
    set("ConfigCessnaClock", [] { OpenDialog<ConfigCessnaClock>(); });
    set("ConfigBoeingClock", [] { OpenDialog<ConfigBoeingClock>(); });
}

void CloseGaugeDialogs()
{
    CloseOpenDialogs();
    DefaultForm<frmCalibrate>::unload();
}

} // namespace varnet

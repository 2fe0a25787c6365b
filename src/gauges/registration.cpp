#include "gauges/registration.h"

#include "gauges/platewindow.h"
#include "gauges/singleneedle.h"

namespace varnet {

void RegisterGaugeDialogs(const DialogOpenerSetter& set)
{
    set("ConfigGaugeSN", [] { OpenDialog<ConfigGaugeSN>(&ConfigGaugeSN::GaugeSNInitialize); });
}

void CloseGaugeDialogs()
{
    CloseOpenDialogs();
    DefaultForm<frmCalibrate>::unload();
}

} // namespace varnet

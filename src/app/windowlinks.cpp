#include "app/windowlinks.h"

#include "app/functioneditor.h"
#include "app/startwindow.h"
#include "bus/deviceports.h"
#include "bus/gaugetestwindow.h"
#include "gauges/platewindow.h"
#include "iomodules/ecsettings.h"
#include "simlink/udptest.h"

namespace varnet {

void ShowFunctionEditor()
{
    GetOffsetlist::ShowWindow();
}

void ShowGaugeTestWindow()
{
    // The gauge test window polls through the gauge-bus port but opens none.
    OpenComPorts();
    frmTestGauges::ShowWindow();
}

void ShowUDPTestWindow()
{
    frmTestXplaneInterface::ShowWindow();
}

void ShowStartWindow()
{
    DefaultForm<frmMain>::get().show();
}

const Form* LoadedStartWindow()
{
    return DefaultForm<frmMain>::loaded() ? &DefaultForm<frmMain>::get() : nullptr;
}

void OpenEngineClusterPlateWindow(const ECCalibration& needle)
{
    CalNeedleNr = Integer(needle.needleNr);
    CalCategoryName = needle.categoryName;
    CalFunctionName = needle.functionName;
    CalFunctionNr = Integer(needle.functionNr);
    CalSeqNr = Integer(needle.seqNr);
    CalPlateNr = Integer(needle.plateNr);
    OpenPlateWindow();
}

} // namespace varnet

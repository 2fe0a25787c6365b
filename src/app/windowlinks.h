#pragma once

// The windows the configuration screen opens that belong to other parts of
// the program; one place, so that the screen's buttons name no window
// class of another library.

namespace varnet {

class Form;
struct ECCalibration;

// The function-table editor GetOffsetlist.
void ShowFunctionEditor();
// The gauge test window frmTestGauges.
void ShowGaugeTestWindow();
// The UDP link test window frmTestXplaneInterface.
void ShowUDPTestWindow();
// The start window frmMain, where the configuration screen returns to when
// it was opened from there.
void ShowStartWindow();
// The start window when it is loaded, else nothing.
const Form* LoadedStartWindow();
// The plate calibration window frmCalibrate for a needle of the stand-alone
// engine cluster, as its settings window hands it over.
void OpenEngineClusterPlateWindow(const ECCalibration& needle);

} // namespace varnet

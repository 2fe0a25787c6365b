#pragma once

// The windows the configuration screen opens that belong to other parts of
// the program; one place, so that the screen's buttons name no window
// class of another library.

namespace varnet {

// The function-table editor GetOffsetlist.
void ShowFunctionEditor();
// The gauge test window frmTestGauges.
void ShowGaugeTestWindow();
// The UDP link test window frmTestXplaneInterface.
void ShowUDPTestWindow();
// The start window frmMain, where the configuration screen returns to when
// it was opened from there.
void ShowStartWindow();

} // namespace varnet

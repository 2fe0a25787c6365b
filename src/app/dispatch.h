#pragma once

// The one place that knows which dialog configures which kind of gauge.
// Clicking a gauge of the configuration screen's list hands the dialog its
// context (CurrentGaugeID, CurrentGaugeTypeName) and opens it.
//
// The dialogs live in the libraries of their devices. Each has an opener
// here, keyed by the dialog's window name: it loads the window (which takes
// CurrentGaugeID and CurrentGaugeTypeName when it loads), calls its
// initialize member where the dialog has one, and shows it. The gauge and
// avionics libraries register their openers at start-up with
// SetGaugeDialogOpener; a dialog without one shows the unknown-device
// window.

#include "config/tables.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varnet {

inline constexpr std::string_view kUnknownDeviceDialog = "frmConfigUnknown";

// The dialog window that configures a gauge of `typeCode`; type 101 is the
// analogue altimeter when its version byte is 5, else the digital one.
// Codes without a dialog of their own give the unknown-device dialog.
std::string_view GaugeDialogName(int typeCode, int version);

// Every dialog name the dispatch can open.
const std::vector<std::string_view>& GaugeDialogNames();

// CurrentGaugeTypeName for a type code: the name of the last row 1..127 of
// the type table that holds it, "Unknown" when none does.
std::string DialogTypeName(const ConfigTables& tables, int typeCode);

using GaugeDialogOpener = std::function<void()>;

// Replaces the opener of `dialog`; an empty opener restores the one the
// program starts with.
void SetGaugeDialogOpener(std::string_view dialog, GaugeDialogOpener opener);

// Opens the dialog of the gauge at `gaugeID`: CurrentGaugeID := gaugeID,
// CurrentGaugeTypeName := its type's name, the configuration counts as
// changed, then the opener of the type's dialog runs. The caller opens the
// device ports first.
void OpenGaugeDialog(int gaugeID);

} // namespace varnet

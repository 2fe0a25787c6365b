#pragma once

// What the avionics library gives the dispatch of the configuration screen:
// an opener for each of its module dialogs.

#include "gauges/registration.h"

namespace varnet {

// Hands `set` the opener of every avionics module dialog, under the
// dialog's window name.
void RegisterAvionicsDialogs(const DialogOpenerSetter& set);

} // namespace varnet

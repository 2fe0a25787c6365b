#pragma once

// What the gauge library gives the dispatch of the configuration screen: an
// opener for each of its dialogs, and the closing of all of them (and of the
// plate window) when a run starts.

#include <functional>
#include <string_view>

namespace varnet {

using DialogOpenerSetter = std::function<void(std::string_view dialog, std::function<void()> opener)>;

// Hands `set` the opener of every gauge dialog, under the dialog's window
// name.
void RegisterGaugeDialogs(const DialogOpenerSetter& set);

// Closes every gauge and avionics dialog as Cancel, and the plate window:
// their single frames and timers cannot run during a run.
void CloseGaugeDialogs();

} // namespace varnet

#pragma once

// The application shell: what joins the windows of the program together at
// start-up, and the ways out of it.

#include <functional>

namespace varnet {

// Installs the links between the windows (the stand-alone device links, the
// exit of the yoke status window); main calls it once, before the start
// window opens.
void InstallShell();

// Loads and shows the configuration screen.
void ShowConfigurationScreen();

// Ends the program; the exits close what they must before they call it,
// and it unloads the yoke windows, which closes the yokes' COM ports.
// main installs how (leaving its event loop, and with it every nested one);
// with nothing installed, as in the tests, the exits do everything else.
void EndProgram();
extern std::function<void()> OnEndProgram;

// The Exit of the window the program is on, as if its button were pressed:
// the start window's while it is loaded, else the run window's, else the
// yoke status window's. The program ends this way when the system asks it
// to terminate, never from inside a box or a wait (see RequestEnd).
void ExitThroughCurrentWindow();

} // namespace varnet

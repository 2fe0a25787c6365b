#pragma once

// The four serial ports of the hardware links: the gauge bus (the run
// window's MSComm1) and the MSComm1 of the engine-cluster and I/O-module
// link windows. The port numbers come from the configuration; 0 = not used.

#include "bus/standalonelinks.h"

#include <QString>

namespace varnet {

class SerialPort;

// Sets the port number and the receive unit (bytes per receive event and
// per read) of a device port; the line settings, 38400,N,8,2, are the same
// for every port. Takes effect at the next open.
void ConfigureDevicePort(SerialPort& port, int number, int unitBytes);

// The configured COM number of a stand-alone device (0 = not used), and the
// unit in which it answers: the bytes of one receive event and one read.
int DevicePortNumber(StandAloneDevice device);
int DeviceUnitBytes(StandAloneDevice device);

// The box shown for a device port that cannot be opened. It names the
// device that COM number stands for on this machine, since that mapping is
// the program's own (see resolveComPort).
QString ComPortErrorText(int number, const QString& description);

inline constexpr const char* kNoPowerOnCIM = "No Power on CIM; Check Power Switch and Fuses";

// Whether OpenComPorts shows a box for each port it cannot open, or leaves
// the telling to its caller.
enum class PortFailures { Shown, Quiet };

// (Re)opens every device port whose number is above 0, in the order gauge
// bus, engine cluster, I/O module 1, I/O module 2: close, settings, open,
// close, open, discard the input. A port that cannot be opened shows one
// box (unless Quiet) and the next one goes on. Afterwards a gauge-bus port
// with its carrier held reports that the control unit has no power.
// Returns false when a port in use could not be opened.
bool OpenComPorts(PortFailures failures = PortFailures::Shown);

// Closes the four device ports where they are open, in the same order.
void CloseComPorts();

// After a load: the device port of the gauge bus (of `device`), when it is
// open on a COM number other than the one the configuration in memory gives
// it, is closed, and opened again on that one, as OpenComPorts opens it,
// when the configuration gives it one. True when it was moved or closed:
// what it held and heard was the replaced configuration's device's.
bool GaugeBusPortFollowsConfiguration();
bool LinkPortFollowsConfiguration(StandAloneDevice device);

} // namespace varnet

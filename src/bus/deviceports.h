#pragma once

// The four serial ports of the hardware links: the gauge bus (the run
// window's MSComm1) and the MSComm1 of the engine-cluster and I/O-module
// link windows. The port numbers come from the configuration; 0 = not used.

#include <QString>

namespace varnet {

class SerialPort;

// Sets the port number and the receive unit (bytes per receive event and
// per read) of a device port; the line settings, 38400,N,8,2, are the same
// for every port. Takes effect at the next open.
void ConfigureDevicePort(SerialPort& port, int number, int unitBytes);

// The box shown for each failing step of opening a device port.
QString ComPortErrorText(int number, const QString& description);

inline constexpr const char* kNoPowerOnCIM = "No Power on CIM; Check Power Switch and Fuses";

// (Re)opens every device port whose number is above 0, in the order gauge
// bus, engine cluster, I/O module 1, I/O module 2: close, settings, open,
// close, open, discard the input. Each failing step shows its box and the
// next one goes on. Afterwards a gauge-bus port with its carrier held
// reports that the control unit has no power.
void OpenComPorts();

// Closes the four device ports where they are open, in the same order.
void CloseComPorts();

} // namespace varnet

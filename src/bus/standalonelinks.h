#pragma once

// The devices on COM ports of their own (the engine cluster and the two
// stand-alone I/O modules) are each served by a link window that holds the
// port. The gauge-bus side (device ports, the shared send path, the run
// window) reaches those windows only through this interface; the windows
// themselves live in the I/O-module library, which installs it at start-up
// (InstallStandAloneLinks in iomodules/links.h).

#include "config/tables.h"

#include <QByteArray>

#include <optional>

namespace varnet {

class SerialPort;

enum class StandAloneDevice { EngineCluster, IOModule1, IOModule2 };

class StandAloneLinks {
public:
    virtual ~StandAloneLinks() = default;

    // The link window's port MSComm1; the window is created, hidden, when it
    // is not loaded yet.
    virtual SerialPort& MSComm1(StandAloneDevice device) = 0;

    // ComposeCmd of an I/O-module link: queues one command for the module,
    // which the link writes while it is halted. false when it was refused.
    virtual bool ComposeCmd(StandAloneDevice module, int gaugeID, int command, double value) = 0;

    virtual bool Loaded(StandAloneDevice device) const = 0;
    // Creates the window hidden (nothing when it is loaded).
    virtual void Load(StandAloneDevice device) = 0;
    virtual void Show(StandAloneDevice device) = 0;
    virtual void Unload(StandAloneDevice device) = 0;

    virtual void OpenPorts(StandAloneDevice device) = 0;
    virtual void cmdRun_Click(StandAloneDevice device) = 0;
    virtual void cmdStop_Click(StandAloneDevice device) = 0;
};

// Installs `links` (not owned); nullptr removes it.
void setStandAloneLinks(StandAloneLinks* links);
// The installed links; using them before anything is installed is a
// programming error that stops the program.
StandAloneLinks& standAloneLinks();

// The I/O-module link that takes the commands for `gaugeID` (1000, 2000).
std::optional<StandAloneDevice> standAloneModuleOf(int gaugeID);

// Values of the engine-cluster link that the run window and the device
// ports touch as well.
inline constexpr int kECFrameBytes = 40;
extern QByteArray ECFrame;        // the output frame; 40 blanks when the port is opened
extern QByteArray ECReplyBuffer;  // last input on the engine-cluster port
extern Integer ECReplyReceived;
extern Integer ECMode;            // 0 normal, 1 recalibration frame, 2 zero frame
extern Integer ECRecalCountdown;  // seconds left in recalibration mode
extern Integer ECPortsOpened;
extern Byte ECBacklightOn;
extern Byte ECDisplaysOn;

} // namespace varnet

#pragma once

// The run window frmStatus, from which the cockpit runs. It exists, hidden,
// from the first time anything refers to it: its gauge-bus port MSComm1 and
// its configuration timer serve the configuration dialogs whether or not a
// run was ever started.
//
// Its first activation after loading prepares the run (Form_Activate): the
// link and yoke windows, the device ports, the UDP link and the per-run
// tables (runpreparation.h). Run starts the process timer, whose ticks are
// the process loop (processloop.h); Stop halts it.
//
// The gauge-bus port has two writers that never write at the same time:
// while no run is active the configuration timer WriteCmdDuringConfig (5 ms)
// writes the single frame waiting in GaugeSendBuffer; while the run is
// active the process loop queues its frames in its line output and
// FlushGaugeOutput writes, once a tick, what the line carries until the next
// tick.

#include "bus/deviceloss.h"
#include "bus/processloop.h"
#include "bus/replyhandler.h"
#include "config/tables.h"
#include "platform/form.h"
#include "platform/serialport.h"
#include "platform/wait.h"

#include <QByteArray>
#include <QTimer>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace varnet {

// Shown by Run when a device port in use cannot be opened.
inline constexpr const char* kRunPortError = "An error occured trying to open the Comm Port";

// Whether the run window holds a prepared run (or an active one): from its
// preparation until it is unloaded, the sim ports of the configuration in
// memory are open and the run walks its tables.
bool RunWindowPrepared();

class frmStatus : public Form, private ProcessLoopHost {
    Q_OBJECT

    // First of the members: PollRequest below refers into it.
    ProcessLoop loop_{*this};

public:
    frmStatus();
    ~frmStatus() override;

    // The application windows, installed by the application: show the start
    // window and then the configuration screen.
    static inline std::function<void()> ShowConfigurationScreen;
    // Closes every window that shows or holds the configuration: the start
    // window, the configuration screen and every window opened from it. The
    // preparation and Run call it first: a run is prepared and started
    // beside none of them, since each can change the tables the run walks.
    static inline std::function<void()> LeaveConfiguration;
    // How Exit ends the program; without one it quits the event loop.
    static inline std::function<void()> EndProgram;

    // ---- The operations other windows call.
    // Stops the run, closes the device ports, the link windows and the UDP
    // link (telling the simulator to stop all data first) and ends the program.
    void cmdExit_Click();
    // When halted: closes the windows of the configuration, takes the
    // gauge-bus port over from the configuration timer, opens the device
    // ports again and starts the process timer, the links whose COM port is
    // set and the yoke status window. Always shows the number of open sim
    // ports.
    void cmdRun_Click();
    // When running: stops the process timer and the stand-alone links; the
    // configuration timer writes single frames again. The yokes keep running.
    void cmdStop_Click();
    // Tells the keystrokes whether this window is minimized; shows the
    // configuration's name.
    void Form_Load() override;
    // It holds the gauge bus, which after a load follows the COM port that
    // the loaded configuration gives it, and of the configuration only its
    // name in BoxCurrentConfig, which names the configuration in memory at
    // every load and save; no load comes while a run is prepared.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::DeviceLink; }
    // A frame still waiting goes out first, on the bus of the configuration
    // that the closing window worked on.
    void Form_ConfigurationReplacing() override;
    void Form_ConfigurationReplaced() override;
    void Form_ConfigurationSaved() override { showConfigurationName(); }
    // The run preparation: once per load, never during a run. The windows
    // of the configuration close first (LeaveConfiguration).
    void Form_Activate() override;
    // Receive event of the gauge bus: one 25-byte unit (replyhandler.h).
    void MSComm1_OnComm();
    GaugeReplyHandler& Replies() { return replies_; }

    // Stops the run, opens the configuration screen and unloads the run
    // windows (links, yokes, this one).
    void CmdConfig_Click();
    void CmdHide_Click() { minimize(); }
    // One tick of the process loop, after the simulator's datagrams that
    // waited for it (the run takes them on its ticks, see SimCom); a tick
    // that finds the previous one still open (behind a message box) does
    // nothing more. The first tick after the gauge-bus device was lost asks
    // "Continue?"; while it is away ticks only look for it again under its
    // COM name, so the first tick after its return sends whatever changed
    // meanwhile.
    void ProcessTimer_Timer();
    // Once a second: the rates, and the end of the engine cluster's
    // recalibration.
    void Timer1_Timer();
    void SliderXferTimer_Change(int value);
    // The value boxes follow every this many ticks (four times a second),
    // and at once when the window comes into sight.
    int TicksPerBoxRefresh() const;
    void WriteCmdDuringConfig_Timer();

    SerialPort& MSComm1() { return *MSComm1_; }
    QTimer& WriteCmdDuringConfig() { return WriteCmdDuringConfig_; }
    QTimer& ProcessTimer() { return ProcessTimer_; }
    QTimer& Timer1() { return Timer1_; }
    ProcessLoop& Loop() { return loop_; }

    // 1 while the run is active.
    Integer Running = 0;
    // 1 once the run was prepared for this load of the window.
    Integer RunPrepared = 0;
    // The tick's status request with its leading 0xFF.
    QByteArray& PollRequest = loop_.PollRequest;

    // ---- The send path.
    // True while the configuration timer runs, that is while no run is
    // active: only then does the single-frame path take frames.
    bool SingleFramesAccepted() const { return WriteCmdDuringConfig_.isActive(); }
    // The run takes the gauge-bus port over: a single frame still waiting
    // is written first, then the configuration timer stops.
    void StartRunOutput();
    // Back to single frames: whatever the last tick left in GaugeSendBuffer
    // is dropped, never written as a single frame, the run's requests still
    // waiting are dropped and the timer restarts.
    void StopRunOutput();
    // Process-loop output: queues 0xFF and the frame for the line; a frame
    // that cannot be built is dropped.
    void AddGaugeCommand(int GaugeID, int Command, double Value) { loop_.AddGaugeCommand(GaugeID, Command, Value); }
    // PollRequest := 0xFF and the frame (replaced, not appended).
    void MakeGaugeRequest(int GaugeID, int Command, double Value) { loop_.MakeGaugeRequest(GaugeID, Command, Value); }
    // Writes what of the waiting output the line carries until the next
    // tick (from the process interval, less what the port and the driver
    // still hold), oldest first, and keeps it in GaugeSendBuffer for the
    // reply handler. What is not written keeps waiting, also when the write
    // fails. A failing write, like output that the driver holds longer than
    // the line needs for it, is a lost device: it asks "Continue?" once
    // until a write succeeds again; No stops the run.
    void FlushGaugeOutput() override;

    // ---- Controls, named as the window's design names them.
    QPushButton* cmdRun;
    QPushButton* cmdStop;
    QPushButton* CmdConfig;
    QPushButton* CmdExit;
    QPushButton* CmdHide;
    QPushButton* cmdShowECStatus;
    QPushButton* cmdShowIOM;
    QPushButton* cmdShowIOM2;
    QPushButton* cmdShowPorts;
    QLineEdit* BoxRun;
    QLineEdit* BoxCurrentConfig;
    QLineEdit* boxNrofOffsets;
    QLineEdit* frmXferCount;
    QLineEdit* boxUDPrate;
    QLabel* Label3;
    QLabel* Label4;
    QSlider* SliderXferTimer;
    QLineEdit* BoxXferProcessTimer;
    QLabel* LabelVersion;
    QLineEdit* BoxInstrLights;
    QLineEdit* boxNavLights;
    QLineEdit* boxVoltage;
    QLineEdit* BoxAirPressHg;
    QLineEdit* BoxAirPressmBar;
    QLineEdit* boxCompass;
    QLineEdit* BoxHea;
    QLineEdit* BoxIAS;
    QLineEdit* BoxVS;
    QLineEdit* boxPitch;
    QLineEdit* boxAltitude;
    QLineEdit* boxBank;

protected:
    void Form_Unload() override;
    // Shown or restored: the boxes catch up with what they missed.
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The title bar's close is the Exit button.
    void Form_TitleBarClose() override { cmdExit_Click(); }

private:
    // ---- ProcessLoopHost.
    bool RunActive() const override { return Running == 1; }
    void ShowValueBoxes() override;
    void ShowVoltageAndLights() override;
    void StopRun() override { cmdStop_Click(); }

    void buildControls();
    void showRunState();
    void showConfigurationName();
    // Whether the boxes can be seen: the window is shown and not minimized.
    // Boxes out of sight are left as they are (the daily run sits minimized
    // and nobody looks at them) and catch up when they come into sight.
    bool boxesSeen() const;
    void showRates();
    void showValueBoxes();
    void showVoltageAndLights();
    void catchUp();
    void prepareLinkWindows();
    void prepareYokeWindow();
    void prepareProcessInterval();
    // "No" in a fault box of the simulator link stops this run.
    static void installStopHook();

    // The gauge-bus port open on the configured number (opened quietly when
    // it is not); false when that is not possible.
    bool gaugeBusPortReady();
    // The gauge-bus device went away (a hang-up or fault on its port, a
    // failed write, output it no longer takes): its port closes, to be
    // opened again by its COM name, and the loss is told once, by the next
    // tick during a run, by the next single frame otherwise.
    void gaugeBusLost(const QString& description);
    void writeSingleFrame();
    // false while the gauge-bus device lost during the run is still away;
    // its port is opened again, quietly, at every call.
    bool gaugeBusBack();
    // The write fault box of the run, once until a write succeeds again.
    void reportBusFault(const QString& description);

    std::unique_ptr<SerialPort> MSComm1_;
    QTimer WriteCmdDuringConfig_;
    QTimer ProcessTimer_;
    QTimer Timer1_;
    BusyFlag processing_;
    BusyFlag configWriting_;
    GaugeReplyHandler replies_{Running, loop_.PollRequest};
    // Whether the gauge-bus device went away, and what was told of it.
    DeviceLoss bus_;
    // The boxes missed values while out of sight or between refreshes.
    bool boxesBehind_ = false;
    bool boxesThisTick_ = false;
    int ticksToBoxes_ = 0;
    // The rates of the last second, for boxes out of sight then.
    int ticksPerSecond_ = 0;
    int packetsPerSecond_ = 0;
};

} // namespace varnet

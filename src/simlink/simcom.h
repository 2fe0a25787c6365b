#pragma once

// The simulator link: the UDP exchange with X-Plane, the sim-port table
// through which every other window reads and writes simulator values, and
// the fixed instrument helpers. It lives in one hidden window whose default
// instance (DefaultForm<SimCom>::get()) serves the others; the window itself
// only shows the list of opened ports.
//
// Typical use by an opener:
//
//     SimCom& link = DefaultForm<SimCom>::get();
//     link.CurrentOwnerID = 3000;
//     const int port = link.OpenSimPort(12, 1);
//     link.EnableReadSimPort(port);
//     ...
//     value = link.GetPort(port).value_or(value);
//     link.PutPort(port, 1.0f);

#include "config/tables.h"
#include "platform/form.h"
#include "platform/udp.h"
#include "simlink/instruments.h"
#include "simlink/simports.h"
#include "simlink/xplanedata.h"

#include <QByteArray>
#include <QString>

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

class QListWidget;

namespace varnet {

// Owners of ports that are not a gauge on the bus (the list names them).
inline constexpr int kOwnerIOM1 = 1000;
inline constexpr int kOwnerIOM2 = 2000;
inline constexpr int kOwnerRunWindow = 3000;
inline constexpr int kOwnerEngineCluster = 4000;
inline constexpr int kOwnerYokes = 5000;

class SimCom final : public Form {
    Q_OBJECT

public:
    SimCom();
    ~SimCom() override;

    // The port table belongs to whoever opened the ports (a run, a test
    // window); the link talks to the X-Plane of the configuration it was
    // opened on. Before a load, once the windows that held ports have closed,
    // it closes as at the exit (CloseSimCom): the replaced configuration's
    // X-Plane is told to stop as that configuration says, and nothing it had
    // selected is selected again at the loaded one's when the link next opens.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::DeviceLink; }
    void Form_ConfigurationReplacing() override { CloseSimCom(); }

    // ---- UDP link ------------------------------------------------------
    // Binds the receive socket to LocalPort and points the send socket at
    // RemoteIP:RemotePort, as the settings are now. A link open already on
    // the same ends stays as it is; one open on other ends (the settings
    // were set since) is closed first: its X-Plane is told to stop
    // all groups, unless No USEL was set when it opened, in the byte order
    // of then; and the groups it had selected are selected again on the new
    // one, so that whoever holds ports keeps receiving. A failure shows
    // "Error opening the LAN port: ...".
    void OpenUDP();
    // The same towards the address and ports given in place of the settings
    // (the UDP test window tries a link out without changing them).
    void OpenUDP(const std::string& remoteIP, const std::string& remotePort, const std::string& localPort);
    void CloseUDP();
    // What the open link uses: the address and port it sends to, the port
    // it receives on; nothing while either socket is closed.
    struct UdpEnds {
        QString remoteIP;
        quint16 remotePort = 0;
        quint16 localPort = 0;
        bool operator==(const UdpEnds&) const = default;
    };
    std::optional<UdpEnds> UDPInUse() const;
    // Neither socket is open.
    bool UDPClosed() const;
    // OpenUDP, and the autopilot groups are selected again at the next
    // GetAPVSvalue.
    void OpenSimCom();
    // CloseAllPorts (which stops all groups), then CloseUDP.
    void CloseSimCom();
    // One USEL packet for the groups 0..149, unless BlockUsel is set. Once
    // the settings name other ends than those the link was opened on from
    // them (set since), its X-Plane is told as when the link opened: No USEL
    // and byte order of then.
    void CommandStopAll();
    void SendUSEL(Byte Index);
    void SendDSEL(Byte Index);
    // The packet writers send nothing, without a message, when the packet
    // cannot be made (see packets.h) or the link is not open.
    void SendDataFloat(int Index, int Slot, Single Value);
    void SendDataInt(int Index, int Slot, Long Value);
    void SendDataChar(int Code);
    void SendXplaneCommand(const std::string& CommandText, int N);
    // Datagrams reach WinsockUDP_DataArrival only from the X-Plane host
    // (AcceptsSender); the others are counted here and otherwise ignored.
    int UDPIgnoredCount = 0;
    // One received datagram: DATA packets are stored in XplaneData, then the
    // active ports are refreshed (unless UDPTestDisplay is set) and the
    // datagram is counted, whether it was a DATA packet or not.
    void WinsockUDP_DataArrival(const QByteArray& datagram);
    // During a run the datagrams wait in the socket until the run's tick
    // takes them (ReceiveWaiting), so that one wake-up serves both; out of
    // a run each is handled as it comes.
    void ReceiveOnTicks(bool onTicks) { WinsockUDP->holdDatagrams(onTicks); }
    void ReceiveWaiting() { WinsockUDP->takeWaiting(); }

    XplaneDataTable XplaneData{};
    int UDPPacketCount = 0;    // datagrams since the run window last cleared it
    QByteArray UDPSendString;  // the last DATA, CHAR or CMND packet built
    bool UDPTestDisplay = false;

    // ---- Sim ports -----------------------------------------------------
    // Set by the opener before each open; the port list shows it as the user.
    int CurrentOwnerID = 0;
    // Ports opened since the run window last cleared it.
    int NrOfOffsets = 0;
    // What "No" in a get or put fault box does: the run window installs its
    // Stop here.
    std::function<void()> OnStopRun;

    // A new port for the function with the selector's pair (0 becomes 1,
    // also in the caller's variable); returns its handle, counted from 0 in
    // the order of opening, or 65535 for a function number outside 1..300 or
    // a function without a short name.
    int OpenSimPort(int FunctionNr, Byte& Selector);
    int OpenSimPort(int FunctionNr, int Selector);
    // DSEL for the port's group, and the port is refreshed from then on.
    void EnableReadSimPort(int Port);
    // USEL for the port's group (X-Plane stops it for every port), and the
    // port keeps its last value.
    void DisableReadSimPort(int Port);
    // Another pair for the port; no DSEL is sent for it.
    void NewSeqNr(int Port, int Selector);
    // The scaled value; nothing for no port, an inactive port, a port whose
    // pair lies outside XplaneData, a command or unused function or a macro
    // other than 1. A fault asks "Continue?"; a failed scaling gives the raw
    // value.
    std::optional<Single> GetPort(int Port);
    // The unscaled value, under the same conditions (macros unscaled too).
    std::optional<Single> GetPortRaw(int Port);
    // Scales the value back and sends it as DATA, or as the command line it
    // numbers for a command function. Returns the value as sent (scaled back,
    // an Integer clamped to -32767..32767); no port returns Value unchanged.
    // A fault asks "Continue?"; a value that cannot be scaled back (a zero
    // multiplier, a NaN) is never sent.
    Single PutPort(int Port, Single Value);
    // Stops all groups and empties the table; the list stays.
    void CloseAllPorts();
    // Changes whenever a read of the port may give something else, as long
    // as the function table stays as it is (see SimPortEntry::version); 0
    // for no port.
    std::uint64_t PortVersion(int Port) const { return ports_.valid(Port) ? ports_[Port].version : 0; }
    // Fault boxes shown by GetPort so far.
    int GetPortFaults = 0;
    int PortCount() const { return ports_.count(); }
    // Empties the list of opened ports.
    void ClearPortList();

    // ---- Instrument helpers (instruments.h holds the shared values) -----
    void GetTimeAndDate();
    void PutTimeAndDate() {}
    void PutNAV1Frequency(Single Freq);
    void PutNAV2Frequency(Single Freq);
    void WriteAutopilot();
    // The fault's description when a value of functions 90..100 does not fit
    // its type; the read stops there.
    std::optional<QString> GetAPVSvalue();
    void PutAPVSvalue();
    void SetSoundSelector();
    // Writes the frequency of five leading digits ("03505" is 350.5) to the
    // gauge's first reply port; other text writes nothing.
    void PutADF(const std::string& FreqText, int GaugeID);
    void RunSimcom() {}
    void StopSimcom() {}
    // The value of yoke data slot 0..22 (0 for a slot outside the table),
    // also kept in Instruments.YokeSimValue.
    Single GetXplaneDataYoke(int RefNr);
    void PutXplaneDataYoke(int RefNr, Single Value);
    // OpenUDP and the DSEL of the yoke slots that are read.
    void OpenSimcomYoke();

signals:
    // In test display mode: every received datagram as numbers, and its
    // records as text ("Bad Packet" when it was no DATA packet).
    void TestDisplay(const QString& raw, const QString& converted);
    // A datagram from another host was ignored; `count` is UDPIgnoredCount.
    void DatagramIgnored(int count);
    // The link opened, closed or now talks to other ends (UDPInUse).
    void UDPChanged();

protected:
    void Form_Unload() override;
    // The port list only goes out of sight: the link stays.
    void Form_TitleBarClose() override { hide(); }

private:
    bool reversed() const { return Cfg.ByteOrderReverse != 0; }
    void send(const QByteArray& packet);
    void sendBuilt(const std::optional<QByteArray>& packet);
    void lanError(const QString& description);
    // Shows a get or put fault; false when the user chose to stop.
    bool getFault(int function, int port, const QString& description);
    bool putFault(int function, int port, const QString& description);
    void addListLine(int handle, int function, int selector);
    // XplaneData of a function's first pair; 0 when the pair lies outside it.
    Single functionData(int function) const;
    void sendFunctionValue(int function, Single value);

    void datagramFrom(const QByteArray& datagram, const QHostAddress& sender);
    void passEnded();
    // Stores a datagram's records and refreshes the ports of their groups;
    // in the test display, records_ keeps the records and the ports wait.
    // True for a DATA packet.
    bool store(const QByteArray& datagram);
    // Shows a datagram whose records records_ holds in the test display.
    void display(const QByteArray& datagram, bool accepted);

    // Whether what is open of the link talks to other ends than these.
    bool openElsewhere(const std::string& remoteIP, const std::string& remotePort, const std::string& localPort);
    void openSockets(const std::string& remoteIP, const std::string& remotePort, const std::string& localPort);
    void closeSockets();
    // The USEL of groups 0..149: with No USEL and byte order as when the
    // link opened, or as the settings are now.
    void stopAll(bool asOpened);

    std::unique_ptr<UdpSocket> WinsockUDP;
    std::unique_ptr<UdpSocket> winsockUDPSend;
    bool sendOpen_ = false;
    // What the send socket was opened with: the texts it was given, and how
    // its X-Plane is told to stop, whatever the settings say by the time the
    // link closes for other ends.
    struct SentTo {
        std::string remoteIP;
        std::string remotePort;
        bool reversed = false;
        bool blockUsel = false;
        // The ends were the settings' (not typed in the test window).
        bool settings = false;
    } sentTo_;
    // The groups this link selected at its X-Plane and did not deselect.
    std::bitset<256> selected_;
    // Whose datagrams are taken: the host the send socket points at.
    QHostAddress xplaneHost_;
    QList<QHostAddress> ownAddresses_;

    SimPortTable ports_;
    std::vector<DataRecord> records_;  // of the datagram being received
    std::optional<std::pair<QByteArray, bool>> toDisplay_;  // the newest datagram of the pass, and whether it was DATA
    QListWidget* OffsetsList = nullptr;

    bool autopilotSelected_ = false;
    Long lastZuluSeconds_ = 0;
};

} // namespace varnet

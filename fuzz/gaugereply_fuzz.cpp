// The gauge bus's receive path on any bytes from the control unit: the run
// window's receive event with its reply handler, during a run prepared for
// a cockpit with a gauge of every type that reports back (at the GaugeID of
// its type code, and variants at 200 and up). Each input is what arrives
// after the tick asked the gauge named in its second byte for its status.
// Properties: a reply never changes the configuration and never opens a sim
// port.

#include "bus/gaugeframes.h"
#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "fuzz/fuzz_support.h"
#include "iomodules/links.h"
#include "simlink/simcom.h"
#include "tools/nulldevices/nulldevices.h"

#include <cstdint>

namespace {

using namespace varnet;

constexpr int kBusPort = 3;

NullSerialPort* bus = nullptr;
frmStatus* run = nullptr;
ConfigTables configuration;

void gauge(int id, int type, int f1 = 0, int f2 = 0, int model = 1, int plate1 = 0, int plate2 = 0)
{
    Cfg.GaugeRecType[id] = Byte(type);
    Cfg.GaugeRecModel[id] = Byte(model);
    Cfg.GaugeRecFunction1[id] = Integer(f1);
    Cfg.GaugeRecFunction2[id] = Integer(f2);
    Cfg.GaugeRecSeqNr1[id] = Cfg.GaugeRecSeqNr2[id] = 1;
    Cfg.GaugeRecPlate1[id] = Integer(plate1);
    Cfg.GaugeRecPlate2[id] = Integer(plate2);
}

void defineCockpit()
{
    Session.ProgramTitle = kProgramTitle;
    Cfg.ComPortGauges = kBusPort;
    Cfg.RemoteIP = "127.0.0.1";
    Cfg.RemotePort = "49000";
    Cfg.LocalPort = "49001";
    Cfg.LightsMode = 2;
    for (int f = 1; f <= 300; ++f) {
        Cfg.FunctionNames[f] = "F" + std::to_string(f);
        Cfg.FunctionDataType[f] = DataTypeFloat;
        Cfg.FunctionIndex1[f] = Cfg.FunctionIndex2[f] = Integer(f % 151);
        Cfg.FunctionSlot1[f] = Byte(f % 8);
        Cfg.FunctionMultiply[f] = 1;
        Cfg.FunctionDivide[f] = 1;
    }
    for (const int type : {10, 101, 104, 106, 107, 108, 112, 114, 122, 123, 125})
        gauge(type, type, 20, 21);
    gauge(105, 105, 20, 21, 1, 0, 4);       // heading with its selected-heading knob
    gauge(205, 105, 20, 0);                 // heading without
    gauge(110, 110, 30, 31, 1, 0, 1);       // radio with a standby frequency
    gauge(111, 111, 30, 31, 2);             // ADF receiver
    gauge(211, 111, 30, 31, 7);             // a model without decoding
    gauge(121, 121, 30, 31, 0);
    gauge(120, 120, 30, 31, 1, 0, 1);
    gauge(113, 113, 40, 41);
    gauge(213, 113, 40, 41, 1, 1);          // DME indicator with its option word
    gauge(124, 124, 50, 51, 1, 2);          // autopilot with its barometer
    gauge(224, 124, 50, 51, 1, 6);
    // The bus I/O module at GaugeID 10: a switch and an LED.
    for (const auto [kind, number, function] : {std::array{1, 3, 60}, std::array{3, 0, 61}}) {
        const int row = Cfg.AddIOEntry();
        Cfg.IOEntryGaugeID[row] = 10;
        Cfg.IOEntryKind[row] = Integer(kind);
        Cfg.IOEntryNumber[row] = Integer(number);
        Cfg.IOEntryFunction[row] = Integer(function);
        Cfg.IOEntrySeqNr[row] = 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzing::setUpFuzzing(true);
    setSerialPortFactory([] { return std::make_unique<NullSerialPort>(); });
    setUdpSocketFactory([] { return std::make_unique<NullUdpSocket>(); });
    InstallStandAloneLinks();
    defineCockpit();
    run = &DefaultForm<frmStatus>::get();
    run->Form_Activate();
    run->cmdRun_Click();
    run->ProcessTimer().stop();
    bus = static_cast<NullSerialPort*>(&run->MSComm1());
    FUZZ_CHECK(bus->isOpen() && run->Running == 1);
    configuration = Cfg;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    // The tick asked the gauge named where a reply names it.
    const int asked = size > 1 ? data[1] : 0;
    run->PollRequest = kRunFramePrefix + GaugeBusFrame(asked, 7, 0).value_or(QByteArray());
    GaugeSendBuffer = run->PollRequest;
    GaugeReplyReceived = 0;
    const int ports = DefaultForm<SimCom>::get().PortCount();

    bus->arrive(input);
    bus->discardInput();

    FUZZ_CHECK(Cfg == configuration);
    FUZZ_CHECK(DefaultForm<SimCom>::get().PortCount() == ports);
    return 0;
}
